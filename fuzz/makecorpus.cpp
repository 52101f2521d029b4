// Writes the seed corpora of the fuzz targets: small files of the shapes the
// program meets, made with the program's own record code.
//
//     build-fuzz/fuzz/rilegora-fuzz-corpus fuzz/corpus

#include "access/crypt.h"
#include "access/inifile.h"
#include "catalogues/cataloguepage.h"
#include "core/bookrecord.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <cstdio>

namespace {

QString root;

void put(const QString &target, const QString &name, const QByteArray &bytes)
{
    const QString folder = root + QLatin1Char('/') + target;
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

QByteArray raw(const char *data, int size)
{
    return QByteArray(data, size);
}

void cards()
{
    TSchedaLibro card;
    card.setText(TSchedaLibro::Titolo, QStringLiteral("Il nome della rosa"));
    card.setText(TSchedaLibro::Autore, QStringLiteral("Umberto Eco"));
    card.setText(TSchedaLibro::Anno, QStringLiteral("1980"));
    card.setText(TSchedaLibro::Citta, QStringLiteral("Milano"));
    card.setText(TSchedaLibro::ISBN, QStringLiteral("978-88-452-0000-0"));
    card.setText(TSchedaLibro::Prezzo, QStringLiteral("12,50 €"));
    card.setText(TSchedaLibro::Note, QStringLiteral("Prima edizione, copertina rigida."));
    card.setText(TSchedaLibro::File01, QStringLiteral("recensione.pdf"));
    card.setText(TSchedaLibro::Desc01, QStringLiteral("Recensione"));
    const QByteArray one = raw(card.data(), TSchedaLibro::RecordSize);
    put(QStringLiteral("fuzz_cardrecord"), QStringLiteral("one-card.pro"), one);

    TSchedaLibro second;
    second.setText(TSchedaLibro::Titolo, QStringLiteral("Città invisibili — «prima» edizione"));
    second.setText(TSchedaLibro::Giudizio, QString(250, QLatin1Char('x')));
    // A shorter text over a longer one keeps the old bytes after it.
    second.setText(TSchedaLibro::Autore, QStringLiteral("Italo Calvino, con una lunga nota"));
    second.setText(TSchedaLibro::Autore, QStringLiteral("Italo Calvino"));
    put(QStringLiteral("fuzz_cardrecord"), QStringLiteral("two-cards-and-a-fragment.pro"),
        one + raw(second.data(), TSchedaLibro::RecordSize) + one.left(100));

    // A card followed by a field number and UTF-16 text typed into it.
    QByteArray typed = one;
    typed += char(TSchedaLibro::Titolo);
    const QString text = QStringLiteral("  Perché no? 😀 Ünïcødé  ");
    typed += QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    put(QStringLiteral("fuzz_cardrecord"), QStringLiteral("card-and-typed-text"), typed);

    QByteArray damaged = one;
    damaged[TSchedaLibro::offset(TSchedaLibro::Anno)] = char(0xFF); // length above capacity
    put(QStringLiteral("fuzz_cardrecord"), QStringLiteral("length-above-capacity.pro"), damaged);
}

void pages()
{
    TPaginaCatalogo page;
    const QString names[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                             QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G"), QStringLiteral("H")};
    for (int box = 0; box < TPaginaCatalogo::BoxCount; ++box) {
        page.setText(box, TRiquadro::Codice, QStringLiteral("COD-%1").arg(box + 1));
        page.setText(box, TRiquadro::Nome, QStringLiteral("Libro ") + names[box]);
        page.setText(box, TRiquadro::UM, QStringLiteral("pz"));
        page.setText(box, TRiquadro::Caratteristiche, QStringLiteral("Brossura, 320 pagine, illustrato"));
        page.setText(box, TRiquadro::Prezzo, QStringLiteral("€ 18,00"));
    }
    const QByteArray one = raw(page.data(), TPaginaCatalogo::RecordSize);
    put(QStringLiteral("fuzz_cataloguepage"), QStringLiteral("one-page.cat"), one);
    put(QStringLiteral("fuzz_cataloguepage"), QStringLiteral("two-pages-and-a-fragment.cat"),
        one + QByteArray(TPaginaCatalogo::RecordSize, '\0') + one.left(625));

    QByteArray typed = one;
    typed += char(3);
    typed += char(TRiquadro::Caratteristiche);
    const QString text = QStringLiteral("\tRilegato in pelle — «numerato» 😀 ");
    typed += QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    put(QStringLiteral("fuzz_cataloguepage"), QStringLiteral("page-and-typed-text"), typed);
}

void settings()
{
    // The first byte is the length of the value to write; the file follows.
    const auto seed = [](const QByteArray &value, const QByteArray &file) { return char(value.size()) + value + file; };
    const QByteArray stored = Crypt::CryptEncode(QStringLiteral("RILEGORA")).toLatin1();
    const QByteArray initial = IniFile::withValue(QByteArray(), QStringLiteral("Accesso"), QStringLiteral("Valore"),
                                                  QString::fromLatin1(stored));
    put(QStringLiteral("fuzz_settings"), QStringLiteral("initial.ini"), seed(stored, initial));
    put(QStringLiteral("fuzz_settings"), QStringLiteral("unix-lines.ini"),
        seed("0A1B",
             "; impostazioni\n[Altra]\nValore=1\n\n[accesso]\n  Altro = \"x y\"\n VALORE = 'AB12' \n[Altra]\n"));
    put(QStringLiteral("fuzz_settings"), QStringLiteral("no-section.ini"),
        seed("  \"quoted\"  ", "\xEF\xBB\xBF[Setup]\r\nLang=it\r\nDir=C:\\Programmi\\Rilegora"));
    put(QStringLiteral("fuzz_settings"), QStringLiteral("duplicates.ini"),
        seed("", "[Accesso]\r\nValore=00\r\nValore=11\r\n[Accesso]\r\nValore=22\r\nAltro=3"));
    put(QStringLiteral("fuzz_settings"), QStringLiteral("empty.ini"), seed("FF", ""));
}

void crypt()
{
    // An even first byte: the rest is single-byte text; odd: UTF-16.
    put(QStringLiteral("fuzz_crypt"), QStringLiteral("stored-password"),
        '\0' + Crypt::CryptEncode(QStringLiteral("RILEGORA")).toLatin1());
    put(QStringLiteral("fuzz_crypt"), QStringLiteral("lower-case-odd-digit"),
        QByteArray("\0"
                   "a1b2c3d",
                   8));
    put(QStringLiteral("fuzz_crypt"), QStringLiteral("not-hex"),
        QByteArray("\0"
                   "12G4",
                   5));
    const QString wide = QStringLiteral("Perché 😀");
    put(QStringLiteral("fuzz_crypt"), QStringLiteral("utf16-text"),
        '\1' + QByteArray(reinterpret_cast<const char *>(wide.utf16()), wide.size() * 2));
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot encode %s\n", format);
        std::exit(1);
    }
    return out;
}

void pictures()
{
    QImage image(12, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(2, 2, 8, 6, Qt::darkBlue);
    painter.fillRect(4, 9, 4, 5, Qt::red);
    painter.end();
    const QString target = QStringLiteral("fuzz_picture");
    const QByteArray jpeg = encoded(image, "jpg");
    put(target, QStringLiteral("cover.jpg"), jpeg);
    put(target, QStringLiteral("cut-short.jpg"), jpeg.left(jpeg.size() * 2 / 3));
    put(target, QStringLiteral("cover.png"), encoded(image, "png"));
    put(target, QStringLiteral("cover.bmp"), encoded(image, "bmp"));
    // Qt reads GIF but does not write it: a 1 x 1 GIF made by hand.
    put(target, QStringLiteral("dot.gif"),
        QByteArray::fromBase64("R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw=="));
    // A PNG whose header claims 100000 x 100000 pixels.
    QByteArray bomb = encoded(image, "png");
    const char huge[] = {0x00, 0x01, (char)0x86, (char)0xA0};
    bomb.replace(16, 4, huge, 4);
    bomb.replace(20, 4, huge, 4);
    put(target, QStringLiteral("bomb.png"), bomb);
    put(target, QStringLiteral("not-a-picture.jpg"), QByteArray("Questo non è un'immagine.\n"));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    root = QString::fromLocal8Bit(argv[1]);
    cards();
    pages();
    settings();
    crypt();
    pictures();
    return 0;
}
