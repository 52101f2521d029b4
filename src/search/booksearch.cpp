#include "booksearch.h"

#include "core/cp1252.h"
#include "core/bookarchive.h"
#include "core/bookrecord.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <thread>

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

namespace {

/// Rows are kept in blocks of this size; a row never straddles two.
constexpr size_t kRowBlockBytes = size_t(1) << 20;

/// Packs the sort ranks of row[depth, depth + 8 * words) into key, one byte
/// per character (its rank + 1, and 0 past the row's end), so that comparing
/// the words as numbers compares those characters, a shorter row first.
inline void packKey(const char *row, int size, int depth, uint64_t *key, int words)
{
    const auto &rank = sortRanks().rank;
    for (int w = 0; w < words; ++w) {
        uint64_t k = 0;
        for (int i = 0; i < 8; ++i) {
            const int at = depth + w * 8 + i;
            k = (k << 8) | (at < size ? uint64_t(rank[static_cast<unsigned char>(row[at])]) + 1 : 0);
        }
        key[w] = k;
    }
}

} // namespace

void RowList::clear()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_spans.clear();
    m_spans.shrink_to_fit();
    m_order.clear();
    m_order.shrink_to_fit();
    m_runsEnd = 0;
    m_sorted = true;
}

void RowList::append(const char *row, int size)
{
    if (!m_order.empty())
        settleOrder();
    size = std::clamp(size, 0, RowCapacity);
    if (m_blocks.empty() || m_blocks.back().size() + size_t(size) >= kRowBlockBytes) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(kRowBlockBytes);
    }
    std::vector<char> &block = m_blocks.back();
    Span span;
    packKey(row, size, 0, span.key, KeyWords);
    span.at = (uint64_t(m_blocks.size() - 1) << 32) | (uint64_t(block.size()) << 12) | uint64_t(size);
    block.insert(block.end(), row, row + size);
    m_spans.push_back(span);
    m_sorted = false;
    if (m_spans.size() - m_runsEnd == size_t(RunRows)) {
        // A whole run: sorted now, while its entries are still in the
        // processor's cache and, during a search, the disk reads ahead.
        spread(m_spans.data() + m_runsEnd, m_spans.data() + m_spans.size(), 0, 0, *this);
        m_runsEnd = m_spans.size();
    }
}

void RowList::settleOrder()
{
    // Rows added to a sorted list of several runs: the entries are put in
    // list order first, so that every whole run is sorted again.
    std::vector<Span> ordered;
    ordered.reserve(m_spans.capacity());
    for (uint32_t i : m_order)
        ordered.push_back(m_spans[i]);
    m_spans.swap(ordered);
    m_order.clear();
    m_order.shrink_to_fit();
    m_runsEnd = m_spans.size() - m_spans.size() % size_t(RunRows);
}

QString RowList::text(int i) const
{
    return Cp1252::toUnicode(data(i), length(i));
}

namespace {
template <typename Span> bool sameKey(const Span &a, const Span &b)
{
    return std::equal(std::begin(a.key), std::end(a.key), std::begin(b.key));
}

struct KeyLess
{
    template <typename Span> bool operator()(const Span &a, const Span &b) const
    {
        for (size_t w = 0; w < std::size(a.key); ++w) {
            if (a.key[w] != b.key[w])
                return a.key[w] < b.key[w];
        }
        return a.at < b.at;
    }
};

/// Asks the processor to fetch a row's bytes ahead of their use: the rows
/// of a long list lie far apart in memory.
inline void prefetch(const char *p)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}
} // namespace

void RowList::deepen(Span *first, Span *last, int depth, const RowList &rows)
{
    // Rows whose first depth characters compare equal share their key: they
    // are sorted by their next characters, and the shared key is put back.
    uint64_t shared[KeyWords];
    std::copy(std::begin(first->key), std::end(first->key), shared);
    constexpr ptrdiff_t kAhead = 8;
    for (Span *s = first; s != last && s - first < kAhead; ++s)
        prefetch(rows.rowAt(s->at) + depth);
    for (Span *s = first; s != last; ++s) {
        if (last - s > kAhead)
            prefetch(rows.rowAt(s[kAhead].at) + depth);
        packKey(rows.rowAt(s->at), int(s->at & 0xFFF), depth, s->key, KeyWords);
    }
    spread(first, last, 0, depth, rows);
    for (Span *s = first; s != last; ++s)
        std::copy(shared, shared + KeyWords, s->key);
}

