#include "tfrmstampaprodotto.h"

#include "kit/messages.h"
#include "report/reportprinting.h"

TfrmStampaProdotto::TfrmStampaProdotto(QWidget *parent)
    : CataloguePageWindow(parent, QStringLiteral("TfrmStampaProdotto"), QStringLiteral(" Stampa documento"),
                          QStringLiteral("Stampa"), Panel::Single,
                          {{}, {}, {}, {}, QStringLiteral("stampaprodotto_logo.svg")}, 16)
{}

bool TfrmStampaProdotto::send()
{
    if (!fillReport()) {
        Msg::warning(this, ReportPrinting::printFailedMessage());
        return false;
    }
    return !ReportPrinting::warnOnFailure(ReportPrinting::print(repDocumento(), this), this);
}
