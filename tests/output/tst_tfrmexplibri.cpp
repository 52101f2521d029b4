// The export screen driven as a user drives it: the grid over the archive,
// cell edits, the two questions, the failure message, the opener, the help
// topic and the hint bar.
#include "common/heldopen.h"
#include "common/testsupport.h"
#include "common/urlrecorder.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/cp1252.h"
#include "core/readahead.h"
#include "kit/picturewidgets.h"
#include "kit/tfrmguida.h"
#include "output/tfrmexplibri.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include <cstring>

namespace {
const QString kAsk = QStringLiteral("L'esportazione dei dati in Excel pu\u00F2 richiedere diversi minuti a seconda del "
                                    "numero di schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kDone = QStringLiteral("Le schede in archivio sono state esportate con successo.\r\n\r\n"
                                     "Si vuole aprire il file di Excel?");
const QString kFailed = QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                                       "Accertarsi che il file di Excel non sia gi\u00E0 aperto.");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes the archive: one card per title, the title stored with blanks
// around it as an older program version may have left it.
void writeArchive(const QStringList &titles)
{
    BookArchive archive;
    QVERIFY(archive.open());
    for (const QString &title : titles) {
        TSchedaLibro card;
        const QByteArray raw = "  " + Cp1252::fromUnicode(title) + " ";
        char *p = card.data() + TSchedaLibro::offset(TSchedaLibro::Titolo);
        p[0] = char(raw.size());
        std::memcpy(p + 1, raw.constData(), size_t(raw.size()));
        card.setText(TSchedaLibro::Dewey, QStringLiteral("853"));
        card.setText(TSchedaLibro::Citta, QStringLiteral("Forl\u00EC"));
        QVERIFY(archive.append(card) > 0);
    }
    QVERIFY(archive.close());
}

// The bytes of one data cell (row and grid column counted from 0 and 1).
QByteArray cellInFile(const QByteArray &file, int row, int column)
{
    const QByteArray cellStart = "<td style=\"text-align: left;\">";
    qsizetype at = file.indexOf(cellStart);
    for (int i = 0; i < row * 22 + column - 1 && at >= 0; ++i)
        at = file.indexOf(cellStart, at + 1);
    if (at < 0)
        return "(no cell)";
    at += cellStart.size();
    return file.mid(at, file.indexOf("</td>", at) - at);
}
} // namespace

class TestTfrmExpLibri : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void layoutAndColumns();
    void gridShowsTheArchive();
    void missingArchiveIsCreatedEmpty();
    void readOnlyColumns();
    void editReachesTheFileNotTheArchive();
    void largeArchiveShowsFirstRowsAndFillsOn();
    void questions_data();
    void questions();
    void unwritableFileGivesTheFailureMessage();
    void exportHeldOpenGivesTheFailureMessage();
    void helpTopic();
    void hints();

private:
    UrlRecorder m_urls;
};

void TestTfrmExpLibri::initTestCase()
{
    prepareScreenTests();
}

void TestTfrmExpLibri::cleanupTestCase() {}

