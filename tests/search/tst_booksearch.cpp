#include "common/cardfixtures.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "search/booksearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <algorithm>

using namespace BookSearch;

namespace {

/// Stores raw bytes as a field's value, with no trimming, as a file written
/// elsewhere may hold them.
void setRaw(TSchedaLibro &c, int field, const QByteArray &bytes, int lengthByte = -1)
{
    char *p = c.data() + TSchedaLibro::offset(field);
    p[0] = char(lengthByte < 0 ? bytes.size() : lengthByte);
    memcpy(p + 1, bytes.constData(), size_t(bytes.size()));
}

QStringList filtersWith(int index, const QString &text)
{
    QStringList texts;
    for (int i = 0; i < FilterCount; ++i)
        texts << QString();
    texts[index] = text;
    return texts;
}

QString row(const TSchedaLibro &c)
{
    return rowText(c.data());
}
} // namespace

class TestBookSearch : public QObject
{
    Q_OBJECT
private slots:
    void filterMatching_data();
    void filterMatching();
    void filterCountsOnlyGivenBoxes();
    void everyGivenFilterMustMatch();
    void damagedLengthIsClamped();
    void rowFormat_data();
    void rowFormat();
    void sortOrder();
    void sortOrderOfTrickyRows();
    void sortOrderAtScale();
    void longListsSortAlike_data();
    void longListsSortAlike();
    void searchStreamsTheFile();
    void missingArchiveIsCreatedEmpty();
    void unreadableArchiveIsReportedNotReplaced();
    void findCardLastEqualWins();
};

// Filter index 1 is Autore; the field is stored as typed (untrimmed) by setRaw.
void TestBookSearch::filterMatching_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QByteArray>("stored"); // Windows-1252 bytes of Autore
    QTest::addColumn<bool>("listed");

    QTest::newRow("lower finds mixed case") << "ross" << QByteArray("Mario Rossi") << true;
    QTest::newRow("upper finds lower") << "MARIO" << QByteArray("mario rossi") << true;
    QTest::newRow("accents keep their case") << QString::fromUtf8("è") << QByteArray("\xC8 lui") << false;
    QTest::newRow("same accent") << QString::fromUtf8("È") << QByteArray("\xC8 lui") << true;
    QTest::newRow("leading blank is matched") << " ross" << QByteArray("Rossi Mario") << false;
    QTest::newRow("leading blank inside") << " ross" << QByteArray("Mario Rossi") << true;
    QTest::newRow("trailing blank is matched") << "rossi " << QByteArray("Mario Rossi") << false;
    QTest::newRow("blanks only restrict nothing") << "   " << QByteArray("Mario Rossi") << true;
    QTest::newRow("empty restricts nothing") << "" << QByteArray("") << true;
    QTest::newRow("not present") << "verdi" << QByteArray("Mario Rossi") << false;
    QTest::newRow("empty field") << "a" << QByteArray("") << false;
    QTest::newRow("longer than field") << "mario rossi e altri" << QByteArray("Mario Rossi") << false;
    QTest::newRow("euro sign") << QString::fromUtf8("€") << QByteArray("costa 5 \x80") << true;
    // A character the code page cannot hold never occurs in a stored field,
    // not even where its stand-in '?' does.
    QTest::newRow("unencodable") << QString::fromUtf8("Ω") << QByteArray("chi? Ω") << false;
    QTest::newRow("unencodable with text") << QString::fromUtf8("chi Ω") << QByteArray("chi ?") << false;
    QTest::newRow("outside plane") << QString::fromUtf8("\U0001F600") << QByteArray("??") << false;
}

void TestBookSearch::filterMatching()
{
    QFETCH(QString, filter);
    QFETCH(QByteArray, stored);
    QFETCH(bool, listed);
    TSchedaLibro c;
    setRaw(c, TSchedaLibro::Autore, stored);
    const Filters filters(filtersWith(1, filter));
    QCOMPARE(filters.matches(c.data()), listed);
}

void TestBookSearch::filterCountsOnlyGivenBoxes()
{
    QCOMPARE(Filters(filtersWith(0, QString())).count(), 0);
    QCOMPARE(Filters(filtersWith(0, QStringLiteral(" \t "))).count(), 0);
    QStringList texts = filtersWith(0, QStringLiteral("a"));
    texts[9] = QStringLiteral(" b");
    texts[4] = QStringLiteral("  ");
    QCOMPARE(Filters(texts).count(), 2);
}

