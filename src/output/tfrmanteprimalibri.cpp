#include "tfrmanteprimalibri.h"

#include "report/reportprinting.h"

TfrmAnteprimaLibri::TfrmAnteprimaLibri(QWidget *parent)
    : BookCardWindow(parent, QStringLiteral("TfrmAnteprimaLibri"), QStringLiteral(" Anteprima di stampa"),
                     QStringLiteral("Mostra anteprima"),
                     {QStringLiteral("anteprimalibri_inf01.svg"),
                      QStringLiteral("stampa_logo.svg"),
                      QStringLiteral("anteprima_sezione.svg"),
                      QStringLiteral("anteprimalibri_inf02.svg"),
                      {}},
                     QStringLiteral("anteprimalibri_imgtemp.svg"), QSize(297, 184))
{}

bool TfrmAnteprimaLibri::send()
{
    ReportPreview::run(repDocumento(), true, this);
    return true;
}
