#include "tfrminfo.h"

#include "app/screens.h"

TfrmInfo::TfrmInfo(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmInfo"), QStringLiteral(" Informazioni su Rilegora"), QSize(473, 579));
}
