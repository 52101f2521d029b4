#include "bookcardprint.h"

#include "kit/messages.h"
#include "kit/picturewidgets.h"
#include "core/texttrim.h"

#include <QLineEdit>
#include <QShowEvent>

BookCardWindow::BookCardWindow(QWidget *parent, const QString &name, const QString &caption, const QString &confirmText,
                               const Pictures &pictures, const QString &defaultPicture, const QSize &defaultSize)
    : PrintWindow(parent, name, caption, confirmText, Panel::Explained, pictures)
{
    imgLogo = new PictureBox(QStringLiteral("imgLogo"), this);
    imgLogo->hide();
    imgTemp = new PictureBox(QStringLiteral("imgTemp"), this);
    imgTemp->setImage(renderPicture(QStringLiteral(":/assets/") + defaultPicture, defaultSize, Qt::white));
    imgTemp->hide();
    loadTemplate(QStringLiteral(":/assets/scheda_libro.report"));
}

const QStringList &BookCardWindow::valueNames()
{
    static const QStringList names = {
        QStringLiteral("txtTitolo"),    QStringLiteral("txtAutore"),    QStringLiteral("txtNazione"),
        QStringLiteral("txtAnno"),      QStringLiteral("txtEditore"),   QStringLiteral("txtCitta"),
        QStringLiteral("txtDewey"),     QStringLiteral("txtGenere"),    QStringLiteral("txtISBN"),
        QStringLiteral("txtLingua"),    QStringLiteral("txtOriginale"), QStringLiteral("txtTraduttore"),
        QStringLiteral("txtCollana"),   QStringLiteral("txtCuratore"),  QStringLiteral("txtPosizione"),
        QStringLiteral("txtEtichetta"), QStringLiteral("txtFormato"),   QStringLiteral("txtVolumi"),
        QStringLiteral("txtPagine"),    QStringLiteral("txtPrezzo"),    QStringLiteral("txtGiudizio"),
        QStringLiteral("txtNote"),
    };
    return names;
}

QString BookCardWindow::failureMessage()
{
    return QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non \u00E8 andata a buon fine."
                          "\n\r\n\rSi consiglia di ridurre le dimensioni della foto.");
}

void BookCardWindow::showEvent(QShowEvent *event)
{
    PrintWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void BookCardWindow::FormShow()
{
    // The picture to print is the one the card screen shows at this moment.
    const PictureBox *cover =
        parentWidget() ? parentWidget()->findChild<PictureBox *>(QStringLiteral("imgFoto")) : nullptr;
    if (cover && !cover->image().isNull())
        imgLogo->setImage(cover->image());
    else
        imgLogo->setImage(imgTemp->image());
}

bool BookCardWindow::fillReport()
{
    if (!templateLoaded())
        return false;
    Report &report = repDocumento();
    report.setOrientation(QPageLayout::Portrait);
    if (!report.setPicture(QStringLiteral("imgLogo"), imgLogo->image()))
        return false;
    for (const QString &name : valueNames()) {
        const QLineEdit *box = parentWidget() ? parentWidget()->findChild<QLineEdit *>(name) : nullptr;
        if (!report.setText(name, box ? trimText(box->text()) : QString()))
            return false;
    }
    report.prepare();
    return true;
}

void BookCardWindow::btnStampaClick()
{
    if (!fillReport() || !send())
        Msg::warning(this, failureMessage());
    accept();
}