void RowList::sortRange(Span *first, Span *last, int depth, const RowList &rows)
{
    std::sort(first, last, KeyLess());
    // Rows equal in their key whose last character still exists go on
    // comparing further on; rows equal to their end stay in the order they came.
    for (Span *a = first; a != last;) {
        Span *b = a + 1;
        while (b != last && sameKey(*a, *b))
            ++b;
        if (b - a > 1 && (a->key[KeyWords - 1] & 0xFF) != 0)
            deepen(a, b, depth + 8 * KeyWords, rows);
        a = b;
    }
}

void RowList::spread(Span *first, Span *last, int byte, int depth, const RowList &rows)
{
    // Keys agree before byte. Each round spreads the rows by one character
    // into 256 buckets in place; a character all rows share moves nothing.
    const auto digit = [](const Span &s, int at) { return size_t(s.key[at >> 3] >> (56 - 8 * (at & 7))) & 0xFF; };
    for (;;) {
        const size_t n = size_t(last - first);
        if (n < 2)
            return;
        if (n <= 32 || byte == 8 * KeyWords) {
            sortRange(first, last, depth, rows);
            return;
        }
        // The characters every row shares move nothing: skip them in one pass.
        int differ = 8 * KeyWords;
        for (const Span *s = first + 1; s != last; ++s) {
            for (int w = byte >> 3; w * 8 < differ; ++w) {
                const uint64_t x = s->key[w] ^ first->key[w];
                if (x != 0) {
                    int at = w * 8;
                    while ((x >> (56 - 8 * (at & 7))) == 0)
                        ++at;
                    differ = std::min(differ, at);
                    break;
                }
            }
        }
        for (; byte < differ; ++byte) {
            if (digit(*first, byte) == 0) { // every row ended before here: they are equal
                std::sort(first, last, [](const Span &a, const Span &b) { return a.at < b.at; });
                return;
            }
        }
        if (byte == 8 * KeyWords)
            continue;
        uint32_t end[256] = {};
        for (const Span *s = first; s != last; ++s)
            ++end[digit(*s, byte)];
        uint32_t next[256];
        uint32_t at = 0;
        for (size_t b = 0; b < 256; ++b) {
            next[b] = at;
            at += end[b];
            end[b] = at;
        }
        for (size_t b = 0; b < 256; ++b) {
            while (next[b] < end[b]) {
                Span s = first[next[b]];
                for (size_t d = digit(s, byte); d != b; d = digit(s, byte))
                    std::swap(s, first[next[d]++]);
                first[next[b]++] = s;
            }
        }
        for (size_t b = 0, from = 0; b < 256; from = end[b], ++b) {
            if (end[b] - from < 2)
                continue;
            if (b == 0)
                std::sort(first + from, first + end[b], [](const Span &x, const Span &y) { return x.at < y.at; });
            else
                spread(first + from, first + end[b], byte + 1, depth, rows);
        }
        return;
    }
}

inline bool RowList::less(const Span &a, const Span &b) const
{
    // The list order: the packed first 32 characters, then the rest of the
    // rows where both go on past them, then the order the rows came in.
    for (int w = 0; w < KeyWords; ++w) {
        if (a.key[w] != b.key[w])
            return a.key[w] < b.key[w];
    }
    return lessPastKey(a, b);
}

bool RowList::lessPastKey(const Span &a, const Span &b) const
{
    if ((a.key[KeyWords - 1] & 0xFF) != 0) {
        constexpr int packed = 8 * KeyWords;
        const int c = compareRows(rowAt(a.at) + packed, int(a.at & 0xFFF) - packed, rowAt(b.at) + packed,
                                  int(b.at & 0xFFF) - packed);
        if (c != 0)
            return c < 0;
    }
    return a.at < b.at;
}

