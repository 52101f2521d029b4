// The export file, written on memory devices: its exact bytes, the cell
// escaping and encoding, the edit overlay and a device that fails.
#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/cp1252.h"
#include "output/spreadsheetexport.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {
// Stores raw bytes in a field, blanks included, as an older file may hold them.
void setRaw(TSchedaLibro &card, int field, const QByteArray &bytes)
{
    char *p = card.data() + TSchedaLibro::offset(field);
    p[0] = char(bytes.size());
    std::memcpy(p + 1, bytes.constData(), size_t(bytes.size()));
}

QByteArray exportOf(const CardTable &table)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!SpreadsheetExport::write(buffer, table))
        return QByteArray("write failed");
    return buffer.data();
}

// The bytes between "<tr>" of the first data row and its "</tr>".
QList<QByteArray> dataCells(const QByteArray &file, int row)
{
    const QByteArray cellStart = "<td style=\"text-align: left;\">";
    qsizetype at = file.indexOf("</tr>") + 5; // after the header row
    for (int r = 0; r < row; ++r)
        at = file.indexOf("</tr>", at) + 5;
    const qsizetype end = file.indexOf("</tr>", at);
    QList<QByteArray> cells;
    for (qsizetype c = file.indexOf(cellStart, at); c >= 0 && c < end; c = file.indexOf(cellStart, c + 1)) {
        const qsizetype from = c + cellStart.size();
        cells.append(file.mid(from, file.indexOf("</td>", from) - from));
    }
    return cells;
}

// A device that accepts the given number of bytes and then fails.
class FailDevice : public QIODevice
{
public:
    explicit FailDevice(qint64 accept) : m_left(accept) { open(QIODevice::WriteOnly); }
    qint64 written = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        if (len > m_left)
            return -1;
        m_left -= len;
        written += len;
        return len;
    }

private:
    qint64 m_left;
};
} // namespace

class TestSpreadsheetExport : public QObject
{
    Q_OBJECT
private slots:
    void exactBytesOfThreeCards();
    void emptyTableWritesHeaderOnly();
    void cellEncoding_data();
    void cellEncoding();
    void editsReachTheFileNotTheCards();
    void longEditsKeepTheirPlace();
    void fillReadsTheArchiveInFileOrder();
    void failingDeviceStopsTheWrite();
};

void TestSpreadsheetExport::exactBytesOfThreeCards()
{
    TSchedaLibro one;
    one.setText(TSchedaLibro::Titolo, QStringLiteral("Tom & Jerry <2>"));
    one.setText(TSchedaLibro::Autore, QStringLiteral("Hanna \"Bill\" Barbera"));
    one.setText(TSchedaLibro::Nazione, QStringLiteral("Stati Uniti"));
    one.setText(TSchedaLibro::Anno, QStringLiteral("1940"));
    one.setText(TSchedaLibro::Editore, QStringLiteral("MGM"));
    one.setText(TSchedaLibro::Citta, QStringLiteral("Hollywood"));
    one.setText(TSchedaLibro::Dewey, QStringLiteral("791.43"));
    one.setText(TSchedaLibro::Genere, QStringLiteral("Animazione"));
    one.setText(TSchedaLibro::ISBN, QStringLiteral("978-0-00-000001-1"));
    one.setText(TSchedaLibro::Lingua, QStringLiteral("Inglese"));
    one.setText(TSchedaLibro::Originale, QStringLiteral("Tom and Jerry"));
    one.setText(TSchedaLibro::Note, QStringLiteral("Prima riga\r\nseconda riga"));

    TSchedaLibro two;
    setRaw(two, TSchedaLibro::Titolo, "  Il nome della rosa \t ");
    two.setText(TSchedaLibro::Autore, QStringLiteral("Umberto Eco"));
    two.setText(TSchedaLibro::Nazione, QStringLiteral("Italia"));
    two.setText(TSchedaLibro::Anno, QStringLiteral("1980"));
    two.setText(TSchedaLibro::Editore, QStringLiteral("Bompiani"));
    two.setText(TSchedaLibro::Citta, QStringLiteral("Milano"));
    two.setText(TSchedaLibro::Dewey, QStringLiteral("853.914"));
    two.setText(TSchedaLibro::Genere, QStringLiteral("Romanzo"));
    two.setText(TSchedaLibro::Lingua, QStringLiteral("Italiano"));
    two.setText(TSchedaLibro::Posizione, QStringLiteral("Scaffale B, ripiano 2"));
    two.setText(TSchedaLibro::Prezzo, QStringLiteral("\u20AC 18,50"));
    two.setText(TSchedaLibro::Giudizio, QStringLiteral("Capolavoro \u2013 pi\u00F9 che citt\u00E0"));
    two.setText(TSchedaLibro::Note, QStringLiteral("\u0152uvre \u00E0 lire"));
    // Attachments are neither shown nor exported.
    two.setText(TSchedaLibro::File01, QStringLiteral("recensione.pdf"));
    two.setText(TSchedaLibro::Desc01, QStringLiteral("Recensione"));

    TSchedaLibro three; // every field empty

    CardTable table;
    for (const TSchedaLibro *card : {&one, &two, &three})
        table.appendRecord(card->data());

    QFile expected(QStringLiteral(RILEGORA_TEST_DATA "/export_3_cards.xls"));
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(exportOf(table), expected.readAll());
}

