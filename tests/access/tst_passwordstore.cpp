// The password store: the INI value reading and rewriting, the stored
// password in the program folder, and the initial settings file.
#include "access/crypt.h"
#include "access/inifile.h"
#include "access/passwordstore.h"

#include "common/hostilefiles.h"
#include "common/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
// richFile after the password "nuova" was stored.
const QByteArray richFileNuova = QByteArray(richFile).replace("valore = 4EA98ED2022186BA", "valore =529424113C");

/// text as Windows Notepad saves it as "Unicode": UTF-16 little-endian with its byte order mark.
QByteArray utf16(const QString &text)
{
    QByteArray out("\xFF\xFE", 2);
    for (const QChar c : text) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

/// How a write of the store is stopped at one of its steps.
enum class Stop {
    Fail, ///< the step fails, as a failing disk would
    Kill, ///< the writing process is killed there with SIGKILL
};

/// How a stopped write ended.
enum class Outcome {
    Completed, ///< it had fewer steps than the one to stop at, and succeeded
    Refused,   ///< it had fewer steps, and failed of itself
    Stopped,   ///< it was stopped, and did not claim success
    Broken,    ///< anything else: a stopped write claimed success, a child went wrong
};

/// Runs in a child process and ends it: drops to the unprivileged user
/// "nobody" when asked (exit 77 when it cannot), then writes
/// password with the write stopped at its step stopAt (counted from 1).
/// Exit status: 0 written, 1 refused, 2 stopped and failed, 3 stopped but
/// claimed success; or killed by SIGKILL.
[[noreturn]] void childWrite(const QString &password, int stopAt, Stop how, bool unprivileged)
{
    if (unprivileged && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0 || getuid() == 0))
        _exit(77);
    bool stopped = false;
    PasswordStore::setWriteHook([&](PasswordStore::WriteStep) {
        if (--stopAt != 0)
            return true;
        stopped = true;
        if (how == Stop::Kill)
            kill(getpid(), SIGKILL);
        return false;
    });
    const bool written = PasswordStore::writeStored(password);
    _exit(stopped ? (written ? 3 : 2) : (written ? 0 : 1));
}

/// Writes password with the write stopped at its step stopAt: a failing step
/// in this process, or a child killed there. unprivileged runs the write in
/// a child as the user "nobody".
Outcome writeStoppedAt(const QString &password, int stopAt, Stop how, bool unprivileged = false)
{
    if (how == Stop::Fail && !unprivileged) {
        bool stopped = false;
        PasswordStore::setWriteHook([&](PasswordStore::WriteStep) {
            stopped = --stopAt == 0;
            return !stopped;
        });
        const bool written = PasswordStore::writeStored(password);
        PasswordStore::setWriteHook({});
        if (stopped)
            return written ? Outcome::Broken : Outcome::Stopped;
        return written ? Outcome::Completed : Outcome::Refused;
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
        childWrite(password, stopAt, how, unprivileged);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return Outcome::Broken;
    if (WIFSIGNALED(status))
        return how == Stop::Kill && WTERMSIG(status) == SIGKILL ? Outcome::Stopped : Outcome::Broken;
    switch (WIFEXITED(status) ? WEXITSTATUS(status) : -1) {
    case 0:
        return Outcome::Completed;
    case 1:
        return Outcome::Refused;
    case 2:
        return Outcome::Stopped;
    default:
        return Outcome::Broken;
    }
}
} // namespace

class TestPasswordStore : public QObject
{
    Q_OBJECT
private slots:
    void readValue_data();
    void readValue();
    void withValue_data();
    void withValue();
    void valueReadsBackAsWritten_data();
    void valueReadsBackAsWritten();

