// Reading stock lists: the CSV dialects of the spreadsheet programs, the
// program's own export file, column names, bad files, the rules by which a
// row becomes a card, the ISBN skip and the round trip through the export.
#include "common/filefixtures.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/cp1252.h"
#include "output/spreadsheetexport.h"
#include "output/spreadsheetimport.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using namespace SpreadsheetImport;

Q_DECLARE_METATYPE(SpreadsheetImport::Problem)

namespace {
const QString kData = QStringLiteral(RILEGORA_TEST_DATA "/import/");

QByteArray fixture(const QString &name)
{
    return readFile(kData + name);
}

// Every row of bytes, as the reader gives them, cells joined by '|'.
QStringList rowsOf(const QByteArray &bytes, Inspection *inspection = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const Inspection found = inspect(buffer);
    if (inspection)
        *inspection = found;
    QStringList rows;
    if (found.problem != Problem::None)
        return rows;
    RowReader reader(buffer, found.layout);
    QStringList cells;
    while (reader.next(cells))
        rows.append(cells.join(QLatin1Char('|')));
    return rows;
}

// Imports bytes into the archive at path with the columns the header names.
BookArchive::BulkResult importInto(const QString &path, const QByteArray &bytes, Tally *tally,
                                   bool skipKnownIsbn = true, QList<int> fields = {})
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const Inspection found = inspect(buffer);
    if (found.problem != Problem::None)
        return BookArchive::BulkResult::Failed;
    Options options;
    options.fields = fields.isEmpty() ? found.suggested : fields;
    options.header = found.headerLikely;
    options.skipKnownIsbn = skipKnownIsbn;
    CardRows rows(buffer, found.layout, options);
    BookArchive archive(path);
    if (!archive.open())
        return BookArchive::BulkResult::Failed;
    const auto result = archive.appendAll(rows);
    archive.close();
    *tally = rows.tally();
    return result;
}

QList<TSchedaLibro> cardsIn(const QString &path)
{
    QList<TSchedaLibro> cards;
    BookArchive archive(path);
    if (!archive.openForReading())
        return cards;
    for (int n = 1; n <= archive.count(); ++n) {
        TSchedaLibro card;
        archive.read(n, card);
        cards.append(card);
    }
    return cards;
}
} // namespace

class TestSpreadsheetImport : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir.reset(new QTemporaryDir); }

    void libreOfficeFiles_data();
    void libreOfficeFiles();
    void csvDialects_data();
    void csvDialects();
    void encodingIsDecidedByTheWholeFile();
    void badFiles_data();
    void badFiles();
    void rowWiderThanTheHeader();
    void columnNames_data();
    void columnNames();
    void recordRules();
    void knownIsbnIsSkipped();
    void exportComesBackWhole();

