// Fills a program folder with demonstration data, for trying every screen:
//   rilegora-demo <program folder>
// Writes about fifty book cards with their cover pictures, two attached
// files on card 1, a catalogue of three pages with box photos and the
// password store with the initial password, all through the program's own
// record and picture code. A folder whose card
// index already holds cards is left untouched.
#include "access/passwordstore.h"
#include "books/tfrmallegacartella.h"
#include "catalogues/cataloguefile.h"
#include "catalogues/cataloguefolder.h"
#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/programfolder.h"
#include "kit/covers.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>
#include <vector>

namespace {

struct Publisher
{
    const char *name;
    const char *city;
    const char *isbnPrefix; ///< "978-88-452": the digits before the title number
};

const Publisher kPublishers[] = {
    {"Edizioni del Portico", "Milano", "978-88-452"}, {"Lanterna Editrice", "Torino", "978-88-7019"},
    {"Casa Editrice Aurora", "Roma", "978-88-311"},   {"Edizioni Marea", "Napoli", "978-88-6914"},
    {"Feltro & Carta", "Firenze", "978-88-222"},      {"Libri del Ponte", "Bologna", "978-88-9337"},
    {"Edizioni Scirocco", "Palermo", "978-88-389"},   {"Harbour Press", "London", "978-1-84391"},
    {"Éditions du Quai", "Paris", "978-2-85920"},     {"Verlag Lindenhof", "München", "978-3-7632"},
    {"Ediciones Alcázar", "Madrid", "978-84-376"},
};

enum { Portico, Lanterna, Aurora, Marea, Feltro, Ponte, Scirocco, Harbour, Quai, Lindenhof, Alcazar };

struct Book
{
    const char *titolo;
    const char *autore;
    const char *nazione;
    const char *anno;
    int editore;
    const char *dewey;
    const char *genere;
    const char *lingua;
    const char *originale;
    const char *traduttore;
    const char *collana;
    const char *curatore;
    const char *formato;
    const char *volumi;
    const char *pagine;
    const char *prezzo;
    const char *giudizio;
    const char *note;
};

// Classics of Italian and foreign literature in the editions of a small
// bookshop, then a few essays and handbooks.
const Book kBooks[] = {
    {"I promessi sposi", "Alessandro Manzoni", "Italia", "2012", Portico, "853.7", "Romanzo storico", "Italiano", "",
     "", "I Classici del Portico", "Giovanni Ferrante", "Rilegato, 15 x 23 cm", "1", "736", "18,50",
     "Edizione di riferimento, con le varianti della prima stesura.",
     "Testo dell'edizione del 1840 con le illustrazioni originali."},
    {"La coscienza di Zeno", "Italo Svevo", "Italia", "2016", Lanterna, "853.912", "Romanzo", "Italiano", "", "",
     "Tascabili Lanterna", "", "Brossura, 12 x 19 cm", "1", "448", "11,00", "Consigliato per i gruppi di lettura.", ""},
    {"Il fu Mattia Pascal", "Luigi Pirandello", "Italia", "2019", Aurora, "853.912", "Romanzo", "Italiano", "", "",
     "Classici Aurora", "", "Brossura, 13 x 20 cm", "1", "288", "9,90", "", "Disponibili tre copie."},
    {"I Malavoglia", "Giovanni Verga", "Italia", "2008", Scirocco, "853.8", "Romanzo verista", "Italiano", "", "",
     "Narrativa siciliana", "Rosaria Catanzaro", "Brossura, 14 x 21 cm", "1", "352", "12,00",
     "Introduzione chiara, note essenziali.", "Con un saggio sulla Sicilia di fine Ottocento."},
    {"Le avventure di Pinocchio", "Carlo Collodi", "Italia", "2021", Feltro, "853.8", "Narrativa per ragazzi",
     "Italiano", "", "", "Il Gomitolo", "", "Rilegato, 21 x 28 cm", "1", "192", "22,00",
     "Splendida edizione illustrata.", "Illustrazioni a colori di Teresa Bonelli."},
    {"Cuore", "Edmondo De Amicis", "Italia", "2010", Ponte, "853.8", "Narrativa per ragazzi", "Italiano", "", "",
     "Piccola Biblioteca del Ponte", "", "Brossura, 13 x 20 cm", "1", "320", "8,50", "",
     "Copertina lievemente usurata."},
    {"Canti", "Giacomo Leopardi", "Italia", "2015", Portico, "851.7", "Poesia", "Italiano", "", "",
     "I Classici del Portico", "Marco Valente", "Rilegato, 13 x 21 cm", "1", "416", "16,00",
     "Commento puntuale, ottimo per la scuola.", ""},
    {"La Divina Commedia", "Dante Alighieri", "Italia", "2018", Feltro, "851.1", "Poema", "Italiano", "", "",
     "Grandi Opere", "Beatrice Orlandi", "Cofanetto, 3 volumi rilegati", "3", "1680", "65,00",
     "Commento integrale, carta avoriata.", "Cofanetto con Inferno, Purgatorio e Paradiso."},
    {"Decameron", "Giovanni Boccaccio", "Italia", "2013", Aurora, "853.1", "Novelle", "Italiano", "", "",
     "Classici Aurora", "Luca Marini", "Brossura, 14 x 21 cm", "2", "1120", "28,00", "", ""},
    {"Il principe", "Niccolò Machiavelli", "Italia", "2020", Ponte, "320.1", "Saggio politico", "Italiano", "", "",
     "Piccola Biblioteca del Ponte", "Andrea Ricci", "Tascabile, 11 x 18 cm", "1", "176", "7,50", "",
     "In vetrina dal mese di marzo."},
    {"Orlando furioso", "Ludovico Ariosto", "Italia", "2009", Portico, "851.3", "Poema cavalleresco", "Italiano", "",
     "", "I Classici del Portico", "Elisa Grimaldi", "Rilegato, 15 x 23 cm", "2", "1344", "42,00", "",
     "Esemplare con ex libris sul risguardo."},
    {"Il piacere", "Gabriele D'Annunzio", "Italia", "2017", Lanterna, "853.8", "Romanzo", "Italiano", "", "",
     "Tascabili Lanterna", "", "Brossura, 12 x 19 cm", "1", "384", "12,50", "", ""},
    {"Piccolo mondo antico", "Antonio Fogazzaro", "Italia", "2011", Scirocco, "853.8", "Romanzo", "Italiano", "", "",
     "Narrativa italiana", "", "Brossura, 14 x 21 cm", "1", "464", "13,00", "Ambientazione lacustre resa con garbo.",
     ""},
    {"Le confessioni d'un italiano", "Ippolito Nievo", "Italia", "2014", Aurora, "853.8", "Romanzo storico", "Italiano",
     "", "", "Classici Aurora", "Silvia Moretti", "Brossura, 14 x 21 cm", "2", "1024", "24,00", "", ""},
    {"Senilità", "Italo Svevo", "Italia", "2022", Lanterna, "853.912", "Romanzo", "Italiano", "", "",
     "Tascabili Lanterna", "", "Brossura, 12 x 19 cm", "1", "256", "10,50", "", "Nuova ristampa."},
    {"Orgoglio e pregiudizio", "Jane Austen", "Regno Unito", "2018", Marea, "823.7", "Romanzo", "Italiano",
     "Pride and Prejudice", "Chiara Benedetti", "Narratori stranieri", "", "Brossura, 14 x 21 cm", "1", "400", "14,00",
     "Traduzione scorrevole e fedele.", ""},
    {"Pride and Prejudice", "Jane Austen", "Regno Unito", "2014", Harbour, "823.7", "Romanzo", "Inglese", "", "",
     "Harbour Classics", "", "Paperback, 13 x 20 cm", "1", "432", "11,50", "", "Edizione in lingua originale."},
    {"Moby Dick", "Herman Melville", "Stati Uniti", "2016", Aurora, "813.3", "Romanzo d'avventura", "Italiano",
     "Moby-Dick; or, The Whale", "Paolo Gentile", "Classici Aurora", "", "Brossura, 14 x 21 cm", "1", "704", "16,50",
     "", ""},
    {"Delitto e castigo", "Fëdor Dostoevskij", "Russia", "2013", Portico, "891.733", "Romanzo", "Italiano",
     "Prestuplenie i nakazanie", "Nadia Ferri", "I Classici del Portico", "", "Rilegato, 15 x 23 cm", "1", "688",
     "19,00", "Tra le migliori traduzioni disponibili.", ""},
    {"Anna Karenina", "Lev Tolstoj", "Russia", "2015", Marea, "891.733", "Romanzo", "Italiano", "Anna Karenina",
     "Igor Bassi", "Narratori stranieri", "", "Brossura, 14 x 21 cm", "2", "960", "26,00", "", ""},
    {"Guerra e pace", "Lev Tolstoj", "Russia", "2019", Portico, "891.733", "Romanzo storico", "Italiano", "Vojna i mir",
     "Igor Bassi", "I Classici del Portico", "", "Rilegato, 15 x 23 cm", "2", "1712", "38,00", "",
     "Ordinabile anche in edizione tascabile."},
    {"Madame Bovary", "Gustave Flaubert", "Francia", "2012", Quai, "843.8", "Romanzo", "Francese", "", "",
     "Les Classiques du Quai", "", "Broché, 11 x 18 cm", "1", "512", "9,50", "", "Edizione in lingua originale."},
    {"I miserabili", "Victor Hugo", "Francia", "2010", Aurora, "843.8", "Romanzo", "Italiano", "Les Misérables",
     "Marta Colli", "Classici Aurora", "", "Brossura, 14 x 21 cm", "2", "1488", "32,00", "", ""},
    {"Il ritratto di Dorian Gray", "Oscar Wilde", "Irlanda", "2020", Lanterna, "823.8", "Romanzo", "Italiano",
     "The Picture of Dorian Gray", "Giulio Sala", "Tascabili Lanterna", "", "Brossura, 12 x 19 cm", "1", "272", "9,00",
     "", ""},
    {"Grandi speranze", "Charles Dickens", "Regno Unito", "2017", Ponte, "823.8", "Romanzo di formazione", "Italiano",
     "Great Expectations", "Franca Lodi", "Piccola Biblioteca del Ponte", "", "Brossura, 13 x 20 cm", "1", "608",
     "14,50", "", ""},
    {"Don Chisciotte della Mancia", "Miguel de Cervantes", "Spagna", "2011", Portico, "863.3", "Romanzo", "Italiano",
     "El ingenioso hidalgo don Quijote de la Mancha", "Alberto Neri", "I Classici del Portico", "",
     "Rilegato, 15 x 23 cm", "2", "1296", "39,00", "Apparato di note molto ricco.", ""},
    {"Don Quijote de la Mancha", "Miguel de Cervantes", "Spagna", "2015", Alcazar, "863.3", "Romanzo", "Spagnolo", "",
     "", "Clásicos Alcázar", "", "Rústica, 15 x 22 cm", "1", "1104", "21,00", "", "Edizione in lingua originale."},
    {"Faust", "Johann Wolfgang Goethe", "Germania", "2008", Feltro, "832.6", "Tragedia", "Italiano e tedesco",
     "Faust. Eine Tragödie", "Renata Volpi", "Testi a fronte", "", "Brossura, 14 x 21 cm", "1", "1232", "27,00", "",
     "Testo tedesco a fronte."},
    {"La metamorfosi", "Franz Kafka", "Repubblica Ceca", "2021", Marea, "833.912", "Racconto", "Italiano",
     "Die Verwandlung", "Elena Fontana", "Narratori stranieri", "", "Brossura, 12 x 19 cm", "1", "112", "8,00", "", ""},
    {"Die Verwandlung", "Franz Kafka", "Repubblica Ceca", "2016", Lindenhof, "833.912", "Racconto", "Tedesco", "", "",
     "Lindenhof Taschenbuch", "", "Taschenbuch, 11 x 18 cm", "1", "96", "6,90", "", "Edizione in lingua originale."},
    {"Cime tempestose", "Emily Brontë", "Regno Unito", "2019", Aurora, "823.8", "Romanzo", "Italiano",
     "Wuthering Heights", "Chiara Benedetti", "Classici Aurora", "", "Brossura, 14 x 21 cm", "1", "416", "12,90", "",
     ""},
    {"Jane Eyre", "Charlotte Brontë", "Regno Unito", "2014", Harbour, "823.8", "Romanzo", "Inglese", "", "",
     "Harbour Classics", "", "Paperback, 13 x 20 cm", "1", "560", "12,00", "", "Edizione in lingua originale."},
    {"Frankenstein", "Mary Shelley", "Regno Unito", "2018", Scirocco, "823.7", "Romanzo gotico", "Italiano",
     "Frankenstein; or, The Modern Prometheus", "Luisa Greco", "Notturni", "", "Brossura, 14 x 21 cm", "1", "304",
     "11,00", "", ""},
    {"L'isola del tesoro", "Robert Louis Stevenson", "Regno Unito", "2012", Feltro, "823.8", "Romanzo d'avventura",
     "Italiano", "Treasure Island", "Giulio Sala", "Il Gomitolo", "", "Rilegato, 17 x 24 cm", "1", "288", "15,00", "",
     "Con le mappe a colori del 1883."},
    {"Il giro del mondo in ottanta giorni", "Jules Verne", "Francia", "2017", Ponte, "843.8", "Romanzo d'avventura",
     "Italiano", "Le Tour du monde en quatre-vingts jours", "Marta Colli", "Piccola Biblioteca del Ponte", "",
     "Brossura, 13 x 20 cm", "1", "256", "9,50", "", ""},
    {"Le avventure di Tom Sawyer", "Mark Twain", "Stati Uniti", "2013", Lanterna, "813.4", "Narrativa per ragazzi",
     "Italiano", "The Adventures of Tom Sawyer", "Franca Lodi", "Tascabili Lanterna", "", "Brossura, 12 x 19 cm", "1",
     "272", "8,90", "", ""},
    {"Il conte di Montecristo", "Alexandre Dumas", "Francia", "2016", Portico, "843.7", "Romanzo d'avventura",
     "Italiano", "Le Comte de Monte-Cristo", "Alberto Neri", "I Classici del Portico", "", "Rilegato, 15 x 23 cm", "2",
     "1376", "36,00", "Avvincente dalla prima all'ultima pagina.", ""},
    {"Cuore di tenebra", "Joseph Conrad", "Regno Unito", "2020", Marea, "823.912", "Romanzo breve", "Italiano",
     "Heart of Darkness", "Paolo Gentile", "Narratori stranieri", "", "Brossura, 12 x 19 cm", "1", "160", "9,00", "",
     ""},
    {"Gita al faro", "Virginia Woolf", "Regno Unito", "2022", Aurora, "823.912", "Romanzo", "Italiano",
     "To the Lighthouse", "Elena Fontana", "Classici Aurora", "", "Brossura, 14 x 21 cm", "1", "272", "13,50", "",
     "Novità di stagione."},
    {"Il rosso e il nero", "Stendhal", "Francia", "2009", Scirocco, "843.7", "Romanzo", "Italiano",
     "Le Rouge et le Noir", "Renata Volpi", "Narrativa straniera", "", "Brossura, 14 x 21 cm", "1", "592", "14,00", "",
     ""},
    {"Il mare d'inverno", "Davide Serra", "Italia", "2021", Marea, "853.92", "Romanzo", "Italiano", "", "",
     "Narrativa Marea", "", "Brossura con alette, 14 x 21 cm", "1", "240", "17,00", "Esordio delicato e ben scritto.",
     "Copia con dedica dell'autore."},
    {"Storia di Venezia in dieci ponti", "Giulia Bernardi", "Italia", "2019", Ponte, "945.31", "Storia", "Italiano", "",
     "", "Saggi del Ponte", "", "Brossura, 15 x 22 cm", "1", "320", "19,50", "", ""},
    {"La cucina delle Langhe", "Marta Revelli", "Italia", "2021", Lanterna, "641.5945", "Cucina", "Italiano", "", "",
     "Sapori Lanterna", "", "Rilegato, 20 x 26 cm", "1", "224", "24,90", "Ricette chiare, belle fotografie.",
     "Ricette della tradizione piemontese."},
    {"Guida al cielo d'estate", "Paolo Ferraris", "Italia", "2018", Aurora, "523.8", "Astronomia", "Italiano", "", "",
     "Scienza per tutti", "", "Brossura, 17 x 24 cm", "1", "176", "16,00", "", "Con carte stellari pieghevoli."},
    {"Programmare in C++ moderno", "Andrea Colombo", "Italia", "2023", Portico, "005.133", "Informatica", "Italiano",
     "", "", "Manuali del Portico", "", "Brossura, 17 x 24 cm", "1", "640", "39,90", "", ""},
    {"Il giardino mediterraneo", "Elena Sartori", "Italia", "2017", Feltro, "635.9", "Giardinaggio", "Italiano", "", "",
     "Il Verde", "", "Rilegato, 21 x 27 cm", "1", "208", "29,00", "", ""},
    {"Breve storia della musica barocca", "Lorenzo Galli", "Italia", "2015", Ponte, "780.9032", "Musica", "Italiano",
     "", "", "Saggi del Ponte", "", "Brossura, 15 x 22 cm", "1", "288", "21,00", "", ""},
    {"Castelli della Valle d'Aosta", "Chiara Vuillermoz", "Italia", "2016", Lanterna, "728.81", "Architettura",
     "Italiano", "", "", "Itinerari Lanterna", "", "Rilegato, 24 x 30 cm", "1", "192", "35,00",
     "Ottimo apparato fotografico.", ""},
    {"Atlante dei fari italiani", "Stefano Rizzo", "Italia", "2020", Marea, "387.155", "Viaggi", "Italiano", "", "",
     "Rotte", "", "Rilegato, 23 x 28 cm", "1", "256", "32,00", "", "Esaurito presso l'editore."},
    {"Il restauro del libro antico", "Giorgio Lanza", "Italia", "2014", Feltro, "025.84", "Biblioteconomia", "Italiano",
     "", "", "Arti del libro", "", "Brossura, 17 x 24 cm", "1", "272", "34,00", "", ""},
    {"Manuale di legatoria", "Anna Moretti", "Italia", "2022", Portico, "686.3", "Arti del libro", "Italiano", "", "",
     "Manuali del Portico", "", "Brossura, 17 x 24 cm", "1", "192", "26,00", "Spiegazioni passo passo, molto pratico.",
     "Tecniche di cucitura e rilegatura a mano."},
    {"Psicologia dell'apprendimento", "Francesca Morandi", "Italia", "2019", Aurora, "370.1523", "Psicologia",
     "Italiano", "", "", "Scuola e società", "", "Brossura, 15 x 22 cm", "1", "352", "27,50", "", ""},
};

// Cards 12, 27 and 45 have no cover, so the placeholder can be seen.
bool hasCover(int number)
{
    return number != 12 && number != 27 && number != 45;
}

/// The ISBN-13 check digit of twelve digits.
int isbnCheckDigit(const QString &twelveDigits)
{
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += twelveDigits[i].digitValue() * (i % 2 ? 3 : 1);
    return (10 - sum % 10) % 10;
}

/// "978-88-452-0001-7": the publisher's prefix, the title number filling
/// twelve digits, the check digit.
QString isbn(const Publisher &publisher, int titleNumber)
{
    const QString prefix = QString::fromUtf8(publisher.isbnPrefix);
    const int titleDigits = 12 - QString(prefix).remove(QLatin1Char('-')).size();
    const QString title = QStringLiteral("%1").arg(titleNumber, titleDigits, 10, QLatin1Char('0'));
    const QString digits = QString(prefix).remove(QLatin1Char('-')) + title;
    return prefix + QLatin1Char('-') + title + QLatin1Char('-') + QString::number(isbnCheckDigit(digits));
}

// ---- cover pictures ------------------------------------------------------

struct CoverColours
{
    QRgb ground;
    QRgb ink;
};

const CoverColours kCoverColours[] = {
    {0xFF8E2B2B, 0xFFF3D98B}, {0xFF1D3557, 0xFFF1FAEE}, {0xFF2D5A3D, 0xFFF2E8CF}, {0xFFC8841A, 0xFF2B2118},
    {0xFF176D6D, 0xFFF6F1E7}, {0xFF5B2A4E, 0xFFF3D9B1}, {0xFF3D4A5C, 0xFFF4A261}, {0xFFEFE6D2, 0xFF7A1F1F},
    {0xFF3F7CAC, 0xFFFFF7E0}, {0xFFA4452C, 0xFFFBEEE0},
};

/// The largest font, up to maxPixels, in which text fits box when wrapped.
QFont fittingFont(const QString &family, bool bold, const QString &text, const QRect &box, int maxPixels)
{
    QFont font(family);
    font.setBold(bold);
    for (int pixels = maxPixels; pixels > 10; pixels -= 2) {
        font.setPixelSize(pixels);
        const QRect needed = QFontMetrics(font).boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, text);
        if (needed.width() <= box.width() && needed.height() <= box.height())
            break;
    }
    return font;
}