    void canonicalForm_data();
    void canonicalForm();
    void readStored();
    void writeKeepsTheRestOfTheFile();
    void writeFailureKeepsTheFile_data();
    void writeFailureKeepsTheFile();
    void writeStoppedAtEachStep_data();
    void writeStoppedAtEachStep();
    void leftoversBesideTheStoreUntouched_data();
    void leftoversBesideTheStoreUntouched();
    void readOnlyFolderWritableStore();
    void utf16StoreRoundTrip();
    void storeThatIsNoSettingsFile_data();
    void storeThatIsNoSettingsFile();
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
    QTest::newRow("key given twice: the first")
        << QByteArray("[Accesso]\nValore=5D\nValore=AB\n") << QStringLiteral("5D");
    QTest::newRow("enormous line before") << QByteArray(4 << 20, 'x') + "\n[Accesso]\nValore=5D\n"
                                          << QStringLiteral("5D");
    QTest::newRow("enormous value") << "[Accesso]\nValore=" + QByteArray(4 << 20, 'A') + "\n" << QString(4 << 20, u'A');
    QTest::newRow("UTF-16 with byte order mark")
        << utf16(QStringLiteral("[Setup]\r\nNome=Libreria Città\r\n[Accesso]\r\nValore=5D\r\n"))
        << QStringLiteral("5D");
    QTest::newRow("UTF-16, section missing")
        << utf16(QStringLiteral("[Setup]\r\nValore=5D\r\n")) << QStringLiteral("<none>");
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
    QTest::newRow("UTF-16 written back as UTF-16")
        << utf16(QStringLiteral("[Setup]\r\nNome=Libreria Città €\r\n[Accesso]\r\nValore=5D\r\n"))
        << utf16(QStringLiteral("[Setup]\r\nNome=Libreria Città €\r\n[Accesso]\r\nValore=ABCD\r\n"));
    QTest::newRow("UTF-16, key added") << utf16(QStringLiteral("[Accesso]\r\nAltro=1\r\n"))
                                       << utf16(QStringLiteral("[Accesso]\r\nAltro=1\r\nValore=ABCD\r\n"));
    // A lone CR ends no line: the key goes on a line of its own.
    QTest::newRow("last line ends in a lone CR")
        << QByteArray("[Accesso]\r") << QByteArray("[Accesso]\r\r\nValore=ABCD\r\n");
}

void TestPasswordStore::valueReadsBackAsWritten_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("hexadecimal digits") << QStringLiteral("5D0A") << QByteArray("Valore=5D0A\r\n");
    QTest::newRow("blanks at the ends") << QStringLiteral("  x y\t") << QByteArray("Valore=\"  x y\t\"\r\n");
    QTest::newRow("its own quotes") << QStringLiteral("\"quoted\"") << QByteArray("Valore=\"\"quoted\"\"\r\n");
    QTest::newRow("single quotes") << QStringLiteral("'a'") << QByteArray("Valore=\"'a'\"\r\n");
    QTest::newRow("one quote") << QStringLiteral("\"") << QByteArray("Valore=\"\r\n");
}

void TestPasswordStore::valueReadsBackAsWritten()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, line);
    const QByteArray out =
        IniFile::withValue(QByteArray("[Accesso]\r\n"), QStringLiteral("Accesso"), QStringLiteral("Valore"), value);
    QCOMPARE(out, QByteArray("[Accesso]\r\n") + line);
    QCOMPARE(IniFile::readValue(out, QStringLiteral("Accesso"), QStringLiteral("Valore")), value);
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
    const QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(path, permissions));

    QString error;
    QVERIFY2(PasswordStore::writeStored(QStringLiteral(" nuova "), &error), qPrintable(error));
    QCOMPARE(readAll(path), richFileNuova);
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("NUOVA")));
    QCOMPARE(QFile::permissions(path) & ~QFile::Permissions(0x0700), permissions); // owner, group, others
    // Nothing is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("unins000.dll")});
}

void TestPasswordStore::writeFailureKeepsTheFile_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("256 characters") << QString(256, QLatin1Char('a'));
    QTest::newRow("character above U+00FF") << QStringLiteral("prezzo€");
}

