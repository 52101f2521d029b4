#include "tfrmzoom.h"

#include "fullscreenpicture.h"

#include "kit/conventions.h"
#include "kit/picturewidgets.h"
#include "kit/regional.h"
#include "kit/screens.h"

#include <QShowEvent>

TfrmZoom::TfrmZoom(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmZoom"),
                             QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    Look::setGround(this, Look::SteelBlue);
    imgFoto = FullScreenPicture::build(this);
}

void TfrmZoom::showPicture(const QImage &picture)
{
    imgFoto->setImage(picture);
}

void TfrmZoom::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmZoom::FormShow()
{
    FullScreenPicture::fitToScreen(this);
}
