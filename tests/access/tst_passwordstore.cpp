// The password store: the INI value reading and rewriting, the stored
// password in the program folder, and the initial settings file.
#include "access/crypt.h"
#include "access/inifile.h"
#include "access/passwordstore.h"

#include "common/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A settings file as another tool may leave it: comments, other sections
// before and after, odd spacing and letter case, CR LF line endings and a
// last line without one.
const QByteArray richFile = "; Impostazioni\r\n"
                            "[Setup]\r\n"
                            "Lingua=it\r\n"
                            "Valore=non toccare\r\n"
                            "\r\n"
                            "[ ACCESSO ]\r\n"
                            "  valore = 4EA98ED2022186BA\r\n"
                            "Altro=1\r\n"
                            "[Fine]\r\n"
                            "x=y";
} // namespace

class TestPasswordStore : public QObject
{
    Q_OBJECT
private slots:
    void readValue_data();
    void readValue();
    void withValue_data();
    void withValue();

    void canonicalForm_data();
    void canonicalForm();
    void readStored();
    void writeKeepsTheRestOfTheFile();
    void writeFailureKeepsTheFile_data();
    void writeFailureKeepsTheFile();
    void initialFile();
    void initialFileTool();
};

void TestPasswordStore::readValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << QByteArray("[Accesso]\nValore=5D\n") << QStringLiteral("5D");
    QTest::newRow("letter case and blanks") << richFile << QStringLiteral("4EA98ED2022186BA");
    QTest::newRow("CR LF, no final line ending") << QByteArray("[accesso]\r\nVALORE=5D") << QStringLiteral("5D");
    QTest::newRow("quoted") << QByteArray("[Accesso]\nValore=\"5D\"\n") << QStringLiteral("5D");
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[Accesso]\nValore=5D\n") << QStringLiteral("5D");
    QTest::newRow("empty value") << QByteArray("[Accesso]\nValore=\n") << QString();
    QTest::newRow("key in another section only")
        << QByteArray("[Setup]\nValore=5D\n[Accesso]\nAltro=1\n") << QStringLiteral("<none>");
    QTest::newRow("no section") << QByteArray("Valore=5D\n") << QStringLiteral("<none>");
    QTest::newRow("commented out") << QByteArray("[Accesso]\n;Valore=5D\n") << QStringLiteral("<none>");
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("<none>");
}

void TestPasswordStore::readValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, value);
    QCOMPARE(IniFile::readValue(content, QStringLiteral("Accesso"), QStringLiteral("Valore"), QStringLiteral("<none>")),
             value);
}

void TestPasswordStore::withValue_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("other sections and CR LF kept")
        << richFile << QByteArray(richFile).replace("  valore = 4EA98ED2022186BA\r\n", "  valore =ABCD\r\n");
    QTest::newRow("LF file") << QByteArray("[Accesso]\nValore=5D\n[B]\nc=d\n")
                             << QByteArray("[Accesso]\nValore=ABCD\n[B]\nc=d\n");
    QTest::newRow("last line without line ending")
        << QByteArray("[Accesso]\r\nValore=5D") << QByteArray("[Accesso]\r\nValore=ABCD");
    QTest::newRow("key added at the end of its section")
        << QByteArray("[Accesso]\r\nAltro=1\r\n\r\n[B]\r\nc=d\r\n")
        << QByteArray("[Accesso]\r\nAltro=1\r\nValore=ABCD\r\n\r\n[B]\r\nc=d\r\n");
    QTest::newRow("section added at the end")
        << QByteArray("[B]\nc=d") << QByteArray("[B]\nc=d\n[Accesso]\nValore=ABCD\n");
}

void TestPasswordStore::withValue()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QByteArray out =
        IniFile::withValue(before, QStringLiteral("Accesso"), QStringLiteral("Valore"), QStringLiteral("ABCD"));
    QCOMPARE(out, after);
    QCOMPARE(IniFile::readValue(out, QStringLiteral("Accesso"), QStringLiteral("Valore")), QStringLiteral("ABCD"));
}

void TestPasswordStore::canonicalForm_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("form");
    QTest::newRow("lower case") << QStringLiteral("rilegora") << QStringLiteral("RILEGORA");
    QTest::newRow("blanks and controls around") << QStringLiteral(" \t RiLe gora\r\n") << QStringLiteral("RILE GORA");
    QTest::newRow("accented letters keep their case") << QStringLiteral("caffè È") << QStringLiteral("CAFFè È");
    QTest::newRow("only blanks") << QStringLiteral("   ") << QString();
}

