// Book search at library scale, run by hand (see docs/PERFORMANCE.md):
//   QT_QPA_PLATFORM=offscreen build/bench/bench_search [--cards N]... [--folder DIR] [--grab out.png]
// For each size (default 100000 and 1000000 cards) it writes a generated
// Archivio_Libri.pro in a temporary folder (or DIR), then times, in one run:
// a plain sequential read of the file (the baseline), the search with two
// filters and with none, the listing of the rows in the result list, and the
// hand-off scan. Every figure is the median of three runs, also given as a
// ratio to the baseline. --grab renders the result panel of a small search.
#include "app/programfolder.h"
#include "books/bookarchive.h"
#include "books/bookrecord.h"
#include "books/tfrmlibri.h"
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
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

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
qint64 plainRead(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    std::vector<char> block(size_t(256) * TSchedaLibro::RecordSize);
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

double medianMs(const std::function<void()> &run, int times = 3)
{
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
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

long peakKiB()
{
#ifdef Q_OS_LINUX
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
#endif
    return -1;
}

void line(const char *what, double ms, double baseline)
{
    std::printf("  %-44s %10.1f ms   %5.2f x read\n", what, ms, ms / baseline);
    std::fflush(stdout);
}

int runSize(const QString &folder, int cards)
{
    const QString path = QDir(folder).filePath(BookArchive::fileName());
    QElapsedTimer timer;
    timer.start();
    if (!generate(path, cards)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("\n%d cards, %.2f GB, generated in %.1f s\n", cards, double(QFileInfo(path).size()) / 1e9,
                double(timer.elapsed()) / 1000.0);

    plainRead(path); // warm the cache, so every measurement below reads the same way
    const double read = medianMs([&] { plainRead(path); });
    line("plain sequential read (baseline)", read, read);

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
    const double listing = medianMs([&] {
        BookSearch::RowList copy = all;
        model.setRows(std::move(copy));
        model.setItemWidth(1600);
        view.doItemsLayout();
        view.scrollToBottom();
        QCoreApplication::processEvents();
    });
    line("listing of the rows (sort + list view)", listing, read);
    std::printf("    %d rows listed\n", listed);
    std::vector<double> sorts;
    for (int i = 0; i < 3; ++i) {
        BookSearch::RowList sorting = all;
        QElapsedTimer sortTimer;
        sortTimer.start();
        sorting.sort();
        sorts.push_back(double(sortTimer.nsecsElapsed()) / 1e6);
    }
    std::sort(sorts.begin(), sorts.end());
    const double sortOnly = sorts[1];
    std::printf("    of which the sort alone: %.1f ms\n", sortOnly);
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

    // The same through the screen: typed filters, Cerca, double click.
    ProgramFolder::setPath(folder);
    TfrmLibri libri;
    double screenSearch = 0, screenHandOff = 0;
    {
        TfrmTrovaLibri screen(&libri);
        screen.lblMemory->setText(QStringLiteral("libri"));
        screen.txtAutore->setText(QStringLiteral("ross"));
        screen.txtGenere->setText(QStringLiteral("romanzo"));
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
    ProgramFolder::setPath(QString());

    QFile::remove(path);
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
    screen.txtGenere->setText(QStringLiteral("roman"));
    screen.btnCercaClick();
    screen.txtTrova->setText(QStringLiteral("mare"));
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
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--cards") && i + 1 < args.size())
            sizes << args[++i].toInt();
        else if (args[i] == QLatin1String("--folder") && i + 1 < args.size())
            folder = args[++i];
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
    for (int cards : sizes) {
        if (runSize(folder, cards) != 0)
            return 1;
    }
    return 0;
}
