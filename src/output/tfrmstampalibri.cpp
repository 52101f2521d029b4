#include "tfrmstampalibri.h"

#include "report/reportprinting.h"

TfrmStampaLibri::TfrmStampaLibri(QWidget *parent)
    : BookCardWindow(parent, QStringLiteral("TfrmStampaLibri"), QStringLiteral(" Stampa scheda"),
                     QStringLiteral("Stampa"),
                     {QStringLiteral("stampalibri_inf01.svg"),
                      QStringLiteral("stampa_logo.svg"),
                      QStringLiteral("stampa_sezione.svg"),
                      QStringLiteral("stampalibri_inf02.svg"),
                      {}},
                     QStringLiteral("stampalibri_imgtemp.svg"), QSize(307, 409))
{}

bool TfrmStampaLibri::send()
{
    // A cancelled print dialog prints nothing and is no failure. With no
    // printer at all the card's own warning (about the preview and the
    // photo) would mislead, so the user is told what is missing.
    switch (ReportPrinting::print(repDocumento(), this)) {
    case ReportPrinting::Outcome::NoPrinter:
        ReportPrinting::warnOnFailure(ReportPrinting::Outcome::NoPrinter, this);
        return true;
    case ReportPrinting::Outcome::Failed:
        return false;
    default:
        return true;
    }
}
