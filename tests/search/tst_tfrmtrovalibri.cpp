#include "common/cardfixtures.h"
#include "common/screencontrols.h"
#include "common/testsupport.h"

#include "books/tfrmlibri.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/readahead.h"
#include "kit/covers.h"
#include "kit/picturewidgets.h"
#include "search/tfrmtrovalibri.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

void writeCards(const QList<TSchedaLibro> &cards)
{
    BookArchive archive;
    QVERIFY(archive.open());
    for (const TSchedaLibro &c : cards)
        QVERIFY(archive.append(c) > 0);
    QVERIFY(archive.close());
}

QStringList titles(const TfrmTrovaLibri &screen)
{
    QStringList out;
    for (const QString &row : screen.rowTexts())
        out << row.left(55).trimmed();
    return out;
}
} // namespace

class TestTrovaLibri : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void init() { m_folder = std::make_unique<TempProgramFolder>(); }
    void cleanup() { m_folder.reset(); }

    void layoutAndNames();
    void focusFramesAndEnterChain();
    void searchListsSortedRows();
    void noFilterListsEverything();
    void missingArchiveGivesZero();
    void unreadableArchiveStaysOnFilters();
    void busyNoticeShowsOnPressAndGoesOnClose();
    void longSearchShowsProgressAndStops_data();
    void longSearchShowsProgressAndStops();
    void findWalksAndWraps();
    void findEdgeCases();
    void findOnEmptyList();
    void handOffLaterEqualCardWins();
    void handOffByDoubleClick();
    void handOffWithoutSelectionOrTag();
    void cardScreenOpensSearchWithTag();
    void handOffIntoACatalogueBox_data();
    void handOffIntoACatalogueBox();
    void handOffReachesTheBoxOfItsTag();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void TestTrovaLibri::layoutAndNames()
{
    TfrmTrovaLibri screen;
    QCOMPARE(screen.objectName(), QStringLiteral("TfrmTrovaLibri"));
    QCOMPARE(screen.windowTitle(), QStringLiteral(" Trova libri in archivio"));
    QCOMPARE(screen.size(), QSize(862, 560));
    QCOMPARE(control<QWidget>(screen, "panAvvio")->geometry(), QRect(14, 15, 833, 529));
    QCOMPARE(control<QWidget>(screen, "panContainer")->geometry(), control<QWidget>(screen, "panAvvio")->geometry());
    QVERIFY(!control<QWidget>(screen, "panAvvio")->isHidden());
    QVERIFY(control<QWidget>(screen, "panContainer")->isHidden());
    QVERIFY(control<QLabel>(screen, "lblMemory")->isHidden());
    QVERIFY(control<QLabel>(screen, "lblConta")->isHidden());
    QVERIFY(control<QLabel>(screen, "lblAttendere")->isHidden());
    QCOMPARE(control<QLabel>(screen, "lblAttendere")->text(), QStringLiteral("Ricerca schede in corso. Attendere..."));
    QCOMPARE(control<QLabel>(screen, "lblTrovate")->text(), QStringLiteral("Il presente riepilogo contiene 0 schede"));
    QCOMPARE(control<QLabel>(screen, "lblRigo03")->text(),
             QStringLiteral("Fare doppio clic sulla voce in elenco per richiamare la scheda"));
    QCOMPARE(control<QListView>(screen, "lstRecords")->size(), QSize(801, 273));
    QCOMPARE(control<QLineEdit>(screen, "txtTrova")->size(), QSize(593, 22));
    QCOMPARE(control<QPushButton>(screen, "btnTrova")->size(), QSize(105, 30));
    QCOMPARE(control<QPushButton>(screen, "btnCerca")->text(), QStringLiteral("Cerca"));
    QCOMPARE(control<QPushButton>(screen, "btnAnnulla")->text(), QStringLiteral("Chiudi"));
    QCOMPARE(control<QPushButton>(screen, "btnChiudi")->text(), QStringLiteral("Chiudi"));
    QCOMPARE(control<QPushButton>(screen, "btnStampa")->text(), QStringLiteral("Stampa"));

    struct Expect
    {
        const char *box, *label, *frame;
        int x, y;
    };
    const Expect expected[] = {
        {"txtTitolo", "Titolo libro:", "effCampo01", 144, 141},
        {"txtAutore", "Autore:", "effCampo02", 488, 141},
        {"txtGenere", "Genere:", "effCampo09", 144, 211},
        {"txtAnno", "Anno pubblicazione:", "effCampo10", 488, 211},
        {"txtEditore", "Casa editrice:", "effCampo05", 144, 281},
        {"txtDewey", "Codice Dewey:", "effCampo06", 488, 281},
        {"txtISBN", "ISBN:", "effCampo07", 144, 351},
        {"txtEtichetta", "Codice su etichetta:", "effCampo08", 488, 351},
        {"txtCuratore", "Curatore:", "effCampo03", 144, 421},
        {"txtNote", "Note:", "effCampo04", 488, 421},
    };
    for (int i = 0; i < 10; ++i) {
        const Expect &e = expected[i];
        QLineEdit *box = filterBoxes(screen)[size_t(i)];
        QCOMPARE(box->objectName(), QString::fromLatin1(e.box));
        QCOMPARE(box->geometry(), QRect(e.x, e.y, 320, 22));
        QCOMPARE(box->font().family(), QStringLiteral("Verdana"));
        QVERIFY(box->font().bold());
        auto *frame = screen.findChild<QWidget *>(QString::fromLatin1(e.frame));
        QVERIFY2(frame, e.frame);
        QCOMPARE(frame->geometry(), QRect(e.x - 4, e.y - 4, 328, 30));
        QVERIFY(frame->isHidden());
        bool labelled = false;
        for (QLabel *label : control<QWidget>(screen, "panAvvio")->findChildren<QLabel *>()) {
            if (label->text() == QString::fromUtf8(e.label))
                labelled = label->geometry().topLeft() == QPoint(e.x, e.y - 21);
        }
        QVERIFY2(labelled, e.label);
    }
}

