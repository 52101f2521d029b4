// What putting a save on the device costs, run by hand:
//   bench_cardsave [--saves N] [--folder DIR]
// In one run, in a temporary folder under DIR (default: the system's
// temporary folder; it must lie on a real disk, not in memory), times N
// card saves as the card screen makes them (open the archive, rewrite the
// card in place or append it, close, write the cover), first with every
// write put on the device, then with the writes only handed to the system,
// alternating the two in rounds. See docs/PERFORMANCE.md.
#include "cardsavebench.h"
#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/filesync.h"
#include "kit/covers.h"

#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
using CardSaveBench::median;
using CardSaveBench::sampleCard;

enum class Save { Rewrite, Append, RewriteWithCover };

/// Milliseconds for saves card saves of the given kind.
double timeSaves(Save kind, int saves, const QByteArray &cover)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < saves; ++i) {
        BookArchive archive;
        if (!archive.open())
            return -1;
        const TSchedaLibro card = sampleCard(i);
        const int number = kind == Save::Append ? archive.append(card) : (archive.write(1 + i % 100, card) ? 1 : 0);
        if (number == 0 || !archive.close())
            return -1;
        if (kind == Save::RewriteWithCover &&
            !Covers::writeJpeg(Covers::path(QString::number(1 + i % 100)), QImage(), cover))
            return -1;
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    CardSaveBench::Setup setup;
    if (!CardSaveBench::prepare(app.arguments(), "bench_cardsave", setup))
        return 2;
    const int saves = setup.saves;
    const QByteArray &cover = setup.cover;
    const QTemporaryDir &dir = *setup.dir;

    const struct
    {
        Save kind;
        const char *name;
    } kinds[] = {{Save::Rewrite, "card rewritten in place"},
                 {Save::Append, "card appended"},
                 {Save::RewriteWithCover, "card rewritten, with its cover"}};
    std::printf("%d saves each, folder %s, median of 5 rounds\n", saves, qPrintable(dir.path()));
    std::printf("%-32s %14s %14s %8s\n", "save", "synced ms/save", "handed ms/save", "ratio");
    for (const auto &k : kinds) {
        std::vector<double> synced, handed;
        for (int round = 0; round < 5; ++round) {
            FileSync::setEnabled(true);
            synced.push_back(timeSaves(k.kind, saves, cover) / saves);
            FileSync::setEnabled(false);
            handed.push_back(timeSaves(k.kind, saves, cover) / saves);
        }
        FileSync::setEnabled(true);
        const double s = median(synced), h = median(handed);
        std::printf("%-32s %14.3f %14.3f %8.1f\n", k.name, s, h, h > 0 ? s / h : 0.0);
    }
    return 0;
}