void TestTfrmExpLibri::layoutAndColumns()
{
    TempProgramFolder folder;
    TfrmExpLibri screen;
    screen.show();
    QCOMPARE(screen.objectName(), QStringLiteral("TfrmExpLibri"));
    QCOMPARE(screen.windowTitle(), QStringLiteral(" Esporta archivio libri in Excel"));
    QCOMPARE(screen.size(), QSize(862, 560));
    QCOMPARE(control<QWidget>(screen, "panContainer")->size(), QSize(837, 533));
    QCOMPARE(control<QWidget>(screen, "panContainer")->geometry().center(), screen.rect().center());
    QCOMPARE(control<QWidget>(screen, "shpTop")->size(), QSize(821, 65));
    QCOMPARE(control<QLabel>(screen, "imgLogo")->size(), QSize(505, 55));
    QCOMPARE(control<PictureButton>(screen, "cmdEsporta")->size(), QSize(49, 50));
    QCOMPARE(control<PictureButton>(screen, "cmdImporta")->size(), QSize(49, 50));
    QCOMPARE(control<PictureButton>(screen, "cmdGuida")->size(), QSize(50, 55));
    QCOMPARE(control<PictureButton>(screen, "cmdEsci")->size(), QSize(40, 50));
    for (QWidget *command : {control<PictureButton>(screen, "cmdEsporta"), control<PictureButton>(screen, "cmdImporta"),
                             control<PictureButton>(screen, "cmdGuida"), control<PictureButton>(screen, "cmdEsci")})
        QCOMPARE(command->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(control<QTableView>(screen, "grdRecords")->size(), QSize(821, 409));
    QCOMPARE(control<QWidget>(screen, "bkgInfo")->size(), QSize(821, 32));
    QCOMPARE(control<QWidget>(screen, "bkgInfo")->geometry().bottom() <
                 control<QWidget>(screen, "panContainer")->height(),
             true);
    QCOMPARE(control<QLabel>(screen, "panInfo")->text(), QStringLiteral("Esportazione archivio in Microsoft Excel."));
    QCOMPARE(control<QLabel>(screen, "panInfo")->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(control<QLabel>(screen, "panInfo")->font().pointSize(), 12);
    QVERIFY(control<QWidget>(screen, "bkgInfo")->styleSheet().contains(QStringLiteral("#6a5acd")));

    QTableView *grid = control<QTableView>(screen, "grdRecords");
    QCOMPARE(grid->model()->columnCount(), 23);
    QVERIFY(grid->alternatingRowColors());
    QVERIFY(grid->palette().color(QPalette::AlternateBase) != grid->palette().color(QPalette::Base));
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 21);
    const struct
    {
        int column;
        const char *name;
        QString header;
        int width;
    } expected[] = {{0, "colNum", QStringLiteral("N."), 60},
                    {1, "colTitolo", QStringLiteral("Titolo libro"), 300},
                    {6, "colCitta", QStringLiteral("Citt\u00E0 pubblicazione"), 250},
                    {7, "colDewey", QStringLiteral("Codice Dewey"), 150},
                    {16, "colEtichetta", QStringLiteral("Codice su etichetta"), 180},
                    {22, "colNote", QStringLiteral("Note"), 300}};
    for (const auto &e : expected) {
        QCOMPARE(grid->model()->headerData(e.column, Qt::Horizontal).toString(), e.header);
        QCOMPARE(grid->model()->headerData(e.column, Qt::Horizontal, Qt::UserRole).toString(),
                 QString::fromLatin1(e.name));
        QCOMPARE(grid->columnWidth(e.column), e.width);
    }
}

void TestTfrmExpLibri::gridShowsTheArchive()
{
    TempProgramFolder folder;
    writeArchive({QStringLiteral("Tom & Jerry <2>"), QStringLiteral("La coscienza di Zeno"),
                  QStringLiteral("\u20AC e perch\u00E9")});
    TfrmExpLibri screen;
    QCOMPARE(screen.model()->rowCount(), 0); // filled when shown
    screen.show();
    QAbstractItemModel *m = control<QTableView>(screen, "grdRecords")->model();
    QCOMPARE(m->rowCount(), 3);
    QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("1"));
    QCOMPARE(m->index(2, 0).data().toString(), QStringLiteral("3"));
    QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("Tom & Jerry <2>"));
    QCOMPARE(m->index(2, 1).data().toString(), QStringLiteral("\u20AC e perch\u00E9"));
    QCOMPARE(m->index(1, 6).data().toString(), QStringLiteral("Forl\u00EC"));
    QCOMPARE(m->index(1, 7).data().toString(), QStringLiteral("853"));

    // Shown again, the grid reads the archive again.
    screen.hide();
    writeArchive({QStringLiteral("Quarto")});
    screen.show();
    QCOMPARE(m->rowCount(), 4);
    QCOMPARE(m->index(3, 1).data().toString(), QStringLiteral("Quarto"));
}

void TestTfrmExpLibri::missingArchiveIsCreatedEmpty()
{
    TempProgramFolder folder;
    TfrmExpLibri screen;
    screen.show();
    QCOMPARE(control<QTableView>(screen, "grdRecords")->model()->rowCount(), 0);
    QVERIFY(QFile::exists(BookArchive::path()));
    QCOMPARE(QFileInfo(BookArchive::path()).size(), 0);

    MessageCatcher catcher;
    catcher.answerNext(QMessageBox::Yes);
    catcher.answerNext(QMessageBox::No);
    screen.cmdEsportaClick();
    const QByteArray file = readAll(TfrmExpLibri::exportPath());
    QCOMPARE(file.count("<tr>"), 1); // the header row only
    QVERIFY(file.endsWith("</tr></table></body></html>"));
}

