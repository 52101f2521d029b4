#include "tfrmavvio.h"

#include "app/screenset.h"
#include "books/tfrmlibri.h"
#include "catalogues/tfrmapricatalogo.h"
#include "catalogues/tfrmcreacatalogo.h"
#include "core/helptopics.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/openurl.h"
#include "kit/picturewidgets.h"
#include "kit/regional.h"
#include "kit/screens.h"
#include "kit/tfrmguida.h"
#include "kit/tfrminfo.h"
#include "kit/tfrmsplash.h"

#include <QApplication>
#include <QCloseEvent>

namespace {
constexpr QRgb ColumnBorder = 0xFFD8E5EF;
}

TfrmAvvio::TfrmAvvio(QWidget *parent) : QWidget(parent)
{
    // FormCreate
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmAvvio"),
                             QStringLiteral(" Rilegora - Schedario libri e cataloghi bibliografici"));
    Look::setGround(this, Look::SteelBlue);
    QWidget *pan = Screens::addCentredContainer(this, QSize(995, 692));

    // Title band.
    shpNomeApp = Decor::rectangle(pan, QStringLiteral("shpNomeApp"), QRect(8, 8, 978, 114), Look::White, ColumnBorder);
    imgInfo = Decor::command(pan, QStringLiteral("imgInfo"), QStringLiteral("imgInfo.svg"), QRect(16, 16, 30, 30));
    icoIconaApp =
        Decor::picture(pan, QStringLiteral("icoIconaApp"), QStringLiteral("icoIconaApp.svg"), QRect(114, 24, 57, 55));
    icoTitoloApp = Decor::picture(pan, QStringLiteral("icoTitoloApp"), QStringLiteral("icoTitoloApp.svg"),
                                  QRect(184, 25, 690, 57));
    imgGuida = Decor::command(pan, QStringLiteral("imgGuida"), QStringLiteral("imgGuida.svg"), QRect(950, 16, 29, 28));
    imgSottotitolo = Decor::picture(pan, QStringLiteral("imgSottotitolo"), QStringLiteral("imgSottotitolo.svg"),
                                    QRect(17, 88, 961, 22));

    // The three columns: a picture and its label each.
    bkgApp06 = Decor::rectangle(pan, QStringLiteral("bkgApp06"), QRect(8, 128, 320, 480), Look::White, ColumnBorder);
    bkgApp08 = Decor::rectangle(pan, QStringLiteral("bkgApp08"), QRect(337, 128, 320, 480), Look::White, ColumnBorder);
    bkgApp10 = Decor::rectangle(pan, QStringLiteral("bkgApp10"), QRect(666, 128, 320, 480), Look::White, ColumnBorder);
    imgApp01 =
        Decor::command(pan, QStringLiteral("imgApp01"), QStringLiteral("imgApp01.svg"), QRect(19, 150, 298, 388));
    btnApp01 = Decor::command(pan, QStringLiteral("btnApp01"), QStringLiteral("btnApp01.svg"), QRect(40, 544, 258, 45));
    imgApp02 =
        Decor::command(pan, QStringLiteral("imgApp02"), QStringLiteral("imgApp02.svg"), QRect(348, 150, 298, 388));
    btnApp02 =
        Decor::command(pan, QStringLiteral("btnApp02"), QStringLiteral("btnApp02.svg"), QRect(369, 544, 258, 45));
    imgApp03 =
        Decor::command(pan, QStringLiteral("imgApp03"), QStringLiteral("imgApp03.svg"), QRect(677, 150, 298, 388));
    btnApp03 =
        Decor::command(pan, QStringLiteral("btnApp03"), QStringLiteral("btnApp03.svg"), QRect(698, 544, 258, 45));

    // Footer band.
    shpCalce = Decor::rectangle(pan, QStringLiteral("shpCalce"), QRect(8, 616, 978, 70), Look::White, ColumnBorder);
    imgSito = Decor::command(pan, QStringLiteral("imgSito"), QStringLiteral("imgSito.svg"), QRect(17, 626, 961, 22));
    imgCopyright =
        Decor::command(pan, QStringLiteral("imgCopyright"), QStringLiteral("imgCopyright.svg"), QRect(16, 658, 23, 22));
    imgEsci = Decor::command(pan, QStringLiteral("imgEsci"), QStringLiteral("imgEsci.svg"), QRect(958, 662, 17, 18));

    const QList<QPair<PictureButton *, void (TfrmAvvio::*)()>> commands = {
        {imgApp01, &TfrmAvvio::imgApp01Click}, {btnApp01, &TfrmAvvio::imgApp01Click},
        {imgApp02, &TfrmAvvio::imgApp02Click}, {btnApp02, &TfrmAvvio::imgApp02Click},
        {imgApp03, &TfrmAvvio::imgApp03Click}, {btnApp03, &TfrmAvvio::imgApp03Click},
        {imgInfo, &TfrmAvvio::imgInfoClick},   {imgCopyright, &TfrmAvvio::imgCopyrightClick},
        {imgGuida, &TfrmAvvio::imgGuidaClick}, {imgSito, &TfrmAvvio::imgSitoClick},
        {imgEsci, &TfrmAvvio::imgEsciClick},
    };
    for (const auto &command : commands)
        connect(command.first, &QAbstractButton::clicked, this, command.second);
}

QString TfrmAvvio::makerSite()
{
    return QStringLiteral("https://www.rilegora.it");
}

void TfrmAvvio::openWorkScreen(QWidget *next)
{
    if (next)
        Screens::handOver(this, next);
}

void TfrmAvvio::imgApp01Click()
{
    if (ScreenSet *set = ScreenSet::current())
        openWorkScreen(set->frmLibri);
}

void TfrmAvvio::imgApp02Click()
{
    if (ScreenSet *set = ScreenSet::current())
        openWorkScreen(set->frmCreaCatalogo);
}

void TfrmAvvio::imgApp03Click()
{
    if (ScreenSet *set = ScreenSet::current())
        openWorkScreen(set->frmApriCatalogo);
}

void TfrmAvvio::imgInfoClick()
{
    Screens::runModal<TfrmInfo>(this);
}

void TfrmAvvio::imgCopyrightClick()
{
    Screens::runModal<TfrmSplash>(this);
}

void TfrmAvvio::imgGuidaClick()
{
    Screens::runModal<TfrmGuida>(this,
                                 [](TfrmGuida &help) { help.setTopic(HelpTopics::avvioTitle(), HelpTopics::avvio()); });
}

void TfrmAvvio::imgSitoClick()
{
    TMisc::Open(makerSite());
}

void TfrmAvvio::imgEsciClick()
{
    endProgram();
}

void TfrmAvvio::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TfrmAvvio::FormClose()
{
    // Closing the launcher ends the program, although the hidden login
    // screen is the main window. While the program is already ending (the
    // event loop closes every window), nothing more is asked of it.
    if (!m_ending)
        endProgram();
}

void TfrmAvvio::endProgram()
{
    m_ending = true;
    QApplication::quit();
    // When the request is not taken (no event loop is running yet), the
    // launcher stays usable.
    m_ending = false;
}
