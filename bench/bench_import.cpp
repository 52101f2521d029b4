// Importing a stock list at library scale, run by hand (Linux: reads /proc):
//   bench_import [--rows N] [--folder DIR]
// Writes DIR/stock_N.csv (UTF-8, ';', every cell quoted, the export's 22
// headers) and DIR/Schedario_Libri_N.xls (the export of the same N cards)
// unless a former run left them, then in one run
// measures for each file: reading and parsing every row without appending
// (the baseline), the first reading of the window (inspect), and the import
// into an empty archive (one durable write), and the same import with the
// writes only handed to the system (no sync). Peak memory is the growth of
// the process's high-water mark during each step. See docs/PERFORMANCE.md.
#include "samplecards.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/cp1252.h"
#include "core/filesync.h"
#include "output/spreadsheetexport.h"
#include "output/spreadsheetimport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fstream>
#include <string>

using namespace SpreadsheetImport;

namespace {
qint64 statusKb(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string want = std::string(key) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(want, 0) == 0)
            return std::stoll(line.substr(want.size()));
    }
    return -1;
}

// Starts a new high-water mark from the current size (Linux 4.0 and later).
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

const char *const kWords[] = {"storia", "città",   "mare", "notte",  "giardino", "viaggio", "perché", "memoria",
                              "luce",   "\"Tom\"", "a; b", "verità", "tempo",    "Œuvre",   "€ 12",   "riga\nnuova"};

TSchedaLibro sampleCard(int n)
{
    return SampleCards::card(kWords, n);
}

QByteArray csvCell(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return '"' + quoted.toUtf8() + '"';
}

struct Step
{
    double seconds;
    qint64 peakKb; // growth of the high-water mark
};

template <class F> Step measure(F work)
{
    resetPeak();
    const qint64 before = statusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    work();
    return {timer.nsecsElapsed() / 1e9, statusKb("VmHWM") - before};
}

void run(const QString &path, const QString &folder, int rows)
{
    const qint64 size = QFileInfo(path).size();
    std::printf("\n%s: %lld bytes, %d rows\n", qPrintable(QFileInfo(path).fileName()), size, rows);

    Inspection found;
    const Step inspectStep = measure([&] { found = inspectFile(path); });
    if (found.problem != Problem::None) {
        std::printf("  cannot be imported (problem %d)\n", int(found.problem));
        return;
    }

    qint64 parsed = 0;
    const Step parse = measure([&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        RowReader reader(file, found.layout);
        QStringList cells;
        while (reader.next(cells))
            ++parsed;
    });

    const QString archivePath = QDir(folder).filePath(QStringLiteral("Archivio_Libri.pro"));
    int appended = 0;
    BookArchive::BulkResult result = BookArchive::BulkResult::Failed;
    const auto importOnce = [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        Options options{found.suggested, found.headerLikely, true};
        CardRows source(file, found.layout, options, [](qint64, qint64) { return true; });
        BookArchive archive(archivePath);
        archive.open();
        result = archive.appendAll(source, &appended);
        archive.close();
    };
    // The same import with the writes only handed to the system: what the
    // sync of the 315 MB costs.
    QFile::remove(archivePath);
    FileSync::setEnabled(false);
    const Step unsynced = measure(importOnce);
    FileSync::setEnabled(true);
    QFile::remove(archivePath);
    const Step import = measure(importOnce);

    std::printf("  %-44s %8.3f s  peak +%7.1f MB (%.2fx the file)\n", "read and parse every row (baseline)",
                parse.seconds, parse.peakKb / 1024.0, parse.peakKb * 1024.0 / double(size));
    std::printf("  %-44s %8.3f s  peak +%7.1f MB (%.2fx the file)  %.2fx the baseline\n",
                "first reading of the window (inspect)", inspectStep.seconds, inspectStep.peakKb / 1024.0,
                inspectStep.peakKb * 1024.0 / double(size), inspectStep.seconds / parse.seconds);
    std::printf("  %-44s %8.3f s  peak +%7.1f MB (%.2fx the file)  %.2fx the baseline\n",
                "import into an empty archive (one sync)", import.seconds, import.peakKb / 1024.0,
                import.peakKb * 1024.0 / double(size), import.seconds / parse.seconds);
    std::printf("  %-44s %8.3f s  peak +%7.1f MB (%.2fx the file)  %.2fx the baseline\n",
                "the same import without the sync", unsynced.seconds, unsynced.peakKb / 1024.0,
                unsynced.peakKb * 1024.0 / double(size), unsynced.seconds / parse.seconds);
    std::printf("  rows parsed %lld, cards appended %d (%s), archive %lld bytes\n", parsed, appended,
                result == BookArchive::BulkResult::Appended ? "complete" : "FAILED", QFileInfo(archivePath).size());
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int rows = 100000;
    QString folder = QDir::tempPath() + QStringLiteral("/rilegora-bench-import");
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--rows"))
            rows = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--folder"))
            folder = args[i + 1];
    }
    QDir().mkpath(folder);

    // Kept for later runs of the same size: a run that finds them measures
    // a process that never held the generated cards.
    const QString csvPath = QDir(folder).filePath(QStringLiteral("stock_%1.csv").arg(rows));
    const QString xlsPath = QDir(folder).filePath(QStringLiteral("Schedario_Libri_%1.xls").arg(rows));
    const bool generate = !QFileInfo::exists(csvPath) || !QFileInfo::exists(xlsPath);
    if (generate) {
        QFile csv(csvPath);
        csv.open(QIODevice::WriteOnly);
        CardTable table;
        QByteArray line;
        for (int c = 1; c < CardTable::ColumnCount; ++c)
            line += (c > 1 ? ";" : "") + csvCell(CardTable::headerText(c));
        csv.write(line + "\r\n");
        for (int n = 1; n <= rows; ++n) {
            const TSchedaLibro card = sampleCard(n);
            table.appendRecord(card.data());
            line.clear();
            for (int f = 0; f < TSchedaLibro::TextFieldCount; ++f)
                line += (f ? ";" : "") + csvCell(card.text(f));
            csv.write(line + "\r\n");
        }
        QFile xls(xlsPath);
        xls.open(QIODevice::WriteOnly);
        SpreadsheetExport::write(xls, table);
    }
    std::printf("bench_import: %d rows, folder %s%s\n", rows, qPrintable(folder),
                generate ? " (files generated by this run: run again for the memory figures)" : "");
    run(csvPath, folder, rows);
    run(xlsPath, folder, rows);
    std::printf("\nprocess peak resident size %.1f MB\n", statusKb("VmHWM") / 1024.0);
    return 0;
}
