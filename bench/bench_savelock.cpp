// What the write lock costs a card save, run by hand:
//   bench_savelock [--saves N] [--folder DIR]
// In one run, in a temporary folder under DIR (default: the system's
// temporary folder; put it on the disk or the network share to measure),
// times N card saves as the card screen makes them, each put on the device:
// with the lock (LockedSave: take the lock beside the archive, open, compare
// the card on disk for a rewrite, write, close, write the cover, release)
// and without it (open, write, close, write the cover), alternating the two
// in rounds; and the lock alone (take and release). See docs/PERFORMANCE.md.
#include "cardsavebench.h"
#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/lockedsave.h"
#include "core/writelock.h"
#include "kit/covers.h"

#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
using CardSaveBench::median;
using CardSaveBench::sampleCard;

/// How many compared cards were the same (kept, so that the comparison is made).
int g_sameCards = 0;

enum class Save { Rewrite, Append, RewriteWithCover, LockOnly };

/// Milliseconds for saves card saves of the given kind.
double timeSaves(Save kind, bool locked, int saves, const QByteArray &cover)
{
    const QString path = BookArchive::path();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < saves; ++i) {
        if (kind == Save::LockOnly) {
            WriteLock lock(path);
            if (locked && !lock.take())
                return -1;
            continue;
        }
        const TSchedaLibro card = sampleCard(i);
        const int n = 1 + i % 100;
        const bool withCover = kind == Save::RewriteWithCover;
        const auto writeCover = [&cover, withCover](int number) {
            if (withCover)
                Covers::writeJpeg(Covers::path(QString::number(number)), QImage(), cover);
        };
        if (locked) {
            LockedSave::Options options;
            options.whileLocked = writeCover;
            int number = 0;
            // The rewrite reads the card on disk and compares it, as the screen's does.
            const TSchedaLibro expected = sampleCard(0);
            const auto unchanged = [&expected](const char *record) {
                TSchedaLibro current;
                std::memcpy(current.data(), record, TSchedaLibro::RecordSize);
                g_sameCards += current.sameContent(expected) ? 1 : 0; // measured, not judged
                return true;
            };
            const LockedSave::Result result =
                kind == Save::Append
                    ? LockedSave::append(path, TSchedaLibro::RecordSize, card.data(), &number, options)
                    : LockedSave::rewrite(path, TSchedaLibro::RecordSize, n, card.data(), unchanged, nullptr, options);
            if (result != LockedSave::Result::Saved)
                return -1;
        } else {
            BookArchive archive;
            if (!archive.open())
                return -1;
            const int number = kind == Save::Append ? archive.append(card) : (archive.write(n, card) ? n : 0);
            if (number == 0 || !archive.close())
                return -1;
            writeCover(number);
        }
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    CardSaveBench::Setup setup;
    if (!CardSaveBench::prepare(app.arguments(), "bench_savelock", setup))
        return 2;
    CardSaveBench::printRounds<Save>("locked ms/save", "no lock ms",
                                     {{Save::Rewrite, "card rewritten in place"},
                                      {Save::Append, "card appended"},
                                      {Save::RewriteWithCover, "card rewritten, with its cover"},
                                      {Save::LockOnly, "lock taken and released"}},
                                     setup, [&setup](Save kind, bool locked) {
                                         if (kind == Save::LockOnly && !locked)
                                             return -1.0;
                                         return timeSaves(kind, locked, setup.saves, setup.cover);
                                     });
    std::printf("(%d compared cards unchanged)\n", g_sameCards);
    return 0;
}
