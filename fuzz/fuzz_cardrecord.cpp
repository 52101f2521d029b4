// The card record, the card index file and the code that reads stored cards
// byte by byte (the search, the export grid and file), fed any bytes.
//
// The input's first 3150 bytes are a card as a damaged or foreign file may
// hold it; the rest, read as UTF-16, is text typed into one field. The whole
// input is also the card index file itself.

#include "fuzzsupport.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/cp1252.h"
#include "core/texttrim.h"
#include "output/spreadsheetexport.h"
#include "search/booksearch.h"

#include <QBuffer>

#include <algorithm>

namespace {

/// Whether bytes outside field keep their values from before.
bool onlyFieldChanged(const TSchedaLibro &before, const TSchedaLibro &after, int field)
{
    const int begin = TSchedaLibro::offset(field);
    const int end = begin + 1 + TSchedaLibro::capacity(field);
    return std::equal(before.data(), before.data() + begin, after.data()) &&
           std::equal(before.data() + end, before.data() + TSchedaLibro::RecordSize, after.data() + end);
}

/// Whether every character of text has a byte in the code page.
bool encodable(const QString &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return !c.isSurrogate() && Cp1252::byteFor(c.unicode()) >= 0; });
}

void recordRoundTrip(const char *data, size_t size)
{
    TSchedaLibro card;
    std::memcpy(card.data(), data, std::min<size_t>(size, TSchedaLibro::RecordSize));

    // What a card shows is what saving it stores again, and saving one
    // field leaves every other byte of the card alone.
    for (int field = 0; field < TSchedaLibro::FieldCount; ++field) {
        const QString shown = card.text(field);
        FUZZ_CHECK(card.bytes(field).size() <= TSchedaLibro::capacity(field));
        FUZZ_CHECK(shown.size() <= TSchedaLibro::capacity(field));
        const TSchedaLibro before = card;
        card.setText(field, shown);
        FUZZ_CHECK(card.text(field) == shown);
        FUZZ_CHECK(onlyFieldChanged(before, card, field));
    }

    if (size <= TSchedaLibro::RecordSize)
        return;
    const int field = static_cast<unsigned char>(data[TSchedaLibro::RecordSize]) % TSchedaLibro::FieldCount;
    const QString typed =
        FuzzSupport::utf16Text(data + TSchedaLibro::RecordSize + 1, size - TSchedaLibro::RecordSize - 1);
    const TSchedaLibro before = card;
    card.setText(field, typed);
    FUZZ_CHECK(static_cast<unsigned char>(card.data()[TSchedaLibro::offset(field)]) <= TSchedaLibro::capacity(field));
    FUZZ_CHECK(onlyFieldChanged(before, card, field));
    const QString stored = card.text(field);
    // Text the code page holds survives, cut to the field.
    const QString trimmed = trimText(typed);
    if (encodable(trimmed))
        FUZZ_CHECK(stored == trimText(trimmed.left(TSchedaLibro::capacity(field))));
    card.setText(field, stored);
    FUZZ_CHECK(card.text(field) == stored);
}

/// The search and the export read stored fields themselves; they must see
/// what the card shows.
void recordReaders(const char *data, size_t size)
{
    TSchedaLibro card;
    std::memcpy(card.data(), data, std::min<size_t>(size, TSchedaLibro::RecordSize));

    CardTable table;
    table.appendRecord(card.data());
    FUZZ_CHECK(table.rowCount() == 1);
    for (int column = 1; column < CardTable::ColumnCount; ++column)
        FUZZ_CHECK(table.text(0, column) == card.text(CardTable::column(column).field));
    QByteArray exported;
    QBuffer out(&exported);
    FUZZ_CHECK(out.open(QIODevice::WriteOnly));
    FUZZ_CHECK(SpreadsheetExport::write(out, table));
    FUZZ_CHECK(exported.endsWith("</tr></table></body></html>"));

    // A card is found by the texts of its own fields.
    QStringList texts;
    for (const int field : BookSearch::filterFields())
        texts << card.text(field);
    FUZZ_CHECK(BookSearch::Filters(texts).matches(card.data()));
    char row[BookSearch::RowCapacity];
    const int length = BookSearch::buildRow(card.data(), row);
    FUZZ_CHECK(length >= 0 && length <= BookSearch::RowCapacity);
    FUZZ_CHECK(BookSearch::rowText(card.data()) == Cp1252::toUnicode(row, length));
}