void TestBookSearch::everyGivenFilterMustMatch()
{
    // Filter boxes in order: Titolo, Autore, Genere, Anno, Editore, Dewey,
    // ISBN, Etichetta, Curatore, Note.
    const int fields[FilterCount] = {TSchedaLibro::Titolo, TSchedaLibro::Autore,    TSchedaLibro::Genere,
                                     TSchedaLibro::Anno,   TSchedaLibro::Editore,   TSchedaLibro::Dewey,
                                     TSchedaLibro::ISBN,   TSchedaLibro::Etichetta, TSchedaLibro::Curatore,
                                     TSchedaLibro::Note};
    TSchedaLibro c;
    QStringList all;
    for (int i = 0; i < FilterCount; ++i) {
        QCOMPARE(filterFields()[size_t(i)], fields[i]);
        c.setText(fields[i], QStringLiteral("valore %1 qui").arg(i));
        all << QStringLiteral("ore %1").arg(i);
    }
    QVERIFY(Filters(all).matches(c.data()));
    for (int i = 0; i < FilterCount; ++i) {
        QStringList one = all;
        one[i] = QStringLiteral("ore %1").arg((i + 1) % FilterCount); // the neighbour's value
        QVERIFY2(!Filters(one).matches(c.data()), qPrintable(QString::number(i)));
    }
}

void TestBookSearch::damagedLengthIsClamped()
{
    // Anno holds 20 bytes; a length byte of 200 must not reach Editore.
    TSchedaLibro c;
    setRaw(c, TSchedaLibro::Anno, QByteArray("1999"), 200);
    c.setText(TSchedaLibro::Editore, QStringLiteral("Einaudi"));
    QVERIFY(!Filters(filtersWith(3, QStringLiteral("einaudi"))).matches(c.data()));
    QVERIFY(Filters(filtersWith(3, QStringLiteral("1999"))).matches(c.data()));
    int size = 0;
    fieldBytes(c.data(), TSchedaLibro::Anno, &size);
    QCOMPARE(size, 20);
    // The row shows only Anno's own 20 bytes too.
    QVERIFY(!row(c).contains(QStringLiteral("Einaudi  Anno")));
    QCOMPARE(row(c).size(), 144 + 4);
}

void TestBookSearch::rowFormat_data()
{
    QTest::addColumn<QString>("titolo");
    QTest::addColumn<QString>("autore");
    QTest::addColumn<QString>("editore");
    QTest::addColumn<QString>("anno");
    QTest::addColumn<QString>("expected");

    const QString t60 = QString(60, QLatin1Char('t')); // cut to 55
    const QString a35 = QString(35, QLatin1Char('a')); // cut to 30
    QTest::newRow("padded") << "Il nome della rosa"
                            << "Umberto Eco"
                            << "Bompiani"
                            << "1980"
                            << QStringLiteral("Il nome della rosa                                     "
                                              "  Autore: Umberto Eco                   "
                                              "  Editore: Bompiani                      "
                                              "  Anno: 1980");
    QTest::newRow("cut") << t60 << a35 << a35 << "MCMLXXX"
                         << QString(55, QLatin1Char('t')) + QStringLiteral("  Autore: ") +
                                QString(30, QLatin1Char('a')) + QStringLiteral("  Editore: ") +
                                QString(30, QLatin1Char('a')) + QStringLiteral("  Anno: MCMLXXX");
    QTest::newRow("empty year") << "X"
                                << ""
                                << ""
                                << ""
                                << QStringLiteral("X") + QString(54, QLatin1Char(' ')) + QStringLiteral("  Autore: ") +
                                       QString(30, QLatin1Char(' ')) + QStringLiteral("  Editore: ") +
                                       QString(30, QLatin1Char(' ')) + QStringLiteral("  Anno: ");
    QTest::newRow("accented") << QString::fromUtf8("Perché è così") << QString::fromUtf8("Ørsted €") << ""
                              << "2001"
                              << QString::fromUtf8("Perché è così") + QString(42, QLatin1Char(' ')) +
                                     QStringLiteral("  Autore: ") + QString::fromUtf8("Ørsted €") +
                                     QString(22, QLatin1Char(' ')) + QStringLiteral("  Editore: ") +
                                     QString(30, QLatin1Char(' ')) + QStringLiteral("  Anno: 2001");
}

