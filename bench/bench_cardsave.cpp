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
    CardSaveBench::printRounds<Save>("synced ms/save", "handed ms/save",
                                     {{Save::Rewrite, "card rewritten in place"},
                                      {Save::Append, "card appended"},
                                      {Save::RewriteWithCover, "card rewritten, with its cover"}},
                                     setup, [&setup](Save kind, bool synced) {
                                         FileSync::setEnabled(synced);
                                         return timeSaves(kind, setup.saves, setup.cover);
                                     });
    FileSync::setEnabled(true);
    return 0;
}
