// The catalogue page's preview and print windows, on a stand-in for the page
// editor that holds its controls under their names.
#include "common/editorstandin.h"
#include "common/pdftext.h"
#include "common/printrecorder.h"
#include "common/testsupport.h"

#include "catalogues/tfrmanteprimaprodotto.h"
#include "catalogues/tfrmstampaprodotto.h"
#include "kit/picturewidgets.h"
#include "report/reportprinting.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <memory>

class TestCataloguePagePrint : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<EditorStandIn> m_editor;

    /// Prints the editor's page through the print window; the printed words.
    PdfText printPage(PrintRecorder &printer)
    {
        TfrmStampaProdotto w(m_editor.get());
        w.setPage(m_editor->printedPage());
        w.show();
        control<QPushButton>(w, "btnStampa")->click();
        return PdfText::read(printer.pdf());
    }

private slots:
    void initTestCase() { prepareScreenTests(); }
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        m_editor = std::make_unique<EditorStandIn>();
    }
    void cleanup()
    {
        m_editor.reset();
        m_folder.reset();
    }

    void windowFrames()
    {
        TfrmAnteprimaProdotto preview(m_editor.get());
        preview.setPage(m_editor->printedPage());
        TfrmStampaProdotto print(m_editor.get());
        print.setPage(m_editor->printedPage());
        QCOMPARE(preview.windowTitle(), QStringLiteral(" Anteprima di stampa"));
        QCOMPARE(print.windowTitle(), QStringLiteral(" Stampa documento"));
        QCOMPARE(control<QPushButton>(preview, "btnStampa")->text(), QStringLiteral("Mostra anteprima"));
        QCOMPARE(control<QPushButton>(print, "btnStampa")->text(), QStringLiteral("Stampa"));
        for (PrintWindow *w : {static_cast<PrintWindow *>(&preview), static_cast<PrintWindow *>(&print)}) {
            QCOMPARE(w->size(), QSize(364, 287));
            QCOMPARE(control<QPushButton>(w, "btnAnnulla")->geometry(), QRect(18, 243, 145, 28));
            QCOMPARE(control<QPushButton>(w, "btnStampa")->geometry(), QRect(200, 243, 145, 28));
            QCOMPARE(w->repDocumento().name(), QStringLiteral("Catalogo Libri"));
        }
        QCOMPARE(control<PictureButton>(preview, "icoInf01")->geometry(), QRect(28, 28, 225, 83));
        QCOMPARE(control<PictureButton>(preview, "icoInf02")->geometry(), QRect(112, 142, 209, 67));
        QCOMPARE(control<PictureButton>(preview, "imgSezione04")->geometry(), QRect(30, 142, 66, 69));
        QCOMPARE(control<QWidget>(preview, "shpSepara")->geometry(), QRect(26, 122, 311, 6));
        QCOMPARE(control<PictureButton>(print, "imgLogo01")->geometry(), QRect(22, 26, 317, 198));
        // Titles of the boxes: 14 pt on screen, 16 pt on paper.
        QCOMPARE(preview.repDocumento().object(QStringLiteral("txtNome_C"))->pointSize, 14.0);
        QCOMPARE(print.repDocumento().object(QStringLiteral("txtNome_C"))->pointSize, 16.0);
    }

    // What the editor shows, saved or not, is printed on one A4 portrait
    // page: the name at the top, every box's texts trimmed at their places
    // in boxes 33 mm apart, and the bare page number at the foot.
    void printsThePageOnScreen()
    {
        m_editor->fill();
        PrintRecorder printer(m_folder->file(QStringLiteral("page.pdf")));
        MessageCatcher messages;
        const PdfText pdf = printPage(printer);
        QVERIFY(messages.seen().isEmpty());
        QCOMPARE(printer.orientation, QPageLayout::Portrait);
        QCOMPARE(pdf.pages.size(), 1);
        const PdfText::Page &page = pdf.pages[0];
        QCOMPARE(qRound(page.size.width()), 210);
        QCOMPARE(qRound(page.size.height()), 297);
        auto centreOf = [&](const QString &text) {
            const PdfText::Word w = page.find(text);
            return w.text.isEmpty() ? QPointF(-1, -1) : w.box.center();
        };
        QVERIFY(qAbs(page.find(QStringLiteral("Narrativa")).box.left() - 11) < 0.3);
        QVERIFY(qAbs(centreOf(QStringLiteral("12")).x() - 105) < 0.5); // centred on the page
        QVERIFY(qAbs(centreOf(QStringLiteral("12")).y() - (10 + 273 + 2)) < 0.6);
        for (int k = 0; k < 8; ++k) {
            const QChar letter = QLatin1Char(char('A' + k));
            const qreal top = 10 + 6 + 33 * k; // the box's rectangle on paper
            const struct
            {
                QString text;
                qreal x, y, h;
            } objects[] = {{QStringLiteral("Nome_") + letter, 27.4, 1, 7},
                           {QStringLiteral("UM_") + letter, 27.4, 10, 4},
                           {QStringLiteral("Caratteristiche_") + letter, 27.4, 16, 4},
                           {QStringLiteral("Codice_") + letter, 27.4, 22, 7}};
            for (const auto &o : objects) {
                const PdfText::Word w = page.find(o.text);
                QVERIFY2(!w.text.isEmpty(), qPrintable(o.text));
                QVERIFY2(qAbs(w.box.left() - (10 + o.x)) < 0.4, qPrintable(o.text));
                QVERIFY2(qAbs(w.box.center().y() - (top + o.y + o.h / 2)) < 0.8, qPrintable(o.text));
            }
            const PdfText::Word price = page.find(QStringLiteral("Prezzo_") + letter);
            QVERIFY(qAbs(price.box.right() - (10 + 141 + 45.4)) < 0.4); // right-aligned
        }
    }

    // The eight rectangles, AliceBlue and Ivory in turn, at y = 6 + 33k,
    // each with the editor's photo of its box.
    void boxesAndPhotos()
    {
        TfrmStampaProdotto w(m_editor.get());
        w.setPage(m_editor->printedPage());
        w.show();
        QVERIFY(w.fillReport());
        const QImage page = w.repDocumento().pageImage(0, 4);
        auto at = [&](qreal x, qreal y) { return page.pixel(int((10 + x) * 4), int((10 + y) * 4)); };
        for (int k = 0; k < 8; ++k) {
            const qreal top = 6 + 33 * k;
            const QRgb fill = k % 2 ? qRgb(0xFF, 0xFF, 0xF0) : qRgb(0xF0, 0xF8, 0xFF);
            QVERIFY2(at(150, top + 1) == fill,
                     qPrintable(QStringLiteral("box %1: %2").arg(k).arg(at(150, top + 1), 0, 16)));
            QCOMPARE(at(150, top + 29), fill);
            QCOMPARE(at(150, top - 1.5), qRgb(255, 255, 255)); // the 3 mm gap between boxes
            QCOMPARE(at(150, top + 31.5), qRgb(255, 255, 255));
            const QImage photo =
                m_editor->findChild<PictureBox *>(QStringLiteral("imgFoto_") + QLatin1Char(char('A' + k)))->image();
            QCOMPARE(at(2 + 11, top + 1 + 14), photo.pixel(140, 180));
        }
    }

    // A page never saved has no number: its foot line stays empty. Empty
    // boxes print no text, and brackets print as typed.
    void unsavedPageAndEmptyBoxes()
    {
        control<QLabel>(m_editor, "lblNome")
            ->setText(QStringLiteral("Catalogo [bozza] con un nome lunghissimo che scorre oltre ogni limite "
                                     "della riga di testa della pagina stampata, fino al bordo e oltre"));
        m_editor->box("txtNome_", 'B')->setText(QStringLiteral("[Titolo] B"));
        PrintRecorder printer(m_folder->file(QStringLiteral("unsaved.pdf")));
        const PdfText pdf = printPage(printer);
        QCOMPARE(pdf.pages.size(), 1);
        const QStringList lines = pdf.pages[0].lines();
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).startsWith(QLatin1String("Catalogo [bozza] con")));
        QCOMPARE(lines.at(1), QStringLiteral("[Titolo] B"));
        for (const PdfText::Word &w : pdf.pages[0].words)
            QVERIFY(w.box.top() < 10 + 273); // nothing at the foot
    }

    void annullaAndCancelPrintNothing()
    {
        PrintRecorder printer(m_folder->file(QStringLiteral("none.pdf")));
        MessageCatcher messages;
        {
            TfrmStampaProdotto w(m_editor.get());
            w.setPage(m_editor->printedPage());
            w.show();
            control<QPushButton>(w, "btnAnnulla")->click();
            QVERIFY(!w.isVisible());
        }
        QCOMPARE(printer.dialogs, 0);
        printer.answer = PrintRecorder::Cancel;
        TfrmStampaProdotto w(m_editor.get());
        w.setPage(m_editor->printedPage());
        w.show();
        control<QPushButton>(w, "btnStampa")->click();
        QCOMPARE(printer.dialogs, 1);
        QVERIFY(!w.isVisible()); // a cancel closes the window, silently
        QVERIFY(!QFile::exists(printer.pdf()));
        QVERIFY(messages.seen().isEmpty());
    }

    // A printer that fails gets a clear Italian warning, and the window
    // stays open so the user can try again.
    void failedPrintWarnsAndStaysOpen()
    {
        PrintRecorder printer(m_folder->file(QStringLiteral("broken.pdf")));
        printer.answer = PrintRecorder::Broken;
        MessageCatcher messages;
        TfrmStampaProdotto w(m_editor.get());
        w.setPage(m_editor->printedPage());
        w.show();
        control<QPushButton>(w, "btnStampa")->click();
        QCOMPARE(messages.texts(), QStringList(ReportPrinting::printFailedMessage()));
        QCOMPARE(messages.seen().first().icon, QMessageBox::Warning);
        QVERIFY(w.isVisible());
        messages.clear();
        printer.answer = PrintRecorder::NoPrinter;
        control<QPushButton>(w, "btnStampa")->click();
        QCOMPARE(messages.texts(), QStringList(ReportPrinting::noPrinterMessage()));
        QVERIFY(w.isVisible());
        printer.answer = PrintRecorder::ToPdf;
        control<QPushButton>(w, "btnStampa")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(PdfText::read(printer.pdf()).pages.size(), 1);
    }

    // The preview shows the page with print, zoom, full screen and close,
    // and no thumbnails.
    void previewShowsThePage()
    {
        m_editor->fill();
        bool seen = false;
        TfrmAnteprimaProdotto w(m_editor.get());
        w.setPage(m_editor->printedPage());
        w.show();
        whenOpen<ReportPreview>([&](ReportPreview *preview) {
            seen = true;
            QCOMPARE(preview->pages()->zoomFactor(), 1.0);
            QCOMPARE(preview->pages()->pageCount(), 1);
            QVERIFY(!preview->thumbnails());
            QVERIFY(preview->findChild<QAction *>(QStringLiteral("actSchermoIntero")));
            QCOMPARE(preview->report().object(QStringLiteral("txtNome_H"))->text(), QStringLiteral("Nome_H"));
            QCOMPARE(preview->report().object(QStringLiteral("txtNome_H"))->pointSize, 14.0);
            preview->findChild<QAction *>(QStringLiteral("actChiudi"))->trigger();
        });
        control<QPushButton>(w, "btnStampa")->click();
        QVERIFY(seen);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestCataloguePagePrint)
#include "tst_cataloguepageprint.moc"
