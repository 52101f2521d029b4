#include "writelock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QSet>
#include <QSysInfo>
#include <QThread>

namespace {

int &waitMs()
{
    static int ms = 5000;
    return ms;
}

int &staleMs()
{
    static int ms = 30000;
    return ms;
}

/// A damaged lock file (empty or unreadable, left by a crash while it was
/// being made) names no copy: it is taken over once it is this old, so that
/// one another copy is just writing is left alone.
constexpr qint64 kDamagedAfterMs = 5000;

/// The lock files this process holds now. A lock file that names this
/// process but is not among them was left by an earlier process that had
/// the same id: Windows gives ids again after a restart, Wine after its
/// server restarts, and Qt would take that process for this one.
QMutex heldHereMutex;
QSet<QString> &heldHere()
{
    static QSet<QString> paths;
    return paths;
}

QString heldKey(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

enum class Attempt { Taken, Held, NoLockHere };

/// One try at the lock at path, without waiting.
Attempt tryOnce(std::unique_ptr<QLockFile> &lock, const QString &path)
{
    lock = std::make_unique<QLockFile>(path);
    // On this computer a lock whose process is gone is stale at once; the
    // age counts only for a lock of another computer, whose process cannot
    // be asked.
    lock->setStaleLockTime(staleMs());
    if (lock->tryLock(0))
        return Attempt::Taken;
    const QLockFile::LockError error = lock->error();
    lock.reset();
    if (error != QLockFile::LockFailedError)
        return Attempt::NoLockHere;
    QLockFile probe(path);
    qint64 pid = 0;
    QString host;
    QString application;
    const qint64 age = QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime());
    const bool readable = probe.getLockInfo(&pid, &host, &application);
    bool leftUnderOurId = false;
    if (readable && pid == QCoreApplication::applicationPid() &&
        (host.isEmpty() || host == QSysInfo::machineHostName())) {
        QMutexLocker locker(&heldHereMutex);
        leftUnderOurId = !heldHere().contains(heldKey(path));
    }
    if ((leftUnderOurId || (!readable && qAbs(age) > kDamagedAfterMs)) && probe.removeStaleLockFile()) {
        lock = std::make_unique<QLockFile>(path);
        lock->setStaleLockTime(staleMs());
        if (lock->tryLock(0))
            return Attempt::Taken;
        lock.reset();
    }
    return Attempt::Held;
}

/// The lock in this computer's temporary folder for a data file whose folder
/// takes no new file.
QString fallbackPath(const QString &dataFile)
{
    const QString full = QDir::cleanPath(QFileInfo(dataFile).absoluteFilePath());
    const QByteArray key = QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir::temp().filePath(QStringLiteral("rilegora-") + QString::fromLatin1(key) + QStringLiteral(".lock"));
}

} // namespace

WriteLock::WriteLock(const QString &dataFile) : m_dataFile(dataFile) {}

WriteLock::~WriteLock()
{
    release();
}

QString WriteLock::lockPathFor(const QString &dataFile)
{
    return dataFile + QStringLiteral(".lock");
}

bool WriteLock::take()
{
    if (m_lock)
        return true;
    QDeadlineTimer deadline(waitMs());
    QString path = lockPathFor(m_dataFile);
    bool fellBack = false;
    for (;;) {
        const Attempt attempt = tryOnce(m_lock, path);
        if (attempt == Attempt::Taken) {
            m_path = path;
            QMutexLocker locker(&heldHereMutex);
            heldHere().insert(heldKey(path));
            return true;
        }
        if (attempt == Attempt::NoLockHere) {
            if (fellBack)
                return true; // nowhere to keep a lock: the write goes ahead unguarded
            // The folder takes no new file (a protected installation): the
            // copies of this computer still keep off each other.
            path = fallbackPath(m_dataFile);
            fellBack = true;
            continue;
        }
        if (deadline.hasExpired())
            return false;
        // A save holds the lock for milliseconds: try again soon, at a
        // random moment so that waiting copies do not move in step.
        QThread::msleep(10 + QRandomGenerator::global()->bounded(40));
    }
}

void WriteLock::release()
{
    if (m_lock) {
        {
            QMutexLocker locker(&heldHereMutex);
            heldHere().remove(heldKey(m_path));
        }
        m_lock->unlock();
        m_lock.reset();
    }
    m_path.clear();
}

void WriteLock::keepFresh()
{
    if (!m_lock)
        return;
    QFile file(m_path);
    if (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
}

QString WriteLock::lockPath() const
{
    return m_lock ? m_path : QString();
}

QString WriteLock::busyMessage()
{
    return QStringLiteral(
        "Attenzione: l'archivio \u00E8 occupato da un salvataggio in corso su un'altra postazione.\n\r\n\r"
        "Nessuna modifica \u00E8 stata salvata: riprovare tra qualche istante.");
}

int WriteLock::waitTime()
{
    return waitMs();
}

void WriteLock::setWaitTime(int ms)
{
    waitMs() = ms;
}

int WriteLock::staleTime()
{
    return staleMs();
}

void WriteLock::setStaleTime(int ms)
{
    staleMs() = ms;
}
