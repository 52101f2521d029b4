// What the program meets on Windows and not on Linux, run on both: a program
// folder named with a drive letter and backslashes and with letters outside
// the system's ANSI code page, a save put on the device (FlushFileBuffers on
// Windows), a card written and read back there, and the running-copy lock of
// an earlier process that had the same process id.
#include "common/cardfixtures.h"
#include "common/testsupport.h"

#include "core/filesync.h"
#include "core/programfolder.h"
#include "core/writelock.h"
#include "core/bookarchive.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

class TestPlatformPaths : public QObject
{
    Q_OBJECT
private slots:
    void programFolderNamedNatively_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Rilegora";
        // "ę" and "ł" are in no Western code page: a program that used the
        // ANSI file functions would not find this folder.
        QTest::newRow("outside the ANSI code page") << "Księgarnia Łódź";
        QTest::newRow("accents and blanks") << "Libreria Città € 1";
    }
    void programFolderNamedNatively()
    {
        QFETCH(QString, name);
        QTemporaryDir base;
        QVERIFY(base.isValid());
        const QString folder = base.filePath(name);
        QVERIFY(QDir().mkpath(folder));
#ifdef Q_OS_WIN
        // What the system hands the program: a drive letter and backslashes.
        const QString native = QDir::toNativeSeparators(QDir(folder).absolutePath());
        QVERIFY2(native.size() > 2 && native.at(1) == QLatin1Char(':') && native.contains(QLatin1Char('\\')),
                 qPrintable(native));
        if (name.contains(QChar(0x0119))) {
            // The folder's name really is outside the code page in use.
            const QByteArray ansi = name.toLocal8Bit();
            QVERIFY2(QString::fromLocal8Bit(ansi) != name, qPrintable(QString::number(GetACP())));
        }
#else
        const QString native = QDir::toNativeSeparators(folder);
#endif
        ProgramFolder::setPath(native);
        const auto restore = qScopeGuard([] { ProgramFolder::setPath(QString()); });
        QCOMPARE(QDir(ProgramFolder::path()).canonicalPath(), QDir(folder).canonicalPath());

        {
            BookArchive archive;
            QVERIFY(archive.open());
            QCOMPARE(archive.append(card(QStringLiteral("Il nome della rosa"), QStringLiteral("Eco"))), 1);
            QVERIFY(archive.close());
        }
        QVERIFY(QFile::exists(folder + QStringLiteral("/Archivio_Libri.pro")));
        BookArchive again;
        QVERIFY(again.openForReading());
        QCOMPARE(again.count(), 1);
        TSchedaLibro read;
        QVERIFY(again.read(1, read));
        QCOMPARE(read.text(TSchedaLibro::Titolo).trimmed(), QStringLiteral("Il nome della rosa"));
    }

    void saveReachesTheDevice()
    {
        // toDisk and commit through the system's own call (FlushFileBuffers
        // on Windows, fdatasync elsewhere) on a file that was written.
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("scheda.pro")));
        QVERIFY(plain.open(QIODevice::ReadWrite));
        QCOMPARE(plain.write("record"), qint64(6));
        QVERIFY(FileSync::toDisk(plain));
        plain.close();
        QVERIFY(!FileSync::toDisk(plain)); // a closed file is no save

        QSaveFile save(dir.filePath(QStringLiteral("Schedario_Libri.xls")));
        QVERIFY(save.open(QIODevice::WriteOnly));
        save.write("foglio");
        QVERIFY(FileSync::commit(save));
        QFile back(save.fileName());
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), QByteArray("foglio"));
    }

    void lockLeftUnderThisProcessIdIsTakenOver()
    {
        // A copy ended without removing its save lock (a power cut), and the
        // system gave this process the same id: Windows after a restart, Wine
        // after its server restarted. Qt finds "its" process running.
        TempProgramFolder folder;
        const QString data = folder.file(QStringLiteral("Archivio_Libri.pro"));
        const QString path = WriteLock::lockPathFor(data);
        QByteArray left;
        {
            QLockFile earlier(path);
            QVERIFY(earlier.tryLock(0));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            left = file.readAll();
        }
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(left), left.size());
        }
        const int wait = WriteLock::waitTime();
        WriteLock::setWaitTime(300);
        WriteLock save(data);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(save.take());
        QVERIFY(timer.elapsed() < 300); // at once, not after the wait
        QCOMPARE(save.lockPath(), path);
        // Once this process holds it, a second take in this process waits.
        WriteLock second(data);
        QVERIFY(!second.take());
        save.release();
        QVERIFY(second.take());
        WriteLock::setWaitTime(wait);
    }
};

QTEST_GUILESS_MAIN(TestPlatformPaths)
#include "tst_platformpaths.moc"
