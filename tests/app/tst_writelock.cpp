// The lock a save takes around its write: another copy that holds it makes
// the save wait and then give up; a lock left behind by a copy that no
// longer runs is taken over.
#include "core/writelock.h"

#include "common/filefixtures.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <grp.h>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Starts this test program as another copy holding the lock of dataFile
/// until its input closes or it is killed. unprivileged runs it as "nobody".
bool startHolder(QProcess &holder, const QString &dataFile, bool unprivileged = false)
{
    holder.start(QCoreApplication::applicationFilePath(),
                 {unprivileged ? QStringLiteral("--hold-as-nobody") : QStringLiteral("--hold"), dataFile});
    return holder.waitForStarted(10000) && holder.waitForReadyRead(10000) && holder.readLine().trimmed() == "held";
}

/// The other copy: takes the lock, says where, holds it until its input ends.
int holdLock(const QString &dataFile, bool unprivileged)
{
    if (unprivileged && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
        return 77;
    WriteLock::setWaitTime(0);
    WriteLock lock(dataFile);
    if (!lock.take()) {
        std::puts("refused");
        std::fflush(stdout);
        return 1;
    }
    std::puts("held");
    std::puts(lock.lockPath().toLocal8Bit().constData());
    std::fflush(stdout);
    // Until the input ends, or "after MS": let go MS milliseconds later.
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.rfind("after ", 0) == 0) {
            QThread::msleep(std::stoul(line.substr(6)));
            return 0;
        }
    }
    return 0;
}

bool setAge(const QString &path, int seconds)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) &&
           f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds), QFileDevice::FileModificationTime);
}

} // namespace

class TestWriteLock : public QObject
{
    Q_OBJECT
private slots:
    void init() { WriteLock::setWaitTime(800); }
    void cleanup()
    {
        WriteLock::setWaitTime(5000);
        WriteLock::setStaleTime(30000);
    }

    void heldLockWaitsThenGivesUp()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
        QProcess holder;
        QVERIFY(startHolder(holder, data));
        QVERIFY(QFile::exists(WriteLock::lockPathFor(data)));

        QElapsedTimer clock;
        clock.start();
        {
            WriteLock second(data);
            QVERIFY(!second.take());
            QVERIFY(clock.elapsed() >= 800);
            QVERIFY(!second.isHeld());
            QVERIFY(second.lockPath().isEmpty());
        }
        // The refused copy left the holder's lock alone.
        QVERIFY(QFile::exists(WriteLock::lockPathFor(data)));

        // A lock let go in the middle of the wait is taken at once.
        WriteLock::setWaitTime(10000);
        holder.write("after 300\n");
        QVERIFY(holder.waitForBytesWritten(5000));
        clock.restart();
        WriteLock third(data);
        QVERIFY(third.take());
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(third.lockPath(), WriteLock::lockPathFor(data));
        QVERIFY(holder.waitForFinished(10000));
        third.release();
        QVERIFY(!QFile::exists(WriteLock::lockPathFor(data)));
    }

    void lockOfAKilledCopyIsTakenOver()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
        QProcess holder;
        QVERIFY(startHolder(holder, data));
        holder.kill(); // SIGKILL: the lock file stays behind
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(QFile::exists(WriteLock::lockPathFor(data)));

        QElapsedTimer clock;
        clock.start();
        WriteLock lock(data);
        QVERIFY(lock.take());
        QVERIFY(clock.elapsed() < 800); // no wait for a lock whose copy is gone
        // It is now this copy's: another process is refused.
        QProcess other;
        QVERIFY(!startHolder(other, data));
        QVERIFY(other.waitForFinished(10000));
        QCOMPARE(other.exitCode(), 1);
    }

    void lockFilesLeftBehind_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("taken");
        // Another computer's process cannot be asked: only the age tells.
        const QByteArray otherHost = "4242\nrilegora\nbanco-cassa\nnot-this-machine\nnot-this-boot\n";
        QTest::newRow("another computer's, old") << otherHost << 60 << true;
        QTest::newRow("another computer's, fresh") << otherHost << 0 << false;
        QTest::newRow("empty, left by a crash") << QByteArray() << 60 << true;
        QTest::newRow("random bytes") << QByteArray("\x01\xFF garbage\n\n\n") << 60 << true;
        QTest::newRow("empty, just being made") << QByteArray() << 0 << false;
    }
    void lockFilesLeftBehind()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, ageSeconds);
        QFETCH(bool, taken);
        WriteLock::setStaleTime(20000);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("Esempio.cat"));
        const QString lockFile = WriteLock::lockPathFor(data);
        QVERIFY(writeFile(lockFile, content));
        QVERIFY(setAge(lockFile, ageSeconds));
        WriteLock lock(data);
        QCOMPARE(lock.take(), taken);
        if (!taken)
            QCOMPARE(readFile(lockFile), content);
    }

    void turnOfACopyThatNoLongerWaits()
    {
        // A copy that waited for the lock asked for the next turn and was
        // killed: its turn no longer changes, and after a short wait the
        // lock is taken all the same and the turn removed.
        WriteLock::setWaitTime(5000);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
        const QString turn = WriteLock::lockPathFor(data) + QStringLiteral(".turn");
        QVERIFY(writeFile(turn, "k1x9 000000000003"));
        WriteLock lock(data);
        QVERIFY(lock.take());
        QVERIFY(!QFile::exists(turn));
    }

    void longWriteKeepsItsLockFresh()
    {
        // A writer that holds the lock long renews it, so that another
        // computer does not take it for one left behind.
        WriteLock::setStaleTime(20000);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
        WriteLock lock(data);
        QVERIFY(lock.take());
        QVERIFY(setAge(lock.lockPath(), 60));
        lock.keepFresh();
        QVERIFY(qAbs(QFileInfo(lock.lockPath()).lastModified().secsTo(QDateTime::currentDateTime())) < 10);
    }

    void folderThatTakesNoNewFile()
    {
        // A protected installation: the lock goes to the temporary folder and
        // still keeps the copies of this computer off each other.
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        const QString data = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
        QProcess first;
        if (!startHolder(first, data, true)) {
            first.waitForFinished(10000);
            if (first.exitCode() == 77)
                QSKIP("this machine cannot run a process as the user nobody");
            QFAIL("the first copy did not start");
        }
        const QString lock = QString::fromLocal8Bit(first.readLine().trimmed());
        QVERIFY(lock.startsWith(QDir::tempPath()));
        QProcess second;
        QVERIFY(!startHolder(second, data, true));
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 1);
        first.closeWriteChannel();
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(!QFile::exists(lock));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && (std::string(argv[1]) == "--hold" || std::string(argv[1]) == "--hold-as-nobody")) {
        const bool unprivileged = std::string(argv[1]) == "--hold-as-nobody";
        QCoreApplication app(argc, argv);
        return holdLock(QString::fromLocal8Bit(argv[2]), unprivileged);
    }
    QCoreApplication app(argc, argv);
    TestWriteLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writelock.moc"
