#include "tfrmpassword.h"

#include "app/screens.h"

TfrmPassword::TfrmPassword(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmPassword"), QStringLiteral(" Rilegora - Autenticazione"), QSize(388, 405));
}
