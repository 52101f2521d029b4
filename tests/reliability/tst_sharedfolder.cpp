// Several copies of the program on one program folder, as on the
// workstations of a shop sharing it over the network: each copy is a child
// process of this test (the record layer or the real screens, through the
// same code the program runs), started together.
#include "common/filefixtures.h"
#include "common/screencontrols.h"
#include "common/testsupport.h"

#include "access/passwordstore.h"
#include "books/tfrmlibri.h"
#include "catalogues/cataloguefile.h"
#include "catalogues/cataloguefolder.h"
#include "catalogues/tfrmcreacatalogo.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "core/bookarchive.h"
#include "core/lockedsave.h"
#include "core/programfolder.h"
#include "core/writelock.h"
#include "kit/covers.h"
#include "kit/picturewidgets.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kRewritten =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");

void say(const QByteArray &key, const QString &value = QString())
{
    std::printf("%s %s\n", key.constData(), value.toUtf8().toPercentEncoding().constData());
    std::fflush(stdout);
}

/// Waits for the line "go" on the input, so that all copies start at once.
void waitForGo()
{
    say("ready");
    std::string line;
    while (std::getline(std::cin, line) && line != "go") {
    }
}

/// A small JPEG that carries tag in a comment segment, to tell whose cover a file is.
QByteArray taggedJpeg(const QString &tag)
{
    static const QByteArray base = [] {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        return bytes;
    }();
    const QByteArray text = "rilegora:" + tag.toUtf8();
    QByteArray segment("\xFF\xFE", 2);
    const int length = int(text.size()) + 2;
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(text);
    return base.left(2) + segment + base.mid(2);
}

/// A copy that appends count cards through the record layer, each with its
/// cover written under the number the append got.
int appendCards(const QString &id, int count)
{
    if (!Covers::makeFolder())
        return 2;
    // A moment between counting and writing, where a copy that did not
    // wait for the lock would come in.
    LockedSave::setDecidedHook([] { QThread::usleep(200); });
    waitForGo();
    int failures = 0;
    for (int j = 1; j <= count; ++j) {
        TSchedaLibro card;
        const QString title = id + QLatin1Char('-') + QString::number(j);
        card.setText(TSchedaLibro::Titolo, title);
        card.setText(TSchedaLibro::Autore, id);
        LockedSave::Options options;
        options.whileLocked = [&title](int n) {
            Covers::writeJpeg(Covers::path(QString::number(n)), QImage(), taggedJpeg(title));
        };
        int number = 0;
        const LockedSave::Result result =
            LockedSave::append(BookArchive::path(), TSchedaLibro::RecordSize, card.data(), &number, options);
        if (result != LockedSave::Result::Saved) {
            ++failures;
            say("failure", QStringLiteral("%1 %2").arg(title).arg(int(result)));
        }
    }
    say("failures", QString::number(failures));
    return 0;
}

/// A copy of the program whose user types a new card and presses Salva.
int saveThroughCardScreen(const QString &title)
{
    TfrmLibri form;
    form.show();
    control<QLineEdit>(form, "txtTitolo")->setText(title);
    control<QLineEdit>(form, "txtAutore")->setText(QStringLiteral("Autore"));
    control<QLineEdit>(form, "txtAnno")->setText(QStringLiteral("2024"));
    control<QLineEdit>(form, "txtEditore")->setText(QStringLiteral("Editore"));
    waitForGo();
    MessageCatcher messages;
    form.cmdSalvaClick();
    for (const QString &text : messages.texts())
        say("message", text);
    say("position", control<QLabel>(form, "lblPosizione")->text());
    return 0;
}

