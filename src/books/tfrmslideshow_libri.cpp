#include "tfrmslideshow_libri.h"

#include "core/bookarchive.h"
#include "fullscreenpicture.h"
#include "kit/covers.h"

#include "core/texttrim.h"
#include "kit/conventions.h"
#include "kit/messages.h"
#include "kit/picturewidgets.h"
#include "kit/regional.h"
#include "kit/screens.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

TfrmSlideshow_Libri::TfrmSlideshow_Libri(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmSlideshow_Libri"),
                             QStringLiteral(" Slide Show Copertine Libri"));
    Look::setGround(this, Look::SteelBlue);
    imgFoto = FullScreenPicture::build(this);

    imgBianco = new PictureBox(QStringLiteral("imgBianco"), this);
    imgBianco->setGeometry(0, 0, 689, 529);
    imgBianco->hide();
    imgBianco->setImage(renderPicture(QStringLiteral(":/assets/imgBianco_Slideshow.svg"), QSize(689, 529), Qt::white));

    lblPosizione = new QLabel(this);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->hide();

    cmdAvanti = new QPushButton(this);
    cmdAvanti->setObjectName(QStringLiteral("cmdAvanti"));
    cmdAvanti->hide();
    connect(cmdAvanti, &QPushButton::clicked, this, &TfrmSlideshow_Libri::cmdAvantiClick);

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(Interval);
    connect(Timer, &QTimer::timeout, this, &TfrmSlideshow_Libri::cmdAvantiClick);
}

void TfrmSlideshow_Libri::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmSlideshow_Libri::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        Timer->stop();
    QDialog::hideEvent(event);
}

void TfrmSlideshow_Libri::FormShow()
{
    FullScreenPicture::fitToScreen(this);
    imgFoto->setImage(imgBianco->image());
    Timer->start();
}

void TfrmSlideshow_Libri::cmdAvantiClick()
{
    // The timer pauses while a message is open, so ticks never pile up
    // messages on top of each other; the next try comes a full interval later.
    const auto reportAccessFailure = [this] {
        const bool running = Timer->isActive();
        Timer->stop();
        Msg::error(this, BookArchive::accessFailureMessage());
        if (running && isVisible())
            Timer->start();
    };

    BookArchive archive;
    if (!archive.open())
        return reportAccessFailure();
    if (trimText(lblPosizione->text()).isEmpty())
        lblPosizione->setText(QStringLiteral("0"));
    const int p = trimText(lblPosizione->text()).toInt();
    const int count = archive.count();
    if (count == 0) {
        lblPosizione->clear();
        archive.close();
        Timer->stop();
        Msg::information(this, QStringLiteral("L'archivio non contiene nessuna scheda."));
        close();
        return;
    }
    if (p >= count || p < 0) {
        // The last cover stays on screen for this tick; the next starts over.
        lblPosizione->setText(QStringLiteral("0"));
        archive.close();
        return;
    }
    TSchedaLibro card;
    if (!archive.read(p + 1, card)) {
        archive.close();
        return reportAccessFailure();
    }
    const QString number = QString::number(p + 1);
    lblPosizione->setText(number);
    archive.close();
    const QString path = Covers::path(number);
    if (Covers::makeFolder())
        Covers::loadInto(imgFoto, path, imgBianco->image());
    else
        imgFoto->setImage(imgBianco->image());
}
