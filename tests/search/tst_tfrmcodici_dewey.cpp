// The Dewey table window: layout, the fill, find, the pick into the card
// screen's Dewey box and the print of the table.
#include "common/pdftext.h"
#include "common/printrecorder.h"
#include "common/testsupport.h"

#include "books/tfrmlibri.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"
#include "output/listreport.h"
#include "search/deweytable.h"
#include "search/tfrmcodici_dewey.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

/// The positions in the table of the entries that hold key, letter case aside.
QList<int> matchesOf(const QString &key)
{
    QList<int> out;
    const QStringList &table = DeweyTable::entries();
    for (int i = 0; i < table.size(); ++i)
        if (!key.isEmpty() && table[i].toLower().contains(key.toLower()))
            out << i;
    return out;
}

/// The positions of the entries of one class.
QList<int> classEntries(const QString &number)
{
    QList<int> out;
    const QStringList &table = DeweyTable::entries();
    for (int i = 0; i < table.size(); ++i)
        if (table[i].startsWith(number + QLatin1Char(' ')))
            out << i;
    return out;
}

/// Shows the window and fills its list as its timer does.
void showFilled(TfrmCodici_Dewey &dewey)
{
    dewey.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dewey));
    QVERIFY(control<QTimer>(dewey, "timCarica")->isActive());
    dewey.timCaricaTimer();
    QCOMPARE(control<QListWidget>(dewey, "lstRecords")->count(), DeweyTable::entries().size());
}

/// The card screen's focus is in txtDewey, and stays there as the screen
/// becomes the active window again.
void expectFocusInDewey(TfrmLibri &libri)
{
    QCOMPARE(libri.focusWidget(), control<QLineEdit>(libri, "txtDewey"));
    libri.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&libri));
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(libri, "txtDewey"));
}

/// Types text into the find box and presses "Trova" with the mouse.
int pressTrova(TfrmCodici_Dewey &dewey, const QString &text)
{
    control<QLineEdit>(dewey, "txtTrova")->setText(text);
    QTest::mouseClick(control<QPushButton>(dewey, "btnTrova"), Qt::LeftButton);
    return dewey.selectedRow();
}

} // namespace

