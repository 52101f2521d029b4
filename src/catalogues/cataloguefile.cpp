#include "cataloguefile.h"

CatalogueFile::CatalogueFile(const QString &path) : m_file(path, TPaginaCatalogo::RecordSize) {}

bool CatalogueFile::read(int n, TPaginaCatalogo &page)
{
    return m_file.read(n, page.data());
}

bool CatalogueFile::write(int n, const TPaginaCatalogo &page)
{
    return m_file.write(n, page.data());
}

int CatalogueFile::append(const TPaginaCatalogo &page)
{
    return m_file.append(page.data());
}

QString CatalogueFile::missingMessage(const QString &name, bool saved)
{
    QString text = QStringLiteral("Attenzione: il catalogo \"%1\" non si trova più nella cartella del programma: "
                                  "potrebbe essere stato eliminato da un'altra postazione.")
                       .arg(name);
    if (saved)
        text += QStringLiteral("\n\r\n\rLa pagina visualizzata non è stata salvata.");
    return text;
}