void TestPasswordStore::canonicalForm()
{
    QFETCH(QString, typed);
    QFETCH(QString, form);
    QCOMPARE(PasswordStore::canonical(typed), form);
}

void TestPasswordStore::readStored()
{
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("unins000.dll"));
    QCOMPARE(PasswordStore::filePath(), path);

    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QString())); // no file

    writeAll(path, richFile);
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("RILEGORA")));

    writeAll(path, "[Accesso]\r\nValore=4ea98ed2022186ba\r\n");
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("RILEGORA")));

    // Surrounding blanks in the scrambled text are not part of the password.
    writeAll(path, "[Accesso]\r\nValore=" + Crypt::CryptEncode(QStringLiteral("  ABC\t")).toLatin1() + "\r\n");
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("ABC")));

    writeAll(path, "[Accesso]\r\nValore=4EA98ED20221XY\r\n");
    QVERIFY(!PasswordStore::readStored().has_value());

    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path)); // a folder where the file should be cannot be read
    QVERIFY(!PasswordStore::readStored().has_value());
}

void TestPasswordStore::writeKeepsTheRestOfTheFile()
{
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("unins000.dll"));
    writeAll(path, richFile);

    QString error;
    QVERIFY2(PasswordStore::writeStored(QStringLiteral(" nuova "), &error), qPrintable(error));
    QCOMPARE(readAll(path), QByteArray(richFile).replace("valore = 4EA98ED2022186BA", "valore =529424113C"));
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("NUOVA")));
    // Nothing is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("unins000.dll")});
}

void TestPasswordStore::writeFailureKeepsTheFile_data()
{
    QTest::addColumn<QString>("blocker"); // a folder put in the way
    QTest::addColumn<QString>("password");
    QTest::newRow("staged copy cannot be written") << QStringLiteral("unins000.dll.tmp") << QStringLiteral("nuova");
    QTest::newRow("old file cannot step aside") << QStringLiteral("unins000.dll.bak/x") << QStringLiteral("nuova");
    QTest::newRow("256 characters") << QString() << QString(256, QLatin1Char('a'));
    QTest::newRow("character above U+00FF") << QString() << QStringLiteral("prezzo€");
}

void TestPasswordStore::writeFailureKeepsTheFile()
{
    QFETCH(QString, blocker);
    QFETCH(QString, password);
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("unins000.dll"));
    writeAll(path, richFile);
    if (!blocker.isEmpty())
        QVERIFY(QDir().mkpath(folder.file(blocker)));

    QString error;
    QVERIFY(!PasswordStore::writeStored(password, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readAll(path), richFile);
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("RILEGORA")));
}

void TestPasswordStore::initialFile()
{
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("unins000.dll"));

    // The program never makes the file itself when it is missing.
    QVERIFY(!PasswordStore::writeStored(QStringLiteral("nuova")));
    QVERIFY(!QFile::exists(path));

    QCOMPARE(PasswordStore::createInitialFile(path, QStringLiteral("rilegora")), PasswordStore::Creation::Created);
    QCOMPARE(readAll(path), QByteArray("[Accesso]\r\nValore=4EA98ED2022186BA\r\n"));
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("RILEGORA")));

    QVERIFY(PasswordStore::writeStored(QStringLiteral("nuova")));
    const QByteArray changed = readAll(path);
    QCOMPARE(PasswordStore::createInitialFile(path, QStringLiteral("rilegora")), PasswordStore::Creation::AlreadyThere);
    QCOMPARE(readAll(path), changed);
}

void TestPasswordStore::initialFileTool()
{
    // The build step that puts the file in the program folder.
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("sub/unins000.dll"));
    QProcess tool;
    tool.start(QStringLiteral(RILEGORA_INITIAL_PASSWORD_TOOL), {path, QStringLiteral("rilegora")});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(readAll(path), QByteArray("[Accesso]\r\nValore=4EA98ED2022186BA\r\n"));

    writeAll(path, richFile);
    tool.start(QStringLiteral(RILEGORA_INITIAL_PASSWORD_TOOL), {path, QStringLiteral("altra")});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(readAll(path), richFile);
}

QTEST_GUILESS_MAIN(TestPasswordStore)
#include "tst_passwordstore.moc"