void drawText(QPainter &p, const QRect &box, const QString &text, const QString &family, bool bold, int maxPixels,
              QRgb colour)
{
    p.setFont(fittingFont(family, bold, text, box, maxPixels));
    p.setPen(QColor::fromRgb(colour));
    p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

/// A book cover: title and author on a coloured ground, the publisher at
/// the foot, in one of three designs.
QImage drawCover(const Book &book, int number)
{
    const QSize size(320, 480);
    const CoverColours colours = kCoverColours[(number * 7) % std::size(kCoverColours)];
    const QColor ground = QColor::fromRgb(colours.ground);
    const QString serif = QStringLiteral("DejaVu Serif");
    const QString sans = QStringLiteral("DejaVu Sans");
    const QString title = QString::fromUtf8(book.titolo);
    const QString author = QString::fromUtf8(book.autore);
    const QString publisher = QString::fromUtf8(kPublishers[book.editore].name);

    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient shade(0, 0, size.width(), size.height());
    shade.setColorAt(0, ground.lighter(112));
    shade.setColorAt(1, ground.darker(118));
    p.fillRect(image.rect(), shade);
    // The spine's fold.
    p.fillRect(QRect(0, 0, 10, size.height()), ground.darker(135));

    switch (number % 3) {
    case 0: // a double frame around the title
        p.setPen(QPen(QColor::fromRgb(colours.ink), 3));
        p.drawRect(QRect(26, 26, size.width() - 42, size.height() - 52));
        p.setPen(QPen(QColor::fromRgb(colours.ink), 1));
        p.drawRect(QRect(34, 34, size.width() - 58, size.height() - 68));
        drawText(p, QRect(52, 60, 236, 60), author.toUpper(), sans, false, 18, colours.ink);
        drawText(p, QRect(52, 150, 236, 190), title, serif, true, 40, colours.ink);
        drawText(p, QRect(52, 400, 236, 30), publisher, sans, false, 14, colours.ink);
        break;
    case 1: { // a light band carrying the author, the title below it
        const QRect band(10, 70, size.width() - 10, 70);
        p.fillRect(band, QColor::fromRgb(colours.ink));
        drawText(p, band.adjusted(20, 0, -20, 0), author, serif, false, 24, colours.ground);
        drawText(p, QRect(36, 170, 258, 200), title, serif, true, 40, colours.ink);
        p.fillRect(QRect(120, 390, 90, 3), QColor::fromRgb(colours.ink));
        drawText(p, QRect(36, 408, 258, 30), publisher.toUpper(), sans, false, 13, colours.ink);
        break;
    }
    default: { // a large ornament behind the title
        QColor ornament = QColor::fromRgb(colours.ink);
        ornament.setAlpha(70);
        p.setPen(Qt::NoPen);
        p.setBrush(ornament);
        p.drawEllipse(QPoint(size.width() / 2 + 5, 335), 100, 100);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor::fromRgb(colours.ink), 2));
        p.drawEllipse(QPoint(size.width() / 2 + 5, 335), 84, 84);
        drawText(p, QRect(36, 40, 258, 150), title, serif, true, 38, colours.ink);
        drawText(p, QRect(36, 196, 258, 36), author, sans, true, 18, colours.ink);
        drawText(p, QRect(36, 430, 258, 26), publisher, sans, false, 13, colours.ink);
        break;
    }
    }
    return image;
}