class TestCodiciDewey : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        TfrmCodici_Dewey::resetFindState();
    }
    void cleanup() { m_folder.reset(); }

    void layoutAndNames();
    void fillsWhenItsTimerFires();
    void find_data();
    void find();
    void findStateSurvivesReopening();
    void cardScreenPicksByDoubleClick();
    void closing_data();
    void closing();
    void printsTheTable();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void TestCodiciDewey::layoutAndNames()
{
    TfrmCodici_Dewey dewey;
    dewey.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dewey));
    QCOMPARE(dewey.objectName(), QStringLiteral("TfrmCodici_Dewey"));
    QCOMPARE(dewey.windowTitle(), QStringLiteral(" Tabella Codici Dewey"));
    QCOMPARE(dewey.size(), QSize(861, 561));
    QCOMPARE(control<QWidget>(dewey, "panContainer")->objectName(), QStringLiteral("panContainer"));
    QCOMPARE(control<QWidget>(dewey, "panContainer")->geometry(), QRect(14, 16, 833, 529));

    const struct
    {
        const char *name;
        QRect at;
    } controls[] = {
        {"shpTitolo", {8, 8, 817, 81}},     {"icoDewey", {16, 12, 699, 72}},   {"shpLente", {8, 96, 81, 57}},
        {"imgLente", {16, 104, 64, 41}},    {"shpSfondo", {96, 96, 729, 57}},  {"txtTrova", {112, 114, 593, 22}},
        {"btnTrova", {710, 109, 105, 30}},  {"shpLista", {8, 160, 817, 321}},  {"lstRecords", {16, 168, 801, 281}},
        {"panDewey", {208, 284, 418, 54}},  {"lblRigo03", {16, 454, 801, 22}}, {"btnChiudi", {8, 488, 150, 30}},
        {"btnStampa", {675, 488, 150, 30}},
    };
    for (const auto &c : controls) {
        auto *w = control<QWidget>(dewey, "panContainer")->findChild<QWidget *>(QString::fromLatin1(c.name));
        QVERIFY2(w, c.name);
        QCOMPARE(w->geometry(), c.at);
    }
    for (PictureButton *picture : {control<PictureButton>(dewey, "icoDewey"), control<PictureButton>(dewey, "imgLente"),
                                   control<PictureButton>(dewey, "panDewey")})
        QVERIFY2(!renderPicture(picture->picture(), picture->size()).isNull(), qPrintable(picture->objectName()));
    QVERIFY(control<PictureButton>(dewey, "panDewey")->isVisible());
    QVERIFY(control<QLabel>(dewey, "lblMemory")->isHidden());
    QCOMPARE(control<QPushButton>(dewey, "btnTrova")->text(), QStringLiteral("Trova"));
    QCOMPARE(control<QPushButton>(dewey, "btnChiudi")->text(), QStringLiteral("Chiudi"));
    QCOMPARE(control<QPushButton>(dewey, "btnStampa")->text(), QStringLiteral("Stampa"));
    QCOMPARE(control<QLabel>(dewey, "lblRigo03")->text(),
             QStringLiteral("Per importare un codice Dewey dall'elenco, selezionarlo con un doppio clic"));
    QCOMPARE(control<QLabel>(dewey, "lblRigo03")->alignment(), Qt::AlignCenter);
    QCOMPARE(control<QLabel>(dewey, "lblAttendere")->text(), QStringLiteral("Stampa in corso. Attendere..."));
    QCOMPARE(control<QLabel>(dewey, "lblAttendere")->pos(), QPoint(168, 494));
    QVERIFY(control<QLabel>(dewey, "lblAttendere")->font().italic());
    QVERIFY(control<QLabel>(dewey, "lblAttendere")->isHidden());
    QCOMPARE(control<QLineEdit>(dewey, "txtTrova")->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(control<QLineEdit>(dewey, "txtTrova")->font().pointSize(), 12);
    QVERIFY(control<QLineEdit>(dewey, "txtTrova")->font().bold());

    // The find box first, then the list; Enter in the find box moves to
    // "Trova" without pressing it.
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(dewey, "txtTrova"));
    QTest::keyClick(control<QLineEdit>(dewey, "txtTrova"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<QListWidget>(dewey, "lstRecords"));
    MessageCatcher messages;
    control<QLineEdit>(dewey, "txtTrova")->setFocus();
    control<QLineEdit>(dewey, "txtTrova")->setText(QStringLiteral("storia"));
    QTest::keyClick(control<QLineEdit>(dewey, "txtTrova"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>(dewey, "btnTrova"));
    QTest::qWait(30);
    QVERIFY(messages.seen().isEmpty());
    // A second Enter, now on "Trova", presses it (the list is still empty).
    QTest::keyClick(control<QPushButton>(dewey, "btnTrova"), Qt::Key_Enter);
    QTRY_COMPARE(messages.seen().size(), 1);
    QCOMPARE(messages.seen().first().text,
             QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
}

void TestCodiciDewey::fillsWhenItsTimerFires()
{
    TfrmCodici_Dewey dewey;
    QVERIFY(!control<QTimer>(dewey, "timCarica")->isActive());
    QCOMPARE(control<QTimer>(dewey, "timCarica")->interval(), 1000);
    dewey.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dewey));
    QVERIFY(control<QTimer>(dewey, "timCarica")->isActive());
    QCOMPARE(control<QListWidget>(dewey, "lstRecords")->count(), 0);

    // "Trova" before the fill.
    {
        MessageCatcher messages;
        QTest::keyClicks(control<QLineEdit>(dewey, "txtTrova"), QStringLiteral("storia"));
        QTest::mouseClick(control<QPushButton>(dewey, "btnTrova"), Qt::LeftButton);
        QTRY_COMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen().first().text,
                 QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
        QCOMPARE(messages.seen().first().icon, QMessageBox::NoIcon);
        QCOMPARE(messages.seen().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(TfrmCodici_Dewey::lastFindText(), QString()); // nothing else happened
    }
    QVERIFY(control<PictureButton>(dewey, "panDewey")->isVisible());

    dewey.timCaricaTimer();
    QVERIFY(!control<QTimer>(dewey, "timCarica")->isActive());
    QVERIFY(control<PictureButton>(dewey, "panDewey")->isHidden());
    QCOMPARE(dewey.entryTexts(), DeweyTable::entries());
    QCOMPARE(dewey.selectedRow(), -1);
    QCOMPARE(control<QListWidget>(dewey, "lstRecords")->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(control<QListWidget>(dewey, "lstRecords")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    for (int i : {0, control<QListWidget>(dewey, "lstRecords")->count() - 1}) {
        const QListWidgetItem *item = control<QListWidget>(dewey, "lstRecords")->item(i);
        QCOMPARE(item->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(item->font().pointSize(), 12);
        QCOMPARE(item->foreground().color().rgba(), 0xFF000000u);
        QVERIFY(item->sizeHint().width() >= 760);
    }
    // The longest caption can be scrolled into view whole, never cut.
    QString longest;
    for (const QString &entry : DeweyTable::entries())
        if (entry.size() > longest.size())
            longest = entry;
    const QFontMetrics metrics(control<QListWidget>(dewey, "lstRecords")->item(0)->font());
    QVERIFY(control<QListWidget>(dewey, "lstRecords")->item(0)->sizeHint().width() >
            metrics.horizontalAdvance(longest));
    control<QListWidget>(dewey, "lstRecords")->doItemsLayout();
    QVERIFY(control<QListWidget>(dewey, "lstRecords")->horizontalScrollBar()->maximum() > 0);
}

// Each press types the next text and presses "Trova"; the rows are the
// selected entries after each press. Expected rows come from the table.
void TestCodiciDewey::find_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("selected");

    const QList<int> storia = matchesOf(QStringLiteral("storia"));
    const QList<int> c004 = matchesOf(QStringLiteral("004"));
    const QList<int> c641 = matchesOf(QStringLiteral("641"));
    QVERIFY(storia.size() >= 2 && c004.size() >= 2 && c641.size() >= 2);

    // Changing only the letter case keeps the walk going.
    const QStringList cases = {QStringLiteral("storia"), QStringLiteral("STORIA"), QStringLiteral("Storia"),
                               QStringLiteral("sToRiA")};
    QStringList texts;
    for (int i = 0; i <= storia.size(); ++i)
        texts << cases[i % cases.size()];
    QTest::newRow("storia in any case walks and wraps") << texts << (storia + QList<int>{storia.first()});

    QTest::newRow("by class number") << QStringList(c004.size() + 1, QStringLiteral("004"))
                                     << (c004 + QList<int>{c004.first()});
    QTest::newRow("a changed text starts from the top, testing the first entry")
        << QStringList{QStringLiteral("641"), QStringLiteral("641"), QStringLiteral("001")}
        << QList<int>{c641[0], c641[1], 0};

    const QString onlyOne = DeweyTable::entries().at(1);
    QCOMPARE(matchesOf(onlyOne), QList<int>{1});
    QTest::newRow("the text only in the selected entry keeps it")
        << QStringList{onlyOne.toLower(), onlyOne} << QList<int>{1, 1};

    QTest::newRow("no match leaves the selection")
        << QStringList{QStringLiteral("641"), QStringLiteral("zzzz")} << QList<int>{c641[0], c641[0]};
    QTest::newRow("no match and no selection selects the first entry")
        << QStringList{QStringLiteral("zzzz")} << QList<int>{0};
    QTest::newRow("an empty text matches nothing")
        << QStringList{QStringLiteral("641"), QString()} << QList<int>{c641[0], c641[0]};

    // Not trimmed: a blank before the class number matches no entry, as
    // every entry starts with its class number.
    QVERIFY(matchesOf(QStringLiteral(" 004")).isEmpty());
    QTest::newRow("a leading blank is part of the text")
        << QStringList{QStringLiteral(" 004"), QStringLiteral("004")} << QList<int>{0, c004.first()};
}

void TestCodiciDewey::find()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, selected);
    TfrmCodici_Dewey dewey;
    showFilled(dewey);
    QList<int> walk;
    for (const QString &text : texts)
        walk << pressTrova(dewey, text);
    QCOMPARE(walk, selected);
    // The list shows the selected entry from its start (items may be wider
    // than the list, for the long captions).
    const QRect shown = control<QListWidget>(dewey, "lstRecords")
                            ->visualItemRect(control<QListWidget>(dewey, "lstRecords")->item(walk.last()));
    QVERIFY(control<QListWidget>(dewey, "lstRecords")
                ->viewport()
                ->rect()
                .contains(QRect(shown.topLeft(), QSize(1, shown.height()))));
    QCOMPARE(TfrmCodici_Dewey::lastFindText(), texts.last().toLower());
}

void TestCodiciDewey::findStateSurvivesReopening()
{
    // "001" is found first in the first entry; the same text again goes on
    // to the next entry of class 001, also in a later window.
    const QList<int> c001 = matchesOf(QStringLiteral("001"));
    QVERIFY(c001.size() >= 2 && c001.first() == 0);
    {
        TfrmCodici_Dewey first;
        showFilled(first);
        QCOMPARE(pressTrova(first, QStringLiteral("001")), 0);
        QTest::mouseClick(control<QPushButton>(first, "btnChiudi"), Qt::LeftButton);
        QVERIFY(!first.isVisible());
    }
    TfrmCodici_Dewey again;
    showFilled(again);
    QCOMPARE(control<QLineEdit>(again, "txtTrova")->text(), QString()); // each opening empties the find box
    QCOMPARE(TfrmCodici_Dewey::lastFindText(), QStringLiteral("001"));
    QCOMPARE(pressTrova(again, QStringLiteral("001")), c001[1]);

    TfrmCodici_Dewey::resetFindState();
    control<QListWidget>(again, "lstRecords")->clearSelection();
    QCOMPARE(pressTrova(again, QStringLiteral("001")), 0);
}

void TestCodiciDewey::cardScreenPicksByDoubleClick()
{
    const QList<int> c641 = classEntries(QStringLiteral("641"));
    QVERIFY(c641.size() >= 2);
    const int row = c641.last(); // a subdivision, not the class caption
    TfrmLibri libri;
    libri.show();
    QVERIFY(QTest::qWaitForWindowActive(&libri));
    control<QLineEdit>(libri, "txtDewey")->setText(QStringLiteral("999.9"));
    control<QLineEdit>(libri, "txtTitolo")->setFocus();

    bool opened = false;
    QTimer::singleShot(0, &libri, [&] {
        auto *dewey = qobject_cast<TfrmCodici_Dewey *>(QApplication::activeModalWidget());
        if (!dewey)
            return;
        opened =
            dewey->parentWidget() == &libri && control<QLabel>(dewey, "lblMemory")->text() == QLatin1String("libri");
        dewey->timCaricaTimer();
        QListWidget *list = control<QListWidget>(dewey, "lstRecords");
        list->scrollToItem(list->item(row));
        const QRect cell = list->visualItemRect(list->item(row));
        // A double click: the first click selects the entry, the second picks it.
        const QPoint at(40, cell.center().y());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    });
    libri.btnDeweyClick();

    QVERIFY(opened);
    QCOMPARE(control<QLineEdit>(libri, "txtDewey")->text(), QStringLiteral("641"));
    QVERIFY(libri.findChildren<TfrmCodici_Dewey *>().isEmpty()); // destroyed after its run
    expectFocusInDewey(libri);
}

void TestCodiciDewey::closing_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("dewey");

    QTest::newRow("a pick with a trimmed tag")
        << QStringLiteral(" libri\t") << QStringLiteral("pick") << QStringLiteral("641");
    QTest::newRow("Chiudi") << QStringLiteral("libri") << QStringLiteral("Chiudi") << QStringLiteral("999.9");
    QTest::newRow("double click with nothing selected")
        << QStringLiteral("libri") << QStringLiteral("nothing selected") << QStringLiteral("999.9");
    QTest::newRow("another tag") << QStringLiteral("Libri") << QStringLiteral("pick") << QStringLiteral("999.9");
    QTest::newRow("no tag") << QString() << QStringLiteral("pick") << QStringLiteral("999.9");
}

