// Faults injected into every writer of the program: a file or a folder the
// user may not write to, a full disk, a folder where the file should be, and
// the program killed in the middle of a long write. Each case runs the
// writer through its screen in a child process (as the unprivileged user
// "nobody" where a permission must hold, since tests may run as root), then
// checks the messages and every byte of the program folder.
#include "common/filefixtures.h"
#include "common/picturefixtures.h"
#include "common/screencontrols.h"
#include "common/testsupport.h"

#include "access/tfrmcambiapassword.h"
#include "app/screenset.h"
#include "books/tfrmallegacartella.h"
#include "books/tfrmlibri.h"
#include "catalogues/cataloguefile.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "core/bookarchive.h"
#include "core/filesync.h"
#include "core/logging.h"
#include "core/programfolder.h"
#include "kit/covers.h"
#include "kit/filechooser.h"
#include "kit/picturewidgets.h"
#include "output/tfrmexplibri.h"

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum Writer {
    CardRewrite, ///< Salva on a stored card
    CardAppend,  ///< Salva on a new card
    Duplicate,   ///< Duplica, then Salva
    Cover,       ///< the cover written by Salva on a stored card
    PageRewrite, ///< Salva on a stored catalogue page
    PageAppend,  ///< Salva on a new catalogue page
    BoxPhoto,    ///< the box photos written by Salva on a stored page
    Password,    ///< OK on the change-password screen
    Attachment,  ///< Sfoglia... copying over an attached copy
    Export,      ///< the spreadsheet export
};

enum Fault {
    ReadOnlyFile,   ///< the file may be read, not written (as "nobody")
    ReadOnlyFolder, ///< its folder takes no new file (as "nobody"); the file itself may be written
    FullDisk,       ///< writes past a size fail, as on a full disk
    FolderInPlace,  ///< a folder stands where the file should be
    Killed,         ///< the process dies in the middle of writing
    SyncFails,      ///< everything is written, but the device does not confirm it
};

const char *const kWriterNames[] = {"card rewrite", "card append", "duplicate", "cover",      "page rewrite",
                                    "page append",  "box photo",   "password",  "attachment", "export"};
const char *const kFaultNames[] = {"read-only file",  "read-only folder", "full disk",
                                   "folder in place", "killed",           "sync fails"};

const QString kAccess = BookArchive::accessFailureMessage();
const QString kRewritten =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kAppended = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kDuplicated = QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente."
                                           "\n\r\n\rAl termine premere Salva per inserire la scheda in archivio.");
const QString kOverwrite = QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con "
                                          "lo stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");
const QString kExportAsk =
    QStringLiteral("L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del "
                   "numero di schede presenti in archivio.\r\n\r\nSi vuole esportare i dati "
                   "adesso?");
const QString kExportFailed = QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                                             "Accertarsi che il file di Excel non sia già aperto.");

/// The file each writer's faults are aimed at, relative to the program folder.
QString targetOf(Writer writer)
{
    switch (writer) {
    case CardRewrite:
    case CardAppend:
    case Duplicate:
        return QStringLiteral("Archivio_Libri.pro");
    case Cover:
        return QStringLiteral("Copertine_Libri/Foto_2.jpg");
    case PageRewrite:
    case PageAppend:
        return QStringLiteral("Narrativa.cat");
    case BoxPhoto:
        return QStringLiteral("Foto_Gruppo/Narrativa_Foto_A_2.jpg");
    case Password:
        return QStringLiteral("unins000.dll");
    case Attachment:
        return QStringLiteral("Documenti_Allegati/indice.txt");
    case Export:
        return QStringLiteral("Schedario_Libri.xls");
    }
    return QString();
}

/// The file-size limit of the full-disk and killed cases: inside the record
/// or file being written, past everything the action writes before it.
rlim_t limitOf(Writer writer)
{
    switch (writer) {
    case CardRewrite:
    case Duplicate:
        return writer == CardRewrite ? 3150 + 1000 : 3 * 3150 + 1000;
    case CardAppend:
        return 3 * 3150 + 1000;
    case PageRewrite:
        return 5000 + 1000;
    case PageAppend:
        return 2 * 5000 + 1000;
    case Cover:
    case BoxPhoto:
        return 20000; // past the records, inside the new photo
    case Password:
        return 10;
    case Attachment:
        return 100000; // inside the 1 MB copy
    case Export:
        return 1000;
    }
    return RLIM_INFINITY;
}

