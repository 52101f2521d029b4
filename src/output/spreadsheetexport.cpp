#include "spreadsheetexport.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/cp1252.h"
#include "core/filesync.h"
#include "core/texttrim.h"

#include <QIODevice>

#include <array>
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
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        return nullptr;
    }
}

// Bytes that stand for themselves in a cell (0) and the four that HTML
// gives a meaning to (1).
constexpr auto makeSpecial()
{
    std::array<unsigned char, 256> table{};
    table['&'] = table['<'] = table['>'] = table['"'] = 1;
    return table;
}
constexpr auto kSpecial = makeSpecial();

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

// Collects the file in a buffer and hands it to the device in large pieces.
// Stored cards are copied straight from the table, byte by byte only where a
// byte needs escaping, since the file is mostly fixed markup.
class Sink
{
public:
    static constexpr qsizetype kFlushAt = qsizetype(1) << 20;
    // Room that one row of stored fields can take: 22 cells of markup and
    // 255 bytes each escaped into entities of up to 6 bytes.
    static constexpr qsizetype kRowRoom = 9 + 22 * (40 + 255 * 6);

    explicit Sink(QIODevice &out) : m_out(out), m_buffer(new char[size_t(kFlushAt + kRowRoom)]), m_at(m_buffer.get()) {}

    /// Makes room for one row of stored fields; false when a write failed.
    bool reserveRow() { return used() < kFlushAt || flush(); }
    template <qsizetype N> void putLiteral(const char (&text)[N])
    {
        std::memcpy(m_at, text, size_t(N - 1));
        m_at += N - 1;
    }
    void putEscaped(const char *p, qsizetype n)
    {
        qsizetype run = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const unsigned char c = static_cast<unsigned char>(p[i]);
            if (kSpecial[c]) {
                std::memcpy(m_at, p + run, size_t(i - run));
                m_at += i - run;
                const char *entity = entityFor(c);
                const size_t len = std::strlen(entity);
                std::memcpy(m_at, entity, len);
                m_at += len;
                run = i + 1;
            }
        }
        std::memcpy(m_at, p + run, size_t(n - run));
        m_at += n - run;
    }
    /// Any amount of bytes, flushing on the way when they do not fit.
    bool put(const char *p, qsizetype n)
    {
        if (n > kFlushAt)
            return flush() && FileSync::writeAll(m_out, p, n, nullptr);
        if (used() + n > kFlushAt + kRowRoom && !flush())
            return false;
        std::memcpy(m_at, p, size_t(n));
        m_at += n;
        return true;
    }
    bool flush()
    {
        const qsizetype n = used();
        // A short write is tried on, so that a failure sets the device's error.
        if (n > 0 && !FileSync::writeAll(m_out, m_buffer.get(), n, nullptr))
            return false;
        m_at = m_buffer.get();
        return true;
    }

private:
    qsizetype used() const { return m_at - m_buffer.get(); }

    QIODevice &m_out;
    std::unique_ptr<char[]> m_buffer;
    char *m_at;
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

void CardTable::append(CardTable &&other)
{
    const quint64 chunkShift = quint64(m_chunks.size()) << 32;
    const int rowShift = rowCount();
    for (quint64 at : other.m_rows)
        m_rows.push_back(at + chunkShift);
    if (!other.m_chunks.empty()) {
        for (auto &chunk : other.m_chunks)
            m_chunks.push_back(std::move(chunk));
        m_chunkUsed = other.m_chunkUsed;
    }
    for (auto edit = other.m_edits.cbegin(); edit != other.m_edits.cend(); ++edit) {
        const int row = int(edit.key() / ColumnCount);
        m_edits.insert(key(rowShift + row, int(edit.key() % ColumnCount)), edit.value());
    }
    other.clear();
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
    QByteArray head(kOpening);
    head.append("<tr>");
    for (int c = 1; c < CardTable::ColumnCount; ++c) {
        head.append(kHeaderCell).append(QByteArray::number(kColumns[c].exportWidth)).append('>');
        appendEscapedText(head, CardTable::headerText(c));
        head.append("</td>");
    }
    head.append("</tr>");
    if (!sink.put(head.constData(), head.size()))
        return false;

    const bool anyEdits = table.editCount() > 0;
    QByteArray edited;
    const int rows = table.rowCount();
    for (int r = 0; r < rows; ++r) {
        if (!sink.reserveRow())
            return false;
        sink.putLiteral("<tr>");
        // The packed row: 22 lengths, then the 22 trimmed texts in order.
        const unsigned char *lengths = table.packedRow(r);
        const char *text = reinterpret_cast<const char *>(lengths + kFields);
        for (int f = 0; f < kFields; ++f) {
            sink.putLiteral(kDataCell);
            if (anyEdits && table.isEdited(r, f + 1)) {
                edited.resize(0);
                appendEscapedText(edited, trimText(table.text(r, f + 1)));
                // An edit can be of any length: the room for the rest of
                // the row is made again after it.
                if (!sink.put(edited.constData(), edited.size()) || !sink.reserveRow())
                    return false;
                sink.putLiteral("</td>");
            } else {
                sink.putEscaped(text, lengths[f]);
                sink.putLiteral("</td>");
            }
            text += lengths[f];
        }
        sink.putLiteral("</tr>");
    }
    return sink.put(kClosing, qsizetype(sizeof(kClosing) - 1)) && sink.flush();
}

} // namespace SpreadsheetExport