/// Searching the file lists every whole card when no filter is given, and
/// each row listed leads back to a card with that row.
void searchFile(const QString &path, int count)
{
    BookSearch::RowList rows;
    const BookSearch::Filters none(QStringList(BookSearch::FilterCount, QString()));
    FUZZ_CHECK(BookSearch::search(path, none, rows) == BookSearch::Outcome::Done);
    FUZZ_CHECK(rows.size() == count);
    rows.sort();
    for (int i = 0; i < rows.size(); ++i) {
        int number = 0;
        TSchedaLibro card;
        const QByteArray row(rows.data(i), rows.length(i));
        FUZZ_CHECK(BookSearch::findCard(path, row, number, card.data()));
        FUZZ_CHECK(number >= 1 && number <= count);
        char rebuilt[BookSearch::RowCapacity];
        const char *a = rebuilt;
        int aSize = BookSearch::buildRow(card.data(), rebuilt);
        const char *b = row.constData();
        int bSize = int(row.size());
        BookSearch::trimBytes(a, aSize);
        BookSearch::trimBytes(b, bSize);
        FUZZ_CHECK(QByteArray(a, aSize) == QByteArray(b, bSize));
    }
}

void archiveFile(const char *data, size_t size)
{
    const QByteArray bytes(data, qsizetype(size));
    const QString path = FuzzSupport::writeScratchFile(QStringLiteral("Archivio_Libri.pro"), bytes);
    BookArchive archive(path);
    FUZZ_CHECK(archive.open());
    const int count = archive.count();
    FUZZ_CHECK(count == int(size / TSchedaLibro::RecordSize));

    TSchedaLibro card;
    for (int n = 1; n <= count; ++n) {
        FUZZ_CHECK(archive.read(n, card));
        FUZZ_CHECK(std::equal(card.data(), card.data() + TSchedaLibro::RecordSize,
                              data + size_t(n - 1) * TSchedaLibro::RecordSize));
    }
    FUZZ_CHECK(!archive.read(0, card));
    FUZZ_CHECK(!archive.read(count + 1, card));

    int visited = 0;
    FUZZ_CHECK(archive.scan([&](int n, const char *record) {
        FUZZ_CHECK(n == ++visited);
        FUZZ_CHECK(
            std::equal(record, record + TSchedaLibro::RecordSize, data + size_t(n - 1) * TSchedaLibro::RecordSize));
        return true;
    }));
    FUZZ_CHECK(visited == count);
    FUZZ_CHECK(archive.close());
    searchFile(path, count);
    FUZZ_CHECK(archive.open());

    // A new card goes after the last whole card, over any fragment, and
    // leaves the cards before it as they were.
    TSchedaLibro fresh;
    fresh.setText(TSchedaLibro::Titolo, QStringLiteral("Nuova scheda"));
    FUZZ_CHECK(archive.append(fresh) == count + 1);
    FUZZ_CHECK(archive.close());
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    const qsizetype kept = qsizetype(count) * TSchedaLibro::RecordSize;
    FUZZ_CHECK(after.size() == kept + TSchedaLibro::RecordSize);
    FUZZ_CHECK(after.left(kept) == bytes.left(kept));
    FUZZ_CHECK(std::equal(fresh.data(), fresh.data() + TSchedaLibro::RecordSize, after.constData() + kept));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto *bytes = reinterpret_cast<const char *>(data);
    recordRoundTrip(bytes, size);
    recordReaders(bytes, size);
    archiveFile(bytes, size);
    return 0;
}
