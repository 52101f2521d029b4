#include "tfrmstampalibri.h"

#include "report/reportprinting.h"

TfrmStampaLibri::TfrmStampaLibri(QWidget *parent)
    : BookCardWindow(parent, QStringLiteral("TfrmStampaLibri"), QStringLiteral(" Stampa scheda"),
                     QStringLiteral("Stampa"),
                     {QStringLiteral("stampalibri_inf01.svg"), QStringLiteral("stampa_logo.svg"),
                      QStringLiteral("stampa_sezione.svg"), QStringLiteral("stampalibri_inf02.svg"), {}},
                     QStringLiteral("stampalibri_imgtemp.svg"), QSize(307, 409))
{
}

bool TfrmStampaLibri::send()
{
    // A cancelled print dialog prints nothing and is no failure.
    return ReportPrinting::print(repDocumento(), this) != ReportPrinting::Outcome::Failed;
}