// ---- attachments -----------------------------------------------------------

const char kExtractName[] = "Estratto_capitolo_primo.pdf";
const char kCatalogueName[] = "Novità in vetrina";
const char kTitlePageName[] = "Frontespizio_edizione_1840.jpg";

bool writeExtract(const QString &path)
{
    QPdfWriter pdf(path);
    pdf.setTitle(QStringLiteral("I promessi sposi - Capitolo primo"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                  QPageLayout::Millimeter));
    QTextDocument text;
    text.setDefaultFont(QFont(QStringLiteral("DejaVu Serif"), 11));
    text.setHtml(QStringLiteral(
        "<h2 align=\"center\">I promessi sposi</h2><h3 align=\"center\">Capitolo primo</h3>"
        "<p align=\"justify\">Quel ramo del lago di Como, che volge a mezzogiorno, tra due catene non interrotte di "
        "monti, tutto a seni e a golfi, a seconda dello sporgere e del rientrare di quelli, vien, quasi a un tratto, "
        "a ristringersi, e a prender corso e figura di fiume, tra un promontorio a destra, e un'ampia costiera "
        "dall'altra parte; e il ponte, che ivi congiunge le due rive, par che renda ancor più sensibile all'occhio "
        "questa trasformazione, e segni il punto in cui il lago cessa, e l'Adda rincomincia, per ripigliar poi nome "
        "di lago dove le rive, allontanandosi di nuovo, lascian l'acqua distendersi e rallentarsi in nuovi golfi e "
        "in nuovi seni.</p>"));
    text.print(&pdf);
    return QFileInfo(path).size() > 0;
}

