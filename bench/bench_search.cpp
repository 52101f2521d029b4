// Book search at library scale, run by hand (see docs/PERFORMANCE.md):
//   QT_QPA_PLATFORM=offscreen build/bench/bench_search [--cards N]... [--folder DIR] [--keep] [--cold]
//                                                      [--runs R] [--memory] [--grab out.png]
// For each size (default 100000 and 1000000 cards) it writes a generated
// Archivio_Libri.pro in a temporary folder (or DIR), then times, in one run:
// a plain sequential read of the file (the baseline), the search with two
// filters and with none, the listing of the rows in the result list, the
// hand-off scan, the fill of the export grid and the screens. Every figure is
// the median of R runs (default 3), also given as a ratio to the baseline.
// --keep reuses an archive of the right size in DIR and leaves it there.
// --cold measures again with the archive evicted from the system's cache
// before every run (posix_fadvise), against cold plain reads made in turn
// with each figure.
// --memory lists every card through the search screen alone and prints the
// process's memory. --grab renders the result panel of a small search.
#include "books/tfrmlibri.h"
#include "books/tfrmslideshow_libri.h"
#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/programfolder.h"
#include "kit/controls.h"
#include "kit/covers.h"
#include "output/spreadsheetexport.h"
#include "output/tfrmexplibri.h"
#include "search/booksearch.h"
#include "search/tfrmtrovalibri.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStorageInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace {

int g_runs = 3;

void wait(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

const char *const kWords[] = {"storia", "rosa",  "mare",     "notte",   "viaggio", "città",    "guerra",
                              "amore",  "tempo", "giardino", "segreto", "isola",   "fiume",    "libro",
                              "luce",   "ombra", "cielo",    "vento",   "memoria", "silenzio", "Roma",
                              "nord",   "casa",  "lettere",  "inverno", "estate"};
const char *const kSurnames[] = {"Rossi", "Bianchi",  "Verdi", "Russo",    "Ferrari", "Esposito", "Romano",  "Colombo",
                                 "Ricci", "Marino",   "Greco", "Bruno",    "Gallo",   "Conti",    "De Luca", "Mancini",
                                 "Costa", "Giordano", "Rizzo", "Lombardi", "Moretti", "Barbieri", "Fontana", "Rossini"};
const char *const kNames[] = {"Mario", "Anna", "Giulia", "Luca", "Paolo", "Elena", "Marco", "Sara", "Carlo", "Chiara"};
const char *const kPublishers[] = {"Einaudi", "Mondadori", "Feltrinelli", "Adelphi", "Bompiani", "Garzanti",
                                   "Laterza", "Il Mulino", "Sellerio",    "Rizzoli", "Mursia",   "Zanichelli"};
const char *const kGenres[] = {"Romanzo",   "Saggio", "Poesia",   "Storia",  "Romanzo storico",
                               "Biografia", "Teatro", "Racconti", "Scienze", "Filosofia"};

template <size_t N> const char *pick(const char *const (&list)[N], std::mt19937 &rng)
{
    return list[rng() % N];
}

bool generate(const QString &path, int cards)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    std::mt19937 rng(20241231u);
    constexpr int kBlock = 512;
    std::vector<char> block(size_t(kBlock) * TSchedaLibro::RecordSize);
    TSchedaLibro card;
    int written = 0;
    while (written < cards) {
        const int n = std::min(kBlock, cards - written);
        for (int i = 0; i < n; ++i) {
            const QString title = QStringLiteral("%1 %2 %3 n. %4")
                                      .arg(QString::fromUtf8(pick(kWords, rng)), QString::fromUtf8(pick(kWords, rng)),
                                           QString::fromUtf8(pick(kWords, rng)))
                                      .arg(written + i + 1);
            card.setText(TSchedaLibro::Titolo, title.left(1).toUpper() + title.mid(1));
            card.setText(TSchedaLibro::Autore, QStringLiteral("%1 %2").arg(QString::fromUtf8(pick(kNames, rng)),
                                                                           QString::fromUtf8(pick(kSurnames, rng))));
            card.setText(TSchedaLibro::Editore, QString::fromUtf8(pick(kPublishers, rng)));
            card.setText(TSchedaLibro::Anno, QString::number(1900 + int(rng() % 125)));
            card.setText(TSchedaLibro::Genere, QString::fromUtf8(pick(kGenres, rng)));
            card.setText(TSchedaLibro::ISBN,
                         QStringLiteral("978-88-%1").arg(rng() % 100000000, 8, 10, QLatin1Char('0')));
            card.setText(TSchedaLibro::Note,
                         QStringLiteral("Copia in buono stato, %1.").arg(QString::fromUtf8(pick(kWords, rng))));
            std::copy(card.data(), card.data() + TSchedaLibro::RecordSize,
                      block.data() + size_t(i) * TSchedaLibro::RecordSize);
        }
        const qint64 want = qint64(n) * TSchedaLibro::RecordSize;
        if (file.write(block.data(), want) != want)
            return false;
        written += n;
    }
    return file.flush() && file.error() == QFileDevice::NoError;
}

