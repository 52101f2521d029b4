#include "tfrmlistinoprezzi.h"

#include "app/regional.h"
#include "app/screens.h"
#include "app/screenset.h"
#include "app/tfrmavvio.h"

#include <QCloseEvent>

TfrmListinoPrezzi::TfrmListinoPrezzi(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmListinoPrezzi"), QStringLiteral(" Rilegora - Catalogo Libri"));
}

void TfrmListinoPrezzi::closeEvent(QCloseEvent *event)
{
    if (ScreenSet *set = ScreenSet::current())
        Screens::handOver(this, set->frmAvvio);
    event->accept();
}
