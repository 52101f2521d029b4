#include "booksearch.h"

#include "core/cp1252.h"
#include "core/bookarchive.h"
#include "core/bookrecord.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
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

/// Asks the processor to fetch bytes ahead of their use: the rows of a long
/// list, and the entries of a merged order, lie far apart in memory.
inline void prefetch(const void *p)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

std::atomic<bool> s_mergerAllowed{true};

bool twoCores()
{
    static const bool two = std::thread::hardware_concurrency() >= 2;
    return two && s_mergerAllowed.load();
}
} // namespace

void RowList::setMergerForTesting(bool enabled)
{
    s_mergerAllowed = enabled;
}

/// Where the rows and the entries lie, as seen by the thread that sorts:
/// tables of pointers that stay put while the list grows.
struct RowList::Tables
{
    const char *const *blocks;
    Span *const *runs;

    const char *row(uint64_t at) const { return blocks[size_t(at >> 32)] + ((at >> 12) & 0xFFFFF); }
    const Span &entry(uint32_t e) const { return runs[e / uint32_t(RunRows)][e % uint32_t(RunRows)]; }
};

/// A stretch of entries in list order: index[from, to) when there is an
/// index, otherwise the entries from, from + 1, ... to - 1 themselves.
struct RowList::Source
{
    const uint32_t *index;
    uint32_t from;
    uint32_t to;

    uint32_t at(uint32_t i) const { return index ? index[i] : i; }
    uint32_t size() const { return to - from; }
    /// Writes the rest of the stretch to out; returns the end of what it wrote.
    uint32_t *copyTo(uint32_t *out) const
    {
        if (index)
            return std::copy(index + from, index + to, out);
        for (uint32_t e = from; e != to; ++e)
            *out++ = e;
        return out;
    }
};

namespace {
/// The pointer tables of a list, made on the thread that owns it.
template <typename Span> struct OwnTables
{
    std::vector<const char *> blocks;
    std::vector<Span *> runs;

    OwnTables(const std::vector<std::vector<char>> &rowBlocks, std::vector<std::vector<Span>> &entryRuns)
    {
        blocks.reserve(rowBlocks.size());
        for (const auto &b : rowBlocks)
            blocks.push_back(b.data());
        runs.reserve(entryRuns.size());
        for (auto &r : entryRuns)
            runs.push_back(r.data());
    }
};
} // namespace

/// Sorts each whole run as it comes and merges it into the list order of
/// the runs before it, on a thread of its own, so that the thread that adds
/// the rows goes on reading. It is given the runs and the row blocks by
/// their addresses, which never change; the rows of a run it was given are
/// never touched again by anyone else until it is finished.
class RowList::Merger
{
public:
    Merger(std::vector<Span *> runs, size_t sortedRuns, std::vector<uint32_t> merged, size_t mergedRuns,
           std::vector<const char *> blocks)
        : m_runs(std::move(runs)), m_sortedRuns(sortedRuns), m_merged(std::move(merged)), m_mergedRuns(mergedRuns),
          m_blocks(std::move(blocks))
    {
        m_thread = std::thread([this] { work(); });
    }
    ~Merger()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }
    Merger(const Merger &) = delete;
    Merger &operator=(const Merger &) = delete;

    /// One more whole run, and the row blocks made since the last call.
    void add(Span *run, const char *const *blocks, size_t blockCount)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_newRuns.push_back(run);
            m_newBlocks.insert(m_newBlocks.end(), blocks, blocks + blockCount);
        }
        m_wake.notify_all();
    }

    /// Waits until every run given is sorted, leaving the last ones that
    /// came to the final merge rather than merging them now; the thread ends.
    void finish(size_t &sortedRuns, std::vector<uint32_t> &merged, size_t &mergedRuns)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_finish = true;
        }
        m_finishing = true;
        m_wake.notify_all();
        m_thread.join();
        sortedRuns = m_sortedRuns;
        merged = std::move(m_merged);
        mergedRuns = m_mergedRuns;
    }

