// The report engine on its own: template files, filling by name, the layout
// of bands over pages and the rendering, with no widgets.
#include "common/pdftext.h"
#include "report/report.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A small listing: a 20 mm title, lines of 10 mm in a band that splits, and
// a 30 mm footer, on a page whose printable height is 277 mm.
const char *const Listing = R"(report "Prova"
page A4 portrait margin 10
band title Titolo 20
text txtTitolo 0 0 190 20 font Arial 12 text "TITOLO [DATE]"
band data Dati 10 split
text txtRighe 0 0 190 10 font "Courier New" 10 lineheight 10
band footer Piede 30
text txtPiede 0 10 190 10 font Arial 10 text "FINE"
)";

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 160;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    PdfText writePdf(const Report &report, const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QPdfWriter writer(path);
        if (!report.renderAll(&writer))
            return {};
        return PdfText::read(path);
    }

    /// Fills the listing with n lines "riga 1" ... and prepares it.
    static void fillListing(Report &report, int n)
    {
        QVERIFY(report.parse(QString::fromLatin1(Listing)));
        QStringList lines;
        for (int i = 1; i <= n; ++i)
            lines << QStringLiteral("riga %1").arg(i);
        QVERIFY(report.clearLines(QStringLiteral("txtRighe")));
        QVERIFY(report.appendLines(QStringLiteral("txtRighe"), lines));
        QVERIFY(report.setObjectHeight(QStringLiteral("txtRighe"), 10.0 * n));
        QVERIFY(report.setBandHeight(QStringLiteral("Dati"), 10.0 * n + 2));
        report.prepare();
    }

