#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

/// Keeps a second copy of the program off the program folder, where both
/// would append cards and write over each other's pages.
///
/// The first copy holds the lock file rilegora.lock in the program folder
/// for its whole run; the lock goes with the copy, also when it crashes or is
/// killed (a lock whose copy no longer runs is taken over). Where the program
/// folder takes no new file, the lock is kept in the system's temporary
/// folder under a name made from the program folder's path.
class RunningCopy
{
public:
    RunningCopy();
    ~RunningCopy();
    RunningCopy(const RunningCopy &) = delete;
    RunningCopy &operator=(const RunningCopy &) = delete;

    static QString lockFileName(); ///< "rilegora.lock"
    /// The warning a second copy shows before it ends.
    static QString message();

    /// Takes the lock of the program folder (ProgramFolder::path()). Returns
    /// false, touching no file, when another running copy holds it.
    bool take();
    /// take(), and when another copy holds the lock the warning message.
    bool takeOrWarn();

    /// The lock file taken, or empty before a take that succeeded.
    QString lockPath() const;

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
};
