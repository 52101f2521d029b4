#include "cataloguepageprint.h"

#include "core/texttrim.h"

CataloguePageWindow::CataloguePageWindow(QWidget *parent, const QString &name, const QString &caption,
                                         const QString &confirmText, Panel panel, const Pictures &pictures,
                                         int titleSize)
    : PrintWindow(parent, name, caption, confirmText, panel, pictures)
{
    loadTemplate(QStringLiteral(":/assets/catalogo_libri.report"),
                 {{QStringLiteral("titleSize"), QString::number(titleSize)}});
}

bool CataloguePageWindow::fillReport()
{
    if (!templateLoaded())
        return false;
    Report &report = repDocumento();
    report.setOrientation(QPageLayout::Portrait);
    bool ok = report.setText(QStringLiteral("txtNome"), trimText(m_page.name));
    static const char *const fields[] = {"txtNome_", "txtUM_", "txtCaratteristiche_", "txtCodice_", "txtPrezzo_"};
    for (int box = 0; box < 8; ++box) {
        const QChar letter = QLatin1Char(char('A' + box));
        ok = report.setPicture(QStringLiteral("imgFoto_") + letter, m_page.photos[size_t(box)]) && ok;
        for (int f = 0; f < 5; ++f) {
            const QString name = QLatin1String(fields[f]) + letter;
            ok = report.setText(name, trimText(m_page.texts[size_t(box)][size_t(f)])) && ok;
        }
    }
    // The bare page number; a page never saved has none.
    ok = report.setText(QStringLiteral("txtPagina"), trimText(m_page.position)) && ok;
    report.prepare();
    return ok;
}

void CataloguePageWindow::btnStampaClick()
{
    // On a failure the window stays open, so the user can try again.
    if (send())
        accept();
}
