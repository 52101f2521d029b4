// The stock-list reader, fed any file: the first reading (kind, encoding,
// separator, rows, columns), the rows read again as a stream, and every row
// made a card record.
//
// Checks: the stream gives as many rows as the first reading counted, no row
// has more cells than the most it found, and every record made keeps each
// field's length within its capacity and has a title.

#include "fuzzsupport.h"

#include "core/bookrecord.h"
#include "output/spreadsheetimport.h"

#include <QBuffer>

#include <vector>

using namespace SpreadsheetImport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const Inspection found = inspect(buffer);
    if (found.problem != Problem::None)
        return 0;
    FUZZ_CHECK(found.columns <= MaxColumns);
    FUZZ_CHECK(found.preview.size() <= PreviewRows);

    RowReader reader(buffer, found.layout);
    QStringList cells;
    qint64 rows = 0;
    while (reader.next(cells)) {
        ++rows;
        FUZZ_CHECK(cells.size() <= found.columns);
    }
    FUZZ_CHECK(reader.problem() == Problem::None);
    FUZZ_CHECK(rows == found.rows);

    // Every column to a field in turn, the first row as header or not.
    Options options;
    for (int c = 0; c < found.columns; ++c)
        options.fields.append(c % TSchedaLibro::TextFieldCount);
    options.header = found.headerLikely;
    options.skipKnownIsbn = true;
    CardRows source(buffer, found.layout, options);
    std::vector<char> block(size_t(16) * TSchedaLibro::RecordSize);
    int made = 0;
    for (;;) {
        const int n = source.fill(block.data(), 16);
        if (n < 0) {
            // The append is dropped whole; only a header row can be too narrow.
            FUZZ_CHECK(options.header && source.problem() == Problem::TooManyColumns);
            return 0;
        }
        if (n == 0)
            break;
        for (int i = 0; i < n; ++i) {
            const char *record = block.data() + size_t(i) * TSchedaLibro::RecordSize;
            for (int f = 0; f < TSchedaLibro::FieldCount; ++f)
                FUZZ_CHECK(static_cast<unsigned char>(record[TSchedaLibro::offset(f)]) <= TSchedaLibro::capacity(f));
            FUZZ_CHECK(record[TSchedaLibro::offset(TSchedaLibro::Titolo)] != 0);
        }
        made += n;
    }
    const Tally &tally = source.tally();
    FUZZ_CHECK(tally.imported == made);
    FUZZ_CHECK(qint64(made) + tally.skipped() <= rows);
    return 0;
}
