#include "spreadsheetexport.h"

#include "app/cp1252.h"
#include "app/texttrim.h"
#include "books/bookarchive.h"
#include "books/bookrecord.h"

#include <QIODevice>

#include <cstring>

namespace {
constexpr int kFields = TSchedaLibro::TextFieldCount;
constexpr qsizetype kChunkSize = qsizetype(4) << 20;
constexpr qsizetype kMaxRowBytes = kFields + kFields * 255;

constexpr SheetColumn kColumns[CardTable::ColumnCount] = {
    {"colNum", "N.", 60, true, -1, 0},
    {"colTitolo", "Titolo libro", 300, true, TSchedaLibro::Titolo, 350},
    {"colAutore", "Autore", 250, true, TSchedaLibro::Autore, 250},
    {"colNazione", "Nazione", 250, true, TSchedaLibro::Nazione, 250},
    {"colAnno", "Anno pubblicazione", 180, true, TSchedaLibro::Anno, 200},
    {"colEditore", "Casa editrice", 250, true, TSchedaLibro::Editore, 250},
    {"colCitta", "Citt\xC3\xA0 pubblicazione", 250, true, TSchedaLibro::Citta, 250},
    {"colDewey", "Codice Dewey", 150, false, TSchedaLibro::Dewey, 200},
    {"colGenere", "Genere", 250, true, TSchedaLibro::Genere, 250},
    {"colISBN", "ISBN", 180, true, TSchedaLibro::ISBN, 250},
    {"colLingua", "Lingua", 250, true, TSchedaLibro::Lingua, 250},
    {"colOriginale", "Titolo originale", 300, false, TSchedaLibro::Originale, 350},
    {"colTraduttore", "Traduttore", 250, false, TSchedaLibro::Traduttore, 250},
    {"colCollana", "Collana", 250, false, TSchedaLibro::Collana, 350},
    {"colCuratore", "Curatore", 250, false, TSchedaLibro::Curatore, 250},
    {"colPosizione", "Posizione su scaffale", 250, false, TSchedaLibro::Posizione, 350},
    {"colEtichetta", "Codice su etichetta", 180, false, TSchedaLibro::Etichetta, 250},
    {"colFormato", "Formato", 200, false, TSchedaLibro::Formato, 250},
    {"colVolumi", "Volumi", 200, false, TSchedaLibro::Volumi, 250},
    {"colPagine", "Pagine", 150, false, TSchedaLibro::Pagine, 200},
    {"colPrezzo", "Prezzo", 150, false, TSchedaLibro::Prezzo, 200},
    {"colGiudizio", "Giudizio", 300, false, TSchedaLibro::Giudizio, 350},
    {"colNote", "Note", 300, false, TSchedaLibro::Note, 400},
};

// The entity for one of the four characters HTML gives a meaning to, or null.
inline const char *entityFor(unsigned ch)
{
    switch (ch) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
    }
}

// Appends Windows-1252 bytes, escaped.
void appendEscapedBytes(QByteArray &out, const char *p, qsizetype n)
{
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (const char *entity = entityFor(static_cast<unsigned char>(p[i]))) {
            out.append(p + runStart, i - runStart);
            out.append(entity);
            runStart = i + 1;
        }
    }
    out.append(p + runStart, n - runStart);
}

// Appends text encoded in Windows-1252 and escaped; a character the code
// page cannot hold becomes a numeric reference, so it is not lost.
void appendEscapedText(QByteArray &out, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t ch = text.at(i).unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        if (const char *entity = entityFor(unsigned(ch))) {
            out.append(entity);
            continue;
        }
        const int b = Cp1252::byteFor(ch);
        if (b >= 0)
            out.append(char(b));
        else if (QChar::isSurrogate(ch))
            out.append('?'); // a lone half of a pair stands for no character
        else
            out.append("&#").append(QByteArray::number(quint32(ch))).append(';');
    }
}

// Collects the file in memory and hands it to the device in large pieces.
class Sink
{
public:
    explicit Sink(QIODevice &out) : m_out(out) { m_buffer.reserve(kFlushAt + 64 * 1024); }
    QByteArray &buffer() { return m_buffer; }
    bool maybeFlush() { return m_buffer.size() < kFlushAt || flush(); }
    bool flush()
    {
        if (!m_buffer.isEmpty() && m_out.write(m_buffer) != m_buffer.size())
            return false;
        m_buffer.resize(0);
        return true;
    }

private:
    static constexpr qsizetype kFlushAt = qsizetype(1) << 20;
    QIODevice &m_out;
    QByteArray m_buffer;
};

const char kOpening[] =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
    "xmlns=\"http://www.w3.org/TR/REC-html40\">"
    "<head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
    "<!--[if gte mso 9]><xml>"
    "<x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
    "<x:Name>Schedario Libri</x:Name>"
    "<x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number><x:ActiveRow>3</x:ActiveRow>"
    "</x:Pane></x:Panes>"
    "<x:ProtectContents>False</x:ProtectContents><x:ProtectObjects>False</x:ProtectObjects>"
    "<x:ProtectScenarios>False</x:ProtectScenarios>"
    "</x:WorksheetOptions></x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook>"
    "</xml><![endif]--></head><body><table x:str>";
