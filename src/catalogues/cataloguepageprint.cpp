#include "cataloguepageprint.h"

#include "kit/picturewidgets.h"
#include "core/texttrim.h"

#include <QLabel>
#include <QLineEdit>

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
    QWidget *editor = parentWidget();
    auto text = [editor](const QString &name) {
        if (!editor)
            return QString();
        if (const auto *box = editor->findChild<QLineEdit *>(name))
            return trimText(box->text());
        if (const auto *label = editor->findChild<QLabel *>(name))
            return trimText(label->text());
        return QString();
    };
    Report &report = repDocumento();
    report.setOrientation(QPageLayout::Portrait);
    bool ok = report.setText(QStringLiteral("txtNome"), text(QStringLiteral("lblNome")));
    static const char *const fields[] = {"txtNome_", "txtUM_", "txtCaratteristiche_", "txtCodice_", "txtPrezzo_"};
    for (char letter = 'A'; letter <= 'H'; ++letter) {
        const QString photo = QStringLiteral("imgFoto_") + QLatin1Char(letter);
        const PictureBox *box = editor ? editor->findChild<PictureBox *>(photo) : nullptr;
        ok = report.setPicture(photo, box ? box->image() : QImage()) && ok;
        for (const char *field : fields) {
            const QString name = QLatin1String(field) + QLatin1Char(letter);
            ok = report.setText(name, text(name)) && ok;
        }
    }
    // The bare page number; a page never saved has none.
    ok = report.setText(QStringLiteral("txtPagina"), text(QStringLiteral("lblPosizione"))) && ok;
    report.prepare();
    return ok;
}

void CataloguePageWindow::btnStampaClick()
{
    // On a failure the window stays open, so the user can try again.
    if (send())
        accept();
}