void TestTfrmExpLibri::readOnlyColumns()
{
    TempProgramFolder folder;
    writeArchive({QStringLiteral("Primo")});
    TfrmExpLibri screen;
    screen.show();
    QAbstractItemModel *m = control<QTableView>(screen, "grdRecords")->model();
    const QList<int> editable = {7, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
    for (int c = 0; c < 23; ++c)
        QCOMPARE(bool(m->flags(m->index(0, c)) & Qt::ItemIsEditable), editable.contains(c));

    // Typing into a read-only cell changes nothing; into an editable one it does.
    QTableView *grid = control<QTableView>(screen, "grdRecords");
    QApplication::setActiveWindow(&screen);
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    grid->setFocus();
    for (int c : {1, 7}) {
        grid->setCurrentIndex(m->index(0, c));
        QTest::keyClicks(grid, QStringLiteral("X"));
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : grid, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits on a queued call
    }
    QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("Primo"));
    QCOMPARE(m->index(0, 7).data().toString(), QStringLiteral("X"));
    QVERIFY(!m->setData(m->index(0, 2), QStringLiteral("Y")));
}

void TestTfrmExpLibri::editReachesTheFileNotTheArchive()
{
    TempProgramFolder folder;
    writeArchive({QStringLiteral("Primo"), QStringLiteral("Secondo")});
    const QByteArray archiveBefore = readAll(BookArchive::path());
    TfrmExpLibri screen;
    screen.show();
    QTableView *grid = control<QTableView>(screen, "grdRecords");
    QAbstractItemModel *m = grid->model();
    QApplication::setActiveWindow(&screen);
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    QVERIFY(m->setData(m->index(0, 22), QStringLiteral("  Note & <appunti>  ")));
    // An edit still open in its cell when Esporta is pressed counts too.
    grid->setCurrentIndex(m->index(1, 7));
    grid->edit(m->index(1, 7));
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("823.9"));

    MessageCatcher catcher;
    catcher.answerNext(QMessageBox::Yes);
    catcher.answerNext(QMessageBox::No);
    screen.cmdEsportaClick();
    QCOMPARE(catcher.texts(), QStringList({kAsk, kDone}));
    const QByteArray file = readAll(TfrmExpLibri::exportPath());
    QCOMPARE(cellInFile(file, 0, 22), QByteArray("Note &amp; &lt;appunti&gt;"));
    QCOMPARE(cellInFile(file, 1, 7), QByteArray("823.9"));
    QCOMPARE(cellInFile(file, 0, 7), QByteArray("853"));
    QCOMPARE(cellInFile(file, 1, 1), QByteArray("Secondo"));
    QCOMPARE(readAll(BookArchive::path()), archiveBefore);
}

void TestTfrmExpLibri::largeArchiveShowsFirstRowsAndFillsOn()
{
    // More cards than the first rows, read slowly as from a slow disk: the
    // grid shows the first rows at once and the rest come in while it is
    // used; an edit made meanwhile stays, and an export takes every card.
    TempProgramFolder folder;
    constexpr int kCards = 3 * CardTableFill::FirstRows;
    {
        QFile file(BookArchive::path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 1; i <= kCards; ++i) {
            TSchedaLibro card;
            card.setText(TSchedaLibro::Titolo, QStringLiteral("Titolo %1").arg(i));
            file.write(card.data(), TSchedaLibro::RecordSize);
        }
    }
    ReadAhead::setPauseForTesting(40); // before every block read
    auto noPause = qScopeGuard([] { ReadAhead::setPauseForTesting(0); });
    for (bool exportAtOnce : {false, true}) {
        TfrmExpLibri screen;
        screen.show();
        QAbstractItemModel *m = control<QTableView>(screen, "grdRecords")->model();
        QVERIFY(m->rowCount() >= CardTableFill::FirstRows);
        QVERIFY(m->rowCount() < kCards);
        QVERIFY(screen.model()->isFilling());
        QCOMPARE(m->index(CardTableFill::FirstRows - 1, 1).data().toString(),
                 QStringLiteral("Titolo %1").arg(CardTableFill::FirstRows));
        QVERIFY(m->setData(m->index(0, 22), QStringLiteral("Modificato")));
        if (exportAtOnce) {
            QVERIFY(screen.writeExportFile());
            const QByteArray file = readAll(TfrmExpLibri::exportPath());
            QCOMPARE(file.count("<tr>"), kCards + 1);
            QCOMPARE(cellInFile(file, 0, 22), QByteArray("Modificato"));
            QCOMPARE(cellInFile(file, kCards - 1, 1), QByteArray("Titolo ") + QByteArray::number(kCards));
        }
        // The whole fill takes about a second; far longer under a sanitizer.
        QTRY_COMPARE_WITH_TIMEOUT(m->rowCount(), kCards, 30000);
        QVERIFY(!screen.model()->isFilling());
        QCOMPARE(m->index(kCards - 1, 0).data().toString(), QString::number(kCards));
        QCOMPARE(m->index(kCards - 1, 1).data().toString(), QStringLiteral("Titolo %1").arg(kCards));
        QCOMPARE(m->index(0, 22).data().toString(), QStringLiteral("Modificato"));
    }
    // A screen closed while it reads stops reading.
    {
        TfrmExpLibri screen;
        screen.show();
        QVERIFY(screen.model()->isFilling());
    }
}

