#include "spreadsheetimport.h"

#include "core/bookrecord.h"
#include "core/boundedread.h"
#include "core/cp1252.h"
#include "output/spreadsheetexport.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace SpreadsheetImport {

namespace {
constexpr qint64 kChunk = qint64(1) << 20;
constexpr qint64 kSniff = qint64(64) << 10;

// Checks that a stream of bytes is UTF-8, piece by piece.
class Utf8Check
{
public:
    void feed(const char *data, qint64 size)
    {
        for (qint64 i = 0; i < size && m_valid; ++i) {
            const auto b = static_cast<unsigned char>(data[i]);
            if (m_pending > 0) {
                if ((b & 0xC0) != 0x80 || (m_first && (b < m_low || b > m_high))) {
                    m_valid = false;
                    return;
                }
                m_first = false;
                --m_pending;
                continue;
            }
            if (b < 0x80)
                continue;
            m_first = true;
            m_low = 0x80;
            m_high = 0xBF;
            if (b >= 0xC2 && b <= 0xDF) {
                m_pending = 1;
            } else if (b >= 0xE0 && b <= 0xEF) {
                m_pending = 2;
                if (b == 0xE0)
                    m_low = 0xA0; // no overlong forms
                else if (b == 0xED)
                    m_high = 0x9F; // no surrogates
            } else if (b >= 0xF0 && b <= 0xF4) {
                m_pending = 3;
                if (b == 0xF0)
                    m_low = 0x90;
                else if (b == 0xF4)
                    m_high = 0x8F;
            } else {
                m_valid = false;
            }
        }
    }
    bool valid() const { return m_valid && m_pending == 0; }

private:
    bool m_valid = true;
    bool m_first = false;
    int m_pending = 0;
    unsigned char m_low = 0x80, m_high = 0xBF;
};

bool startsWithNoCase(const QByteArray &data, qsizetype at, const char *word)
{
    const qsizetype n = qsizetype(std::strlen(word));
    if (at + n > data.size())
        return false;
    return qstrnicmp(data.constData() + at, word, size_t(n)) == 0;
}

QString decode(const QByteArray &bytes, Encoding encoding)
{
    // UTF-16 is made UTF-8 as it is read.
    return encoding == Encoding::Windows1252 ? Cp1252::toUnicode(bytes) : QString::fromUtf8(bytes);
}

// The text of an HTML cell: character references resolved.
QString resolveEntities(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    static const QHash<QString, QChar> named = {
        {QStringLiteral("amp"), QLatin1Char('&')},   {QStringLiteral("lt"), QLatin1Char('<')},
        {QStringLiteral("gt"), QLatin1Char('>')},    {QStringLiteral("quot"), QLatin1Char('"')},
        {QStringLiteral("apos"), QLatin1Char('\'')}, {QStringLiteral("nbsp"), QChar(0xA0)},
        {QStringLiteral("euro"), QChar(0x20AC)},
    };
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const qsizetype semi = c == QLatin1Char('&') ? text.indexOf(QLatin1Char(';'), i + 1) : -1;
        if (semi < 0 || semi - i > 10) {
            out.append(c);
            continue;
        }
        const QString name = text.mid(i + 1, semi - i - 1);
        bool ok = false;
        char32_t code = 0;
        if (name.startsWith(QLatin1String("#x")) || name.startsWith(QLatin1String("#X")))
            code = name.mid(2).toUInt(&ok, 16);
        else if (name.startsWith(QLatin1Char('#')))
            code = name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
            out.append(QString::fromUcs4(&code, 1));
            i = semi;
        } else if (const auto it = named.constFind(name); !ok && it != named.cend()) {
            out.append(*it);
            i = semi;
        } else {
            out.append(c);
        }
    }
    return out;
}
} // namespace

