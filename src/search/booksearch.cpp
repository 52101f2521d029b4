#include "booksearch.h"

#include "app/cp1252.h"
#include "books/bookarchive.h"
#include "books/bookrecord.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

struct Layout
{
    std::array<int, TSchedaLibro::FieldCount> offset{};
    std::array<int, TSchedaLibro::FieldCount> capacity{};
    Layout()
    {
        for (int i = 0; i < TSchedaLibro::FieldCount; ++i) {
            offset[size_t(i)] = TSchedaLibro::offset(i);
            capacity[size_t(i)] = TSchedaLibro::capacity(i);
        }
    }
};

const Layout &layout()
{
    static const Layout table;
    return table;
}

inline const char *rawField(const Layout &l, const char *record, int field, int &size)
{
    const char *p = record + l.offset[size_t(field)];
    const int len = static_cast<unsigned char>(p[0]);
    const int cap = l.capacity[size_t(field)];
    size = len < cap ? len : cap;
    return p + 1;
}

/// The code by which a stored byte sorts: A-Z count as a-z, every other
/// character counts by its Unicode code.
struct SortKeys
{
    std::array<uint16_t, 256> key{};
    SortKeys()
    {
        for (int b = 0; b < 256; ++b) {
            const char c = BookSearch::lowerAZ(char(b));
            key[size_t(b)] = Cp1252::toUnicode(&c, 1).at(0).unicode();
        }
    }
};

const SortKeys &sortKeys()
{
    static const SortKeys table;
    return table;
}

/// The rank of each byte in the sort order (A-Z and a-z share a rank), so
/// that bytes compare by rank exactly as their characters compare by code.
struct SortRanks
{
    std::array<uint8_t, 256> rank{};
    SortRanks()
    {
        const auto &key = sortKeys().key;
        std::array<int, 256> bytes{};
        for (int b = 0; b < 256; ++b)
            bytes[size_t(b)] = b;
        std::stable_sort(bytes.begin(), bytes.end(), [&](int a, int b) { return key[size_t(a)] < key[size_t(b)]; });
        int r = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i > 0 && key[size_t(bytes[i])] != key[size_t(bytes[i - 1])])
                ++r;
            rank[size_t(bytes[i])] = uint8_t(r);
        }
    }
};

const SortRanks &sortRanks()
{
    static const SortRanks table;
    return table;
}

inline void trimmed(const char *&data, int &size)
{
    while (size > 0 && static_cast<unsigned char>(data[0]) <= 32) {
        ++data;
        --size;
    }
    while (size > 0 && static_cast<unsigned char>(data[size - 1]) <= 32)
        --size;
}

inline char *piece(char *out, const char *data, int size, int width)
{
    const int kept = size < width ? size : width;
    std::memcpy(out, data, size_t(kept));
    std::memset(out + kept, ' ', size_t(width - kept));
    return out + width;
}

inline char *literal(char *out, const char *text, int size)
{
    std::memcpy(out, text, size_t(size));
    return out + size;
}

} // namespace

