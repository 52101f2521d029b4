// What putting a save on the device costs, run by hand:
//   bench_cardsave [--saves N] [--folder DIR]
// In one run, in a temporary folder under DIR (default: the system's
// temporary folder; it must lie on a real disk, not in memory), times N
// card saves as the card screen makes them (open the archive, rewrite the
// card in place or append it, close, write the cover), first with every
// write put on the device, then with the writes only handed to the system,
// alternating the two in rounds. See docs/PERFORMANCE.md.
#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/filesync.h"
#include "core/programfolder.h"
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

TSchedaLibro sampleCard(int n)
{
    TSchedaLibro card;
    card.setText(TSchedaLibro::Titolo, QStringLiteral("Il nome della rosa, edizione %1").arg(n));
    card.setText(TSchedaLibro::Autore, QStringLiteral("Umberto Eco"));
    card.setText(TSchedaLibro::Anno, QStringLiteral("1980"));
    card.setText(TSchedaLibro::Editore, QStringLiteral("Bompiani"));
    card.setText(TSchedaLibro::Note, QString(200, QLatin1Char('n')));
    return card;
}

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

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int saves = 200;
    QString base;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--saves"))
            saves = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--folder"))
            base = args[i + 1];
    }
    QTemporaryDir dir(base.isEmpty() ? QString() : base + QStringLiteral("/bench_cardsave-XXXXXX"));
    if (!dir.isValid() || saves < 1) {
        std::fprintf(stderr, "usage: bench_cardsave [--saves N] [--folder DIR]\n");
        return 2;
    }
    ProgramFolder::setPath(dir.path());
    Covers::makeFolder();
    {
        BookArchive archive;
        archive.open();
        for (int i = 0; i < 100; ++i)
            archive.append(sampleCard(i));
        archive.close();
    }
    QImage picture(307, 409, QImage::Format_RGB32);
    picture.fill(QColor(0x80, 0xAA, 0xCE));
    const QByteArray cover = Covers::jpegData(picture, QByteArray());

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
