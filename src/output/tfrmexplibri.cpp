#include "tfrmexplibri.h"

#include "app/screens.h"

TfrmExpLibri::TfrmExpLibri(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmExpLibri"), QStringLiteral(" Esporta archivio libri in Excel"), QSize(862, 560));
}