void TestTfrmExpLibri::questions_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("opened");
    QTest::newRow("no: nothing written") << QList<int>{QMessageBox::No} << false << false;
    QTest::newRow("yes, then no: written, not opened")
        << QList<int>{QMessageBox::Yes, QMessageBox::No} << true << false;
    QTest::newRow("yes, yes: written and opened") << QList<int>{QMessageBox::Yes, QMessageBox::Yes} << true << true;
}

void TestTfrmExpLibri::questions()
{
    QFETCH(QList<int>, answers);
    QFETCH(bool, written);
    QFETCH(bool, opened);
    TempProgramFolder folder;
    writeArchive({QStringLiteral("Tom & Jerry <2>")});
    const QByteArray earlier = "earlier export";
    {
        QFile f(TfrmExpLibri::exportPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(earlier);
    }
    TfrmExpLibri screen;
    screen.show();
    m_urls.opened.clear();
    MessageCatcher catcher;
    for (int a : answers)
        catcher.answerNext(QMessageBox::StandardButton(a));
    screen.cmdEsportaClick();

    QCOMPARE(catcher.seen().size(), answers.size());
    for (const auto &seen : catcher.seen()) {
        QCOMPARE(seen.icon, QMessageBox::Question);
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    }
    QCOMPARE(catcher.texts(), (QStringList{kAsk, kDone}.mid(0, answers.size())));
    const QByteArray file = readAll(TfrmExpLibri::exportPath());
    if (written) {
        QVERIFY(file.startsWith("<html "));
        QCOMPARE(cellInFile(file, 0, 1), QByteArray("Tom &amp; Jerry &lt;2&gt;"));
    } else {
        QCOMPARE(file, earlier);
    }
    QCOMPARE(m_urls.opened, opened ? QList<QUrl>{QUrl::fromLocalFile(TfrmExpLibri::exportPath())} : QList<QUrl>{});
    // Only the archive and the export file are in the folder: no stray temporary file.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
             QStringList({QStringLiteral("Archivio_Libri.pro"), QStringLiteral("Schedario_Libri.xls")}));
}

void TestTfrmExpLibri::unwritableFileGivesTheFailureMessage()
{
    TempProgramFolder folder;
    writeArchive({QStringLiteral("Primo")});
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Schedario_Libri.xls")));
    TfrmExpLibri screen;
    screen.show();
    m_urls.opened.clear();
    MessageCatcher catcher;
    catcher.answerNext(QMessageBox::Yes);
    screen.cmdEsportaClick();
    QCOMPARE(catcher.texts(), QStringList({kAsk, kFailed}));
    QCOMPARE(catcher.seen().at(1).icon, QMessageBox::NoIcon);
    QCOMPARE(catcher.seen().at(1).buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(m_urls.opened.isEmpty());
    QVERIFY(QFileInfo(TfrmExpLibri::exportPath()).isDir());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList({QStringLiteral("Archivio_Libri.pro")}));
}