void TestBookSearch::rowFormat()
{
    QFETCH(QString, titolo);
    QFETCH(QString, autore);
    QFETCH(QString, editore);
    QFETCH(QString, anno);
    QFETCH(QString, expected);
    const QString built = row(card(titolo, autore, editore, anno));
    QCOMPARE(built, expected);
    QCOMPARE(built.size(), 144 + anno.size());

    // Stored blanks around a value are trimmed before cutting and padding.
    TSchedaLibro raw = card(titolo, autore, editore, anno);
    setRaw(raw, TSchedaLibro::Titolo, "  " + titolo.toLatin1().left(100) + "  ");
    setRaw(raw, TSchedaLibro::Anno, " " + anno.toLatin1() + "\t");
    if (titolo.toLatin1() == titolo.toUtf8())
        QCOMPARE(row(raw), expected);
}

void TestBookSearch::sortOrder()
{
    // A-Z without regard to case; every other character by its code, so
    // accented letters come after z and the euro sign (U+20AC) after them,
    // even though its Windows-1252 byte 0x80 is lower than theirs.
    const QStringList titles = {QStringLiteral("beta"),    QStringLiteral("Alfa"),    QStringLiteral("alfa"),
                                QStringLiteral("ALFA"),    QString::fromUtf8("àlfa"), QStringLiteral("zeta"),
                                QString::fromUtf8("€uro"), QStringLiteral("Zeta"),    QStringLiteral("123"),
                                QStringLiteral("_x"),      QStringLiteral("alfa")};
    RowList rows;
    for (const QString &t : titles) {
        const TSchedaLibro c = card(t, QStringLiteral("Autore"));
        char buffer[RowCapacity];
        rows.append(buffer, buildRow(c.data(), buffer));
    }
    rows.sort();
    QStringList sorted;
    for (int i = 0; i < rows.size(); ++i)
        sorted << rows.text(i).left(55).trimmed();
    // Equal rows stay separate items, in the order they came.
    const QStringList expected = {QStringLiteral("123"),     QStringLiteral("_x"),     QStringLiteral("Alfa"),
                                  QStringLiteral("alfa"),    QStringLiteral("ALFA"),   QStringLiteral("alfa"),
                                  QStringLiteral("beta"),    QStringLiteral("zeta"),   QStringLiteral("Zeta"),
                                  QString::fromUtf8("àlfa"), QString::fromUtf8("€uro")};
    QCOMPARE(sorted, expected);

    // Title first, then author, then publisher, then year.
    RowList byAuthor;
    for (const QString &a : {QStringLiteral("Verdi"), QStringLiteral("bianchi"), QStringLiteral("Rossi")}) {
        const TSchedaLibro c =
            card(QStringLiteral("Stesso titolo per tutte le schede"), a, QStringLiteral("Ed"), QStringLiteral("1"));
        char buffer[RowCapacity];
        byAuthor.append(buffer, buildRow(c.data(), buffer));
    }
    byAuthor.sort();
    QCOMPARE(byAuthor.text(0).mid(65, 7), QStringLiteral("bianchi"));
    QCOMPARE(byAuthor.text(1).mid(65, 5), QStringLiteral("Rossi"));
    QCOMPARE(byAuthor.text(2).mid(65, 5), QStringLiteral("Verdi"));
    QVERIFY(compareRows("ab", 2, "ab ", 3) < 0);
    QVERIFY(compareRows("AB", 2, "ab", 2) == 0);
    QVERIFY(compareRows("a[", 2, "aZ", 2) < 0); // '[' (0x5B) before 'z' (0x7A)
}

namespace {
RowList rowsOf(const QList<QByteArray> &texts)
{
    RowList rows;
    for (const QByteArray &t : texts)
        rows.append(t.constData(), int(t.size()));
    return rows;
}

QList<QByteArray> bytesOf(const RowList &rows)
{
    QList<QByteArray> out;
    for (int i = 0; i < rows.size(); ++i)
        out << QByteArray(rows.data(i), rows.length(i));
    return out;
}

/// The order by definition: compareRows, one pair at a time, equal rows in
/// the order they came.
QList<QByteArray> referenceOrder(QList<QByteArray> texts)
{
    std::stable_sort(texts.begin(), texts.end(), [](const QByteArray &a, const QByteArray &b) {
        return compareRows(a.constData(), int(a.size()), b.constData(), int(b.size())) < 0;
    });
    return texts;
}

QByteArray padded(const QByteArray &text, int width)
{
    return text.leftJustified(width, ' ', true);
}
} // namespace

