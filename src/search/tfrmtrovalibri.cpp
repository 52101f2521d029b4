#include "tfrmtrovalibri.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmTrovaLibri::TfrmTrovaLibri(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupDialog(this, QStringLiteral("TfrmTrovaLibri"), QStringLiteral(" Trova libri in archivio"), QSize(862, 560));
}
