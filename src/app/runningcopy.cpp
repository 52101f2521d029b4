#include "runningcopy.h"

#include "messages.h"
#include "programfolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSysInfo>

namespace {
/// The locks this process holds, by path.
QSet<QString> &heldHere()
{
    static QSet<QString> held;
    return held;
}


/// Tries the lock at path. Returns the held lock, or nothing with *error
/// telling why.
std::unique_ptr<QLockFile> tryLockAt(const QString &path, QLockFile::LockError *error)
{
    auto lock = std::make_unique<QLockFile>(path);
    // A running copy never refreshes its lock, so age says nothing: only a
    // lock whose copy no longer runs is stale, and that one tryLock takes over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        *error = QLockFile::NoError;
        return lock;
    }
    *error = lock->error();
    if (*error == QLockFile::LockFailedError) {
        // A lock file that cannot be read as a lock (an empty or damaged file
        // left by a crash) names no running copy: it is taken over too, once
        // it is old enough not to be one that another copy is still writing.
        qint64 pid = 0;
        QString host;
        QString application;
        const qint64 age = QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime());
        const bool readable = lock->getLockInfo(&pid, &host, &application);
        // A lock in this very process's id cannot be another running copy's:
        // a copy that ended without removing it had the same id, which the
        // system gave out again (Windows after a restart, Wine after its
        // server restarted). Qt sees that process running and keeps the lock.
        const bool ownId = readable && pid == QCoreApplication::applicationPid() &&
                           host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0 &&
                           !heldHere().contains(path);
        if ((ownId || (!readable && qAbs(age) > 5000)) && lock->removeStaleLockFile() && lock->tryLock(0)) {
            *error = QLockFile::NoError;
            return lock;
        }
        *error = lock->error() == QLockFile::NoError ? QLockFile::LockFailedError : lock->error();
    }
    return nullptr;
}

} // namespace

RunningCopy::RunningCopy() = default;

RunningCopy::~RunningCopy()
{
    if (m_lock)
        heldHere().remove(m_path);
}

QString RunningCopy::lockFileName()
{
    return QStringLiteral("rilegora.lock");
}

QString RunningCopy::message()
{
    return QStringLiteral("Rilegora \u00E8 gi\u00E0 in esecuzione\u2026\r\n\r\n"
                          "Chiudere l'altra finestra del programma prima di aprirne una nuova.");
}

bool RunningCopy::take()
{
    if (m_lock)
        return true;
    QLockFile::LockError error = QLockFile::NoError;
    m_path = ProgramFolder::file(lockFileName());
    m_lock = tryLockAt(m_path, &error);
    if (m_lock) {
        heldHere().insert(m_path);
        return true;
    }
    if (error == QLockFile::LockFailedError)
        return false;
    // The program folder takes no new file (a protected installation): the
    // lock goes to the temporary folder, named after the program folder.
    const QString folder = QDir::cleanPath(QFileInfo(ProgramFolder::path()).absoluteFilePath());
    const QByteArray key = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_path = QDir::temp().filePath(QStringLiteral("rilegora-") + QString::fromLatin1(key) + QStringLiteral(".lock"));
    m_lock = tryLockAt(m_path, &error);
    if (m_lock)
        heldHere().insert(m_path);
    // Nowhere to keep a lock at all: the program runs unguarded rather than not at all.
    return m_lock || error != QLockFile::LockFailedError;
}

bool RunningCopy::takeOrWarn()
{
    if (take())
        return true;
    Msg::warning(nullptr, message());
    return false;
}

QString RunningCopy::lockPath() const
{
    return m_lock ? m_path : QString();
}
