// The book card's preview and print windows, opened from the card screen.
#include "common/pdftext.h"
#include "common/printrecorder.h"
#include "common/testsupport.h"

#include "books/tfrmlibri.h"
#include "kit/picturewidgets.h"
#include "output/tfrmanteprimalibri.h"
#include "output/tfrmstampalibri.h"
#include "report/reportprinting.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <memory>

namespace {

QImage filled(const QSize &size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

/// The colour printed at (x, y) mm of the printable area.
QRgb printedAt(const Report &report, qreal x, qreal y)
{
    const QImage page = report.pageImage(0, 4);
    return page.pixel(int((10 + x) * 4), int((10 + y) * 4));
}

} // namespace

class TestBookCardPrint : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TfrmLibri> m_libri;

    /// Types a distinct value into every box of the card screen, unsaved.
    void typeCard()
    {
        for (const QString &name : BookCardWindow::valueNames())
            m_libri->findChild<QLineEdit *>(name)->setText(QStringLiteral("  v") + name.mid(3) + QStringLiteral(" "));
    }

private slots:
    void initTestCase() { prepareScreenTests(); }
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        m_libri = std::make_unique<TfrmLibri>();
        m_libri->show();
    }
    void cleanup()
    {
        m_libri.reset();
        m_folder.reset();
    }

    void windowFrames_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("confirm");
        QTest::newRow("preview") << true << " Anteprima di stampa"
                                 << "Mostra anteprima";
        QTest::newRow("print") << false << " Stampa scheda"
                               << "Stampa";
    }
    void windowFrames()
    {
        QFETCH(bool, preview);
        QFETCH(QString, caption);
        QFETCH(QString, confirm);
        std::unique_ptr<BookCardWindow> w;
        if (preview)
            w = std::make_unique<TfrmAnteprimaLibri>(m_libri.get());
        else
            w = std::make_unique<TfrmStampaLibri>(m_libri.get());
        QCOMPARE(w->objectName(), preview ? QStringLiteral("TfrmAnteprimaLibri") : QStringLiteral("TfrmStampaLibri"));
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->size(), QSize(364, 287));
        QCOMPARE(control<QPushButton>(w, "btnStampa")->text(), confirm);
        QCOMPARE(control<QPushButton>(w, "btnAnnulla")->text(), QStringLiteral("Annulla"));
        QCOMPARE(control<QPushButton>(w, "btnAnnulla")->geometry(), QRect(18, 243, 145, 28));
        QCOMPARE(control<QPushButton>(w, "btnStampa")->geometry(), QRect(200, 243, 145, 28));
        QCOMPARE(control<QWidget>(w, "shpSfondo")->geometry(), QRect(18, 18, 326, 215));
        QCOMPARE(control<PictureBox>(w, "imgTemp")->image().size(), preview ? QSize(297, 184) : QSize(307, 409));
        QVERIFY(control<PictureBox>(w, "imgLogo")->isHidden() && control<PictureBox>(w, "imgTemp")->isHidden());
        QCOMPARE(w->repDocumento().name(), QStringLiteral("Scheda Libro"));
    }

    // The card on screen, saved or not, is printed on one A4 portrait page:
    // each value trimmed, at its place under its caption.
    void printsTheCardOnScreen()
    {
        typeCard();
        control<PictureBox>(m_libri, "imgFoto")->setImage(filled(QSize(300, 400), qRgb(200, 0, 0)));
        PrintRecorder printer(m_folder->file(QStringLiteral("card.pdf")));
        MessageCatcher messages;
        whenOpen<TfrmStampaLibri>([](TfrmStampaLibri *w) { control<QPushButton>(w, "btnStampa")->click(); });
        m_libri->cmdStampaClick();
        QVERIFY(messages.seen().isEmpty());
        QCOMPARE(printer.dialogs, 1);
        QCOMPARE(printer.orientation, QPageLayout::Portrait);
        QVERIFY(m_libri->findChildren<TfrmStampaLibri *>().isEmpty()); // the window has closed

        const PdfText pdf = PdfText::read(printer.pdf());
        QCOMPARE(pdf.pages.size(), 1);
        const PdfText::Page &page = pdf.pages[0];
        QCOMPARE(qRound(page.size.width()), 210);
        QCOMPARE(qRound(page.size.height()), 297);
        // Caption and value of each cell: (text, left, top of its object) in mm
        // of the printable area, which starts 10 mm in.
        const struct
        {
            const char *text;
            qreal x, y, height;
        } cells[] = {
            {"vTitolo", -1, 2.2, 6},     {"AUTORE", 2, 125.6, 3.6},     {"vAutore", 2, 131, 4},
            {"NAZIONE", 97, 125.6, 3.6}, {"vNazione", 97, 131, 4},      {"ANNO", 2, 140, 3.6},
            {"vAnno", 2, 145.4, 4},      {"CASA", 97, 140, 3.6},        {"vEditore", 97, 145.4, 4},
            {"CITTA'", 2, 154, 3.6},     {"vCitta", 2, 159.4, 4},       {"vGenere", 97, 159.4, 4},
            {"ISBN", 2, 168, 3.6},       {"vISBN", 2, 173.4, 4},        {"vLingua", 97, 173.4, 4},
            {"vOriginale", 2, 187.4, 4}, {"vTraduttore", 97, 187.4, 4}, {"COLLANA", 2, 195.6, 3.6},
            {"vCollana", 2, 201, 4},     {"CURATORE", 97, 195.6, 3.6},  {"vCuratore", 97, 201, 4},
            {"vPosizione", 2, 215.4, 4}, {"vEtichetta", 97, 215.4, 4},  {"vFormato", 2, 229.4, 4},
            {"vDewey", 97, 229.4, 4},    {"VOLUMI", 2, 238, 3.6},       {"vVolumi", 2, 243.4, 4},
            {"vPagine", 97, 243.4, 4},   {"PREZZO", 2, 252, 3.6},       {"vPrezzo", 2, 257.4, 4},
            {"GIUDIZIO", 97, 252, 3.6},  {"vGiudizio", 97, 257.4, 4},   {"NOTE", 2, 265.6, 3.6},
            {"vNote", 2, 271, 4},
        };
        for (const auto &cell : cells) {
            const PdfText::Word word = page.find(QLatin1String(cell.text));
            QVERIFY2(!word.text.isEmpty(), cell.text);
            const qreal centre = 10 + cell.y + cell.height / 2;
            QVERIFY2(qAbs(word.box.center().y() - centre) < 0.8,
                     qPrintable(QStringLiteral("%1 at y %2").arg(QLatin1String(cell.text)).arg(word.box.center().y())));
            if (cell.x >= 0)
                QVERIFY2(qAbs(word.box.left() - (10 + cell.x)) < 0.5,
                         qPrintable(QStringLiteral("%1 at x %2").arg(QLatin1String(cell.text)).arg(word.box.left())));
            else // the title is centred on the page
                QVERIFY(qAbs(word.box.center().x() - 105) < 0.5);
        }
        QCOMPARE(page.lines().size(), 1 + 11 + 11); // the title, 11 rows of captions and 11 of values
    }

    // The picture printed is the one the card screen shows: its cover, the
    // placeholder it shows for a card without one, or, when it shows
    // nothing at all, the window's own default picture.
    void printsThePictureOnScreen()
    {
        auto printedCentre = [this] {
            TfrmStampaLibri w(m_libri.get());
            w.setCard(m_libri->printedCard());
            w.show();
            PrintRecorder printer(m_folder->file(QStringLiteral("pic.pdf")));
            w.btnStampaClick();
            return printedAt(w.repDocumento(), 95, 67);
        };
        control<PictureBox>(m_libri, "imgFoto")->setImage(filled(QSize(100, 150), qRgb(0, 160, 0)));
        QCOMPARE(printedCentre(), qRgb(0, 160, 0));
        control<PictureBox>(m_libri, "imgFoto")->setImage(m_libri->placeholder()); // as for a card without cover
        TfrmStampaLibri placeholder(m_libri.get());
        placeholder.setCard(m_libri->printedCard());
        placeholder.show();
        QCOMPARE(control<PictureBox>(placeholder, "imgLogo")->image(), m_libri->placeholder());
        control<PictureBox>(m_libri, "imgFoto")->setImage(QImage());
        TfrmAnteprimaLibri nothing(m_libri.get());
        nothing.setCard(m_libri->printedCard());
        nothing.show();
        QCOMPARE(control<PictureBox>(nothing, "imgLogo")->image(), control<PictureBox>(nothing, "imgTemp")->image());
    }

    // A window prints the card it is given, whoever owns it: its owner's
    // boxes are not read, and a short list of values prints the rest empty.
    void printsTheCardItIsGiven()
    {
        control<QLineEdit>(m_libri, "txtTitolo")->setText(QStringLiteral("sullo schermo"));
        BookCardWindow::Card card;
        card.values = {QStringLiteral(" dato "), QStringLiteral("Autore dato")};
        card.picture = filled(QSize(100, 150), qRgb(0, 0, 170));
        for (QWidget *owner : {static_cast<QWidget *>(m_libri.get()), static_cast<QWidget *>(nullptr)}) {
            TfrmStampaLibri w(owner);
            w.setCard(card);
            w.show();
            PrintRecorder printer(m_folder->file(QStringLiteral("given.pdf")));
            w.btnStampaClick();
            QCOMPARE(printedAt(w.repDocumento(), 95, 67), qRgb(0, 0, 170));
            const QStringList lines = PdfText::read(printer.pdf()).pages.value(0).lines();
            QVERIFY(lines.contains(QStringLiteral("dato")));
            QVERIFY(lines.contains(QStringLiteral("Autore dato")));
            QVERIFY(!lines.join(QLatin1Char(' ')).contains(QLatin1String("schermo")));
        }
    }

    // A 250-character note is printed on its one line and cut at the value
    // box; a card with empty boxes prints captions and empty boxes.
    void longValuesAreCutEmptyOnesLeftBlank()
    {
        control<QLineEdit>(m_libri, "txtNote")->setText(QStringLiteral("[nota] ") + QString(243, QLatin1Char('W')));
        control<QLineEdit>(m_libri, "txtTitolo")->setText(QStringLiteral("[Titolo] tra parentesi"));
        TfrmStampaLibri w(m_libri.get());
        w.setCard(m_libri->printedCard());
        w.show();
        PrintRecorder printer(m_folder->file(QStringLiteral("long.pdf")));
        w.btnStampaClick();
        const PdfText pdf = PdfText::read(printer.pdf());
        QCOMPARE(pdf.pages.size(), 1);
        const QStringList lines = pdf.pages[0].lines();
        QVERIFY(lines.contains(QStringLiteral("[Titolo] tra parentesi")));
        QVERIFY(lines.last().startsWith(QLatin1String("[nota] WWW"))); // one line, brackets as typed
        QVERIFY(!lines.contains(QStringLiteral("vAutore")));
        const QImage page = w.repDocumento().pageImage(0, 10);
        // Value row of the note: 10 + 271 .. 275 mm; its box ends at 10 + 1 + 188.
        int inkInside = 0, inkBeyond = 0;
        for (int y = 2810; y < 2850; ++y) {
            for (int x = 1900; x < 1960; ++x)
                inkInside += qGray(page.pixel(x, y)) < 128;
            for (int x = 1995; x < 2100; ++x)
                inkBeyond += qGray(page.pixel(x, y)) < 128;
        }
        QVERIFY(inkInside > 0);
        QCOMPARE(inkBeyond, 0);
    }

    void cancelledDialogPrintsNothing()
    {
        typeCard();
        PrintRecorder printer(m_folder->file(QStringLiteral("none.pdf")));
        printer.answer = PrintRecorder::Cancel;
        MessageCatcher messages;
        whenOpen<TfrmStampaLibri>([](TfrmStampaLibri *w) { control<QPushButton>(w, "btnStampa")->click(); });
        m_libri->cmdStampaClick();
        QCOMPARE(printer.dialogs, 1);
        QVERIFY(!QFile::exists(printer.pdf()));
        QVERIFY(messages.seen().isEmpty());
    }

    void annullaPrintsNothing()
    {
        PrintRecorder printer(m_folder->file(QStringLiteral("none.pdf")));
        whenOpen<TfrmAnteprimaLibri>([](TfrmAnteprimaLibri *w) { control<QPushButton>(w, "btnAnnulla")->click(); });
        m_libri->cmdAnteprimaClick();
        QCOMPARE(printer.dialogs, 0);
    }

    void failedPrintWarnsAndCloses()
    {
        typeCard();
        PrintRecorder printer(m_folder->file(QStringLiteral("broken.pdf")));
        printer.answer = PrintRecorder::Broken;
        MessageCatcher messages;
        whenOpen<TfrmStampaLibri>([](TfrmStampaLibri *w) { control<QPushButton>(w, "btnStampa")->click(); });
        m_libri->cmdStampaClick();
        QCOMPARE(messages.texts(),
                 QStringList(QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non \u00E8 andata "
                                            "a buon fine.\n\r\n\rSi consiglia di ridurre le dimensioni della foto.")));
        QCOMPARE(messages.seen().first().icon, QMessageBox::Warning);

        // With no printer at all the user is told so, not to reduce the photo.
        messages.clear();
        printer.answer = PrintRecorder::NoPrinter;
        whenOpen<TfrmStampaLibri>([](TfrmStampaLibri *w) { control<QPushButton>(w, "btnStampa")->click(); });
        m_libri->cmdStampaClick();
        QCOMPARE(messages.texts(), QStringList(ReportPrinting::noPrinterMessage()));
    }

    // The preview shows the filled card at 100 %, with print, zoom, full
    // screen, thumbnails and close, and prints from there.
    void previewShowsTheCard()
    {
        typeCard();
        PrintRecorder printer(m_folder->file(QStringLiteral("preview.pdf")));
        MessageCatcher messages;
        bool seen = false;
        whenOpen<TfrmAnteprimaLibri>([&](TfrmAnteprimaLibri *w) {
            whenOpen<ReportPreview>([&](ReportPreview *preview) {
                seen = true;
                QCOMPARE(preview->pages()->zoomFactor(), 1.0);
                QCOMPARE(preview->pages()->pageCount(), 1);
                QStringList actions;
                for (QAction *a : preview->toolBar()->actions())
                    if (!a->isSeparator())
                        actions << a->objectName();
                QCOMPARE(actions, QStringList({QStringLiteral("actStampa"), QStringLiteral("actZoomPiu"),
                                               QStringLiteral("actZoomMeno"), QStringLiteral("actZoom100"),
                                               QStringLiteral("actSchermoIntero"), QStringLiteral("actMiniature"),
                                               QStringLiteral("actChiudi")}));
                QVERIFY(preview->thumbnails() && preview->thumbnails()->count() == 1);
                QCOMPARE(preview->report().object(QStringLiteral("txtGiudizio"))->text(), QStringLiteral("vGiudizio"));
                const auto action = [preview](const char *name) {
                    return preview->findChild<QAction *>(QLatin1String(name));
                };
                action("actZoomPiu")->trigger();
                QVERIFY(preview->pages()->zoomFactor() > 1.0);
                action("actZoom100")->trigger();
                QCOMPARE(preview->pages()->zoomFactor(), 1.0);
                action("actSchermoIntero")->trigger();
                QVERIFY(preview->isFullScreen());
                action("actSchermoIntero")->trigger();
                QVERIFY(!preview->isFullScreen());
                action("actMiniature")->trigger();
                QVERIFY(preview->thumbnails()->isHidden());
                action("actStampa")->trigger();
                action("actChiudi")->trigger();
            });
            control<QPushButton>(w, "btnStampa")->click();
        });
        m_libri->cmdAnteprimaClick();
        QVERIFY(seen);
        QCOMPARE(printer.dialogs, 1);
        QVERIFY(PdfText::read(printer.pdf()).pages.value(0).all().contains(QStringLiteral("vGiudizio")));
        QVERIFY(messages.seen().isEmpty());
    }
};

QTEST_MAIN(TestBookCardPrint)
#include "tst_bookcardprint.moc"
