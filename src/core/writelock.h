#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

/// The lock taken around every write of a data file, so that any number of
/// copies of the program, on one computer or on several sharing the program
/// folder over a network, can save into the same files at once.
///
/// The lock is a QLockFile "<data file>.lock" beside the data file, held only
/// while one save writes: reading never takes it. Taking it waits up to
/// waitTime() for another copy to finish its write; a lock whose copy no
/// longer runs (on this computer: its process is gone, or it names this
/// process, which does not hold it: an earlier process had the same id; on
/// another: its lock file is older than staleTime()) is taken over, and so
/// is a damaged lock file a few seconds old. Waiting is fair: a copy that
/// has waited a moment takes the next turn ("<lock file>.turn"), and the
/// others leave the lock to it, so a copy that saves again and again cannot
/// keep another out. Where the folder takes no new file, the lock goes
/// to this computer's temporary folder under a name made from the data
/// file's path, and where no lock can be made at all the write goes ahead
/// unguarded rather than not at all.
///
///     WriteLock lock(path);
///     if (!lock.take())
///         return busy (WriteLock::busyMessage()), nothing written;
///     ... open, read what the write depends on, write, close ...
///     // the destructor (or release()) lets the next copy in
///
/// Everything a write depends on (the count an append takes its number
/// from, the record a rewrite compares) must be read after take(). A writer
/// that holds the lock longer than a few seconds calls keepFresh() now and
/// then, so that copies on other computers do not take it for stale.
class WriteLock
{
public:
    explicit WriteLock(const QString &dataFile);
    ~WriteLock();
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

    /// Takes the lock, waiting up to waitTime(). False when another copy
    /// held it all that time: the caller then writes nothing.
    bool take();
    /// Lets the lock go (also done by the destructor).
    void release();
    /// True between a take() that got the lock and its release.
    bool isHeld() const { return m_lock != nullptr; }
    /// Renews the lock file's age, for a write that holds it a long time.
    void keepFresh();

    /// The lock file taken, or empty while none is held.
    QString lockPath() const;
    /// The lock file beside dataFile: dataFile + ".lock".
    static QString lockPathFor(const QString &dataFile);

    /// The message a save shows when the lock stayed busy all the wait.
    static QString busyMessage();

    /// How long take() waits, in milliseconds (5000). Tests shorten it.
    static int waitTime();
    static void setWaitTime(int ms);
    /// The age after which a lock file of another computer counts as left
    /// behind, in milliseconds (30000).
    static int staleTime();
    static void setStaleTime(int ms);

private:
    QString m_dataFile;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
