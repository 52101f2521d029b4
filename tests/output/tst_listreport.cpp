// The list report: its pages, lines and date line, and the search screen's Stampa.
#include "common/cardfixtures.h"
#include "common/pdftext.h"
#include "common/printrecorder.h"
#include "common/testsupport.h"

#include "core/bookarchive.h"
#include "output/listreport.h"
#include "search/tfrmtrovalibri.h"

#include <QFile>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

const QDateTime PrintedAt(QDate(2024, 3, 7), QTime(9, 5, 2));

QStringList numberedRows(int n)
{
    QStringList rows;
    for (int i = 1; i <= n; ++i)
        rows << QStringLiteral("riga %1  colonna").arg(i, 4, 10, QLatin1Char('0'));
    return rows;
}

} // namespace

class TestListReport : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempProgramFolder> m_folder;

    PdfText renderList(const QStringList &rows, const QString &title = QStringLiteral("Titolo della lista"))
    {
        const QString path = m_folder->file(QStringLiteral("list.pdf"));
        QPdfWriter writer(path);
        if (!ListReport::render(&writer, title, rows, PrintedAt))
            return {};
        return PdfText::read(path);
    }

private slots:
    void initTestCase() { prepareScreenTests(); }
    void init() { m_folder = std::make_unique<TempProgramFolder>(); }
    void cleanup() { m_folder.reset(); }

    void dateLineReadsDayMonthYear()
    {
        const QString line = ListReport::dateLine(PrintedAt);
        QVERIFY2(line.startsWith(QLatin1String("Stampa eseguita in data 07/03/2024 alle ore ")), qPrintable(line));
        QVERIFY2(line.contains(QLatin1String("9")) && line.contains(QLatin1String("05")), qPrintable(line));
    }

    // Rows continue over as many landscape pages as they need, each once
    // and in order, under a title on the first page only, with the date
    // line once after the last row.
    void rowsSpanPages_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("rowsPerPage");
        // Under the 8 mm title 53 rows of 3.392 mm fit in 190 mm, 56 on a page of their own.
        QTest::newRow("empty list") << 0 << QList<int>{0};
        QTest::newRow("one page") << 50 << QList<int>{50};
        QTest::newRow("date line moves on") << 53 << QList<int>{53, 0};
        QTest::newRow("200 rows") << 200 << QList<int>{53, 56, 56, 35};
    }
    void rowsSpanPages()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, rowsPerPage);
        const QStringList lines = numberedRows(rows);
        const PdfText pdf = renderList(lines);
        QCOMPARE(pdf.pages.size(), rowsPerPage.size());
        int next = 0;
        for (int p = 0; p < pdf.pages.size(); ++p) {
            const PdfText::Page &page = pdf.pages[p];
            QCOMPARE(qRound(page.size.width()), 297);
            QCOMPARE(qRound(page.size.height()), 210);
            QStringList texts = page.lines();
            QCOMPARE(texts.contains(QStringLiteral("Titolo della lista")), p == 0);
            if (p == 0)
                QCOMPARE(texts.takeFirst(), QStringLiteral("Titolo della lista"));
            const bool last = p == pdf.pages.size() - 1;
            if (last)
                QCOMPARE(texts.takeLast(), ListReport::dateLine(PrintedAt));
            QCOMPARE(texts.size(), rowsPerPage[p]);
            for (const QString &t : texts)
                QCOMPARE(t, lines.at(next++).simplified());
        }
        QCOMPARE(next, rows);
        QCOMPARE(pdf.pages.last().all().count(QStringLiteral("Stampa eseguita")), 1);
    }

    // Positions in mm: the title bar inside the 10 mm margin, the lines one
    // every 12.822 units (3.392 mm) from the top of the data band, the date
    // line 2 mm into the footer band below the last line.
    void positions()
    {
        const PdfText pdf = renderList(numberedRows(3));
        QCOMPARE(pdf.pages.size(), 1);
        const PdfText::Page &page = pdf.pages[0];
        const QRectF title = page.find(QStringLiteral("Titolo")).box;
        QVERIFY(qAbs(title.center().y() - (10 + 1 + 2.5)) < 0.6);
        QVERIFY(title.left() > 10 + 2 + 100); // centred in the bar
        const qreal lineHeight = 12.822 * 25.4 / 96;
        QList<qreal> tops;
        for (const char *n : {"0001", "0002", "0003"}) {
            const QRectF box = page.find(QLatin1String(n)).box;
            tops << box.top();
            QVERIFY(qAbs(page.find(QStringLiteral("riga")).box.left() - (10 + 3)) < 0.3);
        }
        QVERIFY(qAbs(tops[1] - tops[0] - lineHeight) < 0.01);
        QVERIFY(qAbs(tops[2] - tops[1] - lineHeight) < 0.01);
        QVERIFY(tops[0] > 10 + 8 - 1 && tops[0] < 10 + 8 + 1);
        const QRectF date = page.find(QStringLiteral("Stampa")).box;
        const qreal footerTop = 10 + 8 + 3 * lineHeight + 10 * 25.4 / 96;
        QVERIFY2(qAbs(date.center().y() - (footerTop + 2 + 2.5)) < 0.6, qPrintable(QString::number(date.center().y())));
    }

    // Blanks are kept, so fixed-width columns line up in the monospaced
    // font; a row wider than the page is cut, not wrapped.
    void columnsLineUpAndWideRowsAreCut()
    {
        const QStringList rows = {QStringLiteral("a          Autore: uno"), QStringLiteral("bbbbbbbbbb Autore: due"),
                                  QString(400, QLatin1Char('x')) + QStringLiteral(" FINE")};
        const PdfText pdf = renderList(rows);
        QCOMPARE(pdf.pages.size(), 1);
        QList<qreal> columns;
        for (const PdfText::Word &w : pdf.pages[0].words)
            if (w.text == QLatin1String("Autore:"))
                columns << w.box.left();
        QCOMPARE(columns.size(), 2);
        QVERIFY(qAbs(columns[0] - columns[1]) < 0.01);
        QCOMPARE(pdf.pages[0].lines().size(), 1 + 3 + 1);
    }

    void cancelPrintsNothingFailureWarns()
    {
        PrintRecorder printer(m_folder->file(QStringLiteral("out.pdf")));
        MessageCatcher messages;
        printer.answer = PrintRecorder::Cancel;
        ListReport::print(nullptr, QStringLiteral("Riepilogo"), numberedRows(5));
        QCOMPARE(printer.dialogs, 1);
        QCOMPARE(printer.orientation, QPageLayout::Landscape);
        QVERIFY(!QFile::exists(printer.pdf()));
        QVERIFY(messages.seen().isEmpty());

        printer.answer = PrintRecorder::Broken;
        ListReport::print(nullptr, QStringLiteral("Riepilogo"), numberedRows(5));
        QCOMPARE(messages.texts(), QStringList(ReportPrinting::printFailedMessage()));
        QCOMPARE(messages.seen().first().icon, QMessageBox::Warning);

        messages.clear();
        printer.answer = PrintRecorder::NoPrinter;
        ListReport::print(nullptr, QStringLiteral("Riepilogo"), numberedRows(5));
        QCOMPARE(messages.texts(), QStringList(ReportPrinting::noPrinterMessage()));
        QVERIFY(!QFile::exists(printer.pdf()));
    }

    // The search screen's Stampa prints its rows, in list order, under the
    // title "Riepilogo libri in archivio".
    void searchScreenPrintsItsRows()
    {
        {
            BookArchive archive;
            QVERIFY(archive.open());
            QVERIFY(archive.append(card(QStringLiteral("Zeta [vol. 2]"), QStringLiteral("Rossi"))) > 0);
            QVERIFY(archive.append(card(QStringLiteral("Alfa"), QStringLiteral("Bianchi"), QStringLiteral("Ed"),
                                        QStringLiteral("1999"))) > 0);
            QVERIFY(archive.close());
        }
        TfrmTrovaLibri screen;
        screen.show();
        screen.btnCercaClick();
        PrintRecorder printer(m_folder->file(QStringLiteral("search.pdf")));
        control<QPushButton>(screen, "btnStampa")->click();
        const PdfText pdf = PdfText::read(printer.pdf());
        QCOMPARE(pdf.pages.size(), 1);
        QStringList expected = {QStringLiteral("Riepilogo libri in archivio")};
        for (const QString &row : screen.rowTexts())
            expected << row.simplified();
        QVERIFY(expected.at(1).startsWith(QLatin1String("Alfa Autore: Bianchi")));
        const QStringList lines = pdf.pages[0].lines();
        QCOMPARE(lines.mid(0, 3), expected);
        QVERIFY(lines.at(3).startsWith(QLatin1String("Stampa eseguita in data ")));
    }
};

QTEST_MAIN(TestListReport)
#include "tst_listreport.moc"