const char kHeaderCell[] = "<td style=\"text-align: left; font-weight: bold;\" width=";
const char kDataCell[] = "<td style=\"text-align: left;\">";
const char kClosing[] = "</table></body></html>";
} // namespace

CardTable::CardTable() = default;
CardTable::~CardTable() = default;

const SheetColumn &CardTable::column(int column)
{
    return kColumns[column];
}

QString CardTable::headerText(int column)
{
    return QString::fromUtf8(kColumns[column].header);
}

bool CardTable::fill(BookArchive &archive)
{
    m_rows.reserve(m_rows.size() + size_t(qMax(0, archive.count())));
    return archive.scan([this](int, const char *record) {
        appendRecord(record);
        return true;
    });
}

void CardTable::appendRecord(const char *record)
{
    if (m_chunks.empty() || m_chunkUsed + kMaxRowBytes > kChunkSize) {
        m_chunks.push_back(std::make_unique<char[]>(size_t(kChunkSize)));
        m_chunkUsed = 0;
    }
    char *row = m_chunks.back().get() + m_chunkUsed;
    char *text = row + kFields;
    for (int f = 0; f < kFields; ++f) {
        const char *p = record + TSchedaLibro::offset(f);
        int len = qMin(int(static_cast<unsigned char>(p[0])), TSchedaLibro::capacity(f));
        const auto *b = reinterpret_cast<const unsigned char *>(p + 1);
        int start = 0;
        while (start < len && b[start] <= 32)
            ++start;
        while (len > start && b[len - 1] <= 32)
            --len;
        row[f] = char(len - start);
        std::memcpy(text, p + 1 + start, size_t(len - start));
        text += len - start;
    }
    m_rows.push_back(quint64(m_chunks.size() - 1) << 32 | quint64(m_chunkUsed));
    m_chunkUsed = text - m_chunks.back().get();
}

void CardTable::clear()
{
    m_chunks.clear();
    m_chunkUsed = 0;
    m_rows.clear();
    m_edits.clear();
}

const unsigned char *CardTable::rowData(int row) const
{
    const quint64 at = m_rows[size_t(row)];
    return reinterpret_cast<const unsigned char *>(m_chunks[size_t(at >> 32)].get() + (at & 0xFFFFFFFFu));
}

QByteArrayView CardTable::storedBytes(int row, int column) const
{
    const int field = kColumns[column].field;
    if (row < 0 || row >= rowCount() || field < 0)
        return {};
    const unsigned char *p = rowData(row);
    qsizetype offset = kFields;
    for (int f = 0; f < field; ++f)
        offset += p[f];
    return QByteArrayView(reinterpret_cast<const char *>(p + offset), p[field]);
}

QString CardTable::text(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount)
        return {};
    if (column == 0)
        return QString::number(row + 1);
    const auto edited = m_edits.constFind(key(row, column));
    if (edited != m_edits.cend())
        return *edited;
    const QByteArrayView bytes = storedBytes(row, column);
    return Cp1252::toUnicode(bytes.data(), int(bytes.size()));
}

void CardTable::setText(int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 1 || column >= ColumnCount)
        return;
    m_edits.insert(key(row, column), text);
}

bool CardTable::isEdited(int row, int column) const
{
    return m_edits.contains(key(row, column));
}

qint64 CardTable::bytesHeld() const
{
    return qint64(m_chunks.size()) * kChunkSize + qint64(m_rows.capacity() * sizeof(quint64));
}

namespace SpreadsheetExport {

QString fileName()
{
    return QStringLiteral("Schedario_Libri.xls");
}

QByteArray encodeCell(const QString &text)
{
    QByteArray out;
    appendEscapedText(out, text);
    return out;
}

bool write(QIODevice &out, const CardTable &table)
{
    Sink sink(out);
    QByteArray &buf = sink.buffer();
    buf.append(kOpening);
    buf.append("<tr>");
    for (int c = 1; c < CardTable::ColumnCount; ++c) {
        buf.append(kHeaderCell).append(QByteArray::number(kColumns[c].exportWidth)).append('>');
        appendEscapedText(buf, CardTable::headerText(c));
        buf.append("</td>");
    }
    buf.append("</tr>");
    const int rows = table.rowCount();
    for (int r = 0; r < rows; ++r) {
        buf.append("<tr>");
        for (int c = 1; c < CardTable::ColumnCount; ++c) {
            buf.append(kDataCell);
            if (table.isEdited(r, c)) {
                appendEscapedText(buf, trimText(table.text(r, c)));
            } else {
                // Stored fields are already trimmed Windows-1252 bytes.
                const QByteArrayView bytes = table.storedBytes(r, c);
                appendEscapedBytes(buf, bytes.data(), bytes.size());
            }
            buf.append("</td>");
        }
        buf.append("</tr>");
        if (!sink.maybeFlush())
            return false;
    }
    buf.append(kClosing);
    return sink.flush();
}

} // namespace SpreadsheetExport
