#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

/// The book search over Archivio_Libri.pro: the ten filters, the matching
/// rule, the fixed-width result row and its sort order.
///
/// Everything works on the stored Windows-1252 bytes of a card, so a search
/// through a large archive builds no text per field: a filter is encoded once,
/// and a card's field is lower-cased (A-Z only) into a small buffer and
/// searched in place.
namespace BookSearch {

/// Number of filter boxes of the search screen.
constexpr int FilterCount = 10;

/// The record field each filter box is matched against, in the order in
/// which the filters are counted and tested.
const std::array<int, FilterCount> &filterFields();

/// Longest result row: 55 + 10 + 30 + 11 + 30 + 8 characters, then a year
/// of at most 20 characters.
constexpr int RowCapacity = 55 + 10 + 30 + 11 + 30 + 8 + 20;

/// Lower-cases the letters A-Z only; every other character stays as it is.
QString lowerAZ(const QString &text);
char lowerAZ(char c);

/// A text ready to be looked for in stored bytes: lower-cased (A-Z only) and
/// encoded in Windows-1252. A text holding a character that the code page
/// cannot hold can never occur in a stored field, so it matches nothing.
class Needle
{
public:
    Needle() = default;
    explicit Needle(const QString &text);

    bool isEmpty() const { return m_bytes.isEmpty(); }
    /// Whether the text occurs in data (after lower-casing data A-Z only).
    /// An empty text and an unencodable text occur nowhere.
    bool occursIn(const char *data, int size) const;

private:
    QByteArray m_bytes;
    bool m_encodable = true;
};

/// The given filters: each box's text as typed (not trimmed) is a filter
/// when, trimmed, it is not empty.
class Filters
{
public:
    /// texts holds the ten boxes' texts in the filter order.
    explicit Filters(const QStringList &texts);

    /// The number N of given filters.
    int count() const { return int(m_given.size()); }
    /// Whether a card (3150 stored bytes) matches every given filter.
    bool matches(const char *record) const;

private:
    struct Given
    {
        int field;
        Needle needle;
    };
    std::vector<Given> m_given;
};

/// The raw bytes of one field of a stored card: its length byte clamped to
/// the field's capacity, so a damaged length never reads into the next field.
const char *fieldBytes(const char *record, int field, int *size);

/// Builds the result row of a card into out (RowCapacity bytes): trimmed
/// Titolo cut or padded to 55, "  Autore: ", Autore to 30, "  Editore: ",
/// Editore to 30, "  Anno: ", then the trimmed Anno. Returns its length.
int buildRow(const char *record, char *out);
/// The same row as text.
QString rowText(const char *record);

/// The sort order of the result list: the letters A-Z without regard to
/// case, every other character by its code. Returns <0, 0 or >0.
int compareRows(const char *a, int aSize, const char *b, int bSize);

/// Removes the characters of code 32 and below at both ends of bytes.
void trimBytes(const char *&data, int &size);

/// The rows of a result list, kept as their stored bytes in blocks of
/// memory that never move, so that memory grows with the rows and not with
/// the archive, and a long list is never copied to grow.
///
/// The sort is spread over the filling: every RunRows rows added make a run,
/// which is sorted among themselves and merged into the list order of the
/// runs before it as soon as it is whole, on a thread of its own while the
/// rows go on coming (during a search, while the disk reads ahead). sort()
/// is then left with the last few rows and one pass that merges them in.
class RowList
{
public:
    /// Rows sorted among themselves as soon as they have all come.
    static constexpr int RunRows = 1 << 15;

    RowList();
    ~RowList();
    RowList(const RowList &other);
    RowList(RowList &&other) noexcept;
    RowList &operator=(const RowList &other);
    RowList &operator=(RowList &&other) noexcept;

    void clear();
    /// Adds a row of at most RowCapacity bytes (longer rows are cut there).
    void append(const char *row, int size);
    int size() const { return int(m_count); }
    bool isEmpty() const { return m_count == 0; }

    /// Row i of the list, once sorted: in list order.
    const char *data(int i) const { return rowAt(spanAt(i).at); }
    int length(int i) const { return int(spanAt(i).at & 0xFFF); }
    QString text(int i) const;

