#pragma once

#include "core/browsing.h"
#include "kit/messages.h"

#include <QAbstractButton>
#include <QLabel>
#include <QList>
#include <QPair>
#include <QString>

class HintBar;
class QWidget;

/// What the card screen and the page editor share as screens of one record
/// file: the browsing commands, the messages of a save, the hint bar and
/// the wiring of their command buttons.
namespace RecordScreen {

/// "L'archivio non contiene nessuna scheda."
QString noRecordsMessage();
/// The message of a successful save: in place (rewritten) or appended.
QString savedMessage(bool rewritten);
/// The error shown when the record file cannot be opened, read or written.
void reportAccessFailure(QWidget *screen);

/// One browsing command on an open record file (a BookArchive or a
/// CatalogueFile: count(), close()), by Browsing::step on the number shown
/// in position. A record to show is passed to load(file, n), which reads
/// it into the screen and closes the file; its failure is reported as an
/// access failure. Otherwise the file is closed, position is emptied where
/// the step says so, and an empty file is told.
template <class File, class Load>
void browse(QWidget *screen, QLabel *position, File &file, Browsing::Command command, Load load);

/// Hints: each command's text while the mouse is on it; the grounds put
/// the bar back to its resting text.
void addHints(HintBar *bar, const QList<QPair<QWidget *, QString>> &commands, const QList<QWidget *> &grounds);

/// Connects each button's click to its handler.
template <class Screen, class Button>
void connectCommands(Screen *screen, const QList<QPair<Button *, void (Screen::*)()>> &commands)
{
    for (const auto &command : commands)
        QObject::connect(command.first, &QAbstractButton::clicked, screen, command.second);
}

// ---- implementation -------------------------------------------------------------

template <class File, class Load>
void browse(QWidget *screen, QLabel *position, File &file, Browsing::Command command, Load load)
{
    const Browsing::Step step = Browsing::step(command, position->text(), file.count());
    if (step.kind != Browsing::Step::Load) {
        file.close();
        if (step.clearPosition)
            position->clear();
        if (step.kind == Browsing::Step::Empty)
            Msg::information(screen, noRecordsMessage());
        return;
    }
    if (!load(file, step.number))
        reportAccessFailure(screen);
}

} // namespace RecordScreen
