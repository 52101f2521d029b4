#include "tfrmguida.h"

#include "app/screens.h"

TfrmGuida::TfrmGuida(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmGuida"), QStringLiteral(" Guida all'utilizzo del software"), QSize(670, 572));
}