private:
    void work()
    {
        for (;;) {
            bool finishing = false;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stop || m_finish || !m_newRuns.empty(); });
                if (m_stop)
                    return;
                m_runs.insert(m_runs.end(), m_newRuns.begin(), m_newRuns.end());
                m_newRuns.clear();
                m_blocks.insert(m_blocks.end(), m_newBlocks.begin(), m_newBlocks.end());
                m_newBlocks.clear();
                finishing = m_finish;
            }
            const Tables tables{m_blocks.data(), m_runs.data()};
            for (; m_sortedRuns < m_runs.size(); ++m_sortedRuns)
                spread(m_runs[m_sortedRuns], m_runs[m_sortedRuns] + RunRows, 0, 0, tables);
            if (finishing)
                return;
            if (m_mergedRuns == 0 && m_sortedRuns > 0)
                m_mergedRuns = 1; // one run is its own list order
            // The new runs are merged among themselves, then into the list
            // order, two runs or more at a time: each merge into the list
            // order rewrites all of it. One that the end of the filling
            // overtakes is given up, its runs left to the last merge.
            if (m_sortedRuns - m_mergedRuns < 2)
                continue;
            std::vector<Source> fresh;
            for (size_t r = m_mergedRuns; r < m_sortedRuns; ++r)
                fresh.push_back({nullptr, uint32_t(r) * uint32_t(RunRows), uint32_t(r + 1) * uint32_t(RunRows)});
            std::vector<uint32_t> joined((m_sortedRuns - m_mergedRuns) * size_t(RunRows));
            merge(std::move(fresh), joined.data(), tables);
            const uint32_t rows = uint32_t(m_mergedRuns) * uint32_t(RunRows);
            const Source before = m_merged.empty() ? Source{nullptr, 0, rows} : Source{m_merged.data(), 0, rows};
            std::vector<uint32_t> merged(m_sortedRuns * size_t(RunRows));
            if (!mergeTwo(before, Source{joined.data(), 0, uint32_t(joined.size())}, merged.data(), tables,
                          &m_finishing))
                return;
            m_merged.swap(merged);
            m_mergedRuns = m_sortedRuns;
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Span *> m_newRuns;
    std::vector<const char *> m_newBlocks;
    bool m_finish = false;
    bool m_stop = false;
    std::atomic<bool> m_finishing{false};

    // The merger's own thread alone uses these until it ends.
    std::vector<Span *> m_runs;
    size_t m_sortedRuns;
    std::vector<uint32_t> m_merged;
    size_t m_mergedRuns;
    std::vector<const char *> m_blocks;
    std::thread m_thread;
};

RowList::RowList() = default;

RowList::~RowList()
{
    m_merger.reset(); // stops the merger before the rows it reads go
}

RowList::RowList(const RowList &other)
{
    *this = other;
}

RowList::RowList(RowList &&other) noexcept
{
    *this = std::move(other);
}

RowList &RowList::operator=(const RowList &other)
{
    if (this == &other)
        return *this;
    clear();
    other.settleMerger();
    m_blocks.reserve(other.m_blocks.size());
    for (const auto &block : other.m_blocks) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(kRowBlockBytes);
        m_blocks.back().assign(block.begin(), block.end());
    }
    m_runs = other.m_runs;
    m_count = other.m_count;
    m_sortedRuns = other.m_sortedRuns;
    m_mergedRuns = other.m_mergedRuns;
    m_merged = other.m_merged;
    m_order = other.m_order;
    m_sorted = other.m_sorted;
    return *this;
}

RowList &RowList::operator=(RowList &&other) noexcept
{
    if (this == &other)
        return *this;
    m_merger.reset();
    // Moving the vectors keeps their elements where they are, so a merger
    // at work goes on with the same rows.
    m_blocks = std::move(other.m_blocks);
    m_runs = std::move(other.m_runs);
    m_count = std::exchange(other.m_count, 0);
    m_sortedRuns = std::exchange(other.m_sortedRuns, 0);
    m_mergedRuns = std::exchange(other.m_mergedRuns, 0);
    m_merged = std::move(other.m_merged);
    m_merger = std::move(other.m_merger);
    m_blocksGiven = std::exchange(other.m_blocksGiven, 0);
    m_order = std::move(other.m_order);
    m_sorted = std::exchange(other.m_sorted, true);
    other.clear();
    return *this;
}

void RowList::clear()
{
    m_merger.reset();
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_runs.clear();
    m_runs.shrink_to_fit();
    m_count = 0;
    m_sortedRuns = 0;
    m_mergedRuns = 0;
    m_merged.clear();
    m_merged.shrink_to_fit();
    m_blocksGiven = 0;
    m_order.clear();
    m_order.shrink_to_fit();
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
    if (m_runs.empty() || m_runs.back().size() == size_t(RunRows)) {
        m_runs.emplace_back();
        if (m_runs.size() > 1)
            m_runs.back().reserve(size_t(RunRows));
    }
    m_runs.back().push_back(span);
    ++m_count;
    m_sorted = false;
    if (m_runs.back().size() == size_t(RunRows))
        runFilled();
}

