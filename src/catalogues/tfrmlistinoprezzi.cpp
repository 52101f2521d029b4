#include "tfrmlistinoprezzi.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmListinoPrezzi::TfrmListinoPrezzi(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmListinoPrezzi"), QStringLiteral(" Rilegora - Catalogo Libri"));
}