private:
    QString archivePath() const { return m_dir->filePath(QStringLiteral("Archivio_Libri.pro")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSpreadsheetImport::libreOfficeFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::newRow("Windows-1252") << fixture(QStringLiteral("magazzino_cp1252.csv")) << int(Encoding::Windows1252);
    QTest::newRow("UTF-8") << fixture(QStringLiteral("magazzino_utf8.csv")) << int(Encoding::Utf8);
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF" + fixture(QStringLiteral("magazzino_utf8.csv")))
                                     << int(Encoding::Utf8);
    // Excel's "Unicode text": UTF-16 with its mark, here little- and big-endian.
    const QString text = QString::fromUtf8(fixture(QStringLiteral("magazzino_utf8.csv")));
    QByteArray le("\xFF\xFE"), be("\xFE\xFF");
    for (const QChar c : text) {
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    QTest::newRow("UTF-16 LE") << le << int(Encoding::Utf16LE);
    QTest::newRow("UTF-16 BE") << be << int(Encoding::Utf16BE);
}

// Files written by LibreOffice Calc itself: accents, the euro sign, quotes,
// the separator and a line break inside cells come through intact.
void TestSpreadsheetImport::libreOfficeFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    Inspection found;
    const QStringList rows = rowsOf(bytes, &found);
    QCOMPARE(found.problem, Problem::None);
    QCOMPARE(int(found.layout.encoding), encoding);
    QCOMPARE(found.layout.separator, ';');
    QCOMPARE(found.rows, 4);
    QCOMPARE(found.columns, 7);
    QVERIFY(found.headerLikely);
    const QList<int> expectedFields = {TSchedaLibro::Titolo, TSchedaLibro::Autore, TSchedaLibro::Editore,
                                       TSchedaLibro::Anno,   TSchedaLibro::ISBN,   TSchedaLibro::Prezzo,
                                       TSchedaLibro::Note};
    QCOMPARE(found.suggested, expectedFields);
    QCOMPARE(found.preview.value(0).value(5), QStringLiteral("Prezzo \u20AC"));
    QCOMPARE(rows.value(1), QStringLiteral("Perch\u00E9 l'et\u00E0 conta|Niccol\u00F2 B\u00E0rberi|Edizioni \"Il "
                                           "Ponte\"; Forl\u00EC|1998|9788804123456|\u20AC 12,50|Prima riga\nseconda "
                                           "riga; con \"virgolette\""));

    Tally tally;
    QCOMPARE(importInto(archivePath(), bytes, &tally), BookArchive::BulkResult::Appended);
    QCOMPARE(tally.imported, 2);
    QCOMPARE(tally.noTitle, 1);
    const QList<TSchedaLibro> cards = cardsIn(archivePath());
    QCOMPARE(cards.size(), 2);
    QCOMPARE(cards[0].text(TSchedaLibro::Editore), QStringLiteral("Edizioni \"Il Ponte\"; Forl\u00EC"));
    QCOMPARE(cards[0].text(TSchedaLibro::Prezzo), QStringLiteral("\u20AC 12,50"));
    QCOMPARE(cards[0].text(TSchedaLibro::Note), QStringLiteral("Prima riga\nseconda riga; con \"virgolette\""));
    QCOMPARE(cards[1].text(TSchedaLibro::Autore), QStringLiteral("Zo\u00EB M\u00FCller"));
    QCOMPARE(cards[1].text(TSchedaLibro::ISBN), QStringLiteral("88-07-12345-X"));
    QCOMPARE(cards[1].text(TSchedaLibro::Note), QString());
}

void TestSpreadsheetImport::csvDialects_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("comma, CR LF") << QByteArray("Titolo,Autore\r\nA,B\r\nC,D\r\n") << ','
                                  << QStringList{QStringLiteral("Titolo|Autore"), QStringLiteral("A|B"),
                                                 QStringLiteral("C|D")};
    QTest::newRow("tab, no final line break")
        << QByteArray("Titolo\tAutore\nA, a\tB; b") << '\t'
        << QStringList{QStringLiteral("Titolo|Autore"), QStringLiteral("A, a|B; b")};
    QTest::newRow("semicolon beats the commas of prices")
        << QByteArray("Titolo;Prezzo\nA;12,50\nB;3,00\n") << ';'
        << QStringList{QStringLiteral("Titolo|Prezzo"), QStringLiteral("A|12,50"), QStringLiteral("B|3,00")};
    QTest::newRow("doubled quotes, separator and CR LF inside quotes")
        << QByteArray("Titolo;Note\n\"Il \"\"nome\"\"\";\"a;b\r\nc\"\n") << ';'
        << QStringList{QStringLiteral("Titolo|Note"), QStringLiteral("Il \"nome\"|a;b\r\nc")};
    QTest::newRow("empty cells and blank lines")
        << QByteArray("Titolo;Autore;Anno\n\nA;;\n;B;\r\n\r\n") << ';'
        << QStringList{QStringLiteral("Titolo|Autore|Anno"), QStringLiteral("A||"), QStringLiteral("|B|")};
    QTest::newRow("text after a closing quote kept")
        << QByteArray("Titolo;Anno\n\"A\" bis;1\n") << ';'
        << QStringList{QStringLiteral("Titolo|Anno"), QStringLiteral("A bis|1")};
}

void TestSpreadsheetImport::csvDialects()
{
    QFETCH(QByteArray, bytes);
    QFETCH(char, separator);
    QFETCH(QStringList, rows);
    Inspection found;
    QCOMPARE(rowsOf(bytes, &found), rows);
    QCOMPARE(found.layout.separator, separator);
}

// The encoding looks at every byte: a Windows-1252 letter far past the first
// block still makes the whole file Windows-1252, and a UTF-8 file stays UTF-8.
void TestSpreadsheetImport::encodingIsDecidedByTheWholeFile()
{
    QByteArray bytes = "Titolo;Autore\n";
    for (int i = 0; i < 5000; ++i)
        bytes += "Un titolo qualunque;Un autore\n";
    QByteArray latin = bytes + "Citt\xE0;Forl\xEC\n";
    QStringList rows = rowsOf(latin);
    QCOMPARE(rows.size(), 5002);
    QCOMPARE(rows.last(), QStringLiteral("Citt\u00E0|Forl\u00EC"));
    rows = rowsOf(bytes + "Citt\xC3\xA0;\xE2\x82\xAC\n");
    QCOMPARE(rows.last(), QStringLiteral("Citt\u00E0|\u20AC"));
}