/// The baseline: the same file read from start to end in blocks of the size
/// the archive reader uses, touching one byte of every card.
qint64 plainRead(const QString &path, int blockCards = 256)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    std::vector<char> block(size_t(blockCards) * TSchedaLibro::RecordSize);
    qint64 sum = 0;
    for (;;) {
        const qint64 got = file.read(block.data(), qint64(block.size()));
        if (got <= 0)
            break;
        for (qint64 i = 0; i < got; i += TSchedaLibro::RecordSize)
            sum += static_cast<unsigned char>(block[size_t(i)]);
    }
    return sum;
}

/// Drops the file's pages from the system's cache, so that the next read
/// comes from the device. Returns false when the system refused.
bool evict(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    ::fdatasync(fd);
    const bool ok = ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
    ::close(fd);
    return ok;
}

/// Median of g_runs runs; with cold, the files are evicted before each run
/// (outside the time measured).
double medianMs(const std::function<void()> &run, const QStringList &cold = {})
{
    std::vector<double> ms;
    for (int i = 0; i < g_runs; ++i) {
        for (const QString &path : cold)
            evict(path);
        QElapsedTimer timer;
        timer.start();
        run();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

/// What the search does with no filter, but for its last step: every card's
/// row added to rows, which are left as the reading leaves them.
void readRows(const QString &path, BookSearch::RowList &rows)
{
    BookArchive archive(path);
    archive.openForReading();
    char row[BookSearch::RowCapacity];
    archive.scan([&](int, const char *record) {
        rows.append(row, BookSearch::buildRow(record, row));
        return true;
    });
    archive.close();
}

QStringList filtersWith(const QString &autore, const QString &genere)
{
    QStringList texts;
    for (int i = 0; i < BookSearch::FilterCount; ++i)
        texts << QString();
    texts[1] = autore; // Autore
    texts[2] = genere; // Genere
    return texts;
}

long statusKiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        const QByteArray want = QByteArray(key) + ':';
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith(want))
                return line.mid(want.size()).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

long peakKiB()
{
    return statusKiB("VmHWM");
}

void line(const char *what, double ms, double baseline)
{
    std::printf("  %-44s %10.1f ms   %5.2f x read\n", what, ms, ms / baseline);
    std::fflush(stdout);
}

struct Options
{
    bool keep = false;
    bool cold = false;
};

/// Waits for the export grid's reading where it reads on after the screen
/// shows (otherwise the grid is whole once shown).
template <typename Model> auto finishFill(Model *model, int) -> decltype(model->finishFill(), void())
{
    model->finishFill();
}
template <typename Model> void finishFill(Model *, long) {}

/// Writes a cover for cards 1 and last, so the screens load a real picture.
void writeCovers(const QString &folder, int cards)
{
    QImage cover(307, 409, QImage::Format_RGB32);
    std::mt19937 rng(7u);
    for (int y = 0; y < cover.height(); ++y) {
        for (int x = 0; x < cover.width(); ++x)
            cover.setPixel(x, y, qRgb(int(rng() % 256), 120 + (x % 60), 80 + (y % 90)));
    }
    QDir(folder).mkpath(QStringLiteral("Copertine_Libri"));
    for (int n : {1, cards})
        cover.save(QDir(folder).filePath(QStringLiteral("Copertine_Libri/Foto_%1.jpg").arg(n)), "JPG", 90);
}

/// The screens a user meets first: Ultimo and Primo on the card screen, the
/// slideshow's first picture and the export screen with its grid painted.
/// With cold, the archive and both covers are evicted before every run.
void screens(const QString &folder, const QString &path, int cards, bool cold, double read)
{
    const QStringList files = {path, QDir(folder).filePath(QStringLiteral("Copertine_Libri/Foto_1.jpg")),
                               QDir(folder).filePath(QStringLiteral("Copertine_Libri/Foto_%1.jpg").arg(cards))};
    const QStringList evicted = cold ? files : QStringList();
    ProgramFolder::setPath(folder);
    {
        TfrmLibri libri;
        const double last = medianMs([&] { libri.cmdUltimoClick(); }, evicted);
        line("screen: Ultimo, last card and its cover", last, read);
        const double first = medianMs([&] { libri.cmdPrimoClick(); }, evicted);
        line("screen: Primo, first card and its cover", first, read);
    }
    {
        TfrmSlideshow_Libri show;
        const double picture = medianMs(
            [&] {
                control<QLabel>(show, "lblPosizione")->clear();
                show.cmdAvantiClick();
            },
            evicted);
        line("screen: slideshow, first picture", picture, read);
    }
    {
        // Timed apart: the screen shown with its grid painted, and until
        // every row is in; the screen goes afterwards, untimed.
        std::vector<double> ready, whole;
        int rows = 0, all = 0;
        for (int i = 0; i < g_runs; ++i) {
            for (const QString &file : evicted)
                evict(file);
            QElapsedTimer timer;
            timer.start();
            auto *screen = new TfrmExpLibri;
            screen->show();
            QCoreApplication::processEvents();
            control<QTableView>(screen, "grdRecords")->viewport()->repaint();
            ready.push_back(double(timer.nsecsElapsed()) / 1e6);
            rows = screen->model()->rowCount();
            finishFill(screen->model(), 0);
            all = screen->model()->rowCount();
            whole.push_back(double(timer.nsecsElapsed()) / 1e6);
            delete screen;
        }
        std::sort(ready.begin(), ready.end());
        std::sort(whole.begin(), whole.end());
        line("screen: export screen shown, grid painted", ready[ready.size() / 2], read);
        std::printf("    grid rows at that moment: %d\n", rows);
        line("screen: export screen, every row in", whole[whole.size() / 2], read);
        std::printf("    grid rows then: %d\n", all);
    }
    ProgramFolder::setPath(QString());
}

/// Each size has a folder of its own, so a kept archive is never overwritten
/// by another size.
QString sizeFolder(const QString &folder, int cards)
{
    const QString own = QDir(folder).filePath(QStringLiteral("cards-%1").arg(cards));
    QDir().mkpath(own);
    return own;
}

int runSize(const QString &parent, int cards, const Options &options)
{
    const QString folder = sizeFolder(parent, cards);
    const QString path = QDir(folder).filePath(BookArchive::fileName());
    QElapsedTimer timer;
    timer.start();
    const bool reuse = options.keep && QFileInfo(path).size() == qint64(cards) * TSchedaLibro::RecordSize;
    if (!reuse && !generate(path, cards)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    writeCovers(folder, cards);
    std::printf("\n%d cards, %.2f GB, %s in %.1f s; median of %d runs\n", cards, double(QFileInfo(path).size()) / 1e9,
                reuse ? "reused" : "generated", double(timer.elapsed()) / 1000.0, g_runs);

    plainRead(path); // warm the cache, so every measurement below reads the same way
    const double read = medianMs([&] { plainRead(path); });
    line("plain sequential read (baseline)", read, read);
    line("plain read in 4 MB blocks", medianMs([&] { plainRead(path, 1331); }), read);

    const BookSearch::Filters two(filtersWith(QStringLiteral("ross"), QStringLiteral("romanzo")));
    int twoRows = 0;
    const double searchTwo = medianMs([&] {
        BookSearch::RowList rows;
        BookSearch::search(path, two, rows);
        twoRows = rows.size();
    });
    line("search, two filters (Autore, Genere)", searchTwo, read);
    std::printf("    %d rows; peak memory of the process so far %ld MiB\n", twoRows, peakKiB() / 1024);

    const BookSearch::Filters none(filtersWith(QString(), QString()));
    BookSearch::RowList all;
    const double searchNone = medianMs([&] {
        all = BookSearch::RowList();
        BookSearch::search(path, none, all);
    });
    line("search, no filter (every card listed)", searchNone, read);
    std::printf("    %d rows; peak memory of the process so far %ld MiB\n", all.size(), peakKiB() / 1024);

    // Listing: the rows go into the result list (sorted there) and the list
    // lays itself out and shows its last row.
    QListView view;
    view.resize(801, 273);
    view.setUniformItemSizes(true);
    TrovaRowModel model;
    view.setModel(&model);
    view.show();
    wait(10);
    const int listed = all.size();
    // What the screen does once its search has returned: the list takes the
    // rows (moved, not copied), sorts them, lays itself out and paints. The
    // copy each run needs, and the freeing of the previous run's rows (which
    // the screen does before it searches), are not timed.
    auto list = [&](const BookSearch::RowList &rows) {
        std::vector<double> ms;
        for (int i = 0; i < g_runs; ++i) {
            model.clear();
            BookSearch::RowList copy = rows;
            QElapsedTimer listTimer;
            listTimer.start();
            model.setRows(std::move(copy));
            model.setItemWidth(1600);
            view.doItemsLayout();
            view.scrollToBottom();
            QCoreApplication::processEvents();
            ms.push_back(double(listTimer.nsecsElapsed()) / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    };
    // The rows as the reading leaves them, before the search's last step
    // puts them in order: every whole run sorted and merged (or being
    // merged) while the file was read, the last rows not yet sorted.
    std::vector<double> lefts;
    for (int i = 0; i < g_runs; ++i) {
        BookSearch::RowList sorting;
        readRows(path, sorting);
        QElapsedTimer sortTimer;
        sortTimer.start();
        sorting.sort();
        lefts.push_back(double(sortTimer.nsecsElapsed()) / 1e6);
    }
    // A copy waits for the merger: the listing's sort is then the last
    // merge alone.
    BookSearch::RowList filled;
    readRows(path, filled);
    std::sort(lefts.begin(), lefts.end());
    const double sortLeft = lefts[lefts.size() / 2];
    const double listing = list(filled);
    line("listing of the rows (sort + list view)", listing, read);
    std::printf("    %d rows listed\n", listed);
    std::vector<double> sorts;
    for (int i = 0; i < g_runs; ++i) {
        BookSearch::RowList sorting = filled;
        QElapsedTimer sortTimer;
        sortTimer.start();
        sorting.sort();
        sorts.push_back(double(sortTimer.nsecsElapsed()) / 1e6);
    }
    std::sort(sorts.begin(), sorts.end());
    const double sortOnly = sorts[sorts.size() / 2];
    std::printf("    of which the sort alone: %.1f ms\n", sortOnly);
    std::printf("    the sort left once the last card is read, merger still at work: %.1f ms\n", sortLeft);
    const double listingSorted = list(all);
    line("listing of rows already in order", listingSorted, read);
    std::printf("    listing ÷ listing in order: %.2f; listing − sort: %.1f ms\n", listing / listingSorted,
                listing - sortOnly);
    std::printf("    (sort left once read + listing in order) ÷ listing in order: %.2f\n",
                (sortLeft + listingSorted) / listingSorted);
    std::printf("    search with no filter and listing of its rows: %.1f ms\n", searchNone + listingSorted);
    filled = BookSearch::RowList();
    model.clear();

    // Hand-off: the row of a card in the middle; the whole file is scanned.
    TSchedaLibro middle;
    {
        BookArchive archive(path);
        archive.openForReading();
        archive.read(cards / 2, middle);
        archive.close();
    }
    char row[BookSearch::RowCapacity];
    const QByteArray wanted(row, BookSearch::buildRow(middle.data(), row));
    int number = 0;
    TSchedaLibro found;
    const double handOff = medianMs([&] { BookSearch::findCard(path, wanted, number, found.data()); });
    line("hand-off scan (every row rebuilt and compared)", handOff, read);
    std::printf("    found card %d\n", number);

    auto fillGrid = [&] {
        CardTable table;
        BookArchive archive(path);
        archive.openForReading();
        table.fill(archive);
        archive.close();
    };
    line("export grid fill (CardTable::fill)", medianMs(fillGrid), read);

    // The same through the screen: typed filters, Cerca, double click.
    ProgramFolder::setPath(folder);
    TfrmLibri libri;
    double screenSearch = 0, screenHandOff = 0;
    {
        TfrmTrovaLibri screen(&libri);
        control<QLabel>(screen, "lblMemory")->setText(QStringLiteral("libri"));
        control<QLineEdit>(screen, "txtAutore")->setText(QStringLiteral("ross"));
        control<QLineEdit>(screen, "txtGenere")->setText(QStringLiteral("romanzo"));
        timer.restart();
        screen.btnCercaClick();
        screenSearch = double(timer.nsecsElapsed()) / 1e6;
        screen.selectRow(screen.model()->rowCount() / 2);
        timer.restart();
        screen.lstRecordsDblClick();
        screenHandOff = double(timer.nsecsElapsed()) / 1e6;
    }
    line("screen: Cerca with two filters, rows listed", screenSearch, read);
    line("screen: double click, card on the card screen", screenHandOff, read);
    {
        // Every card listed through the screen: the search, the sort and the
        // list; the screen goes afterwards, untimed.
        std::vector<double> ms;
        for (int i = 0; i < g_runs; ++i) {
            auto screen = std::make_unique<TfrmTrovaLibri>(&libri);
            timer.restart();
            screen->btnCercaClick();
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        line("screen: Cerca with no filter, every card listed", ms[ms.size() / 2], read);
    }
    ProgramFolder::setPath(QString());
    screens(folder, path, cards, false, read);

    if (options.cold) {
        std::printf("  cold: the archive evicted from the system's cache before every run (%s)\n",
                    evict(path) ? "posix_fadvise accepted" : "posix_fadvise REFUSED");
        ProgramFolder::setPath(folder);
        TfrmLibri owner;
        struct Figure
        {
            const char *name;
            std::function<void()> run;
            std::vector<double> ms;
        };
        std::vector<Figure> figures = {
            {"cold: plain sequential read (baseline)", [&] { plainRead(path); }, {}},
            {"cold: plain read in 4 MB blocks", [&] { plainRead(path, 1331); }, {}},
            {"cold: search, two filters",
             [&] {
                 BookSearch::RowList rows;
                 BookSearch::search(path, two, rows);
             },
             {}},
            {"cold: hand-off scan", [&] { BookSearch::findCard(path, wanted, number, found.data()); }, {}},
            {"cold: export grid fill (CardTable::fill)", fillGrid, {}},
            {"cold: screen: Cerca with two filters",
             [&] {
                 TfrmTrovaLibri screen(&owner);
                 control<QLineEdit>(screen, "txtAutore")->setText(QStringLiteral("ross"));
                 control<QLineEdit>(screen, "txtGenere")->setText(QStringLiteral("romanzo"));
                 screen.btnCercaClick();
             },
             {}},
        };
        // Each figure is timed in blocks of four cold reads: the plain read,
        // the figure, the figure again, the plain read again. The speed of a
        // shared or virtual disk drifts and may differ from one read to the
        // next (the virtual disk of the machine these figures were made on
        // answers about every other cold read of a large file from its
        // host's cache), so a block's ratio is the square root of (figure
        // × figure) ÷ (plain read × plain read): a steady drift and a change
        // at every other read both cancel out.
        const auto timedCold = [&](const std::function<void()> &run) {
            evict(path);
            QElapsedTimer coldTimer;
            coldTimer.start();
            run();
            return double(coldTimer.nsecsElapsed()) / 1e6;
        };
        const auto median = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        Figure &baseline = figures.front();
        // Per block: the ratio of the four reads, and the ratios of the two
        // reads made on the same turn, the faster pair and the slower one.
        std::vector<std::vector<double>> ratios(figures.size()), fastTurn(figures.size()),
            slowTurn(figures.size());
        for (int i = 0; i < g_runs; ++i) {
            for (size_t k = 1; k < figures.size(); ++k) {
                Figure &figure = figures[k];
                const double b1 = timedCold(baseline.run);
                const double x1 = timedCold(figure.run);
                const double x2 = timedCold(figure.run);
                const double b2 = timedCold(baseline.run);
                baseline.ms.insert(baseline.ms.end(), {b1, b2});
                figure.ms.insert(figure.ms.end(), {x1, x2});
                ratios[k].push_back(std::sqrt((x1 * x2) / (b1 * b2)));
                // The first plain read and the second figure share a turn,
                // and so do the first figure and the second plain read.
                const bool firstFaster = b1 + x2 <= x1 + b2;
                fastTurn[k].push_back(firstFaster ? x2 / b1 : x1 / b2);
                slowTurn[k].push_back(firstFaster ? x1 / b2 : x2 / b1);
            }
        }
        ProgramFolder::setPath(QString());
        const double coldRead = median(baseline.ms);
        for (size_t k = 0; k < figures.size(); ++k) {
            const Figure &figure = figures[k];
            line(figure.name, median(figure.ms), coldRead);
            std::printf("    reads:");
            for (double ms : figure.ms)
                std::printf(" %.0f", ms);
            std::printf(" ms\n");
            if (k == 0) {
                std::printf("    %.0f MB/s cold against %.0f MB/s warm\n",
                            double(QFileInfo(path).size()) / 1e3 / coldRead,
                            double(QFileInfo(path).size()) / 1e3 / read);
                continue;
            }
            const auto print = [&](const char *what, const std::vector<double> &r) {
                std::printf("    %s: median %.2f x, blocks:", what, median(r));
                for (double x : r)
                    std::printf(" %.2f", x);
                std::printf("\n");
            };
            print("against the plain reads of its blocks", ratios[k]);
            print("the same, reads on the faster turn", fastTurn[k]);
            print("the same, reads on the slower turn", slowTurn[k]);
        }
        screens(folder, path, cards, true, coldRead);
    }

    if (!options.keep)
        QFile::remove(path);
    return 0;
}

/// The rows read as the search reads them and sorted, run after run: the
/// whole and the sort left once the last card is read (also for a profiler).
int sortOnly(const QString &parent, int cards)
{
    const QString path = QDir(sizeFolder(parent, cards)).filePath(BookArchive::fileName());
    std::vector<double> wholes, sorts;
    for (int i = 0; i < g_runs; ++i) {
        BookSearch::RowList rows;
        QElapsedTimer whole;
        whole.start();
        readRows(path, rows);
        QElapsedTimer timer;
        timer.start();
        rows.sort();
        sorts.push_back(double(timer.nsecsElapsed()) / 1e6);
        wholes.push_back(double(whole.nsecsElapsed()) / 1e6);
        std::printf("read and sorted %d rows in %.1f ms, the sort left after the reading %.1f ms\n", rows.size(),
                    wholes.back(), sorts.back());
    }
    std::sort(wholes.begin(), wholes.end());
    std::sort(sorts.begin(), sorts.end());
    std::printf("medians: read and sorted %.1f ms, the sort left %.1f ms\n", wholes[wholes.size() / 2],
                sorts[sorts.size() / 2]);
    return 0;
}

/// Every card listed through the search screen, then the process's memory.
int memory(const QString &parent, int cards)
{
    const QString folder = sizeFolder(parent, cards);
    const QString path = QDir(folder).filePath(BookArchive::fileName());
    if (QFileInfo(path).size() != qint64(cards) * TSchedaLibro::RecordSize && !generate(path, cards))
        return 1;
    const long before = statusKiB("VmRSS");
    ProgramFolder::setPath(folder);
    TfrmTrovaLibri screen;
    screen.show();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    screen.btnCercaClick();
    QCoreApplication::processEvents();
    std::printf("%d rows listed through the screen in %.1f ms\n", screen.model()->rowCount(),
                double(timer.nsecsElapsed()) / 1e6);
    std::printf("resident before %ld MiB, with the list %ld MiB, peak %ld MiB\n", before / 1024,
                statusKiB("VmRSS") / 1024, peakKiB() / 1024);
    ProgramFolder::setPath(QString());
    return 0;
}

int grab(const QString &out)
{
    QTemporaryDir dir;
    ProgramFolder::setPath(dir.path());
    const QString path = QDir(dir.path()).filePath(BookArchive::fileName());
    if (!generate(path, 60))
        return 1;
    TfrmTrovaLibri screen;
    screen.show();
    wait(50);
    control<QLineEdit>(screen, "txtGenere")->setText(QStringLiteral("roman"));
    screen.btnCercaClick();
    control<QLineEdit>(screen, "txtTrova")->setText(QStringLiteral("mare"));
    screen.btnTrovaClick();
    wait(100);
    const bool ok = screen.grab().save(out);
    ProgramFolder::setPath(QString());
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QList<int> sizes;
    QString folder;
    Options options;
    bool memoryOnly = false;
    bool sortRuns = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--cards") && i + 1 < args.size())
            sizes << args[++i].toInt();
        else if (args[i] == QLatin1String("--folder") && i + 1 < args.size())
            folder = args[++i];
        else if (args[i] == QLatin1String("--keep"))
            options.keep = true;
        else if (args[i] == QLatin1String("--cold"))
            options.cold = true;
        else if (args[i] == QLatin1String("--sort"))
            sortRuns = true;
        else if (args[i] == QLatin1String("--memory"))
            memoryOnly = true;
        else if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            g_runs = qMax(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--grab") && i + 1 < args.size())
            return grab(args[++i]);
    }
    if (sizes.isEmpty())
        sizes = {100000, 1000000};

    QTemporaryDir temp;
    if (folder.isEmpty())
        folder = temp.path();
    const qint64 largest = qint64(*std::max_element(sizes.begin(), sizes.end())) * TSchedaLibro::RecordSize;
    const qint64 free = QStorageInfo(folder).bytesAvailable();
    std::printf("folder %s: %.1f GB free, largest archive %.2f GB\n", qPrintable(folder), double(free) / 1e9,
                double(largest) / 1e9);
    if (free < largest + (qint64(512) << 20)) {
        std::fprintf(stderr, "not enough free space; pass a smaller --cards\n");
        return 1;
    }
    if (sortRuns)
        return sortOnly(folder, sizes.constLast());
    if (memoryOnly)
        return memory(folder, sizes.constLast());
    for (int cards : sizes) {
        if (runSize(folder, cards, options) != 0)
            return 1;
    }
    return 0;
}