// Reads raw rows: the cells' bytes, not yet decoded.
struct RowScanner
{
    RowScanner(QIODevice &device, const Layout &layout) : in(device), kind(layout.kind), sep(layout.separator)
    {
        if (layout.encoding == Encoding::Utf16LE || layout.encoding == Encoding::Utf16BE)
            utf16.emplace(layout.encoding == Encoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        if (in.isSequential() || in.seek(layout.bodyStart))
            consumed = layout.bodyStart;
        else
            failed = true;
    }

    QIODevice &in;
    Kind kind;
    char sep;
    QByteArray buffer;
    qsizetype at = 0;
    qint64 consumed = 0; // bytes of the device before buffer
    bool eof = false;
    bool failed = false;
    Problem problem = Problem::None;
    std::function<void(const char *, qint64)> tap; // sees every byte read
    std::vector<QByteArray> cells;
    int cellCount = 0;
    qint64 rows = 0;
    bool tableSeen = false;
    bool tableDone = false;
    bool rowOpened = false;              // a <tr> that ended the row before it
    std::optional<QStringDecoder> utf16; // a UTF-16 file, read as UTF-8

    /// The row's columns without the blank cells at its end.
    int filledCount() const
    {
        int n = cellCount;
        while (n > 0) {
            const QByteArray &cell = cells[size_t(n - 1)];
            if (!std::all_of(cell.cbegin(), cell.cend(), [](char ch) { return static_cast<unsigned char>(ch) <= 32; }))
                break;
            --n;
        }
        return n;
    }

    qint64 position() const { return consumed + at; }

    bool refill()
    {
        if (eof || failed)
            return false;
        consumed += buffer.size();
        buffer.resize(kChunk);
        const qint64 got = in.read(buffer.data(), kChunk);
        if (got < 0) {
            failed = true;
            problem = Problem::Unreadable;
            buffer.clear();
            at = 0;
            return false;
        }
        buffer.resize(got);
        at = 0;
        if (got == 0) {
            eof = true;
            return false;
        }
        if (utf16) {
            buffer = QString(utf16->decode(buffer)).toUtf8();
            if (buffer.isEmpty()) // half a character: the rest comes with the next piece
                return refill();
        }
        if (tap)
            tap(buffer.constData(), got);
        return true;
    }
    // The next byte, or -1 at the end.
    int get()
    {
        if (at >= buffer.size() && !refill())
            return -1;
        return static_cast<unsigned char>(buffer.at(at++));
    }
    int peek()
    {
        if (at >= buffer.size() && !refill())
            return -1;
        return static_cast<unsigned char>(buffer.at(at));
    }

    QByteArray &newCell()
    {
        if (size_t(cellCount) >= cells.size())
            cells.emplace_back();
        QByteArray &cell = cells[size_t(cellCount++)];
        cell.resize(0);
        return cell;
    }
    bool fail(Problem p)
    {
        problem = p;
        return false;
    }
    bool addByte(QByteArray &cell, char c)
    {
        if (cell.size() >= MaxCellBytes)
            return fail(Problem::NotATable);
        cell.append(c);
        return true;
    }

    // Reads the next row into cells; false at the end or on a problem.
    bool nextRow()
    {
        if (problem != Problem::None || failed)
            return false;
        const bool got = kind == Kind::Csv ? nextCsvRow() : nextHtmlRow();
        if (got)
            ++rows;
        return got;
    }

    bool nextCsvRow()
    {
        for (;;) {
            cellCount = 0;
            int c = get();
            if (c < 0)
                return false;
            if (c == '\n')
                continue; // a blank line
            if (c == '\r') {
                if (peek() == '\n')
                    get();
                continue;
            }
            for (;;) {
                if (cellCount >= MaxColumns)
                    return fail(Problem::NotATable);
                QByteArray &cell = newCell();
                if (c == '"') {
                    for (;;) {
                        c = get();
                        if (c < 0)
                            return fail(failed ? Problem::Unreadable : Problem::UnclosedQuote);
                        if (c == '"') {
                            if (peek() == '"') {
                                get();
                                if (!addByte(cell, '"'))
                                    return false;
                                continue;
                            }
                            break;
                        }
                        if (!addByte(cell, char(c)))
                            return false;
                    }
                    c = get();
                }
                // Unquoted text, or what follows a closing quote, up to the
                // separator or the end of the line.
                while (c >= 0 && c != sep && c != '\n' && c != '\r') {
                    if (!addByte(cell, char(c)))
                        return false;
                    c = get();
                }
                if (c == sep) {
                    c = get();
                    if (c < 0 || c == '\n' || c == '\r') {
                        newCell(); // the last cell is empty
                        if (c == '\r' && peek() == '\n')
                            get();
                        return failed ? fail(Problem::Unreadable) : true;
                    }
                    continue;
                }
                if (c == '\r' && peek() == '\n')
                    get();
                return failed ? fail(Problem::Unreadable) : true;
            }
        }
    }

    // Reads a tag after '<': its name in lower case (with a leading '/' for
    // a closing tag, "!" for a comment or declaration), the rest skipped.
    bool readTag(QByteArray &name)
    {
        name.resize(0);
        int c = get();
        if (c == '!') {
            // A comment runs to "-->", a declaration to '>'.
            const bool comment = peek() == '-';
            int dashes = 0;
            while ((c = get()) >= 0) {
                if (comment) {
                    if (c == '>' && dashes >= 2)
                        break;
                    dashes = c == '-' ? dashes + 1 : 0;
                } else if (c == '>') {
                    break;
                }
            }
            name = "!";
            return c >= 0;
        }
        while (c >= 0 && c != '>' && c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '/') {
            if (name.size() < 16)
                name.append(char(c >= 'A' && c <= 'Z' ? c + 32 : c));
            c = get();
        }
        if (c == '/' && name.isEmpty()) {
            name.append('/');
            c = get();
            while (c >= 0 && c != '>' && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
                if (name.size() < 16)
                    name.append(char(c >= 'A' && c <= 'Z' ? c + 32 : c));
                c = get();
            }
        }
        // The attributes, quoted values included.
        int quote = 0;
        while (c >= 0 && (c != '>' || quote)) {
            if (quote && c == quote)
                quote = 0;
            else if (!quote && (c == '"' || c == '\''))
                quote = c;
            c = get();
        }
        return c >= 0;
    }

    bool nextHtmlRow()
    {
        if (tableDone)
            return false;
        QByteArray tag;
        QByteArray *cell = nullptr;
        bool inRow = rowOpened;
        rowOpened = false;
        cellCount = 0;
        for (;;) {
            const int c = get();
            if (c < 0) {
                if (failed)
                    return fail(Problem::Unreadable);
                if (!tableSeen)
                    return fail(Problem::NotATable);
                return inRow && cellCount > 0; // a table cut short keeps its last row
            }
            if (c != '<') {
                if (cell && !addByte(*cell, char(c)))
                    return false;
                continue;
            }
            if (!readTag(tag)) {
                if (failed)
                    return fail(Problem::Unreadable);
                return tableSeen && inRow && cellCount > 0;
            }
            if (tag == "table") {
                tableSeen = true;
            } else if (!tableSeen) {
                continue;
            } else if (tag == "/table") {
                tableDone = true;
                return inRow && cellCount > 0;
            } else if (tag == "tr") {
                if (inRow && cellCount > 0) {
                    // a row left open ends where the next begins
                    rowOpened = true;
                    return true;
                }
                inRow = true;
                cellCount = 0;
                cell = nullptr;
            } else if (tag == "/tr") {
                if (inRow && cellCount > 0)
                    return true;
                inRow = false;
                cell = nullptr;
            } else if (tag == "td" || tag == "th") {
                if (!inRow) {
                    inRow = true;
                    cellCount = 0;
                }
                if (cellCount >= MaxColumns)
                    return fail(Problem::NotATable);
                cell = &newCell();
            } else if (tag == "/td" || tag == "/th") {
                cell = nullptr;
            } else if (tag == "br" && cell) {
                if (!addByte(*cell, '\n'))
                    return false;
            }
        }
    }
};

RowReader::RowReader(QIODevice &in, const Layout &layout)
    : m_scanner(std::make_unique<RowScanner>(in, layout)), m_layout(layout)
{
    if (m_scanner->failed)
        m_scanner->problem = Problem::Unreadable;
}

RowReader::~RowReader() = default;

bool RowReader::next(QStringList &cells)
{
    if (!m_scanner->nextRow())
        return false;
    cells.resize(m_scanner->cellCount);
    for (int i = 0; i < m_scanner->cellCount; ++i) {
        QString text = decode(m_scanner->cells[size_t(i)], m_layout.encoding);
        cells[i] = m_layout.kind == Kind::HtmlTable ? resolveEntities(text) : text;
    }
    return true;
}

Problem RowReader::problem() const
{
    return m_scanner->problem;
}

qint64 RowReader::rowsRead() const
{
    return m_scanner->rows;
}

qint64 RowReader::bytesRead() const
{
    return m_scanner->position();
}

// ---------------------------------------------------------------------------

QString normalizedName(const QString &name)
{
    const QString decomposed = name.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.isLetterOrNumber())
            out.append(c.toCaseFolded());
    }
    return out;
}

