#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QWidget;

/// The open-file and save-file dialogs of the card index screens.
///
/// Every chooser goes through choose(), which shows a QFileDialog. Tests
/// queue answers with answerNext(); while answers are queued no dialog is
/// shown and each request is recorded in requests() instead.
namespace FileChooser {

struct Request
{
    enum Kind { Open, Save };
    Kind kind = Open;
    QString name; ///< the dialog's objectName ("dlgFile")
    QString title;
    QList<QPair<QString, QString>> filters; ///< (text shown, patterns separated by blanks)
    QString proposedName;                   ///< save only
    QString defaultSuffix; ///< added to a name typed without one (to open: unless that name exists)
};

/// Shows the chooser and returns the chosen path, or an empty text when the
/// user cancelled. A save dialog asks before overwriting an existing file.
QString choose(QWidget *parent, const Request &request);

/// The filter strings handed to QFileDialog: each shows its text exactly and
/// matches its patterns (HideNameFilterDetails hides the trailing patterns).
QStringList qtFilters(const Request &request);

/// Tests: the next choose() returns path without showing a dialog; an empty
/// path answers as a cancelled dialog.
void answerNext(const QString &path);
/// Tests: the requests answered from the queue, oldest first.
QList<Request> &requests();

} // namespace FileChooser
