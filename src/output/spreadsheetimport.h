#pragma once

#include "core/bookarchive.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

class QIODevice;

/// Reading a stock list into the card index: CSV as spreadsheet programs
/// write it (separator ';', ',' or tab; fields in double quotes with doubled
/// quotes and line breaks inside; UTF-8 with or without a byte-order mark,
/// Windows-1252, or UTF-16 with its mark) and the HTML table of the
/// program's own export.
///
/// The file is read as a stream, one row at a time: nothing keeps every row,
/// so a file of any length takes the same memory.
namespace SpreadsheetImport {

/// Why a file cannot be imported.
enum class Problem {
    None,
    Unreadable,     ///< cannot be opened or read
    Empty,          ///< no bytes, or no row
    Binary,         ///< not text (a workbook file, a picture, ...)
    NotATable,      ///< text without columns, an HTML page without a table
    UnclosedQuote,  ///< a quoted field runs to the end of the file
    TooManyColumns, ///< a row with more columns than the header
};

enum class Kind { Csv, HtmlTable };
/// UTF-16 (Excel's "Unicode text") only with its byte-order mark.
enum class Encoding { Utf8, Windows1252, Utf16LE, Utf16BE };

/// How the file is written, as found by inspect().
struct Layout
{
    Kind kind = Kind::Csv;
    Encoding encoding = Encoding::Utf8;
    char separator = ';';
    qint64 bodyStart = 0; ///< first byte after a byte-order mark
};

/// Most columns a row may have, and the longest cell, in bytes.
constexpr int MaxColumns = 256;
constexpr qint64 MaxCellBytes = qint64(1) << 20;
/// Rows kept by inspect() for the preview, the first row included.
constexpr int PreviewRows = 9;

/// A first reading of the whole file.
struct Inspection
{
    Problem problem = Problem::None;
    qint64 problemRow = 0; ///< 1-based row of the problem, when it has one
    Layout layout;
    qint64 rows = 0;          ///< rows in the file, blank lines not counted
    int columns = 0;          ///< most columns of any row
    int firstRowColumns = 0;  ///< columns of the first row
    qint64 firstWiderRow = 0; ///< 1-based first row with more columns than the first, or 0
    int widerRowColumns = 0;  ///< that row's columns
    QList<QStringList> preview;
    bool headerLikely = false; ///< the first row names card fields
    QList<int> suggested;      ///< card field per column (-1: none), from the first row
};

/// Reads the whole file once: its kind, encoding (a file that is valid
/// UTF-8 is UTF-8), separator, rows and columns, and the first rows.
Inspection inspect(QIODevice &in);
/// The same for a file by name; a name that is not a regular file is Unreadable.
Inspection inspectFile(const QString &path);

/// The card field (0 to 21) that a column name stands for, or -1: the
/// export's headers and the usual other names, letter case, accents, blanks
/// and signs ignored.
int fieldForHeader(const QString &name);
/// Card fields for a header row: each field is given to its first column
/// only, later columns of the same name get -1.
QList<int> matchHeader(const QStringList &names);

/// Letters and digits only, accents removed, letter case folded.
QString normalizedName(const QString &name);

struct RowScanner;

/// Streams the rows of a file of a known layout.
class RowReader
{
public:
    RowReader(QIODevice &in, const Layout &layout);
    ~RowReader();
    RowReader(const RowReader &) = delete;
    RowReader &operator=(const RowReader &) = delete;

    /// Reads the next row into cells (decoded); false at the end of the
    /// table or on a problem. Blank lines are passed over.
    bool next(QStringList &cells);
    Problem problem() const;
    qint64 rowsRead() const;
    /// Bytes of text taken so far (of its UTF-8 form for a UTF-16 file).
    qint64 bytesRead() const;

private:
    std::unique_ptr<RowScanner> m_scanner;
    Layout m_layout;
};

/// What one import did, row by row.
struct Tally
{
    int imported = 0;
    int noTitle = 0;   ///< rows skipped: no title
    int knownIsbn = 0; ///< rows skipped: ISBN already in the archive
    int cut = 0;       ///< rows imported with a text cut to its field
    int replaced = 0;  ///< rows imported with a character put as '?'
    int skipped() const { return noTitle + knownIsbn; }
};

struct Options
{
    QList<int> fields;         ///< card field per file column, -1: not imported
    bool header = true;        ///< the first row holds the column names
    bool skipKnownIsbn = true; ///< skip a row whose ISBN the archive holds
};

/// An ISBN as compared: letters and digits only, upper case.
QString isbnKey(const QString &isbn);

/// The rows of a file as cards for BookArchive::appendAll. Each row with a
/// title becomes a card: every text trimmed, a character Windows-1252 cannot
/// hold put as '?', the text cut to its field's capacity. Rows whose every
/// cell is blank are passed over, as spreadsheets leave them at the end.
class CardRows : public BookArchive::CardSource
{
public:
    /// progress(bytes read, file size) is called now and then; when it
    /// returns false the import stops (a cancel).
    using Progress = std::function<bool(qint64, qint64)>;

    CardRows(QIODevice &in, const Layout &layout, const Options &options, Progress progress = {});
    ~CardRows() override;

    bool prepare(BookArchive &archive) override;
    int fill(char *out, int max) override;

    const Tally &tally() const { return m_tally; }
    Problem problem() const { return m_problem; }
    qint64 problemRow() const { return m_problemRow; }
    bool cancelled() const { return m_cancelled; }

    /// Converts one row into a record of 3150 bytes; false when the row has
    /// no title. cut and replaced tell whether a text was cut or a
    /// character replaced.
    static bool makeRecord(const QStringList &cells, const QList<int> &fields, char *record, bool *cut, bool *replaced);

private:
    bool knownIsbn(const QString &key) const;
    void remember(const QString &key);

    RowReader m_reader;
    QIODevice &m_in;
    Options m_options;
    Progress m_progress;
    Tally m_tally;
    Problem m_problem = Problem::None;
    qint64 m_problemRow = 0;
    bool m_cancelled = false;
    bool m_first = true;
    int m_headerColumns = -1;
    QStringList m_cells;
    std::unordered_set<quint64> m_isbnNumbers; ///< all-digit ISBNs, as numbers
    std::unordered_set<std::string> m_isbnTexts;
};

} // namespace SpreadsheetImport
