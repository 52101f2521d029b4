#pragma once

#include <QString>

/// The four browsing commands that the card screen and the page editor
/// share: which record a command shows, given the number on screen (empty
/// for a record not yet stored) and the number of records in the file.
namespace Browsing {

enum class Command { First, Previous, Next, Last };

struct Step
{
    enum Kind {
        Load,  ///< show record `number`
        Empty, ///< the file holds no record: say so
        Stay,  ///< nothing happens, no message
    };
    Kind kind = Stay;
    int number = 0;
    /// With Empty: the number on screen is emptied first (Next only).
    bool clearPosition = false;
};

/// First and Last show record 1 and the last record. Next shows the record
/// after the one on screen (a new record counts as 0) and stays on the last.
/// Previous stays on record 1, even in an empty file, and shows record 1 from
/// a new record; a number the file no longer reaches steps back onto the
/// last record rather than reading past the end.
Step step(Command command, const QString &position, int count);

} // namespace Browsing
