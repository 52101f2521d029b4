#include "screenset.h"

#include "access/tfrmcambiapassword.h"
#include "access/tfrmpassword.h"
#include "app/tfrmavvio.h"
#include "books/tfrmallegacartella.h"
#include "books/tfrmlibri.h"
#include "books/tfrmslideshow_libri.h"
#include "books/tfrmzoom.h"
#include "catalogues/tfrmanteprimaprodotto.h"
#include "catalogues/tfrmapricatalogo.h"
#include "catalogues/tfrmcreacatalogo.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "catalogues/tfrmstampaprodotto.h"
#include "kit/screens.h"
#include "kit/tfrmguida.h"
#include "kit/tfrminfo.h"
#include "kit/tfrmsplash.h"
#include "output/tfrmanteprimalibri.h"
#include "output/tfrmexplibri.h"
#include "output/tfrmstampalibri.h"
#include "search/tfrmcodici_dewey.h"
#include "search/tfrmtrovalibri.h"

#include <QLabel>
#include <QLineEdit>

namespace {
ScreenSet *g_current = nullptr;
}

ScreenSet::ScreenSet()
{
    g_current = this;
    frmPassword = new TfrmPassword;
    frmAllegaCartella = new TfrmAllegaCartella;
    frmAnteprimaLibri = new TfrmAnteprimaLibri;
    frmAvvio = new TfrmAvvio;
    frmCambiaPassword = new TfrmCambiaPassword;
    frmCodici_Dewey = new TfrmCodici_Dewey;
    frmGuida = new TfrmGuida;
    frmInfo = new TfrmInfo;
    frmLibri = new TfrmLibri;
    frmSlideshow_Libri = new TfrmSlideshow_Libri;
    frmSplash = new TfrmSplash;
    frmStampaLibri = new TfrmStampaLibri;
    frmTrovaLibri = new TfrmTrovaLibri;
    frmZoom = new TfrmZoom;
    frmCreaCatalogo = new TfrmCreaCatalogo;
    frmApriCatalogo = new TfrmApriCatalogo;
    frmListinoPrezzi = new TfrmListinoPrezzi;
    frmAnteprimaProdotto = new TfrmAnteprimaProdotto;
    frmStampaProdotto = new TfrmStampaProdotto;
    frmExpLibri = new TfrmExpLibri;
    wire();
}

void ScreenSet::wire()
{
    // Each long-lived screen says where its user goes next; the set, which
    // knows them all, shows that screen first and then hides the one left.
    QObject::connect(frmPassword, &TfrmPassword::passwordAccepted, frmPassword,
                     [this] { Screens::handOver(frmPassword, frmAvvio); });
    QObject::connect(frmPassword, &TfrmPassword::passwordChangeAsked, frmPassword,
                     [this] { Screens::handOver(frmPassword, frmCambiaPassword); });
    QObject::connect(frmCambiaPassword, &TfrmCambiaPassword::closedToLogin, frmCambiaPassword, [this] {
        // The login screen asks for the password again.
        frmPassword->clearEntry();
        Screens::handOver(frmCambiaPassword, frmPassword);
        frmPassword->FormShow();
    });
    QObject::connect(frmLibri, &TfrmLibri::leftToLauncher, frmLibri, [this] { Screens::handOver(frmLibri, frmAvvio); });
    QObject::connect(frmCreaCatalogo, &TfrmCreaCatalogo::leftToLauncher, frmCreaCatalogo,
                     [this] { Screens::handOver(frmCreaCatalogo, frmAvvio); });
    QObject::connect(frmApriCatalogo, &TfrmApriCatalogo::leftToLauncher, frmApriCatalogo,
                     [this] { Screens::handOver(frmApriCatalogo, frmAvvio); });
    QObject::connect(frmApriCatalogo, &TfrmApriCatalogo::catalogueChosen, frmApriCatalogo,
                     [this](const QString &file, const QString &name) {
                         frmListinoPrezzi->openCatalogue(file, name);
                         Screens::handOver(frmApriCatalogo, frmListinoPrezzi);
                     });
    QObject::connect(frmListinoPrezzi, &TfrmListinoPrezzi::leftToLauncher, frmListinoPrezzi,
                     [this] { Screens::handOver(frmListinoPrezzi, frmAvvio); });
}

ScreenSet::~ScreenSet()
{
    // Reverse order of creation.
    delete frmExpLibri;
    delete frmStampaProdotto;
    delete frmAnteprimaProdotto;
    delete frmListinoPrezzi;
    delete frmApriCatalogo;
    delete frmCreaCatalogo;
    delete frmZoom;
    delete frmTrovaLibri;
    delete frmStampaLibri;
    delete frmSplash;
    delete frmSlideshow_Libri;
    delete frmLibri;
    delete frmInfo;
    delete frmGuida;
    delete frmCodici_Dewey;
    delete frmCambiaPassword;
    delete frmAvvio;
    delete frmAllegaCartella;
    delete frmAnteprimaLibri;
    delete frmPassword;
    if (g_current == this)
        g_current = nullptr;
}

ScreenSet *ScreenSet::current()
{
    return g_current;
}

QWidget *ScreenSet::firstScreen() const
{
    // Nothing can be reached before the access password is typed.
    return frmPassword;
}