int fieldForHeader(const QString &name)
{
    static const QHash<QString, int> names = [] {
        QHash<QString, int> table;
        const auto add = [&table](int field, std::initializer_list<const char *> words) {
            for (const char *w : words)
                table.insert(normalizedName(QString::fromUtf8(w)), field);
        };
        for (int c = 1; c < CardTable::ColumnCount; ++c) {
            table.insert(normalizedName(CardTable::headerText(c)), CardTable::column(c).field);
            table.insert(normalizedName(TSchedaLibro::name(CardTable::column(c).field)), CardTable::column(c).field);
        }
        add(TSchedaLibro::Titolo, {"Titolo del libro", "Title", "Book title", "Opera"});
        add(TSchedaLibro::Autore, {"Autori", "Autrice", "Author", "Authors", "Scrittore"});
        add(TSchedaLibro::Nazione, {"Paese", "Nazionalità", "Country"});
        add(TSchedaLibro::Anno, {"Anno", "Anno di pubblicazione", "Anno edizione", "Data pubblicazione",
                                 "Data di pubblicazione", "Year", "Edizione"});
        add(TSchedaLibro::Editore, {"Editore", "Editrice", "Casa editrice", "Edizioni", "Publisher"});
        add(TSchedaLibro::Citta,
            {"Città", "Luogo", "Luogo di pubblicazione", "Luogo pubblicazione", "Città di pubblicazione", "City"});
        add(TSchedaLibro::Dewey, {"Dewey", "CDD", "Classificazione Dewey", "Classificazione"});
        add(TSchedaLibro::Genere, {"Categoria", "Genre", "Genere letterario"});
        add(TSchedaLibro::ISBN,
            {"EAN", "EAN13", "ISBN13", "ISBN 13", "ISBN10", "ISBN 10", "Codice ISBN", "Codice EAN", "Codice a barre"});
        add(TSchedaLibro::Lingua, {"Language", "Lingua originale"});
        add(TSchedaLibro::Originale, {"Original title", "Titolo in lingua originale"});
        add(TSchedaLibro::Traduttore, {"Traduttori", "Traduzione", "Tradotto da", "Translator"});
        add(TSchedaLibro::Collana, {"Serie", "Series"});
        add(TSchedaLibro::Curatore, {"Curatori", "A cura di", "Curatela"});
        add(TSchedaLibro::Posizione, {"Posizione", "Scaffale", "Collocazione", "Ubicazione"});
        add(TSchedaLibro::Etichetta, {"Etichetta", "Codice etichetta", "Codice"});
        add(TSchedaLibro::Formato, {"Format", "Dimensioni", "Rilegatura"});
        add(TSchedaLibro::Volumi, {"Volume", "N. volumi", "Numero volumi", "Numero di volumi"});
        add(TSchedaLibro::Pagine, {"Pag.", "N. pagine", "Numero pagine", "Numero di pagine", "Pages"});
        add(TSchedaLibro::Prezzo,
            {"Prezzo €", "Prezzo euro", "Prezzo di copertina", "Prezzo di vendita", "Euro", "Price"});
        add(TSchedaLibro::Giudizio, {"Valutazione", "Recensione", "Voto", "Commento"});
        add(TSchedaLibro::Note, {"Nota", "Annotazioni", "Osservazioni", "Notes"});
        return table;
    }();
    const QString key = normalizedName(name);
    return key.isEmpty() ? -1 : names.value(key, -1);
}

