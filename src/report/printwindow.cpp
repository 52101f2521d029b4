#include "printwindow.h"

#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/picturewidgets.h"
#include "kit/regional.h"
#include "kit/screens.h"

#include <QLinearGradient>
#include <QPalette>
#include <QPushButton>

namespace {
// The gradient bar between the two halves of the panel.
QWidget *separator(QWidget *parent, const QRect &geometry)
{
    auto *bar = new QWidget(parent);
    bar->setObjectName(QStringLiteral("shpSepara"));
    bar->setGeometry(geometry);
    bar->setAttribute(Qt::WA_StyledBackground);
    bar->setStyleSheet(QStringLiteral("#shpSepara { border-radius: 3px; background: qlineargradient(x1:0, y1:0, "
                                      "x2:1, y2:0, stop:0 #427AA8, stop:1 #FFFFFF); }"));
    return bar;
}
} // namespace

PrintWindow::PrintWindow(QWidget *parent, const QString &name, const QString &caption, const QString &confirmText,
                         Panel panel, const Pictures &pictures)
    : QDialog(parent)
{
    Regional::apply();
    Screens::setupDialog(this, name, caption, QSize(364, 287));
    Look::setGround(this, Look::CardBlue);
    shpSfondo = Decor::rectangle(this, QStringLiteral("shpSfondo"), QRect(18, 18, 326, 215), Look::White, 0xFFB9CFE2);
    if (panel == Panel::Explained) {
        icoInf01 = Decor::picture(this, QStringLiteral("icoInf01"), pictures.inf01, QRect(28, 28, 225, 83));
        imgLogo01 = Decor::picture(this, QStringLiteral("imgLogo01"), pictures.logo01, QRect(280, 31, 51, 81));
        shpSepara = separator(this, QRect(26, 122, 311, 6));
        imgSezione04 = Decor::picture(this, QStringLiteral("imgSezione04"), pictures.sezione04, QRect(30, 142, 66, 69));
        icoInf02 = Decor::picture(this, QStringLiteral("icoInf02"), pictures.inf02, QRect(112, 142, 209, 67));
    } else {
        imgLogo01 = Decor::picture(this, QStringLiteral("imgLogo01"), pictures.single, QRect(22, 26, 317, 198));
    }
    btnAnnulla = Decor::button(this, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(18, 243, 145, 28));
    btnStampa = Decor::button(this, QStringLiteral("btnStampa"), confirmText, QRect(200, 243, 145, 28));
    connect(btnAnnulla, &QPushButton::clicked, this, &PrintWindow::btnAnnullaClick);
    connect(btnStampa, &QPushButton::clicked, this, [this] { btnStampaClick(); });
}

bool PrintWindow::loadTemplate(const QString &file, const QMap<QString, QString> &parameters)
{
    m_loaded = m_report.load(file, parameters);
    if (!m_loaded)
        qWarning("report template: %s", qPrintable(m_report.errorString()));
    return m_loaded;
}

void PrintWindow::btnAnnullaClick()
{
    reject();
}
