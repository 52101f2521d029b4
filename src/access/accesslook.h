#pragma once

#include <QRect>
#include <QRgb>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

/// The pieces that the login and change-password screens share.
namespace AccessLook {

/// A rectangle filled with a vertical gradient from top to White, with a
/// white border.
QWidget *gradientRect(QWidget *parent, const QString &name, const QRect &geometry, QRgb top);

/// A password box: Verdana 14 bold, a masking character for each typed
/// character, AliceBlue with a SkyBlue border.
QLineEdit *passwordBox(QWidget *parent, const QString &name, const QRect &geometry);

/// A label in Verdana, sized to its text.
QLabel *label(QWidget *parent, const QString &name, const QString &text, const QPoint &at);

/// A push button in Verdana that Enter never presses by default.
QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry);

/// The hidden label "lblMemory".
QLabel *memoryLabel(QWidget *parent);

} // namespace AccessLook
