#include "tfrmzoom.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmZoom::TfrmZoom(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmZoom"), QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
}
