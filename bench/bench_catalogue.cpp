// Catalogue page editor at catalogue scale, run by hand:
//   bench_catalogue [--pages N] [--runs R] [--folder DIR]
//   bench_catalogue --sample DIR      (writes a small catalogue to look at)
// Generates a catalogue of N full pages (default 10,000: 50 MB) with the
// photos of its first and last page, then in one run times, as the median
// of R runs (default 15): loading page 1 and page N through the browsing
// commands, the whole Salva of page N with eight new photos and again with
// the photos unchanged, and a plain write of the same sixteen picture files
// as the baseline. See docs/PERFORMANCE.md.
#include "catalogues/cataloguefile.h"
#include "catalogues/cataloguefolder.h"
#include "catalogues/cataloguepage.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "core/programfolder.h"
#include "kit/controls.h"
#include "kit/covers.h"
#include "kit/picturewidgets.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {
const QString kName = QStringLiteral("Bench");

/// A page with every field filled as a bookshop fills it.
TPaginaCatalogo samplePage(int n)
{
    TPaginaCatalogo page;
    for (int box = 0; box < TPaginaCatalogo::BoxCount; ++box) {
        const int book = n * 8 + box;
        page.setText(box, TRiquadro::Codice, QStringLiteral("ISBN: 978-88-%1").arg(book, 7, 10, QLatin1Char('0')));
        page.setText(box, TRiquadro::Nome, QStringLiteral("Storia della città e del mare, volume %1").arg(book));
        page.setText(box, TRiquadro::UM,
                     QStringLiteral("Autore %1  -  Editore di Forlì (19%2)").arg(book).arg(book % 100));
        page.setText(box, TRiquadro::Caratteristiche,
                     QStringLiteral("Prima edizione, rilegatura in tela, sovraccoperta illustrata; %1 pagine")
                         .arg(100 + book % 700));
        page.setText(box, TRiquadro::Prezzo, QStringLiteral("€ %1,50").arg(5 + book % 40));
    }
    return page;
}

/// A photo-like picture: noise over gradients, so JPEG has real work to do.
QImage photo(const QSize &size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb((x * 255 / size.width() + int(random.bounded(40))) & 255,
                           (y * 255 / size.height() + int(random.bounded(40))) & 255, int(seed * 37 % 200));
    }
    return image;
}

/// A cover for the sample catalogue: a coloured board with the title on it.
QImage cover(const QString &title, QColor colour)
{
    QImage image(CatalogueFolder::PhotoSize, QImage::Format_RGB32);
    image.fill(colour);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, 24, image.height()), colour.darker(140));
    p.setPen(QPen(Qt::white, 3));
    p.drawRect(QRect(40, 40, 222, 286));
    QFont font(QStringLiteral("DejaVu Serif"), 26, QFont::Bold);
    p.setFont(font);
    p.drawText(QRect(50, 60, 202, 246), Qt::AlignCenter | Qt::TextWordWrap, title);
    return image;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