/// A copy that replaces the password count times, each time in place of the
/// one it has just read, and tells each replacement that went through.
int replacePasswords(const QString &id, int count)
{
    waitForGo();
    for (int k = 1; k <= count; ++k) {
        QString error;
        const std::optional<QString> old = PasswordStore::readStored(&error);
        if (!old) {
            say("failure", QStringLiteral("read: ") + error);
            return 2;
        }
        const QString next = id + QLatin1Char('X') + QString::number(k);
        const PasswordStore::Replace result = PasswordStore::replaceStored(*old, next, &error);
        if (result == PasswordStore::Replace::Done) {
            say("replaced", *old + QLatin1Char(' ') + PasswordStore::canonical(next));
        } else if (result != PasswordStore::Replace::ChangedElsewhere) {
            say("failure", QStringLiteral("replace %1: %2").arg(int(result)).arg(error));
            return 3;
        }
    }
    return 0;
}

/// A copy whose user creates a catalogue of that name.
int createCatalogue(const QString &name)
{
    TfrmCreaCatalogo form;
    form.show();
    control<QLineEdit>(form, "txtFile")->setText(name);
    waitForGo();
    MessageCatcher messages;
    form.btnApplicaClick();
    for (const QString &text : messages.texts())
        say("message", text);
    return 0;
}

/// Holds the write lock of dataFile until the input ends.
int holdLock(const QString &dataFile)
{
    WriteLock lock(dataFile);
    if (!lock.take())
        return 1;
    say("held");
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}

/// A copy that saves for durationMs without a pause between its saves,
/// each holding the lock of dataFile for 20 ms (a save with its cover).
int saveWithoutPause(const QString &dataFile, int durationMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < durationMs) {
        WriteLock lock(dataFile);
        if (!lock.take())
            return 1;
        say("held");
        QThread::msleep(20);
    }
    return 0;
}

/// Runs this program as one more copy; its lines are read back by lines().
class Copy
{
public:
    Copy(const QString &folder, const QStringList &arguments)
    {
        m_process.start(QCoreApplication::applicationFilePath(),
                        QStringList{QStringLiteral("--copy"), folder} + arguments);
    }
    ~Copy()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    bool waitFor(const QByteArray &word)
    {
        while (m_process.waitForReadyRead(30000) || m_process.canReadLine()) {
            while (m_process.canReadLine()) {
                const QByteArray line = m_process.readLine().trimmed();
                if (line.startsWith(word))
                    return true;
                m_early.append(line);
            }
        }
        return false;
    }
    /// Lets the copy go; the line is on its way when this returns.
    bool go() { return m_process.write("go\n") == 3 && m_process.waitForBytesWritten(10000); }
    /// Ends the copy: closes its input and waits; its lines after "ready".
    QList<QPair<QByteArray, QString>> finish(int timeoutMs = 240000)
    {
        m_process.closeWriteChannel();
        m_finished = m_process.waitForFinished(timeoutMs);
        QList<QPair<QByteArray, QString>> out;
        for (QByteArray line : m_early + m_process.readAllStandardOutput().split('\n')) {
            line = line.trimmed(); // a Windows copy ends its lines with CR LF
            const int space = line.indexOf(' ');
            if (space > 0)
                out.append({line.left(space), QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(space + 1)))});
        }
        return out;
    }
    bool endedWell() const
    {
        return m_finished && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QList<QByteArray> m_early;
    bool m_finished = false;
};