void TestTrovaLibri::focusFramesAndEnterChain()
{
    TfrmTrovaLibri screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(screen, "txtTitolo"));
    auto frame = [&](const char *name) { return screen.findChild<QWidget *>(QString::fromLatin1(name)); };
    QVERIFY(frame("effCampo01")->isVisible());

    const char *order[] = {"txtAutore", "txtGenere",    "txtAnno",     "txtEditore", "txtDewey",
                           "txtISBN",   "txtEtichetta", "txtCuratore", "txtNote",    "txtTitolo"};
    for (const char *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
    }
    // Clicking into a box moves the frame with the focus.
    QTest::mouseClick(control<QLineEdit>(screen, "txtEditore"), Qt::LeftButton);
    QVERIFY(frame("effCampo05")->isVisible());
    QVERIFY(!frame("effCampo01")->isVisible());

    // After a search, Enter in the find box moves to "Trova" without pressing it.
    MessageCatcher messages;
    screen.btnCercaClick();
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(screen, "txtTrova"));
    control<QLineEdit>(screen, "txtTrova")->setText(QStringLiteral("x"));
    QTest::keyClick(control<QLineEdit>(screen, "txtTrova"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>(screen, "btnTrova"));
    QTest::qWait(30);
    QVERIFY(messages.seen().isEmpty());
    // A second Enter, now on "Trova", presses it (nothing was listed).
    QTest::keyClick(control<QPushButton>(screen, "btnTrova"), Qt::Key_Return);
    QTRY_COMPARE(messages.seen().size(), 1);
    QCOMPARE(messages.seen().first().text,
             QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
}

void TestTrovaLibri::searchListsSortedRows()
{
    writeCards({card(QStringLiteral("Zanna bianca"), QStringLiteral("Jack London"), QStringLiteral("Mursia"),
                     QStringLiteral("1906")),
                card(QStringLiteral("I Rossi e i Blu"), QStringLiteral("Mario Rossi"), QStringLiteral("Einaudi"),
                     QStringLiteral("")),
                card(QStringLiteral("Altro libro"), QStringLiteral("Anna Verdi"), QStringLiteral("Einaudi"),
                     QStringLiteral("2001")),
                card(QStringLiteral("alba"), QStringLiteral("Piero ROSSI"), QStringLiteral("Mondadori"),
                     QStringLiteral("1999")),
                card(QStringLiteral("Bosco"), QStringLiteral("Gino Rossini"), QStringLiteral("Einaudi"),
                     QStringLiteral("2010"))});
    TfrmTrovaLibri screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QTest::keyClicks(control<QLineEdit>(screen, "txtAutore"), QStringLiteral("ross"));
    QTest::keyClicks(control<QLineEdit>(screen, "txtNote"), QStringLiteral("   "));
    QTest::keyClicks(control<QLineEdit>(screen, "txtEditore"), QStringLiteral("EIN"));
    screen.btnCercaClick();

    QCOMPARE(control<QLabel>(screen, "lblConta")->text(), QStringLiteral("2"));
    QCOMPARE(titles(screen), QStringList({QStringLiteral("Bosco"), QStringLiteral("I Rossi e i Blu")}));
    QCOMPARE(screen.rowTexts().at(1), QStringLiteral("I Rossi e i Blu") + QString(40, QLatin1Char(' ')) +
                                          QStringLiteral("  Autore: Mario Rossi") + QString(19, QLatin1Char(' ')) +
                                          QStringLiteral("  Editore: Einaudi") + QString(23, QLatin1Char(' ')) +
                                          QStringLiteral("  Anno: "));
    QCOMPARE(control<QLabel>(screen, "lblTrovate")->text(), QStringLiteral("Il presente riepilogo contiene 2 schede."));
    QVERIFY(control<QWidget>(screen, "panContainer")->isVisible());
    QVERIFY(control<QWidget>(screen, "panAvvio")->isHidden());
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(screen, "txtTrova"));
    QCOMPARE(screen.selectedRow(), -1);
    QCOMPARE(control<QListView>(screen, "lstRecords")->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(control<QListView>(screen, "lstRecords")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const QModelIndex first = screen.model()->index(0, 0);
    const QFont font = first.data(Qt::FontRole).value<QFont>();
    QCOMPARE(font.family(), QStringLiteral("Courier New"));
    QCOMPARE(font.pointSize(), 12);
    QCOMPARE(first.data(Qt::ForegroundRole).value<QColor>().rgba(), 0xFF000000u);
    QCOMPARE(first.data(Qt::SizeHintRole).toSize().width(), 1600);
    // Long rows scroll sideways.
    QVERIFY(control<QListView>(screen, "lstRecords")->horizontalScrollBar()->maximum() > 0);

    // One card alone still reads "schede".
    TfrmTrovaLibri again;
    QTest::keyClicks(control<QLineEdit>(again, "txtTitolo"), QStringLiteral("zanna"));
    again.btnCercaClick();
    QCOMPARE(control<QLabel>(again, "lblTrovate")->text(), QStringLiteral("Il presente riepilogo contiene 1 schede."));
}

void TestTrovaLibri::noFilterListsEverything()
{
    writeCards({card(QStringLiteral("beta")), card(QStringLiteral("Alfa")), card(QStringLiteral("alfa")),
                card(QStringLiteral("Gamma")), card(QStringLiteral("beta"))});
    TfrmTrovaLibri screen;
    QTest::keyClicks(control<QLineEdit>(screen, "txtTitolo"), QStringLiteral("  "));
    screen.btnCercaClick();
    QCOMPARE(control<QLabel>(screen, "lblConta")->text(), QStringLiteral("0"));
    QCOMPARE(titles(screen), QStringList({QStringLiteral("Alfa"), QStringLiteral("alfa"), QStringLiteral("beta"),
                                          QStringLiteral("beta"), QStringLiteral("Gamma")}));
    QCOMPARE(control<QLabel>(screen, "lblTrovate")->text(), QStringLiteral("Il presente riepilogo contiene 5 schede."));
}

void TestTrovaLibri::missingArchiveGivesZero()
{
    const QString path = m_folder->file(QStringLiteral("Archivio_Libri.pro"));
    QVERIFY(!QFile::exists(path));
    MessageCatcher messages;
    TfrmTrovaLibri screen;
    QTest::keyClicks(control<QLineEdit>(screen, "txtTitolo"), QStringLiteral("qualcosa"));
    screen.btnCercaClick();
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(control<QLabel>(screen, "lblTrovate")->text(), QStringLiteral("Il presente riepilogo contiene 0 schede."));
    QVERIFY(control<QWidget>(screen, "panAvvio")->isHidden());
    QVERIFY(messages.seen().isEmpty());
}

void TestTrovaLibri::unreadableArchiveStaysOnFilters()
{
    QVERIFY(QDir().mkdir(m_folder->file(QStringLiteral("Archivio_Libri.pro"))));
    MessageCatcher messages;
    TfrmTrovaLibri screen;
    screen.btnCercaMouseDown();
    screen.btnCercaClick();
    QTRY_COMPARE(messages.seen().size(), 1);
    QCOMPARE(messages.seen().first().icon, QMessageBox::NoIcon);
    QCOMPARE(messages.seen().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(messages.seen().first().text,
             QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di "
                            "possedere i privilegi di scrittura nella cartella di installazione del programma."));
    QVERIFY(!control<QWidget>(screen, "panAvvio")->isHidden());
    QVERIFY(control<QWidget>(screen, "panContainer")->isHidden());
    QVERIFY(control<QLabel>(screen, "lblAttendere")->isHidden());
    QVERIFY(QFileInfo(m_folder->file(QStringLiteral("Archivio_Libri.pro"))).isDir());
}

void TestTrovaLibri::busyNoticeShowsOnPressAndGoesOnClose()
{
    writeCards({card(QStringLiteral("Uno"))});
    TfrmTrovaLibri screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QTest::mousePress(control<QPushButton>(screen, "btnCerca"), Qt::LeftButton);
    QVERIFY(control<QLabel>(screen, "lblAttendere")->isVisible());
    QVERIFY(control<QWidget>(screen, "panAvvio")->isVisible()); // the search runs on release
    QTest::mouseRelease(control<QPushButton>(screen, "btnCerca"), Qt::LeftButton);
    QVERIFY(control<QWidget>(screen, "panContainer")->isVisible());
    QCOMPARE(screen.model()->rowCount(), 1);
    screen.btnChiudiClick();
    QVERIFY(!screen.isVisible());
    QVERIFY(control<QLabel>(screen, "lblAttendere")->isHidden());
    QCOMPARE(screen.model()->rowCount(), 0); // the list is cleared on closing
}

namespace {
/// Counts the paint events of a window and its children.
class PaintCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};
} // namespace

void TestTrovaLibri::longSearchShowsProgressAndStops_data()
{
    QTest::addColumn<bool>("stop");
    QTest::newRow("stopped") << true;
    QTest::newRow("run to its end") << false;
}

void TestTrovaLibri::longSearchShowsProgressAndStops()
{
    // Cards read slowly, as from a slow disk: the search takes about 2 s.
    QFETCH(bool, stop);
    constexpr int kCards = 10000;
    {
        QByteArray bytes;
        for (int i = 0; i < kCards; ++i)
            bytes.append(card(QStringLiteral("Titolo %1").arg(i), QStringLiteral("Rossi")).data(),
                         TSchedaLibro::RecordSize);
        QFile file(BookArchive::path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    ReadAhead::setPauseForTesting(65); // before every block read
    auto noPause = qScopeGuard([] { ReadAhead::setPauseForTesting(0); });

    MessageCatcher messages;
    TfrmTrovaLibri screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    control<QLineEdit>(screen, "txtAutore")->setText(QStringLiteral("ross"));
    control<QLineEdit>(screen, "txtNote")->setText(QStringLiteral("  "));
    QList<QString> typed;
    for (QLineEdit *box : filterBoxes(screen))
        typed << box->text();

    // While the search runs: the window paints, and after half a second the
    // progress window offers "Interrompi".
    PaintCounter paints;
    screen.installEventFilter(&paints);
    control<QLabel>(screen, "lblAttendere")->installEventFilter(&paints);
    QElapsedTimer clock;
    qint64 progressAt = -1;
    int paintsBeforeProgress = -1;
    QString label, button;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        screen.update(); // something to repaint, as a window moved over it would ask
        auto *progress = screen.findChild<QProgressDialog *>(QStringLiteral("prgRicerca"));
        if (progressAt >= 0 || !progress || !progress->isVisible())
            return;
        progressAt = clock.elapsed();
        paintsBeforeProgress = paints.count;
        label = progress->labelText();
        if (auto *cancel = progress->findChild<QPushButton *>())
            button = cancel->text();
        if (stop)
            QTimer::singleShot(100, progress,
                               [progress] { QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton); });
    });
    poll.start();
    clock.start();
    screen.btnCercaMouseDown();
    screen.btnCercaClick();
    const qint64 took = clock.elapsed();
    poll.stop();

    QVERIFY2(progressAt >= TfrmTrovaLibri::kProgressAfterMs, qPrintable(QString::number(progressAt)));
    QVERIFY(paintsBeforeProgress > 0);
    QCOMPARE(label, QStringLiteral("Ricerca schede in corso. Attendere..."));
    QCOMPARE(button, QStringLiteral("Interrompi"));
    QVERIFY(screen.findChild<QProgressDialog *>() == nullptr);
    QVERIFY(messages.seen().isEmpty());
    if (stop) {
        QVERIFY2(took < 1400, qPrintable(QString::number(took)));
        // The filter panel as it was, and nothing listed.
        QVERIFY(control<QWidget>(screen, "panAvvio")->isVisible());
        QVERIFY(control<QWidget>(screen, "panContainer")->isHidden());
        QVERIFY(control<QLabel>(screen, "lblAttendere")->isHidden());
        QCOMPARE(screen.model()->rowCount(), 0);
        QList<QString> now;
        for (QLineEdit *box : filterBoxes(screen))
            now << box->text();
        QCOMPARE(now, typed);
        // And the search can be run again, to its end.
        ReadAhead::setPauseForTesting(0);
        screen.btnCercaClick();
    }
    QVERIFY(control<QWidget>(screen, "panContainer")->isVisible());
    QCOMPARE(screen.model()->rowCount(), kCards);
    QCOMPARE(control<QLabel>(screen, "lblTrovate")->text(),
             QStringLiteral("Il presente riepilogo contiene %1 schede.").arg(kCards));
}