QImage drawTitlePage()
{
    QImage image(600, 860, QImage::Format_RGB32);
    image.fill(QColor(0xF1, 0xE6, 0xC8));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(QColor(0x5A, 0x46, 0x2E), 2));
    p.drawRect(QRect(40, 40, 520, 780));
    const QString serif = QStringLiteral("DejaVu Serif");
    const QRgb ink = 0xFF3B2E1E;
    drawText(p, QRect(70, 110, 460, 90), QStringLiteral("I PROMESSI SPOSI"), serif, true, 44, ink);
    drawText(p, QRect(70, 210, 460, 80), QStringLiteral("STORIA MILANESE DEL SECOLO XVII"), serif, false, 22, ink);
    drawText(p, QRect(70, 300, 460, 60), QStringLiteral("scoperta e rifatta da"), serif, false, 20, ink);
    drawText(p, QRect(70, 360, 460, 70), QStringLiteral("ALESSANDRO MANZONI"), serif, true, 30, ink);
    p.drawLine(220, 480, 380, 480);
    drawText(p, QRect(70, 660, 460, 50), QStringLiteral("MILANO"), serif, false, 24, ink);
    drawText(p, QRect(70, 720, 460, 50), QStringLiteral("MDCCCXL"), serif, false, 24, ink);
    return image;
}

