#pragma once
// What the card-save benchmarks share: the sample card, the median of the
// rounds, and the program folder they save into.

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/programfolder.h"
#include "kit/covers.h"

#include <QColor>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace CardSaveBench {

inline TSchedaLibro sampleCard(int n)
{
    TSchedaLibro card;
    card.setText(TSchedaLibro::Titolo, QStringLiteral("Il nome della rosa, edizione %1").arg(n));
    card.setText(TSchedaLibro::Autore, QStringLiteral("Umberto Eco"));
    card.setText(TSchedaLibro::Anno, QStringLiteral("1980"));
    card.setText(TSchedaLibro::Editore, QStringLiteral("Bompiani"));
    card.setText(TSchedaLibro::Note, QString(200, QLatin1Char('n')));
    return card;
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Setup
{
    int saves = 200;
    std::unique_ptr<QTemporaryDir> dir;
    QByteArray cover; ///< a 307 x 409 JPEG cover
};

/// Reads "--saves N" and "--folder DIR" from args, makes the program folder
/// in a temporary folder under DIR (default: the system's temporary folder)
/// with 100 sample cards and the covers folder. False, with the usage
/// printed, on bad arguments or a folder that cannot be made.
inline bool prepare(const QStringList &args, const char *name, Setup &setup)
{
    QString base;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--saves"))
            setup.saves = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--folder"))
            base = args[i + 1];
    }
    const QString pattern = QLatin1Char('/') + QLatin1String(name) + QStringLiteral("-XXXXXX");
    setup.dir = std::make_unique<QTemporaryDir>(base.isEmpty() ? QString() : base + pattern);
    if (!setup.dir->isValid() || setup.saves < 1) {
        std::fprintf(stderr, "usage: %s [--saves N] [--folder DIR]\n", name);
        return false;
    }
    ProgramFolder::setPath(setup.dir->path());
    Covers::makeFolder();
    BookArchive archive;
    archive.open();
    for (int i = 0; i < 100; ++i)
        archive.append(sampleCard(i));
    archive.close();
    QImage picture(307, 409, QImage::Format_RGB32);
    picture.fill(QColor(0x80, 0xAA, 0xCE));
    setup.cover = Covers::jpegData(picture, QByteArray());
    return true;
}

/// Times each kind of save in 5 rounds that alternate the two ways compared
/// (time(kind, true), then time(kind, false): milliseconds for all the saves,
/// negative where a way does not apply), and prints the medians per save and
/// their ratio, one row a kind.
template <class Kind, class Time>
void printRounds(const char *withColumn, const char *withoutColumn,
                 std::initializer_list<std::pair<Kind, const char *>> kinds, const Setup &setup, Time time)
{
    std::printf("%d saves each, folder %s, median of 5 rounds\n", setup.saves, qPrintable(setup.dir->path()));
    std::printf("%-32s %14s %14s %8s\n", "save", withColumn, withoutColumn, "ratio");
    for (const auto &[kind, name] : kinds) {
        std::vector<double> with, without;
        for (int round = 0; round < 5; ++round) {
            with.push_back(time(kind, true) / setup.saves);
            without.push_back(time(kind, false) / setup.saves);
        }
        const double w = median(with), wo = median(without);
        if (wo < 0)
            std::printf("%-32s %14.3f %14s %8s\n", name, w, "-", "-");
        else
            std::printf("%-32s %14.3f %14.3f %8.2f\n", name, w, wo, wo > 0 ? w / wo : 0.0);
    }
}

} // namespace CardSaveBench