/// Files besides the target that the rest of an action that succeeded may
/// rewrite or make: a saved card's cover, a saved page's photos.
bool mayChange(Writer writer, const QString &relative)
{
    switch (writer) {
    case CardRewrite:
    case CardAppend:
    case Duplicate:
        return relative.startsWith(QLatin1String("Copertine_Libri/"));
    case Cover:
        return relative == QLatin1String("Archivio_Libri.pro");
    case BoxPhoto:
        return relative == QLatin1String("Narrativa.cat") || relative.startsWith(QLatin1String("Foto_Gruppo/"));
    case PageRewrite:
    case PageAppend:
        return relative.startsWith(QLatin1String("Foto_Gruppo/"));
    default:
        return false;
    }
}

/// Whether picture shows what model shows, whatever its size and encoding.
bool looksLike(const QImage &picture, const QImage &model)
{
    if (picture.isNull() || model.isNull())
        return false;
    const QImage a = picture.convertToFormat(QImage::Format_RGB32);
    const QImage b =
        model.scaled(a.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    qint64 difference = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            difference += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return difference / (3 * qint64(a.width()) * a.height()) < 12;
}

TSchedaLibro makeCard(int n)
{
    TSchedaLibro card;
    card.setText(TSchedaLibro::Titolo, QStringLiteral("Titolo %1").arg(n));
    card.setText(TSchedaLibro::Autore, QStringLiteral("Autore %1").arg(n));
    card.setText(TSchedaLibro::Anno, QString::number(1900 + n));
    card.setText(TSchedaLibro::Editore, QStringLiteral("Editore %1").arg(n));
    card.setText(TSchedaLibro::Note, QString(200, QLatin1Char('a' + n)));
    return card;
}

TPaginaCatalogo makePage(int n)
{
    TPaginaCatalogo page;
    for (int box = 0; box < 8; ++box)
        for (int f = 0; f < TRiquadro::FieldCount; ++f)
            page.setText(box, f, QStringLiteral("P%1 %2 %3").arg(n).arg(QChar(u'A' + box)).arg(f));
    return page;
}

/// The program folder every case starts from: three cards with a cover, a
/// catalogue of two pages with its photos, the password store, an attached
/// copy and an earlier export; beside them, outside the data files, the file
/// to attach.
void makeFixture(const QString &folder)
{
    ProgramFolder::setPath(folder);
    BookArchive archive;
    QVERIFY(archive.open());
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(archive.append(makeCard(n)), n);
    QVERIFY(archive.close());
    CatalogueFile catalogue(folder + QStringLiteral("Narrativa.cat"));
    QVERIFY(catalogue.open());
    for (int n = 1; n <= 2; ++n)
        QCOMPARE(catalogue.append(makePage(n)), n);
    QVERIFY(catalogue.close());
    const QByteArray oldPhoto = encodedPicture(detailedPicture(QSize(40, 50), 3), "jpg");
    QVERIFY(writeFile(folder + QStringLiteral("Copertine_Libri/Foto_2.jpg"), oldPhoto));
    for (const char box : QByteArray("ABCDEFGH"))
        QVERIFY(
            writeFile(folder + QStringLiteral("Foto_Gruppo/Narrativa_Foto_%1_2.jpg").arg(QLatin1Char(box)), oldPhoto));
    QVERIFY(writeFile(folder + QStringLiteral("unins000.dll"), "[Accesso]\r\nValore=4EA98ED2022186BA\r\n"));
    QVERIFY(writeFile(folder + QStringLiteral("Documenti_Allegati/indice.txt"), "la copia attaccata prima"));
    QByteArray big;
    for (int i = 0; big.size() < (1 << 20); ++i)
        big += "riga " + QByteArray::number(i) + " del documento da allegare\n";
    QVERIFY(writeFile(folder + QStringLiteral("fuori/indice.txt"), big));
    QVERIFY(writeFile(folder + QStringLiteral("Schedario_Libri.xls"), "<html>l'esportazione di prima</html>"));
}

/// Every file below folder with its bytes, and every folder.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        out.insert(path.mid(folder.size()), info.isDir() ? QByteArray("<folder>") : readFile(path));
    }
    return out;
}