namespace BookSearch {

const std::array<int, FilterCount> &filterFields()
{
    static const std::array<int, FilterCount> fields = {
        TSchedaLibro::Titolo,   TSchedaLibro::Autore, TSchedaLibro::Genere, TSchedaLibro::Anno,
        TSchedaLibro::Editore,  TSchedaLibro::Dewey,  TSchedaLibro::ISBN,   TSchedaLibro::Etichetta,
        TSchedaLibro::Curatore, TSchedaLibro::Note,
    };
    return fields;
}

char lowerAZ(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

QString lowerAZ(const QString &text)
{
    QString out = text;
    for (QChar &ch : out) {
        if (ch.unicode() >= 'A' && ch.unicode() <= 'Z')
            ch = QChar(ch.unicode() + ('a' - 'A'));
    }
    return out;
}

Needle::Needle(const QString &text)
{
    const QList<uint> codes = text.toUcs4();
    m_bytes.reserve(codes.size());
    for (uint code : codes) {
        const int byte = Cp1252::byteFor(char32_t(code));
        if (byte < 0) {
            m_encodable = false;
            m_bytes.clear();
            return;
        }
        m_bytes.append(lowerAZ(char(byte)));
    }
}

bool Needle::occursIn(const char *data, int size) const
{
    if (!m_encodable || m_bytes.isEmpty() || size < m_bytes.size())
        return false;
    // Fields hold at most 255 bytes and rows fewer still; lower-case a copy.
    char lowered[256];
    const int n = size < int(sizeof lowered) ? size : int(sizeof lowered);
    for (int i = 0; i < n; ++i)
        lowered[i] = lowerAZ(data[i]);
    return std::string_view(lowered, size_t(n)).find(std::string_view(m_bytes.constData(), size_t(m_bytes.size()))) !=
           std::string_view::npos;
}

Filters::Filters(const QStringList &texts)
{
    const auto &fields = filterFields();
    for (int i = 0; i < FilterCount && i < texts.size(); ++i) {
        const QString &typed = texts.at(i);
        bool blank = true;
        for (QChar ch : typed) {
            if (ch.unicode() > 32) {
                blank = false;
                break;
            }
        }
        if (!blank)
            m_given.push_back({fields[size_t(i)], Needle(lowerAZ(typed))});
    }
}

bool Filters::matches(const char *record) const
{
    const Layout &l = layout();
    for (const Given &g : m_given) {
        int size = 0;
        const char *data = rawField(l, record, g.field, size);
        if (!g.needle.occursIn(data, size))
            return false;
    }
    return true;
}

const char *fieldBytes(const char *record, int field, int *size)
{
    return rawField(layout(), record, field, *size);
}

void trimBytes(const char *&data, int &size)
{
    trimmed(data, size);
}

int buildRow(const char *record, char *out)
{
    const Layout &l = layout();
    char *p = out;
    auto field = [&](int f) {
        int size = 0;
        const char *data = rawField(l, record, f, size);
        trimmed(data, size);
        return std::pair<const char *, int>(data, size);
    };
    auto titolo = field(TSchedaLibro::Titolo);
    p = piece(p, titolo.first, titolo.second, 55);
    p = literal(p, "  Autore: ", 10);
    auto autore = field(TSchedaLibro::Autore);
    p = piece(p, autore.first, autore.second, 30);
    p = literal(p, "  Editore: ", 11);
    auto editore = field(TSchedaLibro::Editore);
    p = piece(p, editore.first, editore.second, 30);
    p = literal(p, "  Anno: ", 8);
    auto anno = field(TSchedaLibro::Anno);
    std::memcpy(p, anno.first, size_t(anno.second));
    p += anno.second;
    return int(p - out);
}

QString rowText(const char *record)
{
    char row[RowCapacity];
    return Cp1252::toUnicode(row, buildRow(record, row));
}

int compareRows(const char *a, int aSize, const char *b, int bSize)
{
    const auto &key = sortKeys().key;
    const int n = aSize < bSize ? aSize : bSize;
    for (int i = 0; i < n; ++i) {
        const int ka = key[static_cast<unsigned char>(a[i])];
        const int kb = key[static_cast<unsigned char>(b[i])];
        if (ka != kb)
            return ka - kb;
    }
    return aSize - bSize;
}

void RowList::clear()
{
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_spans.clear();
    m_spans.shrink_to_fit();
}

void RowList::append(const char *row, int size)
{
    const auto &rank = sortRanks().rank;
    Span span{uint64_t(m_bytes.size()), uint32_t(size), {0, 0}};
    for (int i = 0; i < 16; ++i) {
        const uint64_t r = i < size ? rank[static_cast<unsigned char>(row[i])] : 0;
        span.prefix[i / 8] |= r << (8 * (7 - i % 8));
    }
    m_spans.push_back(span);
    m_bytes.insert(m_bytes.end(), row, row + size);
}

QString RowList::text(int i) const
{
    return Cp1252::toUnicode(data(i), length(i));
}

void RowList::sort()
{
    // Equal rows keep the order in which they were added: they are told
    // apart by their place in the block, which grows with every row.
    const char *base = m_bytes.data();
    std::sort(m_spans.begin(), m_spans.end(), [base](const Span &a, const Span &b) {
        if (a.prefix[0] != b.prefix[0])
            return a.prefix[0] < b.prefix[0];
        if (a.prefix[1] != b.prefix[1])
            return a.prefix[1] < b.prefix[1];
        const int order = compareRows(base + a.offset, int(a.length), base + b.offset, int(b.length));
        return order != 0 ? order < 0 : a.offset < b.offset;
    });
}

Outcome search(const QString &path, const Filters &filters, RowList &rows)
{
    BookArchive archive(path);
    if (!archive.openForReading())
        return Outcome::AccessFailure;
    char row[RowCapacity];
    const bool read = archive.scan([&](int, const char *record) {
        if (filters.matches(record))
            rows.append(row, buildRow(record, row));
        return true;
    });
    const bool closed = archive.close();
    return read && closed ? Outcome::Done : Outcome::AccessFailure;
}

bool findCard(const QString &path, const QByteArray &row, int &number, char *record)
{
    number = 0;
    const char *wanted = row.constData();
    int wantedSize = int(row.size());
    trimmed(wanted, wantedSize);
    BookArchive archive(path);
    if (!archive.openForReading())
        return false;
    char built[RowCapacity];
    const bool read = archive.scan([&](int n, const char *card) {
        const char *text = built;
        int size = buildRow(card, built);
        trimmed(text, size);
        if (size == wantedSize && std::memcmp(text, wanted, size_t(size)) == 0) {
            number = n;
            std::memcpy(record, card, TSchedaLibro::RecordSize);
        }
        return true;
    });
    const bool closed = archive.close();
    return read && closed;
}

} // namespace BookSearch