/// The folder as copy i sees it. RILEGORA_SHARED_VIEWS, when set, holds
/// mount points of one network share separated by ";" (the temporary folder,
/// TMPDIR, lying under the first): the copies then take turns among them, as
/// workstations each with a mount of its own.
QString viewFor(const QString &folder, int i)
{
    const QStringList views =
        QString::fromLocal8Bit(qgetenv("RILEGORA_SHARED_VIEWS")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (views.size() < 2 || !folder.startsWith(views.first()))
        return folder;
    return views[i % views.size()] + folder.mid(views.first().size());
}

/// Starts the copies, lets them all go at once and collects what each said.
QList<QList<QPair<QByteArray, QString>>> runTogether(const QString &folder, const QList<QStringList> &arguments,
                                                     bool *ok)
{
    std::vector<std::unique_ptr<Copy>> copies;
    for (const QStringList &args : arguments)
        copies.push_back(std::make_unique<Copy>(viewFor(folder, int(copies.size())), args));
    *ok = true;
    for (auto &copy : copies)
        *ok = copy->waitFor("ready") && *ok;
    for (auto &copy : copies)
        *ok = copy->go() && *ok;
    QList<QList<QPair<QByteArray, QString>>> said;
    for (auto &copy : copies) {
        said.append(copy->finish());
        *ok = copy->endedWell() && *ok;
    }
    return said;
}

QStringList valuesOf(const QList<QPair<QByteArray, QString>> &lines, const QByteArray &key)
{
    QStringList out;
    for (const auto &line : lines)
        if (line.first == key)
            out << line.second;
    return out;
}

TSchedaLibro readCard(int n)
{
    BookArchive archive;
    TSchedaLibro card;
    if (!archive.openForReading() || !archive.read(n, card))
        card.setText(TSchedaLibro::Titolo, QStringLiteral("(illeggibile)"));
    return card;
}

bool writeCards(const QStringList &titles)
{
    BookArchive archive;
    if (!archive.open())
        return false;
    for (const QString &title : titles) {
        TSchedaLibro card;
        card.setText(TSchedaLibro::Titolo, title);
        card.setText(TSchedaLibro::Autore, QStringLiteral("Autore"));
        card.setText(TSchedaLibro::Anno, QStringLiteral("2000"));
        card.setText(TSchedaLibro::Editore, QStringLiteral("Editore"));
        if (archive.append(card) == 0)
            return false;
    }
    return archive.close();
}

QStringList lockFilesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.lock"), QStringLiteral("*.turn")}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestSharedFolder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void cleanup()
    {
        WriteLock::setWaitTime(5000);
        ProgramFolder::setPath(QString());
    }

    void fourCopiesAppendAtOnce()
    {
        constexpr int kCopies = 4;
        constexpr int kEach = 500;
        TempProgramFolder folder;
        QList<QStringList> arguments;
        for (int i = 1; i <= kCopies; ++i)
            arguments << QStringList{QStringLiteral("append"), QStringLiteral("P%1").arg(i), QString::number(kEach)};
        bool ok = false;
        const auto said = runTogether(folder.path(), arguments, &ok);
        QVERIFY(ok);
        // Nothing fails; on a network share a copy may find the archive busy
        // for the whole wait (it is told, and writes nothing), never on one disk.
        int busy = 0;
        for (const auto &lines : said) {
            for (const QString &failure : valuesOf(lines, "failure")) {
                QVERIFY2(failure.endsWith(QStringLiteral(" %1").arg(int(LockedSave::Result::Busy))),
                         qPrintable(failure));
                ++busy;
            }
        }
        if (busy > 0)
            qWarning("%d appends found the archive busy all the wait", busy);
        if (qEnvironmentVariableIsEmpty("RILEGORA_SHARED_VIEWS"))
            QCOMPARE(busy, 0);
        const int cards = kCopies * kEach - busy;

        // Whole cards, each number once, each copy's cards in its own order,
        // and under each number the cover of that card.
        QCOMPARE(QFileInfo(BookArchive::path()).size(), qint64(cards) * TSchedaLibro::RecordSize);
        BookArchive archive;
        QVERIFY(archive.openForReading());
        QCOMPARE(archive.count(), cards);
        QSet<QString> titles;
        QMap<QString, int> lastOf;
        for (int n = 1; n <= archive.count(); ++n) {
            TSchedaLibro card;
            QVERIFY(archive.read(n, card));
            const QString title = card.text(TSchedaLibro::Titolo);
            const QString id = card.text(TSchedaLibro::Autore);
            QVERIFY2(title.startsWith(id + QLatin1Char('-')), qPrintable(title));
            const int j = title.mid(id.size() + 1).toInt();
            QVERIFY(j > lastOf.value(id));
            QVERIFY(busy > 0 || j == lastOf.value(id) + 1);
            lastOf[id] = j;
            titles.insert(title);
            const QByteArray cover = readFile(Covers::path(QString::number(n)));
            QVERIFY2(cover.contains("rilegora:" + title.toUtf8() + "\xFF"), qPrintable(title));
            QVERIFY(!QImage::fromData(cover).isNull());
        }
        QCOMPARE(titles.size(), cards);
        QCOMPARE(lockFilesIn(folder.path()), QStringList());
    }

    void twoCopiesSaveThroughTheCardScreen()
    {
        TempProgramFolder folder;
        QVERIFY(writeCards({QStringLiteral("Già in archivio")}));
        bool ok = false;
        const auto said = runTogether(folder.path(),
                                      {{QStringLiteral("cardscreen"), QStringLiteral("Banco")},
                                       {QStringLiteral("cardscreen"), QStringLiteral("Retro")}},
                                      &ok);
        QVERIFY(ok);
        QSet<int> numbers;
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(valuesOf(said[i], "message"), QStringList{kInserted});
            const int n = valuesOf(said[i], "position").value(0).toInt();
            numbers.insert(n);
            // Each copy is told its own number, and that card is its card.
            QCOMPARE(readCard(n).text(TSchedaLibro::Titolo),
                     i == 0 ? QStringLiteral("Banco") : QStringLiteral("Retro"));
            QVERIFY(QFile::exists(Covers::path(QString::number(n))));
        }
        QCOMPARE(numbers, (QSet<int>{2, 3}));
        QCOMPARE(QFileInfo(BookArchive::path()).size(), qint64(3) * TSchedaLibro::RecordSize);
    }

    void busyLockWritesNothing_data()
    {
        QTest::addColumn<bool>("rewrite");
        QTest::newRow("new card") << false;
        QTest::newRow("stored card") << true;
    }
    void busyLockWritesNothing()
    {
        QFETCH(bool, rewrite);
        TempProgramFolder folder;
        QVERIFY(writeCards({QStringLiteral("Primo"), QStringLiteral("Secondo")}));
        TfrmLibri form;
        form.show();
        if (rewrite)
            form.cmdPrimoClick();
        else
            form.cmdNuovoClick();
        control<QLineEdit>(form, "txtTitolo")->setText(QStringLiteral("Cambiato"));
        control<QLineEdit>(form, "txtAutore")->setText(QStringLiteral("A"));
        control<QLineEdit>(form, "txtAnno")->setText(QStringLiteral("1999"));
        control<QLineEdit>(form, "txtEditore")->setText(QStringLiteral("E"));
        const QByteArray before = readFile(BookArchive::path());

        Copy holder(viewFor(folder.path(), 1), {QStringLiteral("hold"), viewFor(BookArchive::path(), 1)});
        QVERIFY(holder.waitFor("held"));
        WriteLock::setWaitTime(700);
        MessageCatcher messages;
        QElapsedTimer clock;
        clock.start();
        form.cmdSalvaClick();
        QVERIFY(clock.elapsed() >= 700);
        QCOMPARE(messages.texts(), QStringList{WriteLock::busyMessage()});
        QCOMPARE(messages.seen().first().icon, QMessageBox::Warning);
        QCOMPARE(readFile(BookArchive::path()), before);
        QCOMPARE(control<QLabel>(form, "lblPosizione")->text(), rewrite ? QStringLiteral("1") : QString());
        QVERIFY(!QDir(Covers::folder()).exists() || QDir(Covers::folder()).isEmpty());
        holder.finish();

        // Once the other copy is done, the same click saves.
        messages.clear();
        form.cmdSalvaClick();
        QCOMPARE(messages.texts(), QStringList{rewrite ? kRewritten : kInserted});
        QCOMPARE(control<QLabel>(form, "lblPosizione")->text(), rewrite ? QStringLiteral("1") : QStringLiteral("3"));
    }

    void copySavingWithoutPauseLetsAnotherIn()
    {
        // A copy that takes the lock again as soon as it lets it go must not
        // keep a copy that waits out of the archive: each save of this copy
        // (a user's, with a pause between saves) gets in within its wait.
        TempProgramFolder folder;
        Copy greedy(viewFor(folder.path(), 1), {QStringLiteral("greedy"), viewFor(BookArchive::path(), 1),
                                                QStringLiteral("20000")});
        QVERIFY(greedy.waitFor("held"));
        WriteLock::setWaitTime(2000);
        for (int k = 0; k < 10; ++k) {
            QThread::msleep(100);
            WriteLock lock(BookArchive::path());
            QVERIFY2(lock.take(), qPrintable(QStringLiteral("save %1 found the archive busy").arg(k + 1)));
            QThread::msleep(20);
        }
        QVERIFY(greedy.process().state() == QProcess::Running);
    }

    void lockOfAKilledCopyIsTakenOver()
    {
        TempProgramFolder folder;
        {
            Copy holder(viewFor(folder.path(), 1), {QStringLiteral("hold"), viewFor(BookArchive::path(), 1)});
            QVERIFY(holder.waitFor("held"));
            holder.process().kill();
            QVERIFY(holder.process().waitForFinished(10000));
        }
        QVERIFY(QFile::exists(WriteLock::lockPathFor(BookArchive::path())));
        TfrmLibri form;
        form.show();
        control<QLineEdit>(form, "txtTitolo")->setText(QStringLiteral("Dopo il guasto"));
        control<QLineEdit>(form, "txtAutore")->setText(QStringLiteral("A"));
        control<QLineEdit>(form, "txtAnno")->setText(QStringLiteral("1999"));
        control<QLineEdit>(form, "txtEditore")->setText(QStringLiteral("E"));
        MessageCatcher messages;
        QElapsedTimer clock;
        clock.start();
        form.cmdSalvaClick();
        QVERIFY(clock.elapsed() < WriteLock::waitTime());
        QCOMPARE(messages.texts(), QStringList{kInserted});
        QCOMPARE(readCard(1).text(TSchedaLibro::Titolo), QStringLiteral("Dopo il guasto"));
        QCOMPARE(lockFilesIn(folder.path()), QStringList());
    }

    void cardChangedOnAnotherWorkstation_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("Sì: overwrite") << true;
        QTest::newRow("No: show the card as it is now") << false;
    }
    void cardChangedOnAnotherWorkstation()
    {
        QFETCH(bool, overwrite);
        TempProgramFolder folder;
        QVERIFY(writeCards({QStringLiteral("Uno"), QStringLiteral("Due")}));
        TfrmLibri here;
        here.show();
        here.cmdUltimoClick(); // card 2
        {
            // The other workstation loads card 2 too, changes and saves it.
            TfrmLibri there;
            there.cmdUltimoClick();
            control<QLineEdit>(there, "txtTitolo")->setText(QStringLiteral("Due, corretto altrove"));
            MessageCatcher messages;
            there.cmdSalvaClick();
            QCOMPARE(messages.texts(), QStringList{kRewritten});
        }
        control<QLineEdit>(here, "txtNote")->setText(QStringLiteral("nota di qui"));
        MessageCatcher messages;
        messages.answerNext(overwrite ? QMessageBox::Yes : QMessageBox::No);
        here.cmdSalvaClick();
        QCOMPARE(messages.texts().value(0), TfrmLibri::changedElsewhereQuestion(2));
        QCOMPARE(messages.seen().first().icon, QMessageBox::Question);
        const TSchedaLibro stored = readCard(2);
        QCOMPARE(control<QLabel>(here, "lblPosizione")->text(), QStringLiteral("2"));
        if (overwrite) {
            QCOMPARE(messages.texts().mid(1), QStringList{kRewritten});
            QCOMPARE(stored.text(TSchedaLibro::Titolo), QStringLiteral("Due"));
            QCOMPARE(stored.text(TSchedaLibro::Note), QStringLiteral("nota di qui"));
        } else {
            QCOMPARE(messages.texts().size(), 1);
            QCOMPARE(stored.text(TSchedaLibro::Titolo), QStringLiteral("Due, corretto altrove"));
            QCOMPARE(stored.text(TSchedaLibro::Note), QString());
            QCOMPARE(control<QLineEdit>(here, "txtTitolo")->text(), QStringLiteral("Due, corretto altrove"));
            QCOMPARE(control<QLineEdit>(here, "txtNote")->text(), QString());
        }
        // The screen now holds the card as stored: the next save asks nothing.
        messages.clear();
        control<QLineEdit>(here, "txtGiudizio")->setText(QStringLiteral("ottimo"));
        here.cmdSalvaClick();
        QCOMPARE(messages.texts(), QStringList{kRewritten});
        QCOMPARE(readCard(1).text(TSchedaLibro::Titolo), QStringLiteral("Uno"));
    }

    void cataloguePageFromTwoWorkstations()
    {
        TempProgramFolder folder;
        const QString name = QStringLiteral("Vetrina");
        const QString path = CatalogueFolder::path(name);
        QVERIFY(writeFile(path));
        TfrmListinoPrezzi counter;
        TfrmListinoPrezzi office;
        const QList<TfrmListinoPrezzi *> both = {&counter, &office};
        const QList<QColor> colours = {Qt::red, Qt::blue};
        for (int i = 0; i < 2; ++i) {
            control<QLabel>(both[i], "lblFile")->setText(path);
            control<QLabel>(both[i], "lblNome")->setText(name);
            both[i]->show();
            boxField(*both[i], 0, TRiquadro::Nome)
                ->setText(i == 0 ? QStringLiteral("Banco") : QStringLiteral("Ufficio"));
            for (int f : {TRiquadro::UM, TRiquadro::Caratteristiche, TRiquadro::Codice, TRiquadro::Prezzo})
                boxField(*both[i], 0, f)->setText(QStringLiteral("x"));
            QImage photo(40, 40, QImage::Format_RGB32);
            photo.fill(colours[i]);
            boxPhoto(*both[i], 0)->setImage(photo);
        }
        // Both add a page: two pages, each with its own photo under its own number.
        for (int i = 0; i < 2; ++i) {
            MessageCatcher messages;
            both[i]->cmdSalvaClick();
            QCOMPARE(messages.texts(), QStringList{kInserted});
            QCOMPARE(control<QLabel>(both[i], "lblPosizione")->text(), QString::number(i + 1));
            const QImage stored(CatalogueFolder::photoPath(name, 0, QString::number(i + 1)));
            QVERIFY(qAbs(stored.pixelColor(20, 20).hue() - colours[i].hue()) < 20);
        }
        QCOMPARE(QFileInfo(path).size(), qint64(2) * TPaginaCatalogo::RecordSize);

        // Both on page 1: the office's save finds the counter's change.
        office.cmdPrimoClick();
        counter.cmdPrimoClick();
        boxField(counter, 0, TRiquadro::Prezzo)->setText(QStringLiteral("12,00"));
        {
            MessageCatcher messages;
            counter.cmdSalvaClick();
            QCOMPARE(messages.texts(), QStringList{kRewritten});
        }
        boxField(office, 0, TRiquadro::Prezzo)->setText(QStringLiteral("15,00"));
        {
            MessageCatcher messages;
            messages.answerNext(QMessageBox::No);
            office.cmdSalvaClick();
            QCOMPARE(messages.texts(), QStringList{TfrmListinoPrezzi::changedElsewhereQuestion(1)});
            QCOMPARE(boxField(office, 0, TRiquadro::Prezzo)->text(), QStringLiteral("12,00"));
        }
        CatalogueFile file(path);
        TPaginaCatalogo page;
        QVERIFY(file.open() && file.read(1, page));
        file.close();
        QCOMPARE(page.text(0, TRiquadro::Prezzo), QStringLiteral("12,00"));

        // The catalogue deleted elsewhere: a save says so and makes no new file.
        QVERIFY(QFile::remove(path));
        for (TfrmListinoPrezzi *editor : both) {
            MessageCatcher messages;
            editor->cmdSalvaClick();
            QCOMPARE(messages.texts(), QStringList{CatalogueFile::missingMessage(name, true)});
            messages.clear();
            editor->cmdAvantiClick();
            QCOMPARE(messages.texts(), QStringList{CatalogueFile::missingMessage(name, false)});
        }
        QVERIFY(!QFile::exists(path));
        QCOMPARE(lockFilesIn(folder.path()), QStringList());
    }

    void passwordReplacedFromFourCopies()
    {
        // Each replacement goes in place of the password it read: with no
        // update lost, the replacements form one chain from the first
        // password to the stored one.
        TempProgramFolder folder;
        QCOMPARE(PasswordStore::createInitialFile(PasswordStore::filePath(), QStringLiteral("INIZIO")),
                 PasswordStore::Creation::Created);
        QList<QStringList> arguments;
        for (int i = 1; i <= 4; ++i)
            arguments << QStringList{QStringLiteral("password"), QStringLiteral("C%1").arg(i), QStringLiteral("30")};
        bool ok = false;
        const auto said = runTogether(folder.path(), arguments, &ok);
        QStringList failures;
        for (const auto &lines : said)
            failures += valuesOf(lines, "failure");
        QVERIFY2(ok && failures.isEmpty(), qPrintable(failures.join(QStringLiteral("; "))));
        QMap<QString, QString> next;
        for (const auto &lines : said) {
            for (const QString &step : valuesOf(lines, "replaced")) {
                const QStringList parts = step.split(QLatin1Char(' '));
                QVERIFY2(!next.contains(parts[0]), qPrintable(QStringLiteral("replaced twice: ") + parts[0]));
                next.insert(parts[0], parts[1]);
            }
        }
        QVERIFY(!next.isEmpty());
        QString password = QStringLiteral("INIZIO");
        for (int steps = 0; steps < next.size(); ++steps) {
            QVERIFY(next.contains(password));
            password = next.value(password);
        }
        QCOMPARE(PasswordStore::readStored(), std::optional<QString>(password));
    }

    void catalogueCreatedOnFourWorkstationsAtOnce()
    {
        TempProgramFolder folder;
        bool ok = false;
        const QStringList args{QStringLiteral("create"), QStringLiteral("Novità")};
        const auto said = runTogether(folder.path(), {args, args, args, args}, &ok);
        QVERIFY(ok);
        int created = 0;
        for (const auto &lines : said) {
            const QStringList texts = valuesOf(lines, "message");
            QCOMPARE(texts.size(), 1);
            if (texts.first().startsWith(QStringLiteral("Il file di archivio relativo al nuovo catalogo")))
                ++created;
            else
                QVERIFY2(texts.first().contains(QStringLiteral("già stato utilizzato")), qPrintable(texts.first()));
        }
        QCOMPARE(created, 1);
        QCOMPARE(QFileInfo(CatalogueFolder::path(QStringLiteral("Novità"))).size(), qint64(0));
    }
};

int main(int argc, char *argv[])
{
    if (argc >= 4 && std::string(argv[1]) == "--copy") {
        QApplication app(argc, argv);
        ProgramFolder::setPath(QString::fromLocal8Bit(argv[2]));
        const std::string what = argv[3];
        const QString a = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
        const int b = argc > 5 ? std::atoi(argv[5]) : 0;
        if (what == "append")
            return appendCards(a, b);
        if (what == "cardscreen")
            return saveThroughCardScreen(a);
        if (what == "password")
            return replacePasswords(a, b);
        if (what == "create")
            return createCatalogue(a);
        if (what == "hold")
            return holdLock(a);
        if (what == "greedy")
            return saveWithoutPause(a, b);
        return 64;
    }
    QApplication app(argc, argv);
    TestSharedFolder test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharedfolder.moc"