// ---- the folder ------------------------------------------------------------

TSchedaLibro makeCard(const Book &book, int number, int titleNumber)
{
    const Publisher &publisher = kPublishers[book.editore];
    const QString dewey = QString::fromUtf8(book.dewey);
    const bool literature = dewey.startsWith(QLatin1Char('8'));
    TSchedaLibro card;
    auto set = [&card](TSchedaLibro::Field field, const char *text) { card.setText(field, QString::fromUtf8(text)); };
    set(TSchedaLibro::Titolo, book.titolo);
    set(TSchedaLibro::Autore, book.autore);
    set(TSchedaLibro::Nazione, book.nazione);
    set(TSchedaLibro::Anno, book.anno);
    set(TSchedaLibro::Editore, publisher.name);
    set(TSchedaLibro::Citta, publisher.city);
    card.setText(TSchedaLibro::Dewey, dewey);
    set(TSchedaLibro::Genere, book.genere);
    card.setText(TSchedaLibro::ISBN, isbn(publisher, titleNumber));
    set(TSchedaLibro::Lingua, book.lingua);
    set(TSchedaLibro::Originale, book.originale);
    set(TSchedaLibro::Traduttore, book.traduttore);
    set(TSchedaLibro::Collana, book.collana);
    set(TSchedaLibro::Curatore, book.curatore);
    card.setText(TSchedaLibro::Posizione,
                 QStringLiteral("Scaffale %1, ripiano %2").arg(dewey.left(1)).arg(number % 5 + 1));
    card.setText(TSchedaLibro::Etichetta, QStringLiteral("%1-%2")
                                              .arg(literature ? QStringLiteral("LET") : QStringLiteral("SAG"))
                                              .arg(number, 4, 10, QLatin1Char('0')));
    set(TSchedaLibro::Formato, book.formato);
    set(TSchedaLibro::Volumi, book.volumi);
    set(TSchedaLibro::Pagine, book.pagine);
    set(TSchedaLibro::Prezzo, book.prezzo);
    set(TSchedaLibro::Giudizio, book.giudizio);
    set(TSchedaLibro::Note, book.note);
    return card;
}