void TestTrovaLibri::findWalksAndWraps()
{
    writeCards({card(QStringLiteral("Rosa rossa")), card(QStringLiteral("Bianco")), card(QStringLiteral("Cielo rosa")),
                card(QStringLiteral("Dune")), card(QStringLiteral("Eco ROSA"))});
    TfrmTrovaLibri screen;
    screen.btnCercaClick();
    // Sorted: Bianco, Cielo rosa, Dune, Eco ROSA, Rosa rossa.
    QCOMPARE(screen.selectedRow(), -1);
    QTest::keyClicks(control<QLineEdit>(screen, "txtTrova"), QStringLiteral("ROSA"));
    QList<int> walk;
    for (int i = 0; i < 5; ++i) {
        screen.btnTrovaClick();
        walk << screen.selectedRow();
    }
    QCOMPARE(walk, QList<int>({1, 3, 4, 1, 3}));
    QCOMPARE(TfrmTrovaLibri::lastFindText(), QStringLiteral("rosa"));

    // A new text starts again from the top, testing row 0 itself.
    control<QLineEdit>(screen, "txtTrova")->setText(QStringLiteral("bian"));
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 0);
    // Text found only in the selected row: once round the list, it stays.
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 0);
    // Not found anywhere: the selection does not move.
    control<QLineEdit>(screen, "txtTrova")->setText(QStringLiteral("zzz"));
    screen.selectRow(2);
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 2);

    // The last find text is shared by every instance and cleared when one is shown.
    TfrmTrovaLibri other;
    QCOMPARE(TfrmTrovaLibri::lastFindText(), QStringLiteral("zzz"));
    other.show();
    QCOMPARE(TfrmTrovaLibri::lastFindText(), QString());
}