namespace {
/// Stored Windows-1252 bytes, in the order the list shows them. Equal
/// prefixes reach past 16, 24 and 55 characters; rows differ only in case,
/// in the year or in their length; titles are empty.
QList<QByteArray> trickyRows()
{
    const QByteArray title40 = "Storia della letteratura italiana vol. I";
    return {
        "",                                      // an empty row first
        "\x01" "control",                         // codes below the blank, by their code
        " ",                                     // a blank row after it
        padded("", 55) + "  Autore: Rossi",      // an empty title: the row starts with 55 blanks
        padded("", 55) + "  Autore: rossi2",     // a longer row after its own prefix, whatever the case
        "  Autore: x",
        "123",
        "a[",                                    // '[' (0x5B) before 'b' and 'z'
        "ab",
        "AB ",
        "ab!",
        "abc",
        "aZ",                                    // A-Z and a-z are one letter
        title40 + " - Dal Duecento al Cinquecento  Anno: 1990",
        title40 + " - Dal Duecento al Cinquecento  Anno: 19900",
        title40 + " - Dal Duecento al Cinquecento  Anno: 1991",
        title40 + " - dal duecento al cinquecento  Anno: 1992",
        title40 + " - Dal Settecento",
        padded(title40 + " II", 55) + "  Autore: Bianchi\x7f",
        padded(title40 + " II", 55) + "  Autore: Bianchi\x80", // the euro sign sorts by its code U+20AC
        "zeta",
        "Zeta2",
        "zeta\x81",                              // bytes the code page leaves unassigned
        "zeta\x8d",
        "\xa0" "alfa",                           // no-break space and accented letters: by code, after z
        "\xc0lfa",                               // À
        "\xc8",                                  // È before à and è: only A-Z ignore case
        "\xe0lfa",                               // à
        "\xe8",                                  // è
        "\xff",                                  // ÿ, code 0xFF
        "\x8cuvre",                              // Œ, U+0152
        "\x80uro",                               // €, U+20AC
        "\x99",                                  // ™, U+2122
    };
}

/// The tricky rows in a fixed shuffle that visits every row once.
QList<QByteArray> shuffledTrickyRows()
{
    const QList<QByteArray> rows = trickyRows();
    QList<QByteArray> shuffled;
    for (int i = 0; i < rows.size(); ++i)
        shuffled << rows.at((i * 7 + 5) % rows.size());
    return shuffled;
}
} // namespace

void TestBookSearch::sortOrderOfTrickyRows()
{
    const QList<QByteArray> expected = trickyRows();
    // Shuffled by a fixed walk that visits every row once, then sorted.
    const QList<QByteArray> shuffled = shuffledTrickyRows();
    QCOMPARE(QSet<QByteArray>(shuffled.begin(), shuffled.end()).size(), expected.size());
    RowList rows = rowsOf(shuffled);
    rows.sort();
    QCOMPARE(bytesOf(rows), expected);
    QCOMPARE(referenceOrder(shuffled), expected);

    // Rows equal but for the case of A-Z keep the order they came in.
    const QList<QByteArray> equal = {"ABC", "abc", "Abc", "ABC", "aBc"};
    RowList same = rowsOf(QList<QByteArray>{"abd"} + equal + QList<QByteArray>{"abb"});
    same.sort();
    QCOMPARE(bytesOf(same), QList<QByteArray>{"abb"} + equal + QList<QByteArray>{"abd"});

    // A long list is sorted in runs as its rows come and the runs merged:
    // the same rows over and over, the equal ones falling in every run.
    QList<QByteArray> many;
    while (many.size() < 4 * RowList::RunRows + 100)
        many += shuffled + equal;
    RowList merged = rowsOf(many);
    merged.sort();
    QVERIFY(bytesOf(merged) == referenceOrder(many));
    // Rows that come after a sort are sorted in with the rest.
    merged.append("abc!", 4);
    merged.append("\xe0", 1);
    merged.sort();
    QVERIFY(bytesOf(merged) == referenceOrder(many + QList<QByteArray>{"abc!", "\xe0"}));
}

