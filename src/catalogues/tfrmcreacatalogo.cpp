#include "tfrmcreacatalogo.h"

#include "app/regional.h"
#include "app/screens.h"
#include "app/screenset.h"
#include "app/tfrmavvio.h"

#include <QCloseEvent>

TfrmCreaCatalogo::TfrmCreaCatalogo(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmCreaCatalogo"),
                             QStringLiteral(" Rilegora - Creazione nuovo catalogo"));
}

void TfrmCreaCatalogo::closeEvent(QCloseEvent *event)
{
    if (ScreenSet *set = ScreenSet::current())
        Screens::handOver(this, set->frmAvvio);
    event->accept();
}