QList<int> matchHeader(const QStringList &names)
{
    QList<int> fields;
    bool taken[TSchedaLibro::TextFieldCount] = {};
    for (const QString &name : names) {
        int field = fieldForHeader(name);
        if (field >= 0 && taken[field])
            field = -1;
        if (field >= 0)
            taken[field] = true;
        fields.append(field);
    }
    return fields;
}

// ---------------------------------------------------------------------------

Inspection inspectFile(const QString &path)
{
    Inspection result;
    QFile file(path);
    if (!BoundedRead::isRegularFile(path) || !file.open(QIODevice::ReadOnly)) {
        result.problem = Problem::Unreadable;
        return result;
    }
    return inspect(file);
}

Inspection inspect(QIODevice &in)
{
    Inspection result;
    Layout &layout = result.layout;
    if (!in.isOpen() || !in.isReadable() || in.isSequential()) {
        result.problem = Problem::Unreadable;
        return result;
    }
    if (!in.seek(0)) {
        result.problem = Problem::Unreadable;
        return result;
    }
    const QByteArray head = in.read(kSniff);
    if (head.isNull() && in.size() > 0) {
        result.problem = Problem::Unreadable;
        return result;
    }
    bool bom = false;
    std::optional<Encoding> declared;
    QByteArray body;
    if (head.startsWith("\xEF\xBB\xBF")) {
        bom = true;
        layout.bodyStart = 3;
        declared = Encoding::Utf8;
        body = head.mid(3);
    } else if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        bom = true;
        layout.bodyStart = 2;
        declared = head.startsWith("\xFF\xFE") ? Encoding::Utf16LE : Encoding::Utf16BE;
        QStringDecoder decoder(*declared == Encoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        body = QString(decoder.decode(head.mid(2))).toUtf8();
    } else {
        body = head;
    }
    if (body.trimmed().isEmpty() && head.size() < kSniff) {
        result.problem = Problem::Empty;
        return result;
    }
    // Text has no zero bytes and few control characters.
    qsizetype controls = 0;
    for (const char ch : body) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == 0) {
            result.problem = Problem::Binary;
            return result;
        }
        if (b < 32 && b != '\t' && b != '\n' && b != '\r' && b != '\f')
            ++controls;
    }
    if (controls * 50 > body.size()) {
        result.problem = Problem::Binary;
        return result;
    }

    // An HTML table, or delimited text.
    qsizetype first = 0;
    while (first < body.size() && static_cast<unsigned char>(body.at(first)) <= 32)
        ++first;
    const bool markup = first < body.size() && body.at(first) == '<';
    bool noSeparator = false;
    if (markup) {
        layout.kind = Kind::HtmlTable;
        const QByteArray lower = body.left(4096).toLower();
        const qsizetype charset = lower.indexOf("charset=");
        if (charset >= 0 && !bom) {
            if (startsWithNoCase(lower, charset + 8, "utf-8") || startsWithNoCase(lower, charset + 9, "utf-8"))
                declared = Encoding::Utf8;
            else if (startsWithNoCase(lower, charset + 8, "windows-1252") ||
                     startsWithNoCase(lower, charset + 8, "iso-8859-1") ||
                     startsWithNoCase(lower, charset + 9, "windows-1252"))
                declared = Encoding::Windows1252;
        }
    } else {
        noSeparator = true;
        // The separator that splits the first rows into the same number of
        // columns most often; ';' first on equal terms, as Italian systems write.
        int bestScore = 0;
        for (const char candidate : {';', '\t', ','}) {
            QBuffer probe;
            probe.setData(body);
            probe.open(QIODevice::ReadOnly);
            RowScanner scanner(probe, Layout{Kind::Csv, Encoding::Utf8, candidate, 0});
            int rows = 0, split = 0, agreeing = 0, firstCount = -1;
            while (rows < 30 && scanner.nextRow()) {
                if (scanner.position() >= body.size() && head.size() >= kSniff)
                    break; // the row may be cut by the end of the sample
                ++rows;
                if (firstCount < 0)
                    firstCount = scanner.cellCount;
                if (scanner.cellCount > 1)
                    ++split;
                if (scanner.cellCount > 1 && scanner.cellCount == firstCount)
                    ++agreeing;
            }
            // Most rows must be split: a comma in a line of prose is no
            // separator. Then the one that gives most rows the same columns.
            const int score = split * 2 > rows ? split * 1000 + agreeing : 0;
            if (score > bestScore) {
                bestScore = score;
                layout.separator = candidate;
                noSeparator = false;
            }
        }
    }

    // The whole file: rows, columns, and whether every byte is UTF-8.
    Utf8Check utf8;
    if (declared)
        layout.encoding = *declared; // UTF-16 is read as such from here on
    RowScanner scanner(in, layout);
    if (scanner.failed) {
        result.problem = Problem::Unreadable;
        return result;
    }
    scanner.tap = [&utf8, &declared](const char *data, qint64 size) {
        if (!declared)
            utf8.feed(data, size);
    };
    std::vector<std::vector<QByteArray>> previewBytes;
    while (scanner.nextRow()) {
        const int count = scanner.cellCount;
        if (result.rows == 0) {
            result.firstRowColumns = count;
        } else if (result.firstWiderRow == 0 && scanner.filledCount() > result.firstRowColumns) {
            result.firstWiderRow = scanner.rows;
            result.widerRowColumns = scanner.filledCount();
        }
        ++result.rows;
        result.columns = qMax(result.columns, count);
        if (previewBytes.size() < size_t(PreviewRows))
            previewBytes.emplace_back(scanner.cells.begin(), scanner.cells.begin() + count);
    }
    if (scanner.problem != Problem::None) {
        result.problem = scanner.problem;
        result.problemRow = scanner.rows + 1;
        return result;
    }
    if (result.rows == 0) {
        result.problem = Problem::Empty;
        return result;
    }
    layout.encoding = declared ? *declared : (utf8.valid() ? Encoding::Utf8 : Encoding::Windows1252);
    for (const auto &row : previewBytes) {
        QStringList cells;
        for (const QByteArray &cell : row) {
            const QString text = decode(cell, layout.encoding);
            cells.append(layout.kind == Kind::HtmlTable ? resolveEntities(text) : text);
        }
        result.preview.append(cells);
    }
    result.suggested = matchHeader(result.preview.value(0));
    while (result.suggested.size() < result.columns)
        result.suggested.append(-1);
    result.headerLikely = std::any_of(result.suggested.cbegin(), result.suggested.cend(), [](int f) { return f >= 0; });
    // One column is a table only when its name says which field it fills.
    if (noSeparator ? !(result.columns == 1 && result.headerLikely) : result.columns < 2 && !result.headerLikely)
        result.problem = Problem::NotATable;
    return result;
}