void TestBookSearch::sortOrderAtScale()
{
    // Many rows of real shape that share long prefixes, differ late (in the
    // author, the publisher, the year, by case or accent only) or are equal:
    // the sort gives the order that comparing pair by pair gives.
    const QList<QByteArray> titles = {"", "Il nome della rosa", "il nome della rosa", "Il nome della ros\xe0",
                                      "Storia della letteratura italiana vol. I",
                                      "Storia della letteratura italiana vol. II",
                                      padded("Una lunghissima storia di famiglia ", 70) + "fine"};
    const QList<QByteArray> authors = {"", "Rossi", "rossi", "ROSSI", "Ross\xec", "Bianchi"};
    const QList<QByteArray> publishers = {"Einaudi", "einaudi", "Adelphi", ""};
    const QList<QByteArray> years = {"", "1990", "19900", "1991", "199"};
    QList<QByteArray> texts;
    quint32 seed = 12345u;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % quint32(n));
    };
    for (int i = 0; i < 60000; ++i) { // enough for the sort to share the work between threads
        TSchedaLibro c;
        setRaw(c, TSchedaLibro::Titolo, titles.at(next(int(titles.size()))).left(120));
        setRaw(c, TSchedaLibro::Autore, authors.at(next(int(authors.size()))));
        setRaw(c, TSchedaLibro::Editore, publishers.at(next(int(publishers.size()))));
        setRaw(c, TSchedaLibro::Anno, years.at(next(int(years.size()))));
        char buffer[RowCapacity];
        texts << QByteArray(buffer, buildRow(c.data(), buffer));
    }
    RowList rows = rowsOf(texts);
    rows.sort();
    const QList<QByteArray> sorted = bytesOf(rows);
    const QList<QByteArray> want = referenceOrder(texts);
    QCOMPARE(sorted.size(), want.size());
    for (int i = 0; i < sorted.size(); ++i) {
        if (sorted.at(i) != want.at(i))
            QFAIL(qPrintable(QStringLiteral("row %1 differs").arg(i)));
    }
}

namespace {
enum class Filling { AtOnce, CopiedHalfway, MovedHalfway, MoreAfterSort };
}
Q_DECLARE_METATYPE(Filling)

void TestBookSearch::longListsSortAlike_data()
{
    QTest::addColumn<bool>("merger");
    QTest::addColumn<Filling>("filling");
    for (bool merger : {true, false}) {
        const char *how = merger ? "merger thread" : "one core";
        QTest::addRow("%s, sorted once filled", how) << merger << Filling::AtOnce;
        QTest::addRow("%s, copied halfway", how) << merger << Filling::CopiedHalfway;
        QTest::addRow("%s, moved halfway", how) << merger << Filling::MovedHalfway;
        QTest::addRow("%s, a run more after a sort", how) << merger << Filling::MoreAfterSort;
    }
}

void TestBookSearch::longListsSortAlike()
{
    // Six whole runs and some: the tricky rows over and over, so that equal
    // rows fall in every run. However the list is filled, handed on or
    // added to after a sort, and whether its runs are merged while it fills
    // or all at the end, it sorts as comparing pair by pair does.
    QFETCH(bool, merger);
    QFETCH(Filling, filling);
    RowList::setMergerForTesting(merger);
    const auto restore = qScopeGuard([] { RowList::setMergerForTesting(true); });
    const QList<QByteArray> tricky = shuffledTrickyRows();
    QList<QByteArray> many;
    for (int i = 0; many.size() < 6 * RowList::RunRows + 123; ++i)
        many += tricky.at(i % tricky.size()) + (i % 5 == 0 ? QByteArray::number(i % 977) : QByteArray());
    const int half = 4 * RowList::RunRows + 17; // the merger is at work by then
    const QList<QByteArray> first = many.mid(0, half), rest = many.mid(half);
    const QList<QByteArray> want = referenceOrder(many);

    RowList rows = rowsOf(first);
    const auto addRest = [&](RowList &list) {
        for (const QByteArray &t : rest)
            list.append(t.constData(), int(t.size()));
    };
    switch (filling) {
    case Filling::AtOnce:
        addRest(rows);
        break;
    case Filling::CopiedHalfway: {
        RowList copy = rows;
        addRest(copy);
        copy.sort();
        QVERIFY(bytesOf(copy) == want);
        addRest(rows);
        break;
    }
    case Filling::MovedHalfway: {
        RowList moved = std::move(rows);
        QVERIFY(rows.isEmpty());
        addRest(moved);
        rows = std::move(moved);
        break;
    }
    case Filling::MoreAfterSort: {
        rows.sort();
        QVERIFY(bytesOf(rows) == referenceOrder(first));
        addRest(rows); // two whole runs more come after the sort
        break;
    }
    }
    rows.sort();
    QVERIFY(bytesOf(rows) == want);
}

