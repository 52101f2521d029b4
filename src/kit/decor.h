#pragma once

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>

class PictureButton;
class QLabel;
class QPushButton;
class QWidget;

/// The plain drawing elements of the launcher and the information windows.
namespace Decor {

/// A filled rectangle with a one-unit border, named name, on parent.
QWidget *rectangle(QWidget *parent, const QString &name, const QRect &geometry, QRgb fill, QRgb border, int radius = 4);

/// A push button of the dialogs: Verdana 10 bold caption, the pointing-hand
/// pointer, never pressed by Enter from elsewhere in the dialog.
QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry);

/// A rectangle filled with a vertical gradient from top (above) to White
/// (below), with a one-unit border.
QWidget *gradientRectangle(QWidget *parent, const QString &name, const QRect &geometry, QRgb top, QRgb border,
                           int radius = 4);

/// A picture that is only decoration: it takes no clicks and keeps the
/// normal arrow pointer, so the mouse acts on what lies beneath it.
PictureButton *picture(QWidget *parent, const QString &name, const QString &asset, const QRect &geometry);

/// The program's name drawn as the logo of a screen's top box, with the
/// screen's two-line subtitle ("Schedario Libri\n...") beside it.
QPixmap titleLogo(const QSize &size, const QString &subtitle);
/// The label imgLogo at its place in a screen's top box, showing titleLogo.
QLabel *titleLogoLabel(QWidget *topBox, const QString &subtitle);

/// A clickable picture (hand pointer) showing :/assets/<asset>.
PictureButton *command(QWidget *parent, const QString &name, const QString &asset, const QRect &geometry);

} // namespace Decor
