// Spreadsheet export at library scale, run by hand (Linux: reads /proc):
//   bench_export <cards> <folder>
// Generates <folder>/Archivio_Libri.pro with <cards> cards (kept for later
// runs of the same size), then in one run measures: the export screen shown
// with its grid ready, the export to Schedario_Libri.xls, and one plain write
// of the same number of bytes as the baseline. See docs/PERFORMANCE.md.
#include "kit/controls.h"
#include "samplecards.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/programfolder.h"
#include "output/tfrmexplibri.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTableView>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace {
qint64 statusKb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray want = QByteArray(key) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(want))
            return line.mid(want.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

const char *const kWords[] = {"storia",    "città",  "mare",    "notte", "giardino",
                              "viaggio",   "perché", "memoria", "luce",  "Tom & Jerry",
                              "<inedito>", "verità", "tempo",   "Œuvre", "€ 12"};

// A card with every text field filled in the way a library fills them.
TSchedaLibro sampleCard(int n)
{
    return SampleCards::card(kWords, n);
}

bool ensureArchive(const QString &path, int cards)
{
    if (QFileInfo(path).size() == qint64(cards) * TSchedaLibro::RecordSize)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // 1000 distinct cards, repeated with their title numbered afresh.
    QByteArray block;
    for (int n = 1; n <= cards; ++n) {
        TSchedaLibro card = sampleCard(n % 1000 == 0 ? 1000 : n % 1000);
        card.setText(TSchedaLibro::Etichetta, QStringLiteral("L-%1").arg(n));
        block.append(card.data(), TSchedaLibro::RecordSize);
        if (block.size() >= (8 << 20) || n == cards) {
            if (file.write(block) != block.size())
                return false;
            block.resize(0);
        }
    }
    return file.flush();
}

double plainWrite(const QString &path, qint64 bytes, bool sync)
{
    const QByteArray chunk(1 << 20, 'x');
    QElapsedTimer t;
    t.start();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return -1;
    for (qint64 left = bytes; left > 0; left -= chunk.size())
        file.write(chunk.constData(), qMin<qint64>(left, chunk.size()));
    file.flush();
    if (sync)
        ::fdatasync(file.handle()); // as QSaveFile does before its rename
    file.close();
    return double(t.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_export <cards> <folder>\n");
        return 2;
    }
    const int cards = QString::fromLocal8Bit(argv[1]).toInt();
    ProgramFolder::setPath(QString::fromLocal8Bit(argv[2]));
    QElapsedTimer gen;
    gen.start();
    if (!ensureArchive(BookArchive::path(), cards)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(BookArchive::path()));
        return 1;
    }
    const double genMs = double(gen.nsecsElapsed()) / 1e6;
    const qint64 archiveBytes = QFileInfo(BookArchive::path()).size();
    const qint64 rssBefore = statusKb("VmRSS");

    QElapsedTimer t;
    t.start();
    auto *screen = new TfrmExpLibri;
    screen->show();
    QApplication::processEvents();
    control<QTableView>(screen, "grdRecords")->viewport()->repaint();
    const double openMs = double(t.nsecsElapsed()) / 1e6;
    const int rows = screen->model()->rowCount();
    const qint64 rssOpen = statusKb("VmRSS");

    t.restart();
    const bool exported = screen->writeExportFile();
    const double exportMs = double(t.nsecsElapsed()) / 1e6;
    const qint64 exportBytes = QFileInfo(TfrmExpLibri::exportPath()).size();
    const qint64 rssAfter = statusKb("VmRSS");
    // The same export into a device that drops it: the time spent composing.
    double composeMs = 0;
    {
        QFile null(QStringLiteral("/dev/null"));
        null.open(QIODevice::WriteOnly);
        t.restart();
        SpreadsheetExport::write(null, screen->model()->table());
        composeMs = double(t.nsecsElapsed()) / 1e6;
    }
    const qint64 heldBytes = screen->model()->table().bytesHeld();

    const QString plainPath = ProgramFolder::file(QStringLiteral("plain_write.bin"));
    const double plainMs = plainWrite(plainPath, exportBytes, false);
    const double plainSyncMs = plainWrite(plainPath, exportBytes, true);
    QFile::remove(plainPath);
    delete screen;

    QTextStream out(stdout);
    out << "cards                     " << cards << " (grid rows " << rows << ")\n"
        << "archive                   " << archiveBytes / 1e6 << " MB (generated in " << genMs << " ms, 0 = reused)\n"
        << "export file               " << exportBytes / 1e6 << " MB, written: " << (exported ? "yes" : "NO") << "\n"
        << "screen shown, grid ready  " << openMs << " ms\n"
        << "export (QSaveFile)        " << exportMs << " ms\n"
        << "  of which composing      " << composeMs << " ms (same export into /dev/null)\n"
        << "plain write, same bytes   " << plainMs << " ms  -> export / plain = " << exportMs / plainMs << "\n"
        << "plain write + fdatasync   " << plainSyncMs << " ms  -> export / plain+sync = " << exportMs / plainSyncMs
        << "\n"
        << "RSS before screen         " << rssBefore / 1024.0 << " MiB\n"
        << "RSS screen open           " << rssOpen / 1024.0 << " MiB\n"
        << "RSS after export          " << rssAfter / 1024.0 << " MiB\n"
        << "held by the screen        " << (rssAfter - rssBefore) * 1024 / 1e6
        << " MB = " << double((rssAfter - rssBefore) * 1024) / double(archiveBytes) << " x archive (table "
        << heldBytes / 1e6 << " MB)\n"
        << "peak RSS (VmHWM)          " << statusKb("VmHWM") / 1024.0 << " MiB\n";
    return exported ? 0 : 1;
}