void TestSpreadsheetImport::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Problem>("problem");
    QTest::newRow("empty") << QByteArray() << Problem::Empty;
    QTest::newRow("byte-order mark and blanks") << QByteArray("\xEF\xBB\xBF \r\n\r\n") << Problem::Empty;
    QTest::newRow("workbook file") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12) << Problem::Binary;
    QTest::newRow("zip") << QByteArray("PK\x03\x04\x14\0\x06\0", 8) + QByteArray(200, '\x01') << Problem::Binary;
    QTest::newRow("prose") << QByteArray("Caro amico,\nti scrivo.\n") << Problem::NotATable;
    QTest::newRow("page without a table") << QByteArray("<html><body><p>Nulla</p></body></html>") << Problem::NotATable;
    QTest::newRow("table without rows") << QByteArray("<html><table></table></html>") << Problem::Empty;
    QTest::newRow("quote never closed") << QByteArray("Titolo;Note\nA;\"aperta\nB;c\n") << Problem::UnclosedQuote;
}

// Bad input is named by its problem before anything is written.
void TestSpreadsheetImport::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Problem, problem);
    Inspection found;
    rowsOf(bytes, &found);
    QCOMPARE(found.problem, problem);

    QCOMPARE(inspectFile(m_dir->filePath(QStringLiteral("mancante.csv"))).problem, Problem::Unreadable);
    QCOMPARE(inspectFile(m_dir->path()).problem, Problem::Unreadable);
}

// A row with more filled columns than the header is found by the first
// reading and stops an import with nothing written; blank cells at the end
// of a row (as spreadsheets leave them) do not count.
void TestSpreadsheetImport::rowWiderThanTheHeader()
{
    const QByteArray bytes = "Titolo;Autore\nA;B;;\nC;D;E\nF;G\n";
    Inspection found;
    rowsOf(bytes, &found);
    QCOMPARE(found.problem, Problem::None);
    QCOMPARE(found.firstWiderRow, 3);
    QCOMPARE(found.widerRowColumns, 3);

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    CardRows rows(buffer, found.layout, Options{found.suggested, true, true});
    BookArchive archive(archivePath());
    QVERIFY(archive.open());
    QCOMPARE(archive.appendAll(rows), BookArchive::BulkResult::Stopped);
    QCOMPARE(rows.problem(), Problem::TooManyColumns);
    QCOMPARE(rows.problemRow(), 3);
    QCOMPARE(archive.count(), 0);
}

void TestSpreadsheetImport::columnNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("field");
    const struct
    {
        const char *name;
        int field;
    } cases[] = {
        {"Titolo libro", TSchedaLibro::Titolo},
        {" TITOLO ", TSchedaLibro::Titolo},
        {"Città pubblicazione", TSchedaLibro::Citta},
        {"citta_pubblicazione", TSchedaLibro::Citta},
        {"Casa editrice", TSchedaLibro::Editore},
        {"Editore", TSchedaLibro::Editore},
        {"Anno", TSchedaLibro::Anno},
        {"EAN", TSchedaLibro::ISBN},
        {"ISBN-13", TSchedaLibro::ISBN},
        {"Prezzo €", TSchedaLibro::Prezzo},
        {"Posizione su scaffale", TSchedaLibro::Posizione},
        {"Titolo originale", TSchedaLibro::Originale},
        {"N.", -1},
        {"Quantità", -1},
        {"", -1},
    };
    for (const auto &c : cases)
        QTest::newRow(c.name) << QString::fromUtf8(c.name) << c.field;
}

void TestSpreadsheetImport::columnNames()
{
    QFETCH(QString, name);
    QFETCH(int, field);
    QCOMPARE(fieldForHeader(name), field);
}

// A row becomes a card by the storing rule of every text; what is cut or
// replaced is told, a '?' typed by the user is not a replacement.
void TestSpreadsheetImport::recordRules()
{
    const QList<int> fields = {TSchedaLibro::Titolo, TSchedaLibro::Dewey, TSchedaLibro::Autore, -1};
    std::vector<char> record(TSchedaLibro::RecordSize);
    TSchedaLibro card;
    bool cut = false, replaced = false;

    QVERIFY(CardRows::makeRecord(
        {QStringLiteral("  Chi? \t"), QStringLiteral("853.914"), QStringLiteral("Rossi"), QStringLiteral("ignorata")},
        fields, record.data(), &cut, &replaced));
    std::memcpy(card.data(), record.data(), record.size());
    QCOMPARE(card.bytes(TSchedaLibro::Titolo), QByteArray("Chi?"));
    QCOMPARE(card.text(TSchedaLibro::Autore), QStringLiteral("Rossi"));
    QVERIFY(!cut && !replaced);

    QVERIFY(CardRows::makeRecord({QStringLiteral("\u4E09\u4F53 e altro"), QStringLiteral("853.914 ROS 1a")}, fields,
                                 record.data(), &cut, &replaced));
    std::memcpy(card.data(), record.data(), record.size());
    QCOMPARE(card.text(TSchedaLibro::Titolo), QStringLiteral("?? e altro"));
    QCOMPARE(card.text(TSchedaLibro::Dewey), QStringLiteral("853.914 ROS"));
    QVERIFY(cut && replaced);

    QVERIFY(
        !CardRows::makeRecord({QStringLiteral("   "), QStringLiteral("853")}, fields, record.data(), &cut, &replaced));
}