void TestPasswordStore::writeFailureKeepsTheFile()
{
    QFETCH(QString, password);
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("unins000.dll"));
    writeAll(path, richFile);

    QString error;
    QVERIFY(!PasswordStore::writeStored(password, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readAll(path), richFile);
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("RILEGORA")));
}

void TestPasswordStore::writeStoppedAtEachStep_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("a step fails") << int(Stop::Fail);
    QTest::newRow("killed at a step") << int(Stop::Kill);
}

void TestPasswordStore::writeStoppedAtEachStep()
{
    // Wherever a change stops, the store holds the old password or the new
    // one, whole, and the next change goes through.
    QFETCH(int, how);
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("unins000.dll"));
    int stopAt = 1;
    for (;; ++stopAt) {
        QVERIFY2(stopAt < 20, "the write never completes");
        writeAll(path, richFile);
        const Outcome outcome = writeStoppedAt(QStringLiteral("nuova"), stopAt, Stop(how));
        const QByteArray left = readAll(path);
        const QByteArray at = "stopped at step " + QByteArray::number(stopAt);
        if (outcome == Outcome::Completed) {
            QCOMPARE(left, richFileNuova);
            break;
        }
        QVERIFY2(outcome == Outcome::Stopped, at.constData());
        QVERIFY2(left == richFile || left == richFileNuova, at + ": " + left);
        if (Stop(how) == Stop::Fail) // a failed write says so and leaves the file as it was
            QVERIFY2(left == richFile, at.constData());
        const std::optional<QString> stored = PasswordStore::readStored();
        QVERIFY2(stored == QStringLiteral("RILEGORA") || stored == QStringLiteral("NUOVA"), at.constData());
        QVERIFY2(PasswordStore::writeStored(QStringLiteral("altra")), at.constData());
        QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("ALTRA")));
    }
    QVERIFY(stopAt > 2); // the write did pass steps where it could be stopped
}

void TestPasswordStore::leftoversBesideTheStoreUntouched_data()
{
    QTest::addColumn<bool>("links"); // links to an outside file, or folders
    QTest::newRow("links to an outside file") << true;
    QTest::newRow("folders") << false;
}

void TestPasswordStore::leftoversBesideTheStoreUntouched()
{
    // Whatever an earlier run left at the names a write might use for its
    // temporary files, the write goes into the store alone.
    QFETCH(bool, links);
    TempProgramFolder folder;
    QTemporaryDir outside;
    const QString outsideFile = outside.filePath(QStringLiteral("altro.ini"));
    const QByteArray outsideBytes = "[Altro]\r\nx=1\r\n";
    writeAll(outsideFile, outsideBytes);
    const QString path = folder.file(QStringLiteral("unins000.dll"));
    writeAll(path, richFile);
    const QStringList leftovers = {path + QStringLiteral(".tmp"), path + QStringLiteral(".bak"),
                                   path + QStringLiteral(".new")};
    for (const QString &leftover : leftovers)
        QVERIFY(links ? QFile::link(outsideFile, leftover) : QDir().mkpath(leftover + QStringLiteral("/x")));

    QString error;
    QVERIFY2(PasswordStore::writeStored(QStringLiteral("nuova"), &error), qPrintable(error));
    QVERIFY(!QFileInfo(path).isSymLink());
    QCOMPARE(readAll(path), richFileNuova);
    QCOMPARE(readAll(outsideFile), outsideBytes);
    for (const QString &leftover : leftovers) {
        if (links)
            QCOMPARE(QFileInfo(leftover).symLinkTarget(), outsideFile);
        else
            QVERIFY(QFileInfo(leftover + QStringLiteral("/x")).isDir());
    }
}