void RowList::runFilled()
{
    // A whole run: sorted now, and merged with the runs before it, on the
    // merger's thread while the rows go on coming; with one core, or for
    // the first few runs, sorted here, while its entries are still in the
    // processor's cache.
    const size_t run = m_runs.size() - 1;
    // A short list is sorted here and merged at the end, at once: the
    // merger pays from a few runs on.
    constexpr size_t kRunsBeforeMerger = 3;
    if (!m_merger && twoCores() && run >= kRunsBeforeMerger) {
        OwnTables<Span> own(m_blocks, m_runs);
        own.runs.pop_back();
        m_merger = std::make_unique<Merger>(std::move(own.runs), m_sortedRuns, std::move(m_merged), m_mergedRuns,
                                            std::move(own.blocks));
        m_merged = std::vector<uint32_t>();
        m_blocksGiven = m_blocks.size();
        m_merger->add(m_runs[run].data(), nullptr, 0);
        return;
    }
    if (m_merger) {
        std::vector<const char *> blocks;
        for (size_t b = m_blocksGiven; b < m_blocks.size(); ++b)
            blocks.push_back(m_blocks[b].data());
        m_blocksGiven = m_blocks.size();
        m_merger->add(m_runs[run].data(), blocks.data(), blocks.size());
        return;
    }
    OwnTables<Span> own(m_blocks, m_runs);
    const Tables tables{own.blocks.data(), own.runs.data()};
    Span *first = m_runs[run].data();
    spread(first, first + RunRows, 0, 0, tables);
    m_sortedRuns = run + 1;
}

void RowList::settleMerger() const
{
    if (m_merger) {
        m_merger->finish(m_sortedRuns, m_merged, m_mergedRuns);
        m_merger.reset();
    }
}

void RowList::settleOrder()
{
    // Rows added to a sorted list of several runs: the entries are put in
    // list order first, so that every whole run is sorted again and the
    // whole runs, one after the other, are the list order.
    std::vector<std::vector<Span>> ordered;
    ordered.reserve(m_runs.size());
    for (size_t i = 0; i < m_order.size(); ++i) {
        if (i % size_t(RunRows) == 0) {
            ordered.emplace_back();
            ordered.back().reserve(size_t(RunRows));
        }
        ordered.back().push_back(entry(m_order[i]));
    }
    m_runs.swap(ordered);
    m_order.clear();
    m_order.shrink_to_fit();
    m_sortedRuns = m_count / size_t(RunRows);
    m_mergedRuns = m_sortedRuns;
    m_merged.clear();
}

QString RowList::text(int i) const
{
    return Cp1252::toUnicode(data(i), length(i));
}

void RowList::deepen(Span *first, Span *last, int depth, const Tables &tables)
{
    // Rows whose first depth characters compare equal share their key: they
    // are sorted by their next characters, and the shared key is put back.
    uint64_t shared[KeyWords];
    std::copy(std::begin(first->key), std::end(first->key), shared);
    constexpr ptrdiff_t kAhead = 8;
    for (Span *s = first; s != last && s - first < kAhead; ++s)
        prefetch(tables.row(s->at) + depth);
    for (Span *s = first; s != last; ++s) {
        if (last - s > kAhead)
            prefetch(tables.row(s[kAhead].at) + depth);
        packKey(tables.row(s->at), int(s->at & 0xFFF), depth, s->key, KeyWords);
    }
    spread(first, last, 0, depth, tables);
    for (Span *s = first; s != last; ++s)
        std::copy(shared, shared + KeyWords, s->key);
}

void RowList::sortRange(Span *first, Span *last, int depth, const Tables &tables)
{
    std::sort(first, last, KeyLess());
    // Rows equal in their key whose last character still exists go on
    // comparing further on; rows equal to their end stay in the order they came.
    for (Span *a = first; a != last;) {
        Span *b = a + 1;
        while (b != last && sameKey(*a, *b))
            ++b;
        if (b - a > 1 && (a->key[KeyWords - 1] & 0xFF) != 0)
            deepen(a, b, depth + 8 * KeyWords, tables);
        a = b;
    }
}

