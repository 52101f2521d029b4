// One running copy per program folder: a second copy warns and ends without
// touching a file; the lock of a copy that was killed is taken over.
#include "app/programfolder.h"
#include "app/runningcopy.h"

#include "common/filefixtures.h"
#include "common/testsupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <grp.h>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Every entry below folder with its bytes and modification time.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        out.insert(path.mid(folder.size()),
                   QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ' ' + readFile(path));
    }
    return out;
}

/// Starts this test program as another copy holding the lock of folder; it
/// holds it until its input closes or it is killed. unprivileged runs it as
/// the user "nobody".
bool startHolder(QProcess &holder, const QString &folder, bool unprivileged = false)
{
    holder.start(QCoreApplication::applicationFilePath(),
                 {unprivileged ? QStringLiteral("--hold-as-nobody") : QStringLiteral("--hold"), folder});
    return holder.waitForStarted(10000) && holder.waitForReadyRead(10000) && holder.readLine().trimmed() == "held";
}

/// The other copy: takes the lock, says where, holds it until its input ends.
int holdLock(const QString &folder, bool unprivileged)
{
    if (unprivileged && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
        return 77;
    ProgramFolder::setPath(folder);
    RunningCopy copy;
    if (!copy.take()) {
        std::puts("refused");
        std::fflush(stdout);
        return 1;
    }
    std::puts("held");
    std::puts(copy.lockPath().toLocal8Bit().constData());
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}

} // namespace

class TestRunningCopy : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void cleanup() { ProgramFolder::setPath(QString()); }

    void secondCopyWarnsAndTouchesNothing()
    {
        TempProgramFolder folder;
        QVERIFY(writeFile(folder.file(QStringLiteral("Archivio_Libri.pro")), QByteArray(3150, 'x')));
        QVERIFY(writeFile(folder.file(QStringLiteral("Copertine_Libri/Foto_1.jpg")), "jpeg"));
        QProcess holder;
        QVERIFY(startHolder(holder, folder.path()));
        const auto before = snapshot(folder.path());
        QVERIFY(before.contains(RunningCopy::lockFileName()));

        {
            RunningCopy second;
            MessageCatcher messages;
            QVERIFY(!second.takeOrWarn());
            QCOMPARE(messages.texts(), QStringList{RunningCopy::message()});
            QCOMPARE(messages.seen().first().icon, QMessageBox::Warning);
            QVERIFY(second.lockPath().isEmpty());
        }
        QCOMPARE(snapshot(folder.path()), before);

        // Once the first copy has ended, the next one starts.
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(holder.exitCode(), 0);
        QVERIFY(!QFile::exists(folder.file(RunningCopy::lockFileName())));
        RunningCopy next;
        QVERIFY(next.take());
        QCOMPARE(next.lockPath(), folder.file(RunningCopy::lockFileName()));
    }

    void messageText()
    {
        QVERIFY(RunningCopy::message().startsWith(QStringLiteral("Rilegora \u00E8 gi\u00E0 in esecuzione\u2026")));
    }

    void lockOfAKilledCopyIsTakenOver()
    {
        TempProgramFolder folder;
        QProcess holder;
        QVERIFY(startHolder(holder, folder.path()));
        holder.kill(); // SIGKILL: the lock file stays behind
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(QFile::exists(folder.file(RunningCopy::lockFileName())));

        RunningCopy copy;
        MessageCatcher messages;
        QVERIFY(copy.takeOrWarn());
        QVERIFY(messages.texts().isEmpty());
        // The lock is now this copy's: a further copy is refused.
        RunningCopy third;
        QVERIFY(!third.take());
    }

    void damagedLockFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("taken");
        QTest::newRow("empty, left by a crash") << QByteArray() << 60 << true;
        QTest::newRow("random bytes") << QByteArray("\x01\xFF garbage\n\n\n") << 60 << true;
        QTest::newRow("empty, just made by a copy starting") << QByteArray() << 0 << false;
    }
    void damagedLockFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, ageSeconds);
        QFETCH(bool, taken);
        TempProgramFolder folder;
        const QString lock = folder.file(RunningCopy::lockFileName());
        QVERIFY(writeFile(lock, content));
        {
            QFile f(lock);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(
                f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
        }
        RunningCopy copy;
        QCOMPARE(copy.take(), taken);
        if (!taken)
            QCOMPARE(readFile(lock), content);
    }

    void folderThatTakesNoNewFile()
    {
        // An installation in a protected folder: the lock goes to the
        // temporary folder, and still keeps a second copy off.
        TempProgramFolder folder;
        QVERIFY(::chmod(QFile::encodeName(folder.path()).constData(), 0755) == 0);
        QProcess first;
        if (!startHolder(first, folder.path(), true)) {
            first.waitForFinished(10000);
            if (first.exitCode() == 77)
                QSKIP("this machine cannot run a process as the user nobody");
            QFAIL("the first copy did not start");
        }
        const QString lock = QString::fromLocal8Bit(first.readLine().trimmed());
        QVERIFY(lock.startsWith(QDir::tempPath()));
        QVERIFY(!QFile::exists(folder.file(RunningCopy::lockFileName())));

        QProcess second;
        QVERIFY(!startHolder(second, folder.path(), true));
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 1);
        first.closeWriteChannel();
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(!QFile::exists(lock));
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void realProgramHoldsTheLock()
    {
        // The program itself, copied into a folder of its own: while it runs
        // no other copy starts there; once it is killed the next one does.
        TempProgramFolder folder;
        const QString program = folder.file(QStringLiteral("rilegora"));
        QVERIFY(QFile::copy(QStringLiteral(RILEGORA_PROGRAM), program));
        QProcess running;
        running.setProcessChannelMode(QProcess::ForwardedChannels);
        running.start(program, {});
        QVERIFY(running.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.file(RunningCopy::lockFileName())), 20000);
        {
            RunningCopy second;
            QVERIFY(!second.take());
        }
        running.kill();
        QVERIFY(running.waitForFinished(10000));
        RunningCopy next;
        QVERIFY(next.take());
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && (std::string(argv[1]) == "--hold" || std::string(argv[1]) == "--hold-as-nobody")) {
        const bool unprivileged = std::string(argv[1]) == "--hold-as-nobody";
        QCoreApplication app(argc, argv);
        return holdLock(QString::fromLocal8Bit(argv[2]), unprivileged);
    }
    QApplication app(argc, argv);
    TestRunningCopy test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_runningcopy.moc"
