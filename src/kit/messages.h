#pragma once

#include <QString>

class QWidget;

/// The five kinds of message every screen uses. All are modal.
namespace Msg {

/// Information, warning and error boxes: the kind's icon and title, OK and
/// Cancel; the answer is never looked at.
void information(QWidget *parent, const QString &text);
void warning(QWidget *parent, const QString &text);
void error(QWidget *parent, const QString &text);

/// A plain box: no kind icon, OK only.
void plain(QWidget *parent, const QString &text);

/// A question box with Yes and No. Returns true only when the user answered
/// No; a box closed any other way lets the action go ahead.
bool answeredNo(QWidget *parent, const QString &text);

} // namespace Msg