bool fail(const QString &message)
{
    std::fprintf(stderr, "rilegora-demo: %s\n", qPrintable(message));
    return false;
}

bool writeCards()
{
    BookArchive archive;
    if (!archive.open())
        return fail(QStringLiteral("cannot open %1").arg(BookArchive::path()));
    if (archive.count() > 0) {
        archive.close();
        return fail(QStringLiteral("%1 already holds cards: the demo goes only into a folder without any")
                        .arg(QDir::toNativeSeparators(BookArchive::path())));
    }
    int titleNumbers[std::size(kPublishers)] = {};
    for (const Book &book : kBooks) {
        const int number = archive.count() + 1;
        TSchedaLibro card = makeCard(book, number, 17 + 23 * ++titleNumbers[book.editore] + number);
        if (number == 1) {
            card.setText(TSchedaLibro::File01, QString::fromUtf8(kExtractName));
            card.setText(TSchedaLibro::Desc01, QStringLiteral("Estratto del primo capitolo (PDF)"));
            card.setText(TSchedaLibro::File02, QString::fromUtf8(kTitlePageName));
            card.setText(TSchedaLibro::Desc02, QStringLiteral("Fotografia del frontespizio dell'edizione 1840"));
        }
        if (archive.append(card) != number)
            return fail(QStringLiteral("cannot write card %1").arg(number));
    }
    return archive.close() || fail(QStringLiteral("cannot close %1").arg(BookArchive::path()));
}

