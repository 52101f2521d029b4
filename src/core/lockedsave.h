#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

/// The two writes of a record file that the screens make, each under the
/// file's WriteLock, so that copies of the program saving into the same file
/// at the same moment never take one number twice nor write over each
/// other's changes unseen.
namespace LockedSave {

enum class Result {
    Saved,   ///< the record is on the device
    Busy,    ///< another copy held the lock all the wait: nothing written
    Changed, ///< the record on disk is no longer the one loaded: nothing written
    Missing, ///< the file is gone and was not to be created: nothing written
    Failed,  ///< the file could not be opened, read or written
};

struct Options
{
    /// Whether a missing file is created empty (the card index) or reported
    /// as Missing (a catalogue deleted on another workstation).
    bool createMissing = true;
    /// Runs once the record is on disk, while the lock is still held, with
    /// the record's number: the pictures saved under that number.
    std::function<void(int)> whileLocked;
    /// When given, receives the cause of a Failed result, for the log.
    QString *error = nullptr;
};

/// Appends record after the last whole record of the file at path, taking
/// its number from the file as it is under the lock; *number receives it.
Result append(const QString &path, int recordSize, const char *record, int *number, const Options &options = {});

/// Rewrites record n of the file at path. When unchanged is given, the
/// record on disk is first read under the lock and passed to it; if it
/// returns false nothing is written, Changed is returned and *onDisk (when
/// given) receives the record as it now is.
Result rewrite(const QString &path, int recordSize, int n, const char *record,
               const std::function<bool(const char *)> &unchanged, QByteArray *onDisk, const Options &options = {});

/// Tests: hook runs in every append and rewrite between deciding what to
/// write (the number counted, the record compared) and writing it, where
/// another copy without the lock could come in; an empty hook removes it.
void setDecidedHook(std::function<void()> hook);

} // namespace LockedSave
