#include "tfrminfo.h"

#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/linktext.h"
#include "kit/openurl.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"

#include <QPushButton>

TfrmInfo::TfrmInfo(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmInfo"), QStringLiteral(" Informazioni su Rilegora"),
                         QSize(473, 579));
    Look::setGround(this, Look::SteelBlue);

    auto *pan = new QWidget(this);
    pan->setObjectName(QStringLiteral("panContainer"));
    pan->setGeometry(15, 15, 442, 490);

    shpSfondo = Decor::rectangle(pan, QStringLiteral("shpSfondo"), QRect(8, 8, 425, 72), Look::White, 0xFF84ADD0);
    imgLogo = Decor::picture(pan, QStringLiteral("imgLogo"), QStringLiteral("imgLogoInfo.svg"), QRect(24, 16, 392, 54));
    // The information area, from 94 down to 479.
    imgInfo01 =
        Decor::picture(pan, QStringLiteral("imgInfo01"), QStringLiteral("imgInfo01.svg"), QRect(8, 94, 425, 120));
    imgInfo02 =
        Decor::picture(pan, QStringLiteral("imgInfo02"), QStringLiteral("imgInfo02.svg"), QRect(8, 222, 425, 150));
    imgInfo03 =
        Decor::picture(pan, QStringLiteral("imgInfo03"), QStringLiteral("imgInfo03.svg"), QRect(8, 380, 425, 99));

    // The button and the link lie below the container, in window units.
    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    btnChiudi->setGeometry(15 + 280, 15 + 504, 161, 41);
    btnChiudi->setFont(Look::verdana(12));
    btnChiudi->setAutoDefault(false);

    imgEmail = Decor::command(this, QStringLiteral("imgEmail"), QStringLiteral("imgEmail.svg"), QRect(15, 531, 23, 16));
    lnkWeb = new LinkText(QStringLiteral("lnkWeb"), makerEmail(), this);
    lnkWeb->move(46, 528);

    connectLink(lnkWeb, imgEmail, this, &TfrmInfo::lnkWebMouseDown, &TfrmInfo::lnkWebMouseUp, &TfrmInfo::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmInfo::btnChiudiClick);
}

QString TfrmInfo::makerEmail()
{
    return QStringLiteral("info@rilegora.it");
}

QString TfrmInfo::mailTarget()
{
    return QStringLiteral("\"mailto:") + makerEmail() + QLatin1Char('"');
}

void TfrmInfo::lnkWebMouseDown()
{
    lnkWeb->setColour(Look::Orange);
}

void TfrmInfo::lnkWebMouseUp()
{
    lnkWeb->setColour(Look::DarkBlue);
}

void TfrmInfo::lnkWebClick()
{
    lnkWeb->setColour(Look::DarkBlue);
    TMisc::Open(mailTarget());
}

void TfrmInfo::btnChiudiClick()
{
    close();
}
