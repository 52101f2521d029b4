#include "tfrmanteprimalibri.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmAnteprimaLibri::TfrmAnteprimaLibri(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupDialog(this, QStringLiteral("TfrmAnteprimaLibri"), QStringLiteral(" Anteprima di stampa"),
                         QSize(364, 287));
}
