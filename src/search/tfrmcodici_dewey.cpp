#include "tfrmcodici_dewey.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmCodici_Dewey::TfrmCodici_Dewey(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupDialog(this, QStringLiteral("TfrmCodici_Dewey"), QStringLiteral(" Tabella Codici Dewey"),
                         QSize(861, 561));
}