// ---------------------------------------------------------------------------

QString isbnKey(const QString &isbn)
{
    QString key;
    key.reserve(isbn.size());
    for (const QChar c : isbn) {
        if (c.isLetterOrNumber())
            key.append(c.toUpper());
    }
    return key;
}

namespace {
// An ISBN of digits (and a final X) as one number: its length and value.
bool isbnNumber(const QString &key, quint64 *number)
{
    if (key.isEmpty() || key.size() > 17)
        return false;
    quint64 value = 0;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QChar c = key.at(i);
        int digit;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
        else if (c == QLatin1Char('X') && i == key.size() - 1)
            digit = 10;
        else
            return false;
        value = value * 11 + quint64(digit);
    }
    *number = value << 5 | quint64(key.size());
    return true;
}
} // namespace

CardRows::CardRows(QIODevice &in, const Layout &layout, const Options &options, Progress progress)
    : m_reader(in, layout), m_in(in), m_options(options), m_progress(std::move(progress))
{}

CardRows::~CardRows() = default;

bool CardRows::knownIsbn(const QString &key) const
{
    quint64 number;
    if (isbnNumber(key, &number))
        return m_isbnNumbers.count(number) > 0;
    return m_isbnTexts.count(key.toStdString()) > 0;
}

void CardRows::remember(const QString &key)
{
    quint64 number;
    if (isbnNumber(key, &number))
        m_isbnNumbers.insert(number);
    else
        m_isbnTexts.insert(key.toStdString());
}

