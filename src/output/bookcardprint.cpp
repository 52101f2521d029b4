#include "bookcardprint.h"

#include "core/texttrim.h"
#include "kit/messages.h"
#include "kit/picturewidgets.h"

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
    // The picture to print is the one the card screen showed.
    if (!m_card.picture.isNull())
        imgLogo->setImage(m_card.picture);
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
    const QStringList &names = valueNames();
    for (int i = 0; i < names.size(); ++i) {
        if (!report.setText(names.at(i), trimText(m_card.values.value(i))))
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
