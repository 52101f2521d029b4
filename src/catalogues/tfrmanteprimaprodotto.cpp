#include "tfrmanteprimaprodotto.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmAnteprimaProdotto::TfrmAnteprimaProdotto(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupDialog(this, QStringLiteral("TfrmAnteprimaProdotto"), QStringLiteral(" Anteprima di stampa"),
                         QSize(364, 287));
}
