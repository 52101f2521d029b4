#include "decor.h"

#include "conventions.h"
#include "picturewidgets.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

namespace Decor {

QWidget *rectangle(QWidget *parent, const QString &name, const QRect &geometry, QRgb fill, QRgb border, int radius)
{
    auto *shape = new QWidget(parent);
    shape->setObjectName(name);
    shape->setGeometry(geometry);
    shape->setAttribute(Qt::WA_StyledBackground);
    shape->setStyleSheet(QStringLiteral("#%1 { background-color: %2; border: 1px solid %3; border-radius: %4px; }")
                             .arg(name, QColor::fromRgba(fill).name(), QColor::fromRgba(border).name())
                             .arg(radius));
    return shape;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFont(Look::verdana(10, true));
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoDefault(false);
    Look::enterPresses(b);
    return b;
}

QWidget *gradientRectangle(QWidget *parent, const QString &name, const QRect &geometry, QRgb top, QRgb border,
                           int radius)
{
    auto *shape = new QWidget(parent);
    shape->setObjectName(name);
    shape->setGeometry(geometry);
    shape->setAttribute(Qt::WA_StyledBackground);
    shape->setStyleSheet(QStringLiteral("#%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %2, "
                                        "stop:1 #ffffff); border: 1px solid %3; border-radius: %4px; }")
                             .arg(name, QColor::fromRgba(top).name(), QColor::fromRgba(border).name())
                             .arg(radius));
    return shape;
}

PictureButton *picture(QWidget *parent, const QString &name, const QString &asset, const QRect &geometry)
{
    PictureButton *shown = command(parent, name, asset, geometry);
    shown->setCursor(Qt::ArrowCursor);
    shown->setAttribute(Qt::WA_TransparentForMouseEvents);
    return shown;
}

PictureButton *command(QWidget *parent, const QString &name, const QString &asset, const QRect &geometry)
{
    auto *shown = new PictureButton(name, QStringLiteral(":/assets/") + asset, parent);
    shown->setGeometry(geometry);
    return shown;
}

QPixmap titleLogo(const QSize &size, const QString &subtitle)
{
    QPixmap picture(size);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(0x2E, 0x5A, 0x88));
    p.setFont(Look::verdana(24, true));
    p.drawText(QRect(6, 0, 220, size.height()), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Rilegora"));
    p.setPen(QColor(0x6A, 0x5A, 0xCD));
    p.setFont(Look::verdana(10, true));
    p.drawText(QRect(190, 0, size.width() - 190, size.height()), Qt::AlignVCenter | Qt::AlignLeft, subtitle);
    return picture;
}

QLabel *titleLogoLabel(QWidget *topBox, const QString &subtitle)
{
    auto *logo = new QLabel(topBox);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setGeometry(6, 5, 505, 55);
    logo->setPixmap(titleLogo(logo->size(), subtitle));
    return logo;
}

} // namespace Decor