bool writeCovers()
{
    if (!Covers::makeFolder())
        return fail(QStringLiteral("cannot create %1").arg(Covers::folder()));
    int number = 0;
    for (const Book &book : kBooks) {
        ++number;
        if (hasCover(number) && !Covers::writeJpeg(Covers::path(QString::number(number)), drawCover(book, number)))
            return fail(QStringLiteral("cannot write the cover of card %1").arg(number));
    }
    return true;
}

bool writeAttachments()
{
    const QString folder = TfrmAllegaCartella::folder();
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot create %1").arg(folder));
    if (!writeExtract(folder + QString::fromUtf8(kExtractName)))
        return fail(QStringLiteral("cannot write %1").arg(QString::fromUtf8(kExtractName)));
    if (!Covers::writeJpeg(folder + QString::fromUtf8(kTitlePageName), drawTitlePage()))
        return fail(QStringLiteral("cannot write %1").arg(QString::fromUtf8(kTitlePageName)));
    return true;
}

bool writePasswordStore()
{
    QString error;
    return PasswordStore::createInitialFile(PasswordStore::filePath(), QStringLiteral(RILEGORA_INITIAL_PASSWORD),
                                            &error) != PasswordStore::Creation::Failed ||
           fail(error);
}

/// The catalogue "Novità in vetrina": three pages of eight boxes filled from
/// cards that have a cover, each box with its cover as the box photo, the
/// texts joined as the import from the card index joins them, written
/// through the catalogue page code.
bool writeDemoCatalogue()
{
    const QString name = QString::fromUtf8(kCatalogueName);
    if (!CatalogueFolder::makePhotoFolder())
        return fail(QStringLiteral("cannot create %1").arg(CatalogueFolder::photoFolder()));
    BookArchive archive;
    CatalogueFile catalogue(CatalogueFolder::path(name));
    if (!archive.openForReading() || !catalogue.open())
        return fail(QStringLiteral("cannot open %1").arg(CatalogueFolder::path(name)));
    int number = 0;
    for (int page = 1; page <= 3; ++page) {
        TPaginaCatalogo record;
        for (int box = 0; box < TPaginaCatalogo::BoxCount; ++box) {
            do
                ++number;
            while (!hasCover(number));
            TSchedaLibro card;
            if (!archive.read(number, card))
                return fail(QStringLiteral("cannot read card %1").arg(number));
            const auto text = [&card](int field) { return card.text(field); };
            record.setText(box, TRiquadro::Codice, QStringLiteral("ISBN: ") + text(TSchedaLibro::ISBN));
            record.setText(box, TRiquadro::Nome, text(TSchedaLibro::Titolo));
            record.setText(box, TRiquadro::UM,
                           text(TSchedaLibro::Autore) + QStringLiteral("  -  ") + text(TSchedaLibro::Editore) +
                               QStringLiteral(" (") + text(TSchedaLibro::Anno) + QLatin1Char(')'));
            record.setText(box, TRiquadro::Caratteristiche, text(TSchedaLibro::Note));
            record.setText(box, TRiquadro::Prezzo, QStringLiteral("€ ") + text(TSchedaLibro::Prezzo));
            const QImage photo =
                drawCover(kBooks[number - 1], number)
                    .scaled(CatalogueFolder::PhotoSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            if (!Covers::writeJpeg(CatalogueFolder::photoPath(name, box, QString::number(page)), photo))
                return fail(QStringLiteral("cannot write the photo of box %1 on page %2")
                                .arg(CatalogueFolder::boxLetter(box))
                                .arg(page));
        }
        if (catalogue.append(record) != page)
            return fail(QStringLiteral("cannot write page %1 of %2").arg(page).arg(name));
    }
    archive.close();
    return catalogue.close() || fail(QStringLiteral("cannot close %1").arg(CatalogueFolder::path(name)));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rilegora-demo <program folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        fail(QStringLiteral("cannot create %1").arg(folder));
        return 1;
    }
    ProgramFolder::setPath(QFileInfo(folder).absoluteFilePath());
    if (!writeCards() || !writeCovers() || !writeAttachments() || !writePasswordStore() || !writeDemoCatalogue())
        return 1;
    std::printf("%d cards with their covers, two attachments and a catalogue of three pages in %s\n",
                int(std::size(kBooks)), qPrintable(QDir::toNativeSeparators(ProgramFolder::path())));
    return 0;
}