void TestSpreadsheetExport::emptyTableWritesHeaderOnly()
{
    CardTable table;
    const QByteArray file = exportOf(table);
    QVERIFY(file.startsWith("<html xmlns:o="));
    QVERIFY(file.endsWith("</tr></table></body></html>"));
    QCOMPARE(file.count("<tr>"), 1);
    QCOMPARE(file.count("<td "), 22);
    QVERIFY(file.contains("<td style=\"text-align: left; font-weight: bold;\" width=350>Titolo libro</td>"));
    QVERIFY(file.contains("width=250>Citt\xE0 pubblicazione</td>"));
    QVERIFY(!file.contains('\n') && !file.contains('\r'));
}

void TestSpreadsheetExport::cellEncoding_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("ampersand and angles")
        << QStringLiteral("Tom & Jerry <2>") << QByteArray("Tom &amp; Jerry &lt;2&gt;");
    QTest::newRow("quotes") << QStringLiteral("\"Il\" gattopardo") << QByteArray("&quot;Il&quot; gattopardo");
    QTest::newRow("an entity as typed") << QStringLiteral("&amp;") << QByteArray("&amp;amp;");
    QTest::newRow("italian letters") << QStringLiteral("\u00E0\u00E8\u00E9\u00EC\u00F2\u00F9 \u00C8")
                                     << QByteArray("\xE0\xE8\xE9\xEC\xF2\xF9 \xC8");
    QTest::newRow("code page extras") << QStringLiteral("\u20AC \u0152 \u2013 \u201Cx\u201D \u2026")
                                      << QByteArray("\x80 \x8C \x96 \x93x\x94 \x85");
    QTest::newRow("outside the code page") << QStringLiteral("\u03A9 \u4E66") << QByteArray("&#937; &#20070;");
    QTest::newRow("outside the plane") << QString::fromUcs4(U"\U0001F4DA") << QByteArray("&#128218;");
    QTest::newRow("line break kept") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
}

void TestSpreadsheetExport::cellEncoding()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, written);
    QCOMPARE(SpreadsheetExport::encodeCell(typed), written);

    // A stored field goes through the fast path of the writer: same bytes.
    TSchedaLibro card;
    card.setText(TSchedaLibro::Titolo, typed);
    if (Cp1252::fromUnicode(typed).contains('?'))
        return; // the card itself cannot hold it
    CardTable table;
    table.appendRecord(card.data());
    QCOMPARE(dataCells(exportOf(table), 0).value(0), written);
}

void TestSpreadsheetExport::editsReachTheFileNotTheCards()
{
    TSchedaLibro card;
    card.setText(TSchedaLibro::Dewey, QStringLiteral("853"));
    card.setText(TSchedaLibro::Note, QStringLiteral("vecchia nota"));
    const QByteArray before(card.data(), TSchedaLibro::RecordSize);
    CardTable table;
    table.appendRecord(card.data());
    table.appendRecord(card.data());

    table.setText(0, 7, QStringLiteral("  823.914 "));
    table.setText(1, 22, QStringLiteral("nuova & migliore"));
    table.setText(0, 0, QStringLiteral("99")); // the card number is not a cell one edits
    QCOMPARE(table.text(0, 7), QStringLiteral("  823.914 "));
    QCOMPARE(table.text(0, 0), QStringLiteral("1"));
    QCOMPARE(table.text(1, 7), QStringLiteral("853"));
    QCOMPARE(table.storedBytes(0, 7).toByteArray(), QByteArray("853"));

    const QByteArray file = exportOf(table);
    QCOMPARE(dataCells(file, 0).value(6), QByteArray("823.914")); // trimmed on export
    QCOMPARE(dataCells(file, 0).value(21), QByteArray("vecchia nota"));
    QCOMPARE(dataCells(file, 1).value(6), QByteArray("853"));
    QCOMPARE(dataCells(file, 1).value(21), QByteArray("nuova &amp; migliore"));
    QCOMPARE(QByteArray(card.data(), TSchedaLibro::RecordSize), before);
}