bool CardRows::prepare(BookArchive &archive)
{
    if (!m_options.skipKnownIsbn)
        return true;
    return archive.scan([this](int, const char *record) {
        const char *p = record + TSchedaLibro::offset(TSchedaLibro::ISBN);
        const int len = qMin(int(static_cast<unsigned char>(p[0])), TSchedaLibro::capacity(TSchedaLibro::ISBN));
        if (len > 0) {
            const QString key = isbnKey(Cp1252::toUnicode(p + 1, len));
            if (!key.isEmpty())
                remember(key);
        }
        return true;
    });
}

bool CardRows::makeRecord(const QStringList &cells, const QList<int> &fields, char *record, bool *cut, bool *replaced)
{
    std::memset(record, 0, size_t(TSchedaLibro::RecordSize));
    *cut = *replaced = false;
    bool titled = false;
    const qsizetype n = qMin(cells.size(), fields.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int field = fields.at(i);
        if (field < 0 || field >= TSchedaLibro::TextFieldCount)
            continue;
        // The storing rule of every text, written straight into the field:
        // trimmed, one Windows-1252 byte per character ('?' for one it
        // cannot hold, a pair of surrogates being one character), cut to the
        // field.
        const QString &cell = cells.at(i);
        qsizetype start = 0, end = cell.size();
        while (start < end && cell.at(start).unicode() <= 32)
            ++start;
        while (end > start && cell.at(end - 1).unicode() <= 32)
            --end;
        if (start == end)
            continue;
        const int room = qMin(255, TSchedaLibro::capacity(field));
        char *p = record + TSchedaLibro::offset(field);
        int length = 0;
        for (qsizetype k = start; k < end; ++k) {
            if (length == room) {
                *cut = true;
                break;
            }
            char32_t ch = cell.at(k).unicode();
            if (QChar::isHighSurrogate(ch) && k + 1 < end && cell.at(k + 1).isLowSurrogate()) {
                ch = QChar::surrogateToUcs4(cell.at(k), cell.at(k + 1));
                ++k;
            }
            int b = ch < 0x80 ? int(ch) : Cp1252::byteFor(ch);
            if (b < 0) {
                b = '?';
                *replaced = true;
            }
            p[1 + length++] = char(b);
        }
        p[0] = char(length);
        if (field == TSchedaLibro::Titolo)
            titled = true;
    }
    return titled;
}