void RowList::merge(const std::vector<std::pair<const Span *, const Span *>> &runs, uint32_t *out) const
{
    // A tree of matches between the runs' next entries: each node keeps the
    // run that lost there, the root the least entry of all. Once that entry
    // is written out, its run plays its next entry up the tree, one match a
    // level.
    size_t leaves = 1;
    while (leaves < runs.size())
        leaves *= 2;
    std::vector<std::pair<const Span *, const Span *>> run(runs);
    run.resize(leaves, {nullptr, nullptr});
    const auto beats = [&](size_t a, size_t b) {
        if (run[a].first == run[a].second)
            return false;
        if (run[b].first == run[b].second)
            return true;
        return less(*run[a].first, *run[b].first);
    };
    std::vector<size_t> loser(leaves), winner(2 * leaves);
    for (size_t i = 0; i < leaves; ++i)
        winner[leaves + i] = i;
    for (size_t node = leaves - 1; node >= 1; --node) {
        const size_t a = winner[2 * node], b = winner[2 * node + 1];
        const bool aWins = beats(a, b);
        winner[node] = aWins ? a : b;
        loser[node] = aWins ? b : a;
    }
    size_t top = winner[1];
    const Span *base = m_spans.data();
    while (run[top].first != run[top].second) {
        *out++ = uint32_t(run[top].first - base);
        ++run[top].first;
        for (size_t node = (top + leaves) / 2; node >= 1; node /= 2) {
            if (beats(loser[node], top))
                std::swap(loser[node], top);
        }
    }
}

void RowList::sort()
{
    if (m_sorted)
        return;
    m_sorted = true;
    m_order.clear();
    const size_t n = m_spans.size();
    if (n < 2)
        return;
    // The whole runs were sorted as they came; the last rows make one more.
    Span *base = m_spans.data();
    if (n - m_runsEnd > 1)
        spread(base + m_runsEnd, base + n, 0, 0, *this);
    if (m_runsEnd == 0 || n <= size_t(RunRows))
        return;

    // Merge the runs into the list order. A long list is cut in two at an
    // entry near its middle, each half merged on a thread of its own.
    std::vector<std::pair<const Span *, const Span *>> runs;
    for (size_t from = 0; from < n; from += size_t(RunRows))
        runs.emplace_back(base + from, base + std::min(n, from + size_t(RunRows)));
    m_order.resize(n);
    if (n < 50000 || std::thread::hardware_concurrency() < 2) {
        merge(runs, m_order.data());
        return;
    }
    std::vector<const Span *> middles;
    for (const auto &run : runs)
        middles.push_back(run.first + (run.second - run.first) / 2);
    std::nth_element(middles.begin(), middles.begin() + ptrdiff_t(middles.size() / 2), middles.end(),
                     [this](const Span *a, const Span *b) { return less(*a, *b); });
    const Span pivot = *middles[middles.size() / 2];
    std::vector<std::pair<const Span *, const Span *>> low, high;
    size_t lowRows = 0;
    for (const auto &run : runs) {
        const Span *cut =
            std::partition_point(run.first, run.second, [&](const Span &s) { return less(s, pivot); });
        low.emplace_back(run.first, cut);
        high.emplace_back(cut, run.second);
        lowRows += size_t(cut - run.first);
    }
    std::thread helper([&] { merge(high, m_order.data() + lowRows); });
    merge(low, m_order.data());
    helper.join();
}

Outcome search(const QString &path, const Filters &filters, RowList &rows, const Progress &progress)
{
    BookArchive archive(path);
    if (!archive.openForReading())
        return Outcome::AccessFailure;
    char row[RowCapacity];
    bool stopped = false;
    BookArchive::Progress told;
    if (progress) {
        told = [&](int read, int total) {
            stopped = !progress(read, total);
            return !stopped;
        };
    }
    const bool read = archive.scan(
        [&](int, const char *record) {
            if (filters.matches(record))
                rows.append(row, buildRow(record, row));
            return true;
        },
        told);
    const bool closed = archive.close();
    if (!read || !closed)
        return Outcome::AccessFailure;
    return stopped ? Outcome::Stopped : Outcome::Done;
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