void giveTo(const QString &folder, uid_t uid, gid_t gid)
{
    const auto own = [&](const QString &path) { QVERIFY(::chown(QFile::encodeName(path).constData(), uid, gid) == 0); };
    own(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        own(it.next());
}

bool setMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// ---- the child ---------------------------------------------------------------

/// What the child reports: the messages it saw, the card or page number on
/// screen afterwards, and whether the photo written shows the placeholder.
void report(const MessageCatcher &messages, const QString &position, bool placeholder)
{
    for (const QString &text : messages.texts())
        std::printf("message %s\n", text.toUtf8().toPercentEncoding().constData());
    std::printf("position %s\n", position.toUtf8().toPercentEncoding().constData());
    std::printf("placeholder %d\n", placeholder ? 1 : 0);
    std::fflush(stdout);
}

void fillCard(TfrmLibri &f, const QString &position)
{
    control<QLabel>(f, "lblPosizione")->setText(position);
    control<QLineEdit>(f, "txtTitolo")->setText(QStringLiteral("Titolo nuovo"));
    control<QLineEdit>(f, "txtAutore")->setText(QStringLiteral("Autore nuovo"));
    control<QLineEdit>(f, "txtAnno")->setText(QStringLiteral("2024"));
    control<QLineEdit>(f, "txtEditore")->setText(QStringLiteral("Editore nuovo"));
}

void fillPage(TfrmListinoPrezzi &e, const QString &position)
{
    control<QLabel>(e, "lblFile")->setText(ProgramFolder::file(QStringLiteral("Narrativa.cat")));
    control<QLabel>(e, "lblNome")->setText(QStringLiteral("Narrativa"));
    control<QLabel>(e, "lblPosizione")->setText(position);
    control<QLineEdit>(e, "txtNome_A")->setText(QStringLiteral("Il nome della rosa"));
    control<QLineEdit>(e, "txtUM_A")->setText(QStringLiteral("Umberto Eco  -  Bompiani (1980)"));
    control<QLineEdit>(e, "txtCaratteristiche_A")->setText(QStringLiteral("Prima edizione"));
    control<QLineEdit>(e, "txtCodice_A")->setText(QStringLiteral("ISBN: 88-452-0621-4"));
    control<QLineEdit>(e, "txtPrezzo_A")->setText(QStringLiteral("€ 18,50"));
}

/// Sets the fault's file-size limit, just before the action: past it a
/// write fails, or for a killed case the process dies with SIGXFSZ.
void limitFileSize(Fault fault, rlim_t bytes)
{
    if (fault != FullDisk && fault != Killed)
        return;
    std::signal(SIGXFSZ, fault == Killed ? SIG_DFL : SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

int runChild(int argc, char *argv[])
{
    const Writer writer = Writer(std::atoi(argv[2]));
    const Fault fault = Fault(std::atoi(argv[3]));
    if ((fault == ReadOnlyFile || fault == ReadOnlyFolder) &&
        (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0 || getuid() == 0))
        return 77;
    QApplication app(argc, argv);
    prepareScreenTests();
    ProgramFolder::setPath(QString::fromLocal8Bit(argv[4]));
    // The program's log, as main() keeps it, in a folder of the test's.
    Log::install(qEnvironmentVariable("RILEGORA_TEST_LOG_FOLDER"));
    const rlim_t limit = limitOf(writer);
    if (fault == SyncFails) {
        const QString target = ProgramFolder::file(targetOf(writer));
        FileSync::setHook([target](QFileDevice &file) { return file.fileName() != target; });
    }
    MessageCatcher messages;
    switch (writer) {
    case CardRewrite:
    case CardAppend:
    case Duplicate:
    case Cover: {
        TfrmLibri f;
        f.show();
        fillCard(f, writer == CardAppend ? QString() : QStringLiteral("2"));
        if (writer == Cover)
            control<PictureBox>(f, "imgFoto")->setImage(detailedPicture(QSize(307, 409)));
        limitFileSize(fault, limit);
        if (writer == Duplicate)
            f.cmdDuplicaClick();
        f.cmdSalvaClick();
        report(messages, control<QLabel>(f, "lblPosizione")->text(),
               control<PictureBox>(f, "imgFoto")->image() == f.placeholder());
        break;
    }
    case PageRewrite:
    case PageAppend:
    case BoxPhoto: {
        TfrmListinoPrezzi e;
        e.show();
        fillPage(e, writer == PageAppend ? QString() : QStringLiteral("2"));
        if (writer == BoxPhoto)
            boxPhoto(e, 0)->setImage(detailedPicture(QSize(282, 366)));
        limitFileSize(fault, limit);
        e.cmdSalvaClick();
        // The box shows the placeholder, possibly as the stored 282 x 366 picture made of it.
        report(messages, control<QLabel>(e, "lblPosizione")->text(),
               looksLike(boxPhoto(e, 0)->image(), e.placeholder()));
        break;
    }
    case Password: {
        ScreenSet set;
        TfrmCambiaPassword &c = *set.frmCambiaPassword;
        c.show();
        control<QLineEdit>(c, "txtPasswordOld")->setText(QStringLiteral("rilegora"));
        control<QLineEdit>(c, "txtPasswordNew")->setText(QStringLiteral("nuova"));
        control<QLineEdit>(c, "txtConferma")->setText(QStringLiteral("nuova"));
        limitFileSize(fault, limit);
        c.cmdOKClick();
        report(messages, QString(), false);
        break;
    }
    case Attachment: {
        TfrmAllegaCartella d;
        d.show();
        FileChooser::answerNext(ProgramFolder::file(QStringLiteral("fuori/indice.txt")));
        messages.answerNext(QMessageBox::Yes);
        limitFileSize(fault, limit);
        d.btnSfoglia01Click();
        report(messages, control<QLineEdit>(d, "txtFile01")->text(), false);
        break;
    }
    case Export: {
        TfrmExpLibri x;
        x.show();
        messages.answerNext(QMessageBox::Yes);
        messages.answerNext(QMessageBox::No);
        limitFileSize(fault, limit);
        x.cmdEsportaClick();
        report(messages, QString(), false);
        break;
    }
    }
    return 0;
}

} // namespace

class TestWriterFaults : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { ProgramFolder::setPath(QString()); }
    void faults_data();
    void faults();
};

void TestWriterFaults::faults_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("messages"); // what the screen says
    QTest::addColumn<bool>("targetKept");      // the fault's file is left byte for byte

    const auto row = [](Writer w, Fault f, const QStringList &messages, bool kept) {
        QTest::addRow("%s, %s", kWriterNames[w], kFaultNames[f]) << int(w) << int(f) << messages << kept;
    };
    // The card index and the catalogue are rewritten in place: a folder that
    // takes no new file does not stop them.
    for (const Fault f : {ReadOnlyFile, FullDisk, FolderInPlace, SyncFails}) {
        row(CardRewrite, f, {kAccess}, true);
        row(CardAppend, f, {kAccess}, true);
        row(Duplicate, f, {kDuplicated, kAccess}, true);
        row(PageRewrite, f, {kAccess}, true);
        row(PageAppend, f, {kAccess}, true);
    }
    row(CardRewrite, ReadOnlyFolder, {kRewritten}, false);
    row(CardAppend, ReadOnlyFolder, {kAppended}, false);
    row(Duplicate, ReadOnlyFolder, {kDuplicated, kAppended}, false);
    row(PageRewrite, ReadOnlyFolder, {kRewritten}, false);
    row(PageAppend, ReadOnlyFolder, {kAppended}, false);
    row(PageRewrite, Killed, {}, false); // killed in its photos, after the page
    // Pictures never report a failure: the card or page is saved, the photo
    // on disk is kept, the placeholder stands in on screen.
    for (const Fault f : {ReadOnlyFile, ReadOnlyFolder, FullDisk, FolderInPlace, Killed, SyncFails}) {
        row(Cover, f, f == Killed ? QStringList() : QStringList{kRewritten}, true);
        row(BoxPhoto, f, f == Killed ? QStringList() : QStringList{kRewritten}, true);
    }
    // The password store is rewritten in itself where no file can be made beside it.
    for (const Fault f : {ReadOnlyFile, FullDisk, FolderInPlace, SyncFails})
        row(Password, f, {TfrmCambiaPassword::changeFailureMessage()}, true);
    row(Password, ReadOnlyFolder, {TfrmCambiaPassword::doneMessage()}, false);
    // An attachment that cannot be copied is silent after the overwrite question.
    for (const Fault f : {ReadOnlyFile, ReadOnlyFolder, FullDisk, FolderInPlace, Killed, SyncFails})
        row(Attachment, f, f == Killed ? QStringList() : QStringList{kOverwrite}, true);
    for (const Fault f : {ReadOnlyFile, ReadOnlyFolder, FullDisk, FolderInPlace, Killed, SyncFails})
        row(Export, f, f == Killed ? QStringList() : QStringList{kExportAsk, kExportFailed}, true);
}

