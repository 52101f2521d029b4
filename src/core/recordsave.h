#pragma once

#include "lockedsave.h"

#include <QByteArray>
#include <QString>

#include <cstring>
#include <functional>
#include <optional>

/// The save of the card screen and of the page editor: a record shown from
/// the file is rewritten in place, a new one goes after the last record,
/// both under the file's write lock (LockedSave).
namespace RecordSave {

/// Asked when record number changed on another workstation since it was
/// loaded; true to write over it.
using OverwriteQuestion = std::function<bool(int number)>;

/// Saves record (a TSchedaLibro or a TPaginaCatalogo: RecordSize, data(),
/// sameContent()). number > 0 rewrites that record, and first checks that
/// it still holds loaded (when given); a record changed since is written
/// over only when overwrite says so, and each further change is asked
/// about again. number 0 appends, and number becomes the new record's.
/// Returns Changed, with the record as it now is in stored, when the user
/// kept the other workstation's change: nothing was written.
template <class Record>
LockedSave::Result save(const QString &path, const Record &record, int &number, std::optional<Record> loaded,
                        const OverwriteQuestion &overwrite, std::optional<Record> &stored,
                        const LockedSave::Options &options)
{
    if (number <= 0)
        return LockedSave::append(path, Record::RecordSize, record.data(), &number, options);
    // The record as this screen loaded it: a change made since on another
    // workstation is not written over unasked.
    std::optional<Record> expected = std::move(loaded);
    for (;;) {
        QByteArray onDisk;
        std::function<bool(const char *)> unchanged;
        if (expected) {
            unchanged = [&expected](const char *bytes) {
                Record current;
                std::memcpy(current.data(), bytes, Record::RecordSize);
                return current.sameContent(*expected);
            };
        }
        const LockedSave::Result result =
            LockedSave::rewrite(path, Record::RecordSize, number, record.data(), unchanged, &onDisk, options);
        if (result != LockedSave::Result::Changed)
            return result;
        Record current;
        std::memcpy(current.data(), onDisk.constData(), Record::RecordSize);
        if (!overwrite(number)) {
            stored = current;
            return LockedSave::Result::Changed;
        }
        expected = current; // overwrite what is there now, unless it changes again
    }
}

} // namespace RecordSave