void RowList::spread(Span *first, Span *last, int byte, int depth, const Tables &tables)
{
    // Keys agree before byte. Each round spreads the rows by one character
    // into 256 buckets in place; a character all rows share moves nothing.
    const auto digit = [](const Span &s, int at) { return size_t(s.key[at >> 3] >> (56 - 8 * (at & 7))) & 0xFF; };
    for (;;) {
        const size_t n = size_t(last - first);
        if (n < 2)
            return;
        if (n <= 32 || byte == 8 * KeyWords) {
            sortRange(first, last, depth, tables);
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
                spread(first + from, first + end[b], byte + 1, depth, tables);
        }
        return;
    }
}

inline bool RowList::less(const Span &a, const Span &b, const Tables &tables)
{
    // The list order: the packed first 32 characters, then the rest of the
    // rows where both go on past them, then the order the rows came in.
    for (int w = 0; w < KeyWords; ++w) {
        if (a.key[w] != b.key[w])
            return a.key[w] < b.key[w];
    }
    return lessPastKey(a, b, tables);
}

bool RowList::lessPastKey(const Span &a, const Span &b, const Tables &tables)
{
    if ((a.key[KeyWords - 1] & 0xFF) != 0) {
        constexpr int packed = 8 * KeyWords;
        const int c = compareRows(tables.row(a.at) + packed, int(a.at & 0xFFF) - packed, tables.row(b.at) + packed,
                                  int(b.at & 0xFFF) - packed);
        if (c != 0)
            return c < 0;
    }
    return a.at < b.at;
}

bool RowList::mergeTwo(Source a, Source b, uint32_t *out, const Tables &tables, const std::atomic<bool> *abandon)
{
    // The usual case: the list order so far and one more stretch. An entry
    // of an index is fetched a few steps before it is compared. With
    // abandon, the merge gives up (returning false) once it is set.
    constexpr uint32_t kAhead = 16;
    if (a.from == a.to || b.from == b.to) {
        out = a.copyTo(out);
        b.copyTo(out);
        return true;
    }
    uint32_t ea = a.at(a.from), eb = b.at(b.from);
    const Span *sa = &tables.entry(ea);
    const Span *sb = &tables.entry(eb);
    for (uint32_t step = 1;; ++step) {
        if ((step & 4095) == 0 && abandon && abandon->load(std::memory_order_relaxed))
            return false;
        if (less(*sb, *sa, tables)) {
            *out++ = eb;
            if (++b.from == b.to)
                break;
            if (b.index && b.to - b.from > kAhead)
                prefetch(&tables.entry(b.index[b.from + kAhead]));
            eb = b.at(b.from);
            sb = &tables.entry(eb);
        } else {
            *out++ = ea;
            if (++a.from == a.to)
                break;
            if (a.index && a.to - a.from > kAhead)
                prefetch(&tables.entry(a.index[a.from + kAhead]));
            ea = a.at(a.from);
            sa = &tables.entry(ea);
        }
    }
    out = a.copyTo(out);
    b.copyTo(out);
    return true;
}