void TestWriterFaults::faults()
{
    QFETCH(int, writer);
    QFETCH(int, fault);
    QFETCH(QStringList, messages);
    QFETCH(bool, targetKept);
    const Writer w = Writer(writer);
    const Fault f = Fault(fault);
    const bool unprivileged = f == ReadOnlyFile || f == ReadOnlyFolder;

    TempProgramFolder folder;
    makeFixture(folder.path());
    if (QTest::currentTestFailed())
        return;
    const QString target = folder.file(targetOf(w));
    const QString targetFolder = QFileInfo(target).absolutePath();
    if (unprivileged)
        giveTo(folder.path(), 65534, 65534);
    if (f == FolderInPlace) {
        QVERIFY(QFile::remove(target));
        QVERIFY(QDir().mkpath(target + QStringLiteral("/dentro")));
    }
    const auto before = snapshot(folder.path());
    if (f == ReadOnlyFile)
        QVERIFY(setMode(target, 0444));
    if (f == ReadOnlyFolder)
        QVERIFY(setMode(targetFolder, 0555));

    QTemporaryDir logFolder;
    QVERIFY(logFolder.isValid());
    if (unprivileged)
        QVERIFY(setMode(logFolder.path(), 0777));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RILEGORA_TEST_LOG_FOLDER"), logFolder.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), QString::number(writer), QString::number(fault), folder.path()});
    const bool finished = child.waitForFinished(60000);
    setMode(targetFolder, 0755);
    setMode(target, 0644);
    if (unprivileged)
        giveTo(folder.path(), 0, 0);
    QVERIFY2(finished, "the writer hangs");
    if (unprivileged && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 77)
        QSKIP("this machine cannot run a process as the user nobody");

    // The child's own account of what happened.
    QStringList seen;
    QString position;
    bool placeholder = false;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QByteArray value = QByteArray::fromPercentEncoding(line.mid(line.indexOf(' ') + 1));
        if (line.startsWith("message "))
            seen << QString::fromUtf8(value);
        else if (line.startsWith("position "))
            position = QString::fromUtf8(value);
        else if (line.startsWith("placeholder "))
            placeholder = value == "1";
    }
    const QByteArray errors = child.readAllStandardError();
    if (f == Killed) {
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    } else {
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, errors.constData());
        QCOMPARE(seen, messages);
        const bool failed = messages.contains(kAccess);
        if (w == CardAppend || w == Duplicate)
            QCOMPARE(position, failed ? QString() : QStringLiteral("4"));
        else if (w == PageAppend)
            QCOMPARE(position, failed ? QString() : QStringLiteral("3"));
        else if (w == CardRewrite || w == PageRewrite)
            QCOMPARE(position, QStringLiteral("2"));
        if (w == Cover || w == BoxPhoto)
            QVERIFY2(placeholder, "the photo that was not written still shows");
        if (w == Attachment)
            QCOMPARE(position, QStringLiteral("indice.txt"));

        // The cause of the failure is in the log, under the writer's
        // subsystem; a save that went through logs nothing. The password's
        // file-size limit also stops its log line, which Qt's own output
        // (the standard error) still shows.
        const bool anyFailed = w == Cover || w == BoxPhoto || w == Attachment || failed ||
                               messages.contains(kExportFailed) ||
                               messages.contains(TfrmCambiaPassword::changeFailureMessage());
        const QString log =
            QString::fromUtf8(w == Password && f == FullDisk ? errors : readFile(logFolder.filePath(Log::fileName())));
        QStringList lines;
        for (const QString &line : log.split(QLatin1Char('\n'))) {
            const qsizetype at = line.indexOf(QLatin1String("rilegora."));
            if (at >= 0)
                lines << line.mid(at);
        }
        QVERIFY2(anyFailed != lines.isEmpty(), qPrintable(log));
        const QString category = w == Password ? QStringLiteral("rilegora.access: ")
                                 : w == Export ? QStringLiteral("rilegora.output: ")
                                 : w == PageRewrite || w == PageAppend || w == BoxPhoto
                                     ? QStringLiteral("rilegora.catalogues: ")
                                     : QStringLiteral("rilegora.books: ");
        const QString unknown = QFile().errorString();
        for (const QString &line : lines) {
            QVERIFY2(line.startsWith(category), qPrintable(line));
            const QString cause = line.mid(line.lastIndexOf(QLatin1String(": ")) + 2);
            QVERIFY2(!cause.isEmpty() && cause != unknown && cause != Log::cause(QString()), qPrintable(line));
            if (f == FullDisk)
                QVERIFY2(cause.contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(line));
            if (f == SyncFails)
                QVERIFY2(cause.endsWith(QStringLiteral("sul disco non è riuscita")), qPrintable(line));
        }
    }

    // Every byte of the folder: the target kept or rewritten whole, the rest
    // as it was but for what an action that went on rewrites; nothing new
    // but the leftovers of a killed write, under names of their own.
    const auto after = snapshot(folder.path());
    const bool wentOn = !messages.contains(kAccess);
    const QString targetName = targetOf(w);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const QString &name = it.key();
        if (name.startsWith(targetName + QLatin1Char('/')) || (wentOn && mayChange(w, name)))
            continue;
        if (name == targetName && !targetKept)
            continue;
        QVERIFY2(after.contains(name), qPrintable(name + QStringLiteral(" has gone")));
        QVERIFY2(after.value(name) == it.value(), qPrintable(name + QStringLiteral(" was changed")));
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const QString &name = it.key();
        if (before.contains(name) || (wentOn && mayChange(w, name)) || name.startsWith(targetName + QLatin1Char('/')))
            continue;
        // A killed write also leaves the lock it held (the pictures are
        // written under the lock of their data file); the next save takes it over.
        QVERIFY2(f == Killed &&
                     (name.startsWith(targetName + QLatin1Char('.')) || name.endsWith(QLatin1String(".lock"))),
                 qPrintable(name + QStringLiteral(" was left behind")));
    }
    // No picture at a stored name is cut short.
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        QImage picture;
        if (it.key().endsWith(QLatin1String(".jpg")) && it.value() != "<folder>")
            QVERIFY2(Covers::readPicture(folder.file(it.key()), picture),
                     qPrintable(it.key() + QStringLiteral(" is not whole")));
    }
    if (!targetKept) {
        // Rewritten in place where the folder takes no new file: whole and new.
        if (w == Password) {
            QVERIFY(after.value(targetName).contains("Valore=529424113C"));
        } else {
            const bool page = w == PageRewrite || w == PageAppend;
            const int recordSize = page ? TPaginaCatalogo::RecordSize : TSchedaLibro::RecordSize;
            const int records = w == CardAppend || w == Duplicate ? 4 : w == PageRewrite ? 2 : 3;
            QCOMPARE(after.value(targetName).size(), records * recordSize);
        }
    }
    // The records the action did write are whole: old or new, never a mix.
    if ((w == Cover || w == PageRewrite || w == BoxPhoto) && f != FolderInPlace) {
        const bool page = w != Cover;
        const QByteArray bytes =
            after.value(page ? QStringLiteral("Narrativa.cat") : QStringLiteral("Archivio_Libri.pro"));
        const int size = page ? TPaginaCatalogo::RecordSize : TSchedaLibro::RecordSize;
        QCOMPARE(bytes.size(), (page ? 2 : 3) * size);
        QVERIFY(bytes.mid(size, size) ==
                    before.value(page ? QStringLiteral("Narrativa.cat") : QStringLiteral("Archivio_Libri.pro"))
                        .mid(size, size) ||
                bytes.mid(size).contains(page ? "Il nome della rosa" : "Titolo nuovo"));
    }
}

int main(int argc, char *argv[])
{
    if (argc == 5 && std::string(argv[1]) == "--child")
        return runChild(argc, argv);
    QApplication app(argc, argv);
    prepareScreenTests();
    TestWriterFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writerfaults.moc"