int writeSample(const QString &folder)
{
    ProgramFolder::setPath(folder);
    const struct
    {
        const char *title, *author, *notes, *isbn, *price;
    } books[] = {
        {"Il nome della rosa", "Umberto Eco  -  Bompiani (1980)", "Prima edizione, copertina rigida",
         "ISBN: 88-452-0621-4", "€ 18,50"},
        {"La coscienza di Zeno", "Italo Svevo  -  Cappelli (1923)", "Tascabile, ottime condizioni",
         "ISBN: 88-06-17345-2", "€ 9,00"},
        {"Il Gattopardo", "Giuseppe Tomasi di Lampedusa  -  Feltrinelli (1958)", "Con sovraccoperta originale",
         "ISBN: 88-07-01234-5", "€ 24,00"},
        {"Se questo è un uomo", "Primo Levi  -  Einaudi (1958)", "Edizione scolastica annotata", "ISBN: 88-06-21946-0",
         "€ 11,00"},
        {"Le città invisibili", "Italo Calvino  -  Einaudi (1972)", "Rilegatura in tela, dedica dell'editore",
         "ISBN: 88-06-34567-1", "€ 15,50"},
        {"I promessi sposi", "Alessandro Manzoni  -  Mondadori (1840)", "Illustrazioni di Francesco Gonin",
         "ISBN: 88-04-12345-9", "€ 32,00"},
        {"Il barone rampante", "Italo Calvino  -  Einaudi (1957)", "Prima ristampa", "ISBN: 88-06-11111-3", "€ 12,00"},
        {"La luna e i falò", "Cesare Pavese  -  Einaudi (1950)", "Dorso lievemente scolorito", "ISBN: 88-06-22222-7",
         "€ 10,50"},
    };
    const QColor colours[] = {0x8c2d19, 0x1f4e79, 0x2e7d32, 0x6a1b9a, 0xb8860b, 0x37474f, 0xad1457, 0x00695c};
    TPaginaCatalogo page;
    for (int box = 0; box < 8; ++box) {
        page.setText(box, TRiquadro::Nome, QString::fromUtf8(books[box].title));
        page.setText(box, TRiquadro::UM, QString::fromUtf8(books[box].author));
        page.setText(box, TRiquadro::Caratteristiche, QString::fromUtf8(books[box].notes));
        page.setText(box, TRiquadro::Codice, QString::fromUtf8(books[box].isbn));
        page.setText(box, TRiquadro::Prezzo, QString::fromUtf8(books[box].price));
    }
    CatalogueFile file(CatalogueFolder::path(QStringLiteral("Narrativa italiana")));
    if (!file.open() || file.append(page) == 0 || !file.close() || !CatalogueFolder::makePhotoFolder())
        return 1;
    for (int box = 0; box < 8; ++box) {
        const QString path = CatalogueFolder::photoPath(QStringLiteral("Narrativa italiana"), box, QStringLiteral("1"));
        if (!Covers::writeJpeg(path, cover(QString::fromUtf8(books[box].title), colours[box])))
            return 1;
    }
    std::printf("wrote %s\n", qPrintable(CatalogueFolder::path(QStringLiteral("Narrativa italiana"))));
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int pages = 10000;
    int runs = 15;
    QString folderArg;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a = argv[i];
        if (a == "--sample" && i + 1 < argc)
            return writeSample(QString::fromLocal8Bit(argv[++i]));
        if (a == "--pages" && i + 1 < argc)
            pages = std::max(1, atoi(argv[++i]));
        else if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, atoi(argv[++i]));
        else if (a == "--folder" && i + 1 < argc)
            folderArg = QString::fromLocal8Bit(argv[++i]);
        else {
            std::fprintf(stderr, "usage: bench_catalogue [--pages N] [--runs R] [--folder DIR] | --sample DIR\n");
            return 2;
        }
    }
    QTemporaryDir temporary;
    const QString folder = folderArg.isEmpty() ? temporary.path() : folderArg;
    QDir().mkpath(folder);
    ProgramFolder::setPath(folder);

    // The catalogue, written in blocks of 200 pages.
    const QString path = CatalogueFolder::path(kName);
    QElapsedTimer timer;
    timer.start();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray block;
        for (int n = 1; n <= pages; ++n) {
            const TPaginaCatalogo page = samplePage(n);
            block.append(page.data(), TPaginaCatalogo::RecordSize);
            if (block.size() >= 200 * TPaginaCatalogo::RecordSize || n == pages) {
                file.write(block);
                block.clear();
            }
        }
    }
    CatalogueFolder::makePhotoFolder();
    for (int box = 0; box < 8; ++box) {
        for (const QString &n : {QStringLiteral("1"), QString::number(pages)})
            Covers::writeJpeg(CatalogueFolder::photoPath(kName, box, n), photo(CatalogueFolder::PhotoSize, box + 1));
    }
    ::sync();
    const double generated = double(timer.elapsed());

    TfrmListinoPrezzi editor;
    control<QLabel>(editor, "lblFile")->setText(path);
    control<QLabel>(editor, "lblNome")->setText(kName);
    editor.show();
    app.processEvents();

    std::vector<double> first, last, readFirst, readLast, saveNew, saveSame, encode, plain, plainSync;
    // The loads first, while both pages have photos of the same kind; either
    // order in turn, so that neither always comes first.
    for (int r = 0; r < runs; ++r) {
        for (int k = 0; k < 2; ++k) {
            const bool pageOne = (r + k) % 2 == 0;
            (pageOne ? first : last).push_back(timeMs([&] {
                if (pageOne)
                    editor.cmdPrimoClick();
                else
                    editor.cmdUltimoClick();
            }));
            if (control<QLabel>(editor, "lblPosizione")->text() != QString::number(pageOne ? 1 : pages))
                return 1;
            TPaginaCatalogo page;
            (pageOne ? readFirst : readLast).push_back(timeMs([&] {
                CatalogueFile file(path);
                if (!file.open() || !file.read(pageOne ? 1 : pages, page) || !file.close())
                    std::exit(1);
            }));
        }
    }
    qint64 pictureBytes = 0;
    for (int r = 0; r < runs; ++r) {
        // Eight new photos, larger than the stored size, as loaded from files.
        for (int box = 0; box < 8; ++box)
            control<PictureBox>(editor, QStringLiteral("imgFoto_") + CatalogueFolder::boxLetter(box))
                ->setImage(photo(QSize(1000, 1000), quint32(r * 8 + box + 100)));
        control<QLineEdit>(editor, "txtNome_A")->setText(QStringLiteral("Salvataggio %1").arg(r));
        TfrmListinoPrezzi::SaveOutcome outcome = TfrmListinoPrezzi::SaveOutcome::AccessFailure;
        saveNew.push_back(timeMs([&] { outcome = editor.savePage(); }));
        if (outcome != TfrmListinoPrezzi::SaveOutcome::Rewritten)
            return 1;
        saveSame.push_back(timeMs([&] { outcome = editor.savePage(); }));
        // What the save of new photos must do beyond writing: stretch and encode them.
        std::vector<QImage> fresh;
        for (int box = 0; box < 8; ++box)
            fresh.push_back(photo(QSize(1000, 1000), quint32(r * 8 + box + 100)));
        encode.push_back(timeMs([&] {
            for (const QImage &image : fresh)
                Covers::jpegData(
                    image.scaled(CatalogueFolder::PhotoSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                    QByteArray());
        }));

        // The same sixteen pictures, written plainly beside them.
        std::vector<QByteArray> pictures;
        for (int box = 0; box < 8; ++box) {
            for (const QString &p : {CatalogueFolder::photoPath(kName, box, QString::number(pages)),
                                     CatalogueFolder::previewPath(kName, box)}) {
                QFile f(p);
                f.open(QIODevice::ReadOnly);
                pictures.push_back(f.readAll());
            }
        }
        pictureBytes = 0;
        for (const QByteArray &b : pictures)
            pictureBytes += b.size();
        const QString scratch = folder + QStringLiteral("/plain_%1.jpg");
        plain.push_back(timeMs([&] {
            for (size_t i = 0; i < pictures.size(); ++i)
                writeFile(scratch.arg(i), pictures[i]);
        }));
        plainSync.push_back(timeMs([&] {
            for (size_t i = 0; i < pictures.size(); ++i) {
                QFile file(scratch.arg(i));
                if (file.open(QIODevice::WriteOnly) && file.write(pictures[i]) == pictures[i].size() && file.flush())
                    ::fdatasync(file.handle());
            }
        }));
    }

    const double base = median(plain);
    std::printf("catalogue: %d pages, %.1f MB, generated in %.0f ms; %d runs, medians\n", pages,
                double(QFileInfo(path).size()) / 1e6, generated, runs);
    std::printf("%-44s %9.2f ms\n", "load page 1 (cmdPrimo)", median(first));
    std::printf("%-44s %9.2f ms  %.2f x page 1\n", "load last page (cmdUltimo)", median(last),
                median(last) / median(first));
    std::printf("%-44s %9.3f ms\n", "page 1 record alone (open, read, close)", median(readFirst));
    std::printf("%-44s %9.3f ms  %.2f x page 1\n", "last page record alone", median(readLast),
                median(readLast) / median(readFirst));
    std::printf("%-44s %9.2f ms  %.2f x baseline\n", "save, eight new photos", median(saveNew), median(saveNew) / base);
    std::printf("%-44s %9.2f ms\n", "  of which stretching and encoding", median(encode));
    std::printf("%-44s %9.2f ms  %.2f x baseline\n", "save, photos unchanged", median(saveSame),
                median(saveSame) / base);
    std::printf("%-44s %9.2f ms  (16 files, %lld bytes)\n", "plain write of the pictures (baseline)", base,
                pictureBytes);
    std::printf("%-44s %9.2f ms  %.2f x baseline\n", "plain write + fdatasync each", median(plainSync),
                median(plainSync) / base);
    return 0;
}