    /// Sorts the rows by compareRows; equal rows stay separate items, in
    /// the order they were added. Nothing to do when no row came since the
    /// last sort.
    void sort();

    /// For tests: whether whole runs go to a merger thread (where the
    /// machine has two cores) or are sorted by the thread that adds them, as
    /// on one core. On by default.
    static void setMergerForTesting(bool enabled);

private:
    static constexpr int KeyWords = 4;
    /// The sort ranks of the row's first 32 characters, one byte each
    /// (0 past its end), packed so that comparing the words as numbers
    /// compares those characters; then where the row lies, which grows with
    /// every row added, so that equal rows keep their order.
    struct Span
    {
        uint64_t key[KeyWords];
        uint64_t at; ///< block << 32 | offset in block << 12 | length
    };
    struct Tables;
    struct Source;
    class Merger;

    static void sortRange(Span *first, Span *last, int depth, const Tables &tables);
    static void spread(Span *first, Span *last, int byte, int depth, const Tables &tables);
    static void deepen(Span *first, Span *last, int depth, const Tables &tables);
    static bool less(const Span &a, const Span &b, const Tables &tables);
    static bool lessPastKey(const Span &a, const Span &b, const Tables &tables);
    static bool mergeTwo(Source a, Source b, uint32_t *out, const Tables &tables,
                         const std::atomic<bool> *abandon = nullptr);
    static void merge(std::vector<Source> sources, uint32_t *out, const Tables &tables);
    static void mergeOnTwoThreads(const std::vector<Source> &sources, uint32_t *out, const Tables &tables);
    void runFilled();
    void settleOrder();
    void settleMerger() const;
    const char *rowAt(uint64_t at) const { return m_blocks[size_t(at >> 32)].data() + ((at >> 12) & 0xFFFFF); }
    const Span &entry(size_t e) const { return m_runs[e / size_t(RunRows)][e % size_t(RunRows)]; }
    const Span &spanAt(int i) const { return entry(m_order.empty() ? size_t(i) : size_t(m_order[size_t(i)])); }

    std::vector<std::vector<char>> m_blocks;
    /// The entries in the order the rows came, RunRows to a run (the last
    /// run may be shorter); entry e is m_runs[e / RunRows][e % RunRows].
    /// Each whole run is sorted among themselves once the merger (or the
    /// filling thread) has had it.
    std::vector<std::vector<Span>> m_runs;
    size_t m_count = 0;
    /// The whole runs [0, m_sortedRuns) are sorted among themselves, and
    /// m_merged holds the list order of the first m_mergedRuns of them as
    /// entry numbers (empty when those runs are in list order one after the
    /// other). While a merger works, it owns these and the runs it was given.
    mutable size_t m_sortedRuns = 0;
    mutable size_t m_mergedRuns = 0;
    mutable std::vector<uint32_t> m_merged;
    mutable std::unique_ptr<Merger> m_merger;
    size_t m_blocksGiven = 0; ///< the blocks the merger knows of
    /// The list order, once sorted; empty when the entries themselves are
    /// in list order.
    std::vector<uint32_t> m_order;
    bool m_sorted = true;
};

/// The outcome of a search over the archive file.
enum class Outcome { Done, AccessFailure, Stopped };

/// Told how far a search has come (cards read, cards in the file) every few
/// hundredths of a second; returns false to stop the search.
using Progress = std::function<bool(int, int)>;

/// Opens the card index at path (creating it empty when missing), reads it
/// to the end and appends to rows the row of every card that matches all
/// given filters. The rows of a search that is Done come back sorted. A
/// search stopped through progress says Stopped, with the rows found until
/// then, not yet sorted.
Outcome search(const QString &path, const Filters &filters, RowList &rows, const Progress &progress = {});

/// Finds the card behind a row: rebuilds the row of every card in the file,
/// trimmed, and compares it exactly with row, trimmed. The whole file is
/// read and the last equal card wins. number is 0 when none matched.
/// Returns false when the file could not be opened or read; number and
/// record then hold the last equal card found before the failure.
bool findCard(const QString &path, const QByteArray &row, int &number, char *record);

} // namespace BookSearch