void TestTrovaLibri::findEdgeCases()
{
    writeCards({card(QStringLiteral("Alfa")), card(QStringLiteral("Beta")), card(QString::fromUtf8("Èrta"))});
    TfrmTrovaLibri screen;
    screen.btnCercaClick();
    // An empty find text selects the first row when none is selected...
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 0);
    // ...and otherwise changes nothing.
    screen.selectRow(1);
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 1);
    // A blank is part of the find text, which is not trimmed.
    control<QLineEdit>(screen, "txtTrova")->setText(QStringLiteral(" beta"));
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 1);
    control<QLineEdit>(screen, "txtTrova")->setText(QStringLiteral("eta "));
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 1);
    // Accents keep their case; a character outside the code page finds nothing.
    control<QLineEdit>(screen, "txtTrova")->setText(QString::fromUtf8("èrta"));
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 1);
    control<QLineEdit>(screen, "txtTrova")->setText(QString::fromUtf8("Èrta"));
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 2);
    control<QLineEdit>(screen, "txtTrova")->setText(QString::fromUtf8("Ωrta"));
    screen.btnTrovaClick();
    QCOMPARE(screen.selectedRow(), 2);
}

void TestTrovaLibri::findOnEmptyList()
{
    MessageCatcher messages;
    TfrmTrovaLibri screen;
    screen.btnCercaClick();
    const QString before = TfrmTrovaLibri::lastFindText();
    control<QLineEdit>(screen, "txtTrova")->setText(QStringLiteral("x"));
    screen.btnTrovaClick();
    QTRY_COMPARE(messages.seen().size(), 1);
    QCOMPARE(messages.seen().first().text,
             QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
    QCOMPARE(messages.seen().first().icon, QMessageBox::NoIcon);
    QCOMPARE(messages.seen().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(TfrmTrovaLibri::lastFindText(), before); // nothing else happened
}

void TestTrovaLibri::handOffLaterEqualCardWins()
{
    const QString title = QString(55, QLatin1Char('L'));
    TSchedaLibro earlier =
        card(title + QStringLiteral(" A"), QStringLiteral("Autore"), QStringLiteral("Ed"), QStringLiteral("1990"));
    earlier.setText(TSchedaLibro::Note, QStringLiteral("prima copia"));
    earlier.setText(TSchedaLibro::File01, QStringLiteral("C:\\doc\\a.pdf"));
    TSchedaLibro later =
        card(title + QStringLiteral(" B"), QStringLiteral("Autore"), QStringLiteral("Ed"), QStringLiteral("1990"));
    later.setText(TSchedaLibro::Note, QStringLiteral("seconda copia"));
    later.setText(TSchedaLibro::Desc03, QStringLiteral("descrizione"));
    later.setText(TSchedaLibro::Prezzo, QStringLiteral("12,50"));
    writeCards({card(QStringLiteral("Altro")), earlier, card(QStringLiteral("Medio")), later});

    TfrmLibri libri;
    TfrmTrovaLibri screen(&libri);
    libri.receiveFrom(screen);
    control<QLabel>(screen, "lblMemory")->setText(QStringLiteral("  libri "));
    screen.btnCercaClick();
    QCOMPARE(screen.model()->rowCount(), 4);
    QCOMPARE(screen.rowTexts().at(1), screen.rowTexts().at(2)); // two identical rows
    screen.selectRow(1);
    screen.lstRecordsDblClick();

    QCOMPARE(control<QLabel>(libri, "lblPosizione")->text(), QStringLiteral("4"));
    QCOMPARE(control<QLineEdit>(libri, "txtTitolo")->text(), title + QStringLiteral(" B"));
    QCOMPARE(control<QLineEdit>(libri, "txtNote")->text(), QStringLiteral("seconda copia"));
    QCOMPARE(control<QLineEdit>(libri, "txtPrezzo")->text(), QStringLiteral("12,50"));
    QCOMPARE(control<QLabel>(libri, "lblFile01")->text(), QString());
    QCOMPARE(control<QLabel>(libri, "lblDesc03")->text(), QStringLiteral("descrizione"));
    QCOMPARE(control<PictureBox>(libri, "imgFoto")->image(), libri.placeholder()); // no cover file
    QCOMPARE(screen.model()->rowCount(), 0);
    QVERIFY(!screen.isVisible());
}

void TestTrovaLibri::handOffByDoubleClick()
{
    writeCards({card(QStringLiteral("Primo"), QStringLiteral("Tizio")), card(QStringLiteral("Secondo"))});
    TfrmLibri libri;
    auto *screen = new TfrmTrovaLibri(&libri);
    libri.receiveFrom(*screen);
    control<QLabel>(screen, "lblMemory")->setText(QStringLiteral("libri"));
    QTimer::singleShot(0, screen, [screen] {
        screen->btnCercaClick();
        QTest::qWait(50); // the list lays its rows out
        const QRect cell = control<QListView>(screen, "lstRecords")->visualRect(screen->model()->index(0, 0));
        // A double click: the first click selects the row, the second hands it off.
        const QPoint at(20, cell.center().y());
        QTest::mouseClick(control<QListView>(screen, "lstRecords")->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(control<QListView>(screen, "lstRecords")->viewport(), Qt::LeftButton, {}, at);
    });
    screen->exec();
    QCOMPARE(control<QLabel>(libri, "lblPosizione")->text(), QStringLiteral("1"));
    QCOMPARE(control<QLineEdit>(libri, "txtAutore")->text(), QStringLiteral("Tizio"));
    delete screen;
}

void TestTrovaLibri::handOffWithoutSelectionOrTag()
{
    writeCards({card(QStringLiteral("Primo"))});
    TfrmLibri libri;
    control<QLineEdit>(libri, "txtTitolo")->setText(QStringLiteral("sullo schermo"));
    {
        TfrmTrovaLibri screen(&libri);
        libri.receiveFrom(screen);
        control<QLabel>(screen, "lblMemory")->setText(QStringLiteral("libri"));
        screen.btnCercaClick();
        screen.lstRecordsDblClick(); // no row selected
        QVERIFY(!screen.isVisible());
    }
    for (const QString &tag : {QStringLiteral("Libri"), QString(), QStringLiteral("libro_c")}) {
        TfrmTrovaLibri screen(&libri);
        libri.receiveFrom(screen);
        control<QLabel>(screen, "lblMemory")->setText(tag);
        screen.btnCercaClick();
        screen.selectRow(0);
        screen.lstRecordsDblClick();
    }
    QCOMPARE(control<QLineEdit>(libri, "txtTitolo")->text(), QStringLiteral("sullo schermo"));
    QCOMPARE(control<QLabel>(libri, "lblPosizione")->text(), QString());
    QCOMPARE(QFileInfo(BookArchive::path()).size(), qint64(TSchedaLibro::RecordSize)); // nothing written
}

void TestTrovaLibri::cardScreenOpensSearchWithTag()
{
    TfrmLibri libri;
    QString tag;
    bool seen = false;
    QTimer::singleShot(0, &libri, [&] {
        if (auto *search = qobject_cast<TfrmTrovaLibri *>(QApplication::activeModalWidget())) {
            seen = search->parentWidget() == &libri;
            tag = control<QLabel>(search, "lblMemory")->text();
            search->btnAnnullaClick();
        }
    });
    libri.cmdTrovaClick();
    QVERIFY(seen);
    QCOMPARE(tag, QStringLiteral("libri"));
    QVERIFY(libri.findChildren<TfrmTrovaLibri *>().isEmpty()); // destroyed after its run
}

void TestTrovaLibri::handOffIntoACatalogueBox_data()
{
    // Autore, Editore, Anno, Note, ISBN, Prezzo as stored; the five texts of the box.
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("expected"); // Nome, UM, Caratteristiche, Codice, Prezzo
    QTest::newRow("every field") << QStringList{QStringLiteral("Umberto Eco"),   QStringLiteral("Bompiani"),
                                                QStringLiteral("1980"),          QStringLiteral("Prima edizione"),
                                                QStringLiteral("88-452-0621-4"), QStringLiteral("18,50")}
                                 << QStringList{QStringLiteral("Il titolo"),
                                                QStringLiteral("Umberto Eco  -  Bompiani (1980)"),
                                                QStringLiteral("Prima edizione"), QStringLiteral("ISBN: 88-452-0621-4"),
                                                QStringLiteral("€ 18,50")};
    QTest::newRow("no year") << QStringList{QStringLiteral("Eco"), QStringLiteral("Bompiani"), QStringLiteral(""),
                                            QStringLiteral(""),    QStringLiteral("1"),        QStringLiteral("2")}
                             << QStringList{QStringLiteral("Il titolo"), QStringLiteral("Eco  -  Bompiani ()"),
                                            QStringLiteral(""), QStringLiteral("ISBN: 1"), QStringLiteral("€ 2")};
    QTest::newRow("no author, publisher or year")
        << QStringList{QStringLiteral(""),  QStringLiteral(""),  QStringLiteral(""),
                       QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("2")}
        << QStringList{QStringLiteral("Il titolo"), QStringLiteral("  -   ()"), QStringLiteral("n"),
                       QStringLiteral("ISBN: 1"), QStringLiteral("€ 2")};
    QTest::newRow("no ISBN, no price") << QStringList{QStringLiteral("A"), QStringLiteral("E"), QStringLiteral("2001"),
                                                      QStringLiteral(""),  QStringLiteral(""),  QStringLiteral("")}
                                       << QStringList{QStringLiteral("Il titolo"), QStringLiteral("A  -  E (2001)"),
                                                      QStringLiteral(""), QStringLiteral("ISBN: "),
                                                      QStringLiteral("€ ")};
    QTest::newRow("blanks around") << QStringList{QStringLiteral("  Eco "), QStringLiteral(" Bompiani"),
                                                  QStringLiteral("1980  "), QStringLiteral(" nota "),
                                                  QStringLiteral(" 12 "),   QStringLiteral("  9,90 ")}
                                   << QStringList{QStringLiteral("Il titolo"),
                                                  QStringLiteral("Eco  -  Bompiani (1980)"), QStringLiteral("nota"),
                                                  QStringLiteral("ISBN: 12"), QStringLiteral("€ 9,90")};
}

void TestTrovaLibri::handOffIntoACatalogueBox()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, expected);
    TSchedaLibro book = card(QStringLiteral("Il titolo"), stored[0], stored[1], stored[2]);
    book.setText(TSchedaLibro::Note, stored[3]);
    book.setText(TSchedaLibro::ISBN, stored[4]);
    book.setText(TSchedaLibro::Prezzo, stored[5]);
    writeCards({card(QStringLiteral("Altro")), card(QStringLiteral("Ancora")), book});

    TfrmListinoPrezzi editor;
    for (int box = 0; box < 8; ++box)
        for (int f = 0; f < TRiquadro::FieldCount; ++f)
            boxField(editor, box, f)->setText(QStringLiteral("prima"));
    const QImage before(QSize(5, 5), QImage::Format_RGB32);
    boxPhoto(editor, 2)->setImage(before);
    TfrmTrovaLibri screen(&editor);
    editor.receiveFrom(screen);
    control<QLabel>(screen, "lblMemory")->setText(QStringLiteral(" libro_c "));
    control<QLineEdit>(screen, "txtTitolo")->setText(QStringLiteral("titolo"));
    screen.btnCercaClick();
    QCOMPARE(screen.model()->rowCount(), 1);
    screen.selectRow(0);
    screen.lstRecordsDblClick();

    const TRiquadro::Field order[] = {TRiquadro::Nome, TRiquadro::UM, TRiquadro::Caratteristiche, TRiquadro::Codice,
                                      TRiquadro::Prezzo};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(boxField(editor, 2, order[i])->text(), expected[i]);
    QCOMPARE(control<QLabel>(editor, "lblRecord")->text(), QStringLiteral("3"));
    QCOMPARE(boxPhoto(editor, 2)->image(), editor.placeholder()); // no cover file
    QVERIFY(QDir(Covers::folder()).exists());
    for (int box : {0, 1, 3, 4, 5, 6, 7})
        for (int f = 0; f < TRiquadro::FieldCount; ++f)
            QCOMPARE(boxField(editor, box, f)->text(), QStringLiteral("prima"));
    QVERIFY(!screen.isVisible());
    QCOMPARE(QFileInfo(BookArchive::path()).size(), qint64(3 * TSchedaLibro::RecordSize)); // nothing written
}

void TestTrovaLibri::handOffReachesTheBoxOfItsTag()
{
    writeCards({card(QStringLiteral("Primo")), card(QStringLiteral("Secondo"), QStringLiteral("Calvino"))});
    QVERIFY(Covers::makeFolder());
    QFile cover(Covers::path(QStringLiteral("2")));
    QVERIFY(cover.open(QIODevice::WriteOnly));
    QImage picture(QSize(30, 40), QImage::Format_RGB32);
    picture.fill(Qt::darkRed);
    QVERIFY(picture.save(&cover, "JPG"));
    cover.close();

    TfrmListinoPrezzi editor;
    const QString letters = QStringLiteral("abcdefgh");
    for (int box = 0; box < 8; ++box) {
        TfrmTrovaLibri screen(&editor);
        editor.receiveFrom(screen);
        control<QLabel>(screen, "lblMemory")->setText(QStringLiteral("libro_") + letters.at(box));
        control<QLineEdit>(screen, "txtAutore")->setText(QStringLiteral("calvino"));
        screen.btnCercaClick();
        screen.selectRow(0);
        screen.lstRecordsDblClick();
        QCOMPARE(boxField(editor, box, TRiquadro::Nome)->text(), QStringLiteral("Secondo"));
        QCOMPARE(boxPhoto(editor, box)->image().size(), QSize(30, 40)); // the card's cover
        QCOMPARE(boxPhoto(editor, box)->sourceJpeg(), [] {
            QFile f(Covers::path(QStringLiteral("2")));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }());
        if (box < 7)
            QVERIFY(boxField(editor, box + 1, TRiquadro::Nome)->text().isEmpty());
    }
    // A tag in capitals is no tag.
    TfrmTrovaLibri screen(&editor);
    editor.receiveFrom(screen);
    control<QLineEdit>(editor, "txtNome_A")->clear();
    control<QLabel>(screen, "lblMemory")->setText(QStringLiteral("LIBRO_A"));
    screen.btnCercaClick();
    screen.selectRow(0);
    screen.lstRecordsDblClick();
    QVERIFY(control<QLineEdit>(editor, "txtNome_A")->text().isEmpty());
}

QTEST_MAIN(TestTrovaLibri)
#include "tst_tfrmtrovalibri.moc"