// Every way of closing puts the focus in the card screen's Dewey box; only
// a pick for the tag "libri" writes into it.
void TestCodiciDewey::closing()
{
    QFETCH(QString, tag);
    QFETCH(QString, how);
    QFETCH(QString, dewey);
    const int row = classEntries(QStringLiteral("641")).first();
    TfrmLibri libri;
    libri.show();
    QVERIFY(QTest::qWaitForWindowActive(&libri));
    control<QLineEdit>(libri, "txtDewey")->setText(QStringLiteral("999.9"));
    control<QLineEdit>(libri, "txtTitolo")->setFocus();

    QTimer::singleShot(0, &libri, [&] {
        auto *table = qobject_cast<TfrmCodici_Dewey *>(QApplication::activeModalWidget());
        if (!table)
            return;
        table->timCaricaTimer();
        if (how == QLatin1String("Chiudi")) {
            QTest::mouseClick(control<QPushButton>(table, "btnChiudi"), Qt::LeftButton);
            return;
        }
        if (how == QLatin1String("pick"))
            table->selectRow(row);
        table->lstRecordsDblClick();
    });
    Screens::runModal<TfrmCodici_Dewey>(&libri, [&](TfrmCodici_Dewey &table) {
        control<QLabel>(table, "lblMemory")->setText(tag);
        libri.receiveFrom(table);
    });

    QCOMPARE(control<QLineEdit>(libri, "txtDewey")->text(), dewey);
    expectFocusInDewey(libri);
}