// With the skip on, a row whose ISBN the archive holds (written with or
// without hyphens) is skipped, and so is a second row of the same ISBN in
// the file; rows without an ISBN are always imported. With it off every row is.
void TestSpreadsheetImport::knownIsbnIsSkipped()
{
    {
        BookArchive archive(archivePath());
        QVERIFY(archive.open());
        TSchedaLibro held;
        held.setText(TSchedaLibro::Titolo, QStringLiteral("Gi\u00E0 qui"));
        held.setText(TSchedaLibro::ISBN, QStringLiteral("978-88-04-12345-6"));
        QVERIFY(archive.append(held) > 0);
        archive.close();
    }
    const QByteArray bytes = "Titolo;ISBN\nUno;9788804123456\nDue;88-07-1234-X\nTre;8807 1234x\nQuattro;\n"
                             "Cinque;\n";
    Tally tally;
    QCOMPARE(importInto(archivePath(), bytes, &tally), BookArchive::BulkResult::Appended);
    QCOMPARE(tally.imported, 3);
    QCOMPARE(tally.knownIsbn, 2);
    QStringList titles;
    for (const TSchedaLibro &card : cardsIn(archivePath()))
        titles.append(card.text(TSchedaLibro::Titolo));
    QCOMPARE(titles, (QStringList{QStringLiteral("Gi\u00E0 qui"), QStringLiteral("Due"), QStringLiteral("Quattro"),
                                  QStringLiteral("Cinque")}));

    QCOMPARE(importInto(archivePath(), bytes, &tally, false), BookArchive::BulkResult::Appended);
    QCOMPARE(tally.imported, 5);
    QCOMPARE(cardsIn(archivePath()).size(), 9);
}

// 1,000 varied cards exported and imported into an empty archive give back
// the same 22 fields of every card.
void TestSpreadsheetImport::exportComesBackWhole()
{
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz ABCXYZ 0123456789 "
                                            "\u00E0\u00E8\u00E9\u00EC\u00F2\u00F9\u20AC\u00AB\u00BB\u2019"
                                            "&<>\"';,.\t-\n#");
    QRandomGenerator random(20);
    CardTable table;
    QList<TSchedaLibro> cards;
    for (int n = 0; n < 1000; ++n) {
        TSchedaLibro card;
        for (int f = 0; f < TSchedaLibro::TextFieldCount; ++f) {
            const int cap = TSchedaLibro::capacity(f);
            const int len = n % 97 == 0 ? cap : int(random.bounded(cap + 1) * (f == 0 ? 1 : random.bounded(2)));
            QString text;
            for (int i = 0; i < len; ++i)
                text += alphabet.at(random.bounded(int(alphabet.size())));
            if (f == TSchedaLibro::Titolo && text.trimmed().isEmpty())
                text = QStringLiteral("T%1").arg(n);
            if (n == 5 && f == TSchedaLibro::Note)
                text = QStringLiteral("&amp; &#233; <td> </tr>");
            card.setText(f, text);
        }
        table.appendRecord(card.data());
        cards.append(card);
    }
    const QString exportPath = m_dir->filePath(SpreadsheetExport::fileName());
    {
        QFile out(exportPath);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QVERIFY(SpreadsheetExport::write(out, table));
    }
    const Inspection found = inspectFile(exportPath);
    QCOMPARE(found.problem, Problem::None);
    QCOMPARE(found.layout.kind, Kind::HtmlTable);
    QCOMPARE(found.layout.encoding, Encoding::Windows1252);
    QCOMPARE(found.rows, 1001);
    QVERIFY(found.headerLikely);
    for (int f = 0; f < TSchedaLibro::TextFieldCount; ++f)
        QCOMPARE(found.suggested.value(f), f);

    Tally tally;
    QCOMPARE(importInto(archivePath(), readFile(exportPath), &tally, false), BookArchive::BulkResult::Appended);
    QCOMPARE(tally.imported, 1000);
    const QList<TSchedaLibro> back = cardsIn(archivePath());
    QCOMPARE(back.size(), 1000);
    for (int n = 0; n < 1000; ++n) {
        for (int f = 0; f < TSchedaLibro::TextFieldCount; ++f) {
            if (back[n].text(f) != cards[n].text(f))
                QFAIL(qPrintable(QStringLiteral("card %1, field %2: \"%3\" instead of \"%4\"")
                                     .arg(n + 1)
                                     .arg(TSchedaLibro::name(f), back[n].text(f), cards[n].text(f))));
        }
    }
}

QTEST_GUILESS_MAIN(TestSpreadsheetImport)
#include "tst_spreadsheetimport.moc"
