#include "tfrmslideshow_libri.h"

#include "app/regional.h"
#include "app/screens.h"

TfrmSlideshow_Libri::TfrmSlideshow_Libri(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmSlideshow_Libri"), QStringLiteral(" Slide Show Copertine Libri"));
}
