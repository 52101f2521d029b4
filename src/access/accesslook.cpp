#include "accesslook.h"

#include "kit/conventions.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString colourName(QRgb argb)
{
    return QColor::fromRgba(argb).name(QColor::HexRgb);
}

} // namespace

namespace AccessLook {

QWidget *gradientRect(QWidget *parent, const QString &name, const QRect &geometry, QRgb top)
{
    auto *shape = new QWidget(parent);
    shape->setObjectName(name);
    shape->setGeometry(geometry);
    shape->setAttribute(Qt::WA_StyledBackground);
    shape->setStyleSheet(QStringLiteral("#%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %2, "
                                        "stop:1 #ffffff); border: 1px solid #ffffff; }")
                             .arg(name, colourName(top)));
    return shape;
}

QLineEdit *passwordBox(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setEchoMode(QLineEdit::Password);
    box->setFont(Look::verdana(14, true));
    box->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; border: 1px solid %2; padding: 0 3px; }")
                           .arg(colourName(Look::AliceBlue), colourName(Look::SkyBlue)));
    return box;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QPoint &at)
{
    auto *lbl = new QLabel(text, parent);
    lbl->setObjectName(name);
    lbl->setFont(Look::verdana(9, true));
    lbl->move(at);
    lbl->adjustSize();
    return lbl;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFont(Look::verdana(9));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QLabel *memoryLabel(QWidget *parent)
{
    auto *lbl = new QLabel(parent);
    lbl->setObjectName(QStringLiteral("lblMemory"));
    lbl->hide();
    return lbl;
}

} // namespace AccessLook