void TestTfrmExpLibri::exportHeldOpenGivesTheFailureMessage()
{
    // The spreadsheet of an earlier export is open in Excel, which holds it
    // shared for reading only: the new export cannot take its place.
    TempProgramFolder folder;
    writeArchive({QStringLiteral("Primo")});
    {
        QFile earlier(TfrmExpLibri::exportPath());
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier export");
    }
    HeldOpen excel(TfrmExpLibri::exportPath());
    if (!excel.held())
        QSKIP(HELD_OPEN_REASON);
    TfrmExpLibri screen;
    screen.show();
    m_urls.opened.clear();
    MessageCatcher catcher;
    catcher.answerNext(QMessageBox::Yes);
    screen.cmdEsportaClick();
    QCOMPARE(catcher.texts(), QStringList({kAsk, kFailed}));
    QVERIFY(m_urls.opened.isEmpty());
    QCOMPARE(readAll(TfrmExpLibri::exportPath()), QByteArray("earlier export"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
             QStringList({QStringLiteral("Archivio_Libri.pro"), QStringLiteral("Schedario_Libri.xls")}));
}

void TestTfrmExpLibri::helpTopic()
{
    TempProgramFolder folder;
    TfrmExpLibri screen;
    screen.show();
    QString title, body, owner;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (auto *help = qobject_cast<TfrmGuida *>(QApplication::activeModalWidget())) {
            title = control<QLabel>(help, "lblTitolo")->text();
            body = control<QPlainTextEdit>(help, "txtGuida")->toPlainText();
            owner = help->parentWidget() ? help->parentWidget()->objectName() : QString();
            help->close();
        }
    });
    poll.start(5);
    QTest::mouseClick(control<PictureButton>(screen, "cmdGuida"), Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("Esportazione archivio libri in Excel"));
    QCOMPARE(owner, QStringLiteral("TfrmExpLibri"));
    QCOMPARE(TfrmExpLibri::helpTopic().split(QStringLiteral("\r\n\r\n")).size(), 3);
    QVERIFY(!TfrmExpLibri::helpTopic().contains(QStringLiteral("\r\n\r\n\r\n")));
    QCOMPARE(body.split(QStringLiteral("\n\n")).size(), 3);
    QVERIFY(screen.findChildren<TfrmGuida *>().isEmpty()); // destroyed after its run
}

void TestTfrmExpLibri::hints()
{
    TempProgramFolder folder;
    writeArchive({QStringLiteral("Primo")});
    TfrmExpLibri screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    auto moveOver = [](QWidget *w, QPoint at = QPoint(3, 3)) {
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    const struct
    {
        QWidget *command;
        QString hint;
    } commands[] = {
        {control<PictureButton>(screen, "cmdEsporta"),
         QStringLiteral("Esporta l'archivio in formato Microsoft Excel.")},
        {control<PictureButton>(screen, "cmdImporta"), QStringLiteral("Importa nuove schede da un foglio di Excel o di "
                                                                      "LibreOffice (CSV o XLS).")},
        {control<PictureButton>(screen, "cmdGuida"),
         QStringLiteral("Visualizza la pagina della guida sensibile al contesto.")},
        {control<PictureButton>(screen, "cmdEsci"), QStringLiteral("Esci da questo ambiente di lavoro.")}};
    for (const auto &c : commands) {
        QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), c.command->mapToGlobal(QPointF(3, 3)));
        QApplication::sendEvent(c.command, &enter);
        QCOMPARE(control<QLabel>(screen, "panInfo")->text(), c.hint);
        control<QLabel>(screen, "panInfo")->setText(QStringLiteral("x"));
    }
    for (QWidget *ground :
         {static_cast<QWidget *>(&screen), control<QWidget>(screen, "panContainer"), control<QWidget>(screen, "shpTop"),
          control<QTableView>(screen, "grdRecords")->viewport(), control<QWidget>(screen, "bkgInfo")}) {
        control<QLabel>(screen, "panInfo")->setText(QStringLiteral("x"));
        moveOver(ground, QPoint(1, 1));
        QVERIFY2(control<QLabel>(screen, "panInfo")->text().isEmpty(), qPrintable(ground->objectName()));
    }

    QSignalSpy closed(&screen, &QDialog::finished);
    QTest::mouseClick(control<PictureButton>(screen, "cmdEsci"), Qt::LeftButton);
    QVERIFY(!screen.isVisible());
}

QTEST_MAIN(TestTfrmExpLibri)
#include "tst_tfrmexplibri.moc"
