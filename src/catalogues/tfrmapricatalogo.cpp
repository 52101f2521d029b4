#include "tfrmapricatalogo.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmApriCatalogo::TfrmApriCatalogo(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmApriCatalogo"), QStringLiteral(" Rilegora - Apertura catalogo esistente"));
}
