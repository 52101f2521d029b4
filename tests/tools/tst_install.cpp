// The program folder that `cmake --install` and the CPack archive produce:
// what it holds, that the program runs from it, that a reinstall keeps a
// changed password, and that the desktop entry starts the installed program.
#include "access/passwordstore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

const QByteArray kInitialStore("[Accesso]\r\nValore=4EA98ED2022186BA\r\n");

/// Every file below folder, relative to it, sorted.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    const QByteArray out = p.readAll();
    if (output)
        *output = out;
    if (!ok)
        qWarning("%s failed: %s", qPrintable(program), out.constData());
    return ok;
}

bool install(const QString &prefix)
{
    return run(QStringLiteral(RILEGORA_CMAKE),
               {QStringLiteral("--install"), QStringLiteral(RILEGORA_BUILD_DIR), QStringLiteral("--prefix"), prefix});
}

/// The arguments of a desktop entry's Exec line, with the string and the
/// quoting escapes undone.
QStringList execArguments(const QString &value)
{
    QString unescaped;
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size())
            ++i;
        unescaped += value[i];
    }
    QStringList args;
    QString current;
    bool inQuotes = false;
    for (int i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (inQuotes && c == QLatin1Char('\\') && i + 1 < unescaped.size())
            current += unescaped[++i];
        else if (c == QLatin1Char('"'))
            inQuotes = !inQuotes;
        else if (c == QLatin1Char(' ') && !inQuotes) {
            if (!current.isEmpty())
                args << current;
            current.clear();
        } else
            current += c;
    }
    if (!current.isEmpty())
        args << current;
    return args.replaceInStrings(QStringLiteral("%%"), QStringLiteral("%"));
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        // A folder name with a blank and a dollar, as users' folders have.
        m_prefix = m_temp.filePath(QStringLiteral("Programmi di $USER/Rilegora"));
        QVERIFY(install(m_prefix));
    }

    void folderHoldsTheProgramAndNothingElse()
    {
        QCOMPARE(filesBelow(m_prefix),
                 (QStringList{QStringLiteral("Guida.pdf"), QStringLiteral("crea-collegamento.sh"),
                              QStringLiteral("rilegora"), QStringLiteral("rilegora.png"),
                              QStringLiteral("translations/qtbase_it.qm"), QStringLiteral("unins000.dll")}));
        QVERIFY(QFileInfo(m_prefix + QStringLiteral("/rilegora")).isExecutable());
        QVERIFY(QFileInfo(m_prefix + QStringLiteral("/crea-collegamento.sh")).isExecutable());
        QCOMPARE(readAll(m_prefix + QStringLiteral("/unins000.dll")), kInitialStore);
        QVERIFY(readAll(m_prefix + QStringLiteral("/Guida.pdf")).startsWith("%PDF-"));
        QCOMPARE(QImage(m_prefix + QStringLiteral("/rilegora.png")).size(), QSize(256, 256));

        // The translation loads from the folder with all it depends on.
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral("qtbase_it"), m_prefix + QStringLiteral("/translations")));
        QCOMPARE(translator.translate("QPlatformTheme", "Cancel"), QStringLiteral("Annulla"));
    }

    void programRunsFromTheFolder()
    {
        QProcess program;
        program.setWorkingDirectory(m_temp.path());
        program.start(m_prefix + QStringLiteral("/rilegora"), QStringList());
        QVERIFY(program.waitForStarted());
        QVERIFY2(!program.waitForFinished(2000), program.readAllStandardError().constData());
        program.kill();
        program.waitForFinished();
        // Nothing is written into the working folder: the data files belong beside the executable.
        QCOMPARE(QDir(m_temp.path()).entryList(QDir::Files), QStringList());
    }

    void reinstallKeepsAChangedPasswordAndRestoresTheRest()
    {
        const QString store = m_prefix + QStringLiteral("/unins000.dll");
        const QByteArray changed("[Accesso]\r\nValore=5DA3\r\n[Altro]\r\nChiave=1\r\n");
        QFile f(store);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(changed);
        f.close();
        QVERIFY(QFile::remove(m_prefix + QStringLiteral("/Guida.pdf")));

        QVERIFY(install(m_prefix));
        QCOMPARE(readAll(store), changed);
        QVERIFY(QFile::exists(m_prefix + QStringLiteral("/Guida.pdf")));
    }

    void desktopEntryStartsTheInstalledProgram()
    {
        const QString entry = m_temp.filePath(QStringLiteral("applications/rilegora.desktop"));
        QVERIFY(run(m_prefix + QStringLiteral("/crea-collegamento.sh"), {entry}));
        const QStringList lines = QString::fromUtf8(readAll(entry)).split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QStringLiteral("[Desktop Entry]"));
        auto value = [&](const QString &key) {
            for (const QString &line : lines) {
                if (line.startsWith(key + QLatin1Char('=')))
                    return line.mid(key.size() + 1);
            }
            return QString();
        };
        const QString folder = QFileInfo(m_prefix).canonicalFilePath();
        QCOMPARE(execArguments(value(QStringLiteral("Exec"))), QStringList{folder + QStringLiteral("/rilegora")});
        QCOMPARE(value(QStringLiteral("Icon")), folder + QStringLiteral("/rilegora.png"));
        QCOMPARE(value(QStringLiteral("Type")), QStringLiteral("Application"));
        QVERIFY(!value(QStringLiteral("Comment[it]")).isEmpty());
    }

    void archiveHoldsTheProgramFolder()
    {
        QTemporaryDir out;
        QVERIFY(run(QStringLiteral(RILEGORA_CPACK),
                    {QStringLiteral("--config"), QStringLiteral(RILEGORA_BUILD_DIR "/CPackConfig.cmake"),
                     QStringLiteral("-B"), out.path()}));
        const QString archive = out.filePath(QStringLiteral("Rilegora-1.0.0.0-Linux.tar.gz"));
        QVERIFY2(QFile::exists(archive), qPrintable(QDir(out.path()).entryList().join(QLatin1Char(' '))));
        QVERIFY(run(QStringLiteral("tar"), {QStringLiteral("xzf"), archive, QStringLiteral("-C"), out.path()}));
        const QString folder = out.filePath(QStringLiteral("Rilegora-1.0.0.0-Linux"));
        QCOMPARE(filesBelow(folder),
                 (QStringList{QStringLiteral("Guida.pdf"), QStringLiteral("crea-collegamento.sh"),
                              QStringLiteral("rilegora"), QStringLiteral("rilegora.png"),
                              QStringLiteral("translations/qtbase_it.qm"), QStringLiteral("unins000.dll")}));
        QCOMPARE(readAll(folder + QStringLiteral("/unins000.dll")), kInitialStore);
    }

    void windowsIconHasEverySize()
    {
        QImageReader reader(QStringLiteral(RILEGORA_BUILD_DIR "/packaging/rilegora.ico"), "ico");
        QCOMPARE(reader.imageCount(), 7);
        QList<int> sides;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            QCOMPARE(image.width(), image.height());
            sides << image.width();
        }
        QCOMPARE(sides, (QList<int>{16, 24, 32, 48, 64, 128, 256}));
    }

private:
    QTemporaryDir m_temp;
    QString m_prefix;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
