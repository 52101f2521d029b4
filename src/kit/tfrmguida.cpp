#include "tfrmguida.h"

#include "core/programfolder.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/linktext.h"
#include "kit/openurl.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TfrmGuida::TfrmGuida(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmGuida"), QStringLiteral(" Guida all'utilizzo del software"),
                         QSize(670, 572));
    Look::setGround(this, Look::HelpBlue, false);
    QWidget *pan = Screens::addCentredContainer(this, QSize(642, 540));

    shpSfondo = Decor::rectangle(pan, QStringLiteral("shpSfondo"), QRect(8, 8, 625, 89), Look::White, 0xFFF5DEB3);
    imgLogo =
        Decor::picture(pan, QStringLiteral("imgLogo"), QStringLiteral("imgLogoGuida.svg"), QRect(24, 16, 587, 69));

    lblTitolo = new QLabel(QStringLiteral("Argomento della guida."), pan);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    QFont titleFont(QStringLiteral("Arial"), 16, QFont::Bold);
    titleFont.setStyleHint(QFont::SansSerif);
    lblTitolo->setFont(titleFont);
    QPalette titlePalette = lblTitolo->palette();
    titlePalette.setColor(QPalette::WindowText, QColor::fromRgba(Look::Crimson));
    lblTitolo->setPalette(titlePalette);
    lblTitolo->move(8, 104);
    lblTitolo->adjustSize();

    txtGuida = new QPlainTextEdit(pan);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setGeometry(8, 128, 625, 350);
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtGuida->setFont(Look::dataFont());

    imgPDF = Decor::command(pan, QStringLiteral("imgPDF"), QStringLiteral("imgPDF.svg"), QRect(8, 496, 27, 27));
    lnkWeb = new LinkText(QStringLiteral("lnkWeb"), QStringLiteral("Visualizza guida in formato PDF"), pan);
    lnkWeb->move(44, 500);

    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), pan);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    btnChiudi->setGeometry(472, 490, 161, 38);
    btnChiudi->setFont(Look::verdana(12));
    btnChiudi->setAutoDefault(false);

    connectLink(lnkWeb, imgPDF, this, &TfrmGuida::lnkWebMouseDown, &TfrmGuida::lnkWebMouseUp, &TfrmGuida::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmGuida::btnChiudiClick);
}

void TfrmGuida::setTopic(const QString &title, const QString &body)
{
    lblTitolo->setText(title);
    lblTitolo->adjustSize();
    txtGuida->setPlainText(body);
}

QString TfrmGuida::manualTarget()
{
    return QLatin1Char('"') + QDir::toNativeSeparators(ProgramFolder::path()) + QStringLiteral("Guida.pdf") +
           QLatin1Char('"');
}

void TfrmGuida::lnkWebMouseDown()
{
    lnkWeb->setColour(Look::Orange);
}

void TfrmGuida::lnkWebMouseUp()
{
    lnkWeb->setColour(Look::DarkBlue);
}

void TfrmGuida::lnkWebClick()
{
    lnkWeb->setColour(Look::DarkBlue);
    TMisc::Open(manualTarget());
}

void TfrmGuida::btnChiudiClick()
{
    close();
}