void TestSpreadsheetExport::longEditsKeepTheirPlace()
{
    // Enough rows for the file to go out in several pieces, and edits longer
    // than one piece, composed again here cell by cell.
    TSchedaLibro card;
    card.setText(TSchedaLibro::Giudizio, QStringLiteral("Ottimo & raro"));
    CardTable table;
    for (int i = 0; i < 3000; ++i)
        table.appendRecord(card.data());
    const QString longEdit = QString(1500000, QChar(0xE9)) + QStringLiteral("<fine>");
    table.setText(1500, 22, longEdit);
    table.setText(1500, 1, QStringLiteral("primo"));
    table.setText(2999, 21, QStringLiteral("ultimo"));

    QByteArray expected = exportOf(CardTable());
    expected.chop(int(qstrlen("</table></body></html>")));
    for (int r = 0; r < 3000; ++r) {
        expected += "<tr>";
        for (int c = 1; c <= 22; ++c) {
            QByteArray cell = c == 21 ? "Ottimo &amp; raro" : "";
            if (r == 1500 && c == 22)
                cell = QByteArray(1500000, '\xE9') + "&lt;fine&gt;";
            if (r == 1500 && c == 1)
                cell = "primo";
            if (r == 2999 && c == 21)
                cell = "ultimo";
            expected += "<td style=\"text-align: left;\">" + cell + "</td>";
        }
        expected += "</tr>";
    }
    expected += "</table></body></html>";
    QVERIFY(exportOf(table) == expected);
}

void TestSpreadsheetExport::fillReadsTheArchiveInFileOrder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
    {
        BookArchive archive(path);
        QVERIFY(archive.open());
        for (int i = 1; i <= 600; ++i) { // more than one block of the scan
            TSchedaLibro card;
            card.setText(TSchedaLibro::Titolo, QStringLiteral("Libro %1").arg(i));
            card.setText(TSchedaLibro::Note, QString(250, QLatin1Char('n')));
            QCOMPARE(archive.append(card), i);
        }
        TSchedaLibro damaged;
        setRaw(damaged, TSchedaLibro::Dewey, QByteArray(12, 'D'));
        damaged.data()[TSchedaLibro::offset(TSchedaLibro::Dewey)] = char(200); // capacity is 12
        QCOMPARE(archive.append(damaged), 601);
        QVERIFY(archive.close());
    }
    QFile::resize(path, QFileInfo(path).size() + 100); // a torn card at the end is not a card
    BookArchive archive(path);
    QVERIFY(archive.open());
    CardTable table;
    QVERIFY(table.fill(archive));
    QCOMPARE(table.rowCount(), 601);
    QCOMPARE(table.text(0, 1), QStringLiteral("Libro 1"));
    QCOMPARE(table.text(599, 1), QStringLiteral("Libro 600"));
    QCOMPARE(table.text(599, 0), QStringLiteral("600"));
    QCOMPARE(table.text(599, 22), QString(250, QLatin1Char('n')));
    QCOMPARE(table.text(600, 7), QString(12, QLatin1Char('D')));
    QCOMPARE(table.text(600, 8), QString());
}

void TestSpreadsheetExport::failingDeviceStopsTheWrite()
{
    TSchedaLibro card;
    card.setText(TSchedaLibro::Note, QString(250, QLatin1Char('x')));
    CardTable table;
    for (int i = 0; i < 8000; ++i) // a few megabytes: several pieces
        table.appendRecord(card.data());
    const qint64 whole = exportOf(table).size();
    QVERIFY(whole > 3 << 20);
    for (qint64 accept : {qint64(0), qint64(1) << 20, whole - 1}) {
        FailDevice device(accept);
        QVERIFY2(!SpreadsheetExport::write(device, table), qPrintable(QString::number(accept)));
        QVERIFY(device.written < whole);
    }
    FailDevice roomy(whole);
    QVERIFY(SpreadsheetExport::write(roomy, table));
    QCOMPARE(roomy.written, whole);
}

QTEST_GUILESS_MAIN(TestSpreadsheetExport)
#include "tst_spreadsheetexport.moc"