namespace {
QString writeArchive(const QTemporaryDir &dir, const QList<TSchedaLibro> &cards)
{
    const QString path = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
    BookArchive archive(path);
    if (!archive.open())
        return QString();
    for (const TSchedaLibro &c : cards)
        archive.append(c);
    archive.close();
    return path;
}
} // namespace

void TestBookSearch::searchStreamsTheFile()
{
    // More cards than one read block holds, so the blocks join up.
    QTemporaryDir dir;
    QList<TSchedaLibro> cards;
    for (int i = 0; i < 700; ++i)
        cards << card(QStringLiteral("Titolo %1").arg(i, 4, 10, QLatin1Char('0')),
                      i % 7 == 0 ? QStringLiteral("Mario Rossi") : QStringLiteral("Anna Bianchi"));
    const QString path = writeArchive(dir, cards);
    QVERIFY(!path.isEmpty());

    RowList all;
    QCOMPARE(search(path, Filters(filtersWith(0, QString())), all), Outcome::Done);
    QCOMPARE(all.size(), 700);

    RowList some;
    QCOMPARE(search(path, Filters(filtersWith(1, QStringLiteral("ROSS"))), some), Outcome::Done);
    QCOMPARE(some.size(), 100);
    QCOMPARE(some.text(99), row(cards.at(693)));
}

void TestBookSearch::missingArchiveIsCreatedEmpty()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
    RowList rows;
    QCOMPARE(search(path, Filters(filtersWith(0, QString())), rows), Outcome::Done);
    QCOMPARE(rows.size(), 0);
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestBookSearch::unreadableArchiveIsReportedNotReplaced()
{
    // A folder where the file should be cannot be opened as the archive.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Archivio_Libri.pro"));
    QVERIFY(QDir().mkdir(path));
    RowList rows;
    QCOMPARE(search(path, Filters(filtersWith(0, QString())), rows), Outcome::AccessFailure);
    int number = -1;
    TSchedaLibro c;
    QVERIFY(!findCard(path, QByteArray("x"), number, c.data()));
    QCOMPARE(number, 0);
    QVERIFY(QFileInfo(path).isDir());
}

void TestBookSearch::findCardLastEqualWins()
{
    // Cards 2 and 4 agree in the first 55 characters of the title, the first
    // 30 of author and publisher and in the year: one row text for both.
    const QString longTitle = QString(55, QLatin1Char('T'));
    TSchedaLibro first =
        card(longTitle + QStringLiteral(" primo"), QStringLiteral("Autore"), QString(), QStringLiteral("2000"));
    first.setText(TSchedaLibro::Note, QStringLiteral("la prima"));
    TSchedaLibro second =
        card(longTitle + QStringLiteral(" secondo"), QStringLiteral("Autore"), QString(), QStringLiteral("2000"));
    second.setText(TSchedaLibro::Note, QStringLiteral("la seconda"));
    QTemporaryDir dir;
    const QString path = writeArchive(dir, {card(QStringLiteral("Altro")), first, card(QStringLiteral("Zeta")), second,
                                            card(QStringLiteral("Ultimo"))});
    QCOMPARE(row(first), row(second));

    int number = 0;
    TSchedaLibro found;
    // The row as listed, with its trailing blanks when the year is empty.
    QVERIFY(findCard(path, row(first).toLatin1(), number, found.data()));
    QCOMPARE(number, 4);
    QCOMPARE(found.text(TSchedaLibro::Note), QStringLiteral("la seconda"));

    // Trimmed on both sides: a card with an empty year still matches.
    QVERIFY(findCard(path, row(card(QStringLiteral("Zeta"))).toLatin1(), number, found.data()));
    QCOMPARE(number, 3);
    // The comparison is exact and case-sensitive.
    QVERIFY(findCard(path, row(card(QStringLiteral("zeta"))).toLatin1(), number, found.data()));
    QCOMPARE(number, 0);
}

QTEST_GUILESS_MAIN(TestBookSearch)
#include "tst_booksearch.moc"