private slots:
    void templatesLoad_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("titleSize");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QString>("object");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<qreal>("pointSize");
        QTest::newRow("card") << "scheda_libro" << QString() << "Scheda Libro" << false << "txtNote"
                              << QRectF(2, 271, 185.9, 4) << 8.0;
        QTest::newRow("card title") << "scheda_libro" << QString() << "Scheda Libro" << false << "txtTitolo"
                                    << QRectF(2, 2.2, 186, 6) << 12.0;
        QTest::newRow("page, preview") << "catalogo_libri" << QString() << "Catalogo Libri" << false << "txtNome_H"
                                       << QRectF(27.4, 238, 160, 7) << 14.0;
        QTest::newRow("page, paper") << "catalogo_libri"
                                     << "16"
                                     << "Catalogo Libri" << false << "txtNome_A" << QRectF(27.4, 7, 160, 7) << 16.0;
        QTest::newRow("page, price H") << "catalogo_libri"
                                       << "16"
                                       << "Catalogo Libri" << false << "txtPrezzo_H" << QRectF(141, 258.8, 45.4, 7)
                                       << 12.0;
        QTest::newRow("list") << "riepilogo_dati" << QString() << "Riepilogo dati" << true << "txtPagina"
                              << QRectF(3, 2, 272, 5) << 8.0;
    }
    void templatesLoad()
    {
        QFETCH(QString, file);
        QFETCH(QString, titleSize);
        QFETCH(QString, name);
        QFETCH(bool, landscape);
        QFETCH(QString, object);
        QFETCH(QRectF, rect);
        QFETCH(qreal, pointSize);
        Report report;
        QMap<QString, QString> parameters;
        if (!titleSize.isEmpty())
            parameters.insert(QStringLiteral("titleSize"), titleSize);
        QVERIFY2(report.load(QStringLiteral(":/assets/%1.report").arg(file), parameters),
                 qPrintable(report.errorString()));
        QCOMPARE(report.name(), name);
        QCOMPARE(report.orientation() == QPageLayout::Landscape, landscape);
        QCOMPARE(report.printableSize(), landscape ? QSizeF(277, 190) : QSizeF(190, 277));
        const ReportObject *o = report.object(object);
        QVERIFY(o);
        QVERIFY2(qAbs(o->rect.x() - rect.x()) < 1e-9 && qAbs(o->rect.y() - rect.y()) < 1e-9 &&
                     qAbs(o->rect.width() - rect.width()) < 1e-9 && qAbs(o->rect.height() - rect.height()) < 1e-9,
                 qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(o->rect.x())
                                .arg(o->rect.y())
                                .arg(o->rect.width())
                                .arg(o->rect.height())));
        QCOMPARE(o->pointSize, pointSize);
    }

    void everyCardValueHasItsCell()
    {
        Report report;
        QVERIFY(report.load(QStringLiteral(":/assets/scheda_libro.report")));
        int rectangles = 0;
        for (const auto &o : report.pageObjects())
            rectangles += o->kind == ReportObject::Rectangle && o->name.startsWith(QLatin1String("Shape"));
        QCOMPARE(rectangles, 42);
        // Each value sits 5 mm below its caption bar's top, inside its value box.
        for (const char *name : {"txtAutore", "txtAnno", "txtNote", "txtGiudizio"}) {
            const ReportObject *value = report.object(QLatin1String(name));
            QVERIFY(value && value->lines.join(QString()).isEmpty());
            QVERIFY(value->alignment & Qt::AlignVCenter);
        }
    }

    void badTemplatesAreRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown line") << "report \"x\"\nbox a 1 2 3 4"
                                      << "line 2: unknown line \"box\"";
        QTest::newRow("bad colour") << "rect a 1 2 3 4 fill #12"
                                    << "line 1: bad colour \"#12\"";
        QTest::newRow("missing size") << "text a 1 2 3"
                                      << "line 1: expected: text NAME X Y WIDTH HEIGHT ...";
        QTest::newRow("unclosed quote") << "text a 1 2 3 4 text \"abc"
                                        << "line 1: unclosed quote";
        QTest::newRow("twice named") << "rect a 1 2 3 4\ntext a 1 2 3 4"
                                     << "line 2: \"a\" is unnamed or named twice";
        QTest::newRow("no such parameter") << "text a 1 2 3 4 font Arial $size"
                                           << "line 1: no parameter \"size\"";
        QTest::newRow("no such style") << "rect a 1 2 3 4 use bar"
                                       << "line 1: no style \"bar\"";
        QTest::newRow("bad page") << "page Letter portrait margin 10"
                                  << "line 1: expected: page A4 portrait|landscape margin N";
    }
    void badTemplatesAreRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        Report report;
        QVERIFY(!report.parse(text));
        QCOMPARE(report.errorString(), error);
        QVERIFY(!report.load(QStringLiteral(":/assets/no_such.report")));
        QVERIFY(report.errorString().startsWith(QLatin1String(":/assets/no_such.report: ")));
    }

    void fillingByName()
    {
        Report report;
        QVERIFY(report.parse(QString::fromLatin1(Listing)));
        QVERIFY(!report.setText(QStringLiteral("nessuno"), QStringLiteral("x")));
        QVERIFY(!report.setPicture(QStringLiteral("txtTitolo"), QImage(4, 4, QImage::Format_RGB32)));
        QVERIFY(!report.setBandHeight(QStringLiteral("txtTitolo"), 3));
        QVERIFY(report.setText(QStringLiteral("txtTitolo"), QStringLiteral("uno\r\ndue")));
        QCOMPARE(report.object(QStringLiteral("txtTitolo"))->lines,
                 QStringList({QStringLiteral("uno"), QStringLiteral("due")}));
        QVERIFY(report.appendLine(QStringLiteral("txtTitolo"), QStringLiteral("tre")));
        QVERIFY(report.clearLines(QStringLiteral("txtTitolo")));
        QVERIFY(report.object(QStringLiteral("txtTitolo"))->lines.isEmpty());
        QVERIFY(report.band(QStringLiteral("Dati"))->canSplit);
        QVERIFY(!report.band(QStringLiteral("Titolo"))->canSplit);
    }

    // The data band continues over as many pages as it needs: every line
    // once, in order, none cut between pages; the title on the first page
    // only and the footer once, after the last line.
    void dataBandSplitsOverPages_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QList<int>>("linesPerPage");
        // 25 lines fit beneath the title (20 + 250 <= 277), 27 on a page of their own.
        QTest::newRow("none") << 0 << QList<int>{0};
        QTest::newRow("one page with footer") << 22 << QList<int>{22};
        QTest::newRow("footer moves on") << 25 << QList<int>{25, 0};
        QTest::newRow("two pages") << 26 << QList<int>{25, 1};
        QTest::newRow("three pages") << 70 << QList<int>{25, 27, 18};
    }
    void dataBandSplitsOverPages()
    {
        QFETCH(int, lines);
        QFETCH(QList<int>, linesPerPage);
        Report report;
        fillListing(report, lines);
        QCOMPARE(report.pageCount(), int(linesPerPage.size()));
        const PdfText pdf = writePdf(report, QStringLiteral("split.pdf"));
        QCOMPARE(pdf.pages.size(), linesPerPage.size());
        int next = 1;
        for (int p = 0; p < pdf.pages.size(); ++p) {
            QStringList texts = pdf.pages[p].lines();
            QCOMPARE(texts.contains(QStringLiteral("TITOLO [DATE]")), p == 0);
            if (p == 0)
                texts.removeFirst();
            const bool last = p == pdf.pages.size() - 1;
            QCOMPARE(texts.contains(QStringLiteral("FINE")), last);
            if (last)
                QCOMPARE(texts.takeLast(), QStringLiteral("FINE"));
            QCOMPARE(texts.size(), linesPerPage[p]);
            for (const QString &t : texts)
                QCOMPARE(t, QStringLiteral("riga %1").arg(next++));
        }
        QCOMPARE(next, lines + 1);
        if (lines == 22) {
            // The lines follow each other at the line height, under the title.
            const PdfText::Page &page = pdf.pages[0];
            const qreal first = page.find(QStringLiteral("1")).box.top();
            QCOMPARE(qRound((page.find(QStringLiteral("22")).box.top() - first) * 100), 21 * 1000);
            QVERIFY2(first > 10 + 20 - 1 && first < 10 + 20 + 10, qPrintable(QString::number(first)));
        }
    }

    void textIsCutAtTheObjectsEdgeNeverWrapped_data()
    {
        QTest::addColumn<QString>("align");
        QTest::newRow("left") << "left";
        QTest::newRow("centred") << "centre";
        QTest::newRow("right") << "right";
    }
    void textIsCutAtTheObjectsEdgeNeverWrapped()
    {
        QFETCH(QString, align);
        Report report;
        QVERIFY(report.parse(QStringLiteral("text lungo 10 10 50 5 font Arial 10 align %1 valign centre\n"
                                            "text dopo 10 15 50 5 font Arial 10")
                                 .arg(align)));
        QVERIFY(report.setText(QStringLiteral("lungo"), QStringLiteral("W") + QString(249, QLatin1Char('M'))));
        report.prepare();
        const qreal dpm = 10;
        const QImage image = report.pageImage(0, dpm);
        auto inkIn = [&](qreal x0, qreal y0, qreal x1, qreal y1) {
            int count = 0;
            for (int y = int(y0 * dpm); y < int(y1 * dpm); ++y)
                for (int x = int(x0 * dpm); x < int(x1 * dpm); ++x)
                    count += isInk(image.pixel(x, y));
            return count;
        };
        // Page coordinates: the object is at (20, 20) 50 x 5 with the margin.
        QVERIFY(inkIn(20, 20, 22, 25) > 0);    // the first letter: the start of the text is kept
        QVERIFY(inkIn(68, 20, 70, 25) > 0);    // the object is filled to its right edge
        QCOMPARE(inkIn(70.2, 19, 120, 26), 0); // and nothing beyond it
        QCOMPARE(inkIn(19, 25.2, 120, 40), 0); // and no second line
    }

    void squareBracketsPrintAsTheyStand()
    {
        Report report;
        QVERIFY(report.parse(QStringLiteral("text a 0 0 190 6 font Arial 10 text \"[DATE] [Page#]\"\n"
                                            "text b 0 10 190 6 font Arial 10")));
        QVERIFY(report.setText(QStringLiteral("b"), QStringLiteral("[txtTitolo] = [1+1]")));
        report.prepare();
        const PdfText pdf = writePdf(report, QStringLiteral("brackets.pdf"));
        QCOMPARE(pdf.pages.size(), 1);
        QCOMPARE(pdf.pages[0].lines(),
                 QStringList({QStringLiteral("[DATE] [Page#]"), QStringLiteral("[txtTitolo] = [1+1]")}));
    }

    void pictureIsFittedAndCentred()
    {
        Report report;
        QVERIFY(report.parse(QStringLiteral("picture foto 0 0 40 40")));
        QImage wide(200, 100, QImage::Format_RGB32);
        wide.fill(Qt::red);
        QVERIFY(report.setPicture(QStringLiteral("foto"), wide));
        wide.fill(Qt::blue); // the report keeps its own copy
        report.prepare();
        const QImage page = report.pageImage(0, 10);
        auto at = [&](qreal x, qreal y) { return page.pixel(int((10 + x) * 10), int((10 + y) * 10)); };
        // Enlarged to the width, 40 x 20 centred: from y 10 to 30.
        QCOMPARE(at(1, 20), qRgb(255, 0, 0));
        QCOMPARE(at(39, 11), qRgb(255, 0, 0));
        QCOMPARE(at(20, 8), qRgb(255, 255, 255));
        QCOMPARE(at(20, 32), qRgb(255, 255, 255));
    }

    void missingFontsFallBackToTheirMetricTwins()
    {
        Report::installFontFallbacks();
        const QFontInfo arial(QFont(QStringLiteral("Arial")));
        QVERIFY2(QStringList({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")})
                     .contains(arial.family()),
                 qPrintable(arial.family()));
        QFont courier(QStringLiteral("Courier New"));
        const QFontInfo courierInfo(courier);
        QVERIFY2(
            QStringList({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")})
                .contains(courierInfo.family()),
            qPrintable(courierInfo.family()));
        // A monospaced font, so the columns of the lists line up.
        const QFontMetricsF metrics(courier);
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("MMMM")));
    }

    void unpaintableDeviceFails()
    {
        Report report;
        fillListing(report, 3);
        QPdfWriter writer(m_dir.filePath(QStringLiteral("no/such/folder/x.pdf")));
        QVERIFY(!report.renderAll(&writer));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
