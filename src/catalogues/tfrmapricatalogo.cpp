#include "tfrmapricatalogo.h"

#include "app/regional.h"
#include "app/screens.h"
#include "app/screenset.h"
#include "app/tfrmavvio.h"

#include <QCloseEvent>

TfrmApriCatalogo::TfrmApriCatalogo(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmApriCatalogo"),
                             QStringLiteral(" Rilegora - Apertura catalogo esistente"));
}

void TfrmApriCatalogo::closeEvent(QCloseEvent *event)
{
    if (ScreenSet *set = ScreenSet::current())
        Screens::handOver(this, set->frmAvvio);
    event->accept();
}
