#include "tfrmstampaprodotto.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmStampaProdotto::TfrmStampaProdotto(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupDialog(this, QStringLiteral("TfrmStampaProdotto"), QStringLiteral(" Stampa documento"),
                         QSize(364, 287));
}
