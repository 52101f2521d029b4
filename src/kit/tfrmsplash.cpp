#include "tfrmsplash.h"

#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/linktext.h"
#include "kit/openurl.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"

#include <QPushButton>

TfrmSplash::TfrmSplash(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmSplash"), QStringLiteral(" Rilegora 1.0 - Rilegora Software"),
                         QSize(661, 467));
    Look::setGround(this, Look::SplashDark, false);
    QWidget *pan = Screens::addCentredContainer(this, QSize(642, 448));

    imgLogo =
        Decor::picture(pan, QStringLiteral("imgLogo"), QStringLiteral("imgLogoSplash.svg"), QRect(8, 8, 625, 380));
    imgWeb = Decor::command(pan, QStringLiteral("imgWeb"), QStringLiteral("imgWeb.svg"), QRect(8, 400, 39, 36));
    lnkWeb = new LinkText(QStringLiteral("lnkWeb"), QStringLiteral("www.rilegora.it"), pan);
    lnkWeb->move(54, 409);

    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), pan);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    btnChiudi->setGeometry(473, 402, 160, 34);
    btnChiudi->setFont(Look::verdana(12));
    btnChiudi->setAutoDefault(false);

    connectLink(lnkWeb, imgWeb, this, &TfrmSplash::lnkWebMouseDown, &TfrmSplash::lnkWebMouseUp,
                &TfrmSplash::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmSplash::btnChiudiClick);
}

QString TfrmSplash::makerSite()
{
    return QStringLiteral("https://www.rilegora.it");
}

void TfrmSplash::lnkWebMouseDown()
{
    lnkWeb->setColour(Look::Orange);
}

void TfrmSplash::lnkWebMouseUp()
{
    lnkWeb->setColour(Look::DarkBlue);
}

void TfrmSplash::lnkWebClick()
{
    lnkWeb->setColour(Look::DarkBlue);
    TMisc::Open(makerSite());
}

void TfrmSplash::btnChiudiClick()
{
    close();
}