void TestCodiciDewey::printsTheTable()
{
    TfrmCodici_Dewey dewey;
    dewey.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dewey));
    const QString dateStart =
        QStringLiteral("Stampa eseguita in data ") + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));

    // Before the fill: the title and the date line only.
    {
        PrintRecorder printer(m_folder->file(QStringLiteral("empty.pdf")));
        control<QPushButton>(dewey, "btnStampa")->click();
        const PdfText pdf = PdfText::read(printer.pdf());
        QCOMPARE(pdf.pages.size(), 1);
        const QStringList lines = pdf.pages[0].lines();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Tabella Codici Dewey"));
        QVERIFY2(lines[1].startsWith(dateStart), qPrintable(lines[1]));
    }

    dewey.timCaricaTimer();
    PrintRecorder printer(m_folder->file(QStringLiteral("table.pdf")));
    QTest::mousePress(control<QPushButton>(dewey, "btnStampa"), Qt::LeftButton);
    QVERIFY(control<QLabel>(dewey, "lblAttendere")->isVisible()); // the print runs on release
    QCOMPARE(printer.dialogs, 0);
    QTest::mouseRelease(control<QPushButton>(dewey, "btnStampa"), Qt::LeftButton);
    QCOMPARE(printer.dialogs, 1);
    QVERIFY(control<QLabel>(dewey, "lblAttendere")->isHidden());

    const PdfText pdf = PdfText::read(printer.pdf());
    QVERIFY2(pdf.error.isEmpty(), qPrintable(pdf.error));
    QStringList lines;
    for (const PdfText::Page &page : pdf.pages)
        lines << page.lines();
    QCOMPARE(lines.takeFirst(), QStringLiteral("Tabella Codici Dewey"));
    QVERIFY2(lines.takeLast().startsWith(dateStart), qPrintable(pdf.pages.last().all()));
    QStringList expected;
    for (const QString &entry : dewey.entryTexts())
        expected << entry.simplified();
    QCOMPARE(lines, expected);
}

QTEST_MAIN(TestCodiciDewey)
#include "tst_tfrmcodici_dewey.moc"
