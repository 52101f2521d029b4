#include "tfrmavvio.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmAvvio::TfrmAvvio(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmAvvio"), QStringLiteral(" Rilegora"));
}
