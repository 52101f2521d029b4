#include "writelock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
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
    // Qt names this computer in a lock by its host name, on Windows by
    // COMPUTERNAME (the NetBIOS name, in capitals), which the host name
    // need not match.
    const bool thisComputer = host.isEmpty() || host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0 ||
                              host == qEnvironmentVariable("COMPUTERNAME");
    if (readable && pid == QCoreApplication::applicationPid() && thisComputer) {
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

/// A copy that has waited this long for a lock asks for the next turn.
constexpr qint64 kTurnAfterMs = 100;
/// The copy that has the next turn renews it this often while it waits...
constexpr qint64 kTurnRenewMs = 250;
/// ...and a turn left unchanged this long belongs to a copy that no longer waits.
constexpr qint64 kTurnLeftMs = 2000;

/// The next turn at a lock: the file "<lock file>.turn", made exclusively by
/// one waiting copy, whose id it holds. While it is there, other copies do
/// not try the lock, so that the copy that waits gets it when it is let go
/// rather than the copy that let it go and saves again at once. The file is
/// judged by what each copy sees of it (it changes while its copy waits),
/// never by the clocks of different computers.
class Turn
{
public:
    Turn() = default;
    ~Turn() { drop(); }
    Turn(const Turn &) = delete;
    Turn &operator=(const Turn &) = delete;
    void setLock(const QString &lockPath)
    {
        drop();
        m_path = lockPath + QStringLiteral(".turn");
        m_seen.clear();
    }
    bool isMine() const { return m_mine; }

    /// True while another copy has the next turn and still waits.
    bool othersWaiting()
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly)) {
            m_mine = false;
            m_seen.clear();
            return false;
        }
        const QByteArray content = file.read(64);
        file.close();
        if (m_mine && isOurs(content))
            return false;
        m_mine = false;
        if (content.isEmpty()) {
            // Given up, or just being made: nobody's turn.
            QFile::remove(m_path);
            m_seen.clear();
            return false;
        }
        if (content != m_seen || !m_seenSince.isValid()) {
            m_seen = content;
            m_seenSince.start();
            return true;
        }
        if (m_seenSince.elapsed() < kTurnLeftMs)
            return true;
        // Its copy stopped waiting without removing it (killed, say).
        clear(m_path);
        m_seen.clear();
        return false;
    }

    /// Asks for the next turn, once this copy has waited a while; renews it
    /// while this copy has it.
    void keepAsking(qint64 waitedMs)
    {
        if (!m_mine) {
            if (waitedMs < kTurnAfterMs)
                return;
            if (m_id.isEmpty())
                m_id = QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ' ';
            QFile file(m_path);
            m_sequence = 0;
            // A new turn file, or one given up (empty) that could not be removed.
            const bool free = file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
                              (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) && file.read(1).isEmpty());
            if (free && file.seek(0) && file.write(content()) > 0) {
                m_mine = true;
                m_renewed.start();
            }
            return;
        }
        if (m_renewed.elapsed() < kTurnRenewMs)
            return;
        m_renewed.start();
        QFile file(m_path);
        if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) || !isOurs(file.read(64))) {
            m_mine = false;
            return;
        }
        ++m_sequence;
        file.seek(0);
        file.write(content());
    }

    /// Gives the turn up (the lock is taken, or the wait is over).
    void drop()
    {
        if (!m_mine)
            return;
        m_mine = false;
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly) && isOurs(file.read(64))) {
            file.close();
            clear(m_path);
        }
    }

private:
    /// Removes a turn file; on Windows a file another copy is reading cannot
    /// be removed: after a few tries it is emptied instead, which gives the
    /// turn up as well.
    static void clear(const QString &path)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (QFile::remove(path) || !QFile::exists(path))
                return;
            QThread::msleep(1);
        }
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::ExistingOnly | QIODevice::Truncate))
            file.close();
    }

    QByteArray content() const { return m_id + QByteArray::number(m_sequence).rightJustified(12, '0'); }
    bool isOurs(const QByteArray &content) const { return !m_id.isEmpty() && content.startsWith(m_id); }

    QString m_path;
    QByteArray m_id;
    qint64 m_sequence = 0;
    bool m_mine = false;
    QElapsedTimer m_renewed;
    QByteArray m_seen;
    QElapsedTimer m_seenSince;
};

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
    QElapsedTimer waited;
    waited.start();
    QString path = lockPathFor(m_dataFile);
    Turn turn;
    turn.setLock(path);
    bool fellBack = false;
    for (;;) {
        // While another copy waits for its turn, this one lets it go first.
        const Attempt attempt = turn.othersWaiting() ? Attempt::Held : tryOnce(m_lock, path);
        if (attempt == Attempt::Taken) {
            turn.drop();
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
            turn.setLock(path);
            fellBack = true;
            continue;
        }
        if (deadline.hasExpired()) {
            turn.drop();
            return false;
        }
        turn.keepAsking(waited.elapsed());
        // A save holds the lock for milliseconds: try again soon, at a
        // random moment so that waiting copies do not move in step; the
        // copy whose turn is next, alone at the lock, more often.
        QThread::msleep(turn.isMine() ? 2 + QRandomGenerator::global()->bounded(4)
                                      : 10 + QRandomGenerator::global()->bounded(40));
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