void TestPasswordStore::readOnlyFolderWritableStore()
{
    // An installation in a protected folder whose settings file was opened
    // to the user: no file can be made beside the store, yet the password
    // changes, in the file itself. A rewrite that fails there puts the old
    // contents back. Run as the user "nobody", since tests may run as root.
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("unins000.dll"));
    const QByteArray folderName = QFile::encodeName(folder.path());
    const QByteArray fileName = QFile::encodeName(path);
    const auto restore = qScopeGuard([&] { chmod(folderName.constData(), 0700); });
    QVERIFY(chmod(folderName.constData(), 0555) == 0);

    // First make sure that nobody can read the folder but not add to it.
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(77);
        QFile probe(folder.file(QStringLiteral("prova")));
        _exit(!QFileInfo(folder.path()).isReadable() ? 78 : probe.open(QIODevice::WriteOnly) ? 1 : 0);
    }
    int status = -1;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        QSKIP("this machine cannot run a process as the user nobody");
    if (WEXITSTATUS(status) == 78)
        QSKIP("the temporary folders lie out of reach of the user nobody");
    QCOMPARE(WEXITSTATUS(status), 0);

    int stopAt = 1;
    for (;; ++stopAt) {
        QVERIFY2(stopAt < 20, "the write never completes");
        QVERIFY(chmod(folderName.constData(), 0700) == 0);
        writeAll(path, richFile);
        QVERIFY(chmod(fileName.constData(), 0666) == 0);
        QVERIFY(chmod(folderName.constData(), 0555) == 0);
        struct stat before
        {};
        QVERIFY(stat(fileName.constData(), &before) == 0);

        const Outcome outcome = writeStoppedAt(QStringLiteral("nuova"), stopAt, Stop::Fail, true);
        const QByteArray left = readAll(path);
        const QByteArray at = "stopped at step " + QByteArray::number(stopAt);
        struct stat after
        {};
        QVERIFY(stat(fileName.constData(), &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino); // the same file, rewritten
        QCOMPARE(after.st_mode, before.st_mode);
        if (outcome == Outcome::Completed) {
            QCOMPARE(left, richFileNuova);
            break;
        }
        QVERIFY2(outcome == Outcome::Stopped, at.constData());
        QVERIFY2(left == richFile, at + ": " + left);
    }
    QVERIFY(stopAt > 1); // the rewrite did pass steps where it could fail
}

void TestPasswordStore::utf16StoreRoundTrip()
{
    // A store that Notepad saved as "Unicode": read as text, the password
    // changed in it, and saved back in the same encoding, byte for byte.
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("unins000.dll"));
    writeAll(path, utf16(QString::fromLatin1(richFile)));
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("RILEGORA")));
    QString error;
    QVERIFY2(PasswordStore::writeStored(QStringLiteral("nuova"), &error), qPrintable(error));
    QCOMPARE(readAll(path), utf16(QString::fromLatin1(richFileNuova)));
    QCOMPARE(PasswordStore::readStored(), std::optional<QString>(QStringLiteral("NUOVA")));
}

void TestPasswordStore::storeThatIsNoSettingsFile_data()
{
    QTest::addColumn<int>("kind");
    HostileFiles::addRows({HostileFiles::DeviceLink, HostileFiles::Fifo, HostileFiles::FifoLink, HostileFiles::Socket,
                           HostileFiles::Folder, HostileFiles::EndlessProc});
    QTest::newRow("a file larger than any settings file") << -1;
}

void TestPasswordStore::storeThatIsNoSettingsFile()
{
    // Whatever stands at the store's name, reading and writing it answer at
    // once: unreadable, and nothing written.
    QFETCH(int, kind);
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("unins000.dll"));
    if (kind < 0) {
        writeAll(path, "[Accesso]\r\nValore=4EA98ED2022186BA\r\n" + QByteArray(PasswordStore::MaxFileBytes, ';'));
    } else {
        QString why;
        if (!HostileFiles::make(kind, path, &why))
            QSKIP(qPrintable(why));
    }
    Watchdog watchdog(20, QStringLiteral("reading a settings file that is none"));
    QVERIFY(!PasswordStore::readStored().has_value());
    QVERIFY(!PasswordStore::writeStored(QStringLiteral("nuova")));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             QStringList{QStringLiteral("unins000.dll")});
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
