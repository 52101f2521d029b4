// Spreadsheet export at library scale, run by hand (Linux: reads /proc):
//   bench_export <cards> <folder>
// Generates <folder>/Archivio_Libri.pro with <cards> cards (kept for later
// runs of the same size), then in one run measures: the export screen shown
// with its grid ready, the export to Schedario_Libri.xls, and one plain write
// of the same number of bytes as the baseline. See docs/PERFORMANCE.md.
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

QString words(quint32 seed, int count)
{
    QString out;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        if (i)
            out += QLatin1Char(' ');
        out += QString::fromUtf8(kWords[(seed >> 16) % (sizeof(kWords) / sizeof(kWords[0]))]);
    }
    return out;
}

// A card with every text field filled in the way a library fills them.
TSchedaLibro sampleCard(int n)
{
    TSchedaLibro card;
    const quint32 s = quint32(n) * 2654435761u;
    card.setText(TSchedaLibro::Titolo, words(s, 4) + QStringLiteral(" n. %1").arg(n));
    card.setText(TSchedaLibro::Autore, words(s + 1, 2));
    card.setText(TSchedaLibro::Nazione, QStringLiteral("Italia"));
    card.setText(TSchedaLibro::Anno, QString::number(1900 + n % 125));
    card.setText(TSchedaLibro::Editore, words(s + 2, 2));
    card.setText(TSchedaLibro::Citta, QStringLiteral("Forlì"));
    card.setText(TSchedaLibro::Dewey, QStringLiteral("853.%1").arg(n % 100));
    card.setText(TSchedaLibro::Genere, QStringLiteral("Narrativa"));
    card.setText(TSchedaLibro::ISBN, QStringLiteral("978-88-%1").arg(n, 7, 10, QLatin1Char('0')));
    card.setText(TSchedaLibro::Lingua, QStringLiteral("Italiano"));
    card.setText(TSchedaLibro::Originale, words(s + 3, 3));
    card.setText(TSchedaLibro::Traduttore, words(s + 4, 2));
    card.setText(TSchedaLibro::Collana, words(s + 5, 2));
    card.setText(TSchedaLibro::Curatore, words(s + 6, 2));
    card.setText(TSchedaLibro::Posizione, QStringLiteral("Scaffale %1, ripiano %2").arg(n % 40).arg(n % 6));
    card.setText(TSchedaLibro::Etichetta, QStringLiteral("L-%1").arg(n));
    card.setText(TSchedaLibro::Formato, QStringLiteral("Tascabile"));
    card.setText(TSchedaLibro::Volumi, QStringLiteral("1"));
    card.setText(TSchedaLibro::Pagine, QString::number(100 + n % 700));
    card.setText(TSchedaLibro::Prezzo, QStringLiteral("%1,50").arg(5 + n % 30));
    card.setText(TSchedaLibro::Giudizio, words(s + 7, 12));
    card.setText(TSchedaLibro::Note, words(s + 8, 16));
    return card;
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
    screen->grdRecords->viewport()->repaint();
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