int CardRows::fill(char *out, int max)
{
    int filled = 0;
    while (filled < max) {
        if (!m_reader.next(m_cells)) {
            if (m_reader.problem() != Problem::None) {
                m_problem = m_reader.problem();
                m_problemRow = m_reader.rowsRead() + 1;
                return -1;
            }
            break;
        }
        const qint64 row = m_reader.rowsRead();
        if (m_progress && row % 512 == 0 && !m_progress(m_in.pos(), m_in.size())) {
            m_cancelled = true;
            return -1;
        }
        if (m_first) {
            m_first = false;
            if (m_options.header) {
                m_headerColumns = int(m_cells.size());
                continue;
            }
        }
        qsizetype filledColumns = m_cells.size();
        while (filledColumns > 0 &&
               std::all_of(m_cells.at(filledColumns - 1).cbegin(), m_cells.at(filledColumns - 1).cend(),
                           [](QChar c) { return c.unicode() <= 32; }))
            --filledColumns;
        if (m_headerColumns >= 0 && filledColumns > m_headerColumns) {
            m_problem = Problem::TooManyColumns;
            m_problemRow = row;
            return -1;
        }
        if (filledColumns == 0)
            continue; // an empty row of the sheet
        char *record = out + qsizetype(filled) * TSchedaLibro::RecordSize;
        bool cut = false, replaced = false;
        if (!makeRecord(m_cells, m_options.fields, record, &cut, &replaced)) {
            ++m_tally.noTitle;
            continue;
        }
        if (m_options.skipKnownIsbn) {
            const char *p = record + TSchedaLibro::offset(TSchedaLibro::ISBN);
            const QString key = isbnKey(Cp1252::toUnicode(p + 1, static_cast<unsigned char>(p[0])));
            if (!key.isEmpty()) {
                if (knownIsbn(key)) {
                    ++m_tally.knownIsbn;
                    continue;
                }
                remember(key);
            }
        }
        m_tally.cut += cut ? 1 : 0;
        m_tally.replaced += replaced ? 1 : 0;
        ++m_tally.imported;
        ++filled;
    }
    if (m_progress && !m_progress(m_in.pos(), m_in.size())) {
        m_cancelled = true;
        return -1;
    }
    return filled;
}

} // namespace SpreadsheetImport
