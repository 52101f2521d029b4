#include "tfrmstampalibri.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmStampaLibri::TfrmStampaLibri(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupDialog(this, QStringLiteral("TfrmStampaLibri"), QStringLiteral(" Stampa scheda"), QSize(364, 287));
}
