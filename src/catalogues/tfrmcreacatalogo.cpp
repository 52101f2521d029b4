#include "tfrmcreacatalogo.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmCreaCatalogo::TfrmCreaCatalogo(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmCreaCatalogo"), QStringLiteral(" Rilegora - Creazione nuovo catalogo"));
}
