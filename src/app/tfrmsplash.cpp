#include "tfrmsplash.h"

#include "app/screens.h"

TfrmSplash::TfrmSplash(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmSplash"), QStringLiteral(" Rilegora"), QSize(661, 467));
}
