// The program's log: the file in the user's folder, its size cap, and a
// log that cannot be written, which must never stop a save.
#include "core/filesync.h"
#include "core/lockedsave.h"
#include "core/logging.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// What reached the handler that was there before the log file.
QStringList &passedOn()
{
    static QStringList lines;
    return lines;
}

void recorder(QtMsgType, const QMessageLogContext &, const QString &message)
{
    passedOn() << message;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        passedOn().clear();
        qInstallMessageHandler(recorder);
    }
    void cleanup()
    {
        Log::uninstall();
        qInstallMessageHandler(nullptr);
    }

    // Warnings and above go to the file, one line each, with the time and
    // the category, as UTF-8; debug messages do not. Everything still goes
    // where it went before (the standard error, the debugger).
    void linesInTheLogFile()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Dati/Rilegora"));
        Log::install(folder); // made when missing
        QCOMPARE(Log::filePath(), QDir(folder).absoluteFilePath(QStringLiteral("rilegora.log")));
        qCDebug(lcAccess, "non nel file");
        qCWarning(lcBooks, "scheda 3 non salvata: %s", "No space left on device");
        qCCritical(lcCatalogues) << "pagina";
        qWarning("senza categoria: città €");

        const QList<QByteArray> lines = readAll(Log::filePath()).split('\n');
        QCOMPARE(lines.size(), 4); // and the empty text after the last line end
        const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\S* "));
        for (int i = 0; i < 3; ++i)
            QVERIFY2(stamp.match(QString::fromUtf8(lines[i])).hasMatch(), lines[i].constData());
        QVERIFY(lines[0].endsWith(" warning rilegora.books: scheda 3 non salvata: No space left on device"));
        QVERIFY(lines[1].endsWith(" critical rilegora.catalogues: pagina"));
        QVERIFY(lines[2].endsWith(QStringLiteral(" warning default: senza categoria: città €").toUtf8()));
        QCOMPARE(lines[3], QByteArray());
        QCOMPARE(passedOn().size(), 4);
        QCOMPARE(passedOn().first(), QStringLiteral("non nel file"));
    }

    // A full log becomes rilegora.log.1, in place of an older one: the two
    // never take much more than twice the cap.
    void fullLogStartsAgain()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("rilegora.log"));
        const QByteArray full(int(Log::MaxBytes) - 100, 'x');
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(full);
        file.close();
        QFile older(log + QStringLiteral(".1"));
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("the oldest lines");
        older.close();

        Log::install(dir.path());
        qCWarning(lcOutput, "breve"); // still fits
        QVERIFY(readAll(log).startsWith(full));
        QVERIFY(readAll(log).endsWith("rilegora.output: breve\n"));
        QCOMPARE(readAll(log + QStringLiteral(".1")), QByteArray("the oldest lines"));
        qCWarning(lcOutput, "la riga che non ci sta più");
        QVERIFY(readAll(log + QStringLiteral(".1")).startsWith(full));
        QVERIFY(readAll(log + QStringLiteral(".1")).endsWith("rilegora.output: breve\n"));
        QVERIFY(readAll(log).endsWith("rilegora.output: la riga che non ci sta più\n"));
        QCOMPARE(readAll(log).count('\n'), 1);
    }

    // A log that cannot be written (a folder at its name, or no folder to be
    // made) is passed over: the saves around it go on as without a log, and
    // the messages still reach the earlier handler.
    void unwritableLogNeverStopsASave_data()
    {
        QTest::addColumn<bool>("fileIsFolder");
        QTest::newRow("a folder at the log's name") << true;
        QTest::newRow("no folder can be made") << false;
    }
    void unwritableLogNeverStopsASave()
    {
        QFETCH(bool, fileIsFolder);
        QTemporaryDir dir;
        QString folder = dir.filePath(QStringLiteral("log"));
        if (fileIsFolder) {
            QVERIFY(QDir().mkpath(folder + QStringLiteral("/rilegora.log")));
        } else {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
            folder += QStringLiteral("/sotto");
        }
        Log::install(folder);

        const QString data = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
        const QByteArray record(100, 'r');
        int number = 0;
        QString error;
        LockedSave::Options options;
        options.error = &error;
        FileSync::setHook([](QFileDevice &) { return false; });
        QCOMPARE(LockedSave::append(data, 100, record.constData(), &number, options), LockedSave::Result::Failed);
        FileSync::setHook({});
        QVERIFY2(error.contains(QStringLiteral("sul disco non è riuscita")), qPrintable(error));
        qCWarning(lcBooks, "%s", qUtf8Printable(error));
        QCOMPARE(LockedSave::append(data, 100, record.constData(), &number, options), LockedSave::Result::Saved);
        QCOMPARE(number, 1);
        QCOMPARE(readAll(data), record);
        QCOMPARE(passedOn(), QStringList{error});
    }
};

QTEST_GUILESS_MAIN(TestLogging)
#include "tst_logging.moc"