void RowList::merge(std::vector<Source> sources, uint32_t *out, const Tables &tables)
{
    sources.erase(std::remove_if(sources.begin(), sources.end(), [](const Source &s) { return s.from == s.to; }),
                  sources.end());
    if (sources.size() <= 2) {
        if (sources.size() == 1)
            sources[0].copyTo(out);
        else if (sources.size() == 2)
            mergeTwo(sources[0], sources[1], out, tables);
        return;
    }
    // A tree of matches between the sources' next entries: each node keeps
    // the source that lost there, the root the least entry of all. Once that
    // entry is written out, its source plays its next entry up the tree, one
    // match a level.
    size_t leaves = 1;
    while (leaves < sources.size())
        leaves *= 2;
    sources.resize(leaves, Source{nullptr, 0, 0});
    const auto beats = [&](size_t a, size_t b) {
        const Source &x = sources[a], &y = sources[b];
        if (x.from == x.to)
            return false;
        if (y.from == y.to)
            return true;
        return less(tables.entry(x.at(x.from)), tables.entry(y.at(y.from)), tables);
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
    while (sources[top].from != sources[top].to) {
        *out++ = sources[top].at(sources[top].from);
        ++sources[top].from;
        for (size_t node = (top + leaves) / 2; node >= 1; node /= 2) {
            if (beats(loser[node], top))
                std::swap(loser[node], top);
        }
    }
}

void RowList::mergeOnTwoThreads(const std::vector<Source> &sources, uint32_t *out, const Tables &tables)
{
    // Cut in two at an entry near the middle of the list order (the middle
    // of the largest source when it holds most rows, otherwise the middle
    // one of the sources' middles); each half is merged on a thread.
    size_t rows = 0;
    const Source *largest = &sources.front();
    for (const Source &s : sources) {
        rows += s.size();
        if (s.size() > largest->size())
            largest = &s;
    }
    uint32_t pivotEntry = largest->at(largest->from + largest->size() / 2);
    if (2 * size_t(largest->size()) < rows) {
        std::vector<uint32_t> middles;
        for (const Source &s : sources) {
            if (s.size() > 0)
                middles.push_back(s.at(s.from + s.size() / 2));
        }
        std::nth_element(middles.begin(), middles.begin() + ptrdiff_t(middles.size() / 2), middles.end(),
                         [&](uint32_t a, uint32_t b) { return less(tables.entry(a), tables.entry(b), tables); });
        pivotEntry = middles[middles.size() / 2];
    }
    const Span pivot = tables.entry(pivotEntry);
    std::vector<Source> low, high;
    size_t lowRows = 0;
    for (const Source &s : sources) {
        uint32_t lo = s.from, hi = s.to;
        while (lo < hi) {
            const uint32_t mid = lo + (hi - lo) / 2;
            if (less(tables.entry(s.at(mid)), pivot, tables))
                lo = mid + 1;
            else
                hi = mid;
        }
        low.push_back({s.index, s.from, lo});
        high.push_back({s.index, lo, s.to});
        lowRows += lo - s.from;
    }
    std::thread helper([&] { merge(high, out + lowRows, tables); });
    merge(low, out, tables);
    helper.join();
}

void RowList::sort()
{
    if (m_sorted)
        return;
    m_sorted = true;
    m_order.clear();
    const size_t n = m_count;
    const size_t wholeRuns = n / size_t(RunRows);
    OwnTables<Span> own(m_blocks, m_runs);
    const Tables tables{own.blocks.data(), own.runs.data()};
    // The last rows make one more run, sorted here while the merger ends.
    if (n % size_t(RunRows) > 1)
        spread(m_runs.back().data(), m_runs.back().data() + m_runs.back().size(), 0, 0, tables);
    settleMerger();
    for (; m_sortedRuns < wholeRuns; ++m_sortedRuns)
        spread(own.runs[m_sortedRuns], own.runs[m_sortedRuns] + RunRows, 0, 0, tables);
    if (n <= size_t(RunRows))
        return;

    // What is left: the list order of the runs merged so far, the whole
    // runs not merged yet and the last rows, merged into the list order.
    std::vector<Source> sources;
    const uint32_t mergedRows = uint32_t(m_mergedRuns) * uint32_t(RunRows);
    if (m_mergedRuns > 0)
        sources.push_back(m_merged.empty() ? Source{nullptr, 0, mergedRows} : Source{m_merged.data(), 0, mergedRows});
    for (size_t r = m_mergedRuns; r < wholeRuns; ++r)
        sources.push_back({nullptr, uint32_t(r) * uint32_t(RunRows), uint32_t(r + 1) * uint32_t(RunRows)});
    if (wholeRuns * size_t(RunRows) < n)
        sources.push_back({nullptr, uint32_t(wholeRuns) * uint32_t(RunRows), uint32_t(n)});
    // The runs not merged yet and the last rows are few: they are merged
    // among themselves first, so that the pass over the whole list order
    // compares once a row.
    std::vector<uint32_t> rest;
    if (m_mergedRuns > 0 && sources.size() > 2) {
        const std::vector<Source> others(sources.begin() + 1, sources.end());
        rest.resize(n - mergedRows);
        merge(others, rest.data(), tables);
        sources.resize(1);
        sources.push_back({rest.data(), 0, uint32_t(rest.size())});
    }
    if (sources.size() == 1 && !sources[0].index) {
        // The entries are in list order as they lie.
    } else if (sources.size() == 1) {
        m_order = std::move(m_merged);
    } else {
        m_order.resize(n);
        if (n < 50000 || !twoCores())
            merge(sources, m_order.data(), tables);
        else
            mergeOnTwoThreads(sources, m_order.data(), tables);
    }
    m_merged = std::vector<uint32_t>();
    // With no index, the whole runs one after the other are the list order.
    m_mergedRuns = m_order.empty() ? wholeRuns : 0;
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
    if (stopped)
        return Outcome::Stopped;
    // The runs were sorted and merged while the file was read: what is left
    // is the last rows.
    rows.sort();
    return Outcome::Done;
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
