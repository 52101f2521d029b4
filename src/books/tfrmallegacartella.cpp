#include "tfrmallegacartella.h"

#include "app/screens.h"

TfrmAllegaCartella::TfrmAllegaCartella(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmAllegaCartella"), QStringLiteral(" Allega file"), QSize(634, 534));
}
