#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

class BookArchive;
class QIODevice;

/// One column of the export grid: column 0 holds the card number, columns 1
/// to 22 the card's text fields in record order.
struct SheetColumn
{
    const char *name;   ///< "colTitolo", ...
    const char *header; ///< header text, UTF-8
    int gridWidth;      ///< width in the grid
    bool readOnly;      ///< not editable in the grid
    int field;          ///< TSchedaLibro field, -1 for the card number
    int exportWidth;    ///< width written in the file's header row
};

/// The text of every card of the archive, as the export grid shows it: read
/// once, kept compactly (the trimmed Windows-1252 bytes of the 22 text
/// fields), and never written back. Cell edits live in an overlay beside the
/// cards, so they reach the export file and never the archive.
class CardTable
{
public:
    static constexpr int ColumnCount = 23;

    CardTable();
    ~CardTable();
    CardTable(const CardTable &) = delete;
    CardTable &operator=(const CardTable &) = delete;

    static const SheetColumn &column(int column);
    static QString headerText(int column);

    /// Reads every card of an open archive, in file order, after the rows
    /// already held. Returns false when reading failed; the rows read until
    /// then are kept.
    bool fill(BookArchive &archive);
    /// Adds one card from its 3150 record bytes.
    void appendRecord(const char *record);
    /// Moves every row of other after the rows held, edits included; other
    /// is left empty. Nothing is copied but the row index.
    void append(CardTable &&other);
    void clear();

    int rowCount() const { return int(m_rows.size()); }

    /// The cell's text: the card number for column 0, the edited text when
    /// the cell was edited, the card's trimmed field otherwise.
    QString text(int row, int column) const;
    /// Replaces a cell's text in the overlay; the stored card is untouched.
    void setText(int row, int column, const QString &text);
    bool isEdited(int row, int column) const;
    int editCount() const { return int(m_edits.size()); }

    /// The stored (unedited) field of a card, trimmed, in Windows-1252.
    QByteArrayView storedBytes(int row, int column) const;

    /// A card's stored fields packed: 22 length bytes, then the 22 trimmed
    /// texts one after another, in Windows-1252.
    const unsigned char *packedRow(int row) const { return rowData(row); }

    /// Bytes held for the cards and their index, for the benchmarks.
    qint64 bytesHeld() const;

private:
    static quint64 key(int row, int column) { return quint64(row) * ColumnCount + quint64(column); }
    const unsigned char *rowData(int row) const;

    // Each row is 22 length bytes followed by the 22 texts; a row never
    // straddles two chunks, so growing the table never moves what it holds.
    std::vector<std::unique_ptr<char[]>> m_chunks;
    qsizetype m_chunkUsed = 0;
    std::vector<quint64> m_rows; // chunk index << 32 | offset in chunk
    QHash<quint64, QString> m_edits;
};

/// Schedario_Libri.xls: an HTML table with Office spreadsheet markup, in
/// Windows-1252, written as one run of pieces with no line breaks of its own.
namespace SpreadsheetExport {

QString fileName(); ///< "Schedario_Libri.xls"

/// Writes the whole export of table to out: the header, one row per table
/// row with columns 1 to 22 (each text trimmed) and the closing tags. Cell
/// texts are escaped for HTML (& < > "), so the spreadsheet shows them as
/// typed; a character that Windows-1252 cannot hold is written as a numeric
/// character reference. Returns false as soon as a write to out fails.
bool write(QIODevice &out, const CardTable &table);

/// A cell text escaped and encoded as it is written into the file.
QByteArray encodeCell(const QString &text);

} // namespace SpreadsheetExport
