#include "lockedsave.h"

#include "recordfile.h"
#include "writelock.h"

#include <QFileInfo>

namespace LockedSave {

namespace {

std::function<void()> &decidedHook()
{
    static std::function<void()> hook;
    return hook;
}

void decided()
{
    if (decidedHook())
        decidedHook()();
}

/// Fails with the cause the record file keeps.
Result failed(const RecordFile &file, const Options &options)
{
    if (options.error)
        *options.error = file.errorString();
    return Result::Failed;
}

/// Opens file under the lock; Missing when it is gone and not to be made.
Result openUnderLock(RecordFile &file, const QString &path, const Options &options)
{
    if (options.createMissing)
        return file.open() ? Result::Saved : failed(file, options);
    if (file.openExisting())
        return Result::Saved;
    return QFileInfo::exists(path) ? failed(file, options) : Result::Missing;
}

/// Takes the write lock of path, opens the file under it and runs save on
/// the open file while the lock is held.
Result underLock(const QString &path, int recordSize, const Options &options,
                 const std::function<Result(RecordFile &)> &save)
{
    WriteLock lock(path);
    if (!lock.take())
        return Result::Busy;
    RecordFile file(path, recordSize);
    const Result opened = openUnderLock(file, path, options);
    if (opened != Result::Saved)
        return opened;
    return save(file);
}

/// Writes record n and closes the file; then what the caller does under the lock.
Result writeRecord(RecordFile &file, int n, const char *record, const Options &options)
{
    decided();
    if (!file.write(n, record) || !file.close())
        return failed(file, options);
    if (options.whileLocked)
        options.whileLocked(n);
    return Result::Saved;
}

} // namespace

Result append(const QString &path, int recordSize, const char *record, int *number, const Options &options)
{
    return underLock(path, recordSize, options, [&](RecordFile &file) {
        // The number is the file's as it is under the lock.
        const int n = file.count() + 1;
        const Result written = writeRecord(file, n, record, options);
        if (written == Result::Saved)
            *number = n;
        return written;
    });
}

Result rewrite(const QString &path, int recordSize, int n, const char *record,
               const std::function<bool(const char *)> &unchanged, QByteArray *onDisk, const Options &options)
{
    if (n < 1) {
        if (options.error)
            *options.error = QStringLiteral("il record %1 non può essere scritto nel file %2").arg(n).arg(path);
        return Result::Failed;
    }
    return underLock(path, recordSize, options, [&](RecordFile &file) {
        if (unchanged && n <= file.count()) {
            QByteArray current(recordSize, '\0');
            if (!file.read(n, current.data()))
                return failed(file, options);
            if (!unchanged(current.constData())) {
                file.close();
                if (onDisk)
                    *onDisk = current;
                return Result::Changed;
            }
        }
        return writeRecord(file, n, record, options);
    });
}

void setDecidedHook(std::function<void()> hook)
{
    decidedHook() = std::move(hook);
}

} // namespace LockedSave
