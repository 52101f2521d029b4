#include "tfrmanteprimaprodotto.h"

#include "kit/messages.h"
#include "report/reportprinting.h"

TfrmAnteprimaProdotto::TfrmAnteprimaProdotto(QWidget *parent)
    : CataloguePageWindow(parent, QStringLiteral("TfrmAnteprimaProdotto"), QStringLiteral(" Anteprima di stampa"),
                          QStringLiteral("Mostra anteprima"), Panel::Explained,
                          {QStringLiteral("anteprimaprodotto_inf01.svg"),
                           QStringLiteral("stampa_logo.svg"),
                           QStringLiteral("anteprima_sezione.svg"),
                           QStringLiteral("anteprimaprodotto_inf02.svg"),
                           {}},
                          14)
{}

bool TfrmAnteprimaProdotto::send()
{
    if (!fillReport()) {
        Msg::warning(this, ReportPrinting::previewFailedMessage());
        return false;
    }
    ReportPreview::run(repDocumento(), false, this);
    return true;
}
