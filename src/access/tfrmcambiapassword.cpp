#include "tfrmcambiapassword.h"

#include "app/screens.h"

TfrmCambiaPassword::TfrmCambiaPassword(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmCambiaPassword"), QStringLiteral(" Cambia password"), QSize(411, 418));
}
