// The figures of the compiled Dewey caption table.
#include "search/deweytable.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

class TestDeweyTable : public QObject
{
    Q_OBJECT
private slots:
    void figures();
    void captionsAsTheSchedulesGiveThem();
};

void TestDeweyTable::figures()
{
    const QStringList &table = DeweyTable::entries();
    QVERIFY(table.size() >= 6);

    // "NNN CAPTION": upper case A-Z, digits, blank and ' ( ) , - . / only.
    static const QRegularExpression form(QStringLiteral("^[0-9]{3} [A-Z0-9 '(),\\-./]+$"));
    QSet<QString> seen;
    for (const QString &entry : table) {
        QVERIFY2(form.match(entry).hasMatch(), qPrintable(entry));
        QVERIFY2(entry.size() >= 7 && entry.size() <= 120, qPrintable(entry));
        QVERIFY2(!seen.contains(entry), qPrintable(QStringLiteral("repeated: ") + entry));
        seen.insert(entry);
    }

    // Ascending class order, so that each class's entries stand together.
    QMap<int, int> perClass;
    int previous = -1;
    for (const QString &entry : table) {
        const int number = entry.left(3).toInt();
        QVERIFY2(number >= previous, qPrintable(entry));
        previous = number;
        ++perClass[number];
    }
    QCOMPARE(table.mid(0, 3), QStringList({QStringLiteral("001 CONOSCENZA"), QStringLiteral("001 VITA INTELLETTUALE"),
                                           QStringLiteral("001 STUDIO E CULTURA")}));
    QCOMPARE(table.mid(table.size() - 3), QStringList({QStringLiteral("997 STORIA. ISOLE DELL'OCEANO ATLANTICO"),
                                                       QStringLiteral("998 STORIA. ISOLE ARTICHE E ANTARTIDE"),
                                                       QStringLiteral("999 STORIA DI MONDI EXTRATERRESTRI")}));

    // The counts.
    QCOMPARE(table.size(), 3721);
    QCOMPARE(perClass.size(), 899);
    QList<int> absent;
    for (int n = 0; n <= 999; ++n)
        if (!perClass.contains(n))
            absent << n;
    QCOMPARE(absent.size(), 101);
    for (int n : {0, 7, 8, 9})
        QVERIFY2(absent.contains(n), qPrintable(QString::number(n)));

    int singles = 0;
    int largest = 0;
    for (auto it = perClass.cbegin(); it != perClass.cend(); ++it) {
        if (it.value() == 1)
            ++singles;
        QVERIFY2(it.value() <= 166, qPrintable(QString::number(it.key())));
        largest = qMax(largest, it.value());
    }
    QCOMPARE(singles, 561);
    QCOMPARE(largest, 166);
}

void TestDeweyTable::captionsAsTheSchedulesGiveThem()
{
    const QStringList &table = DeweyTable::entries();
    const auto at = [&table](const char *entry) { return table.indexOf(QString::fromLatin1(entry)); };

    // Periods as the schedules bound them, in Italian, one style of heading.
    for (const char *entry :
         {"860 LETTERATURA SPAGNOLA. 1369-1516", "860 LETTERATURA SPAGNOLA. SECOLO D'ORO, 1516-1700",
          "861 POESIA SPAGNOLA. 1369-1516", "861 POESIA SPAGNOLA. SECOLO D'ORO, 1516-1700",
          "863 NARRATIVA SPAGNOLA. 1369-1516", "863 NARRATIVA SPAGNOLA. SECOLO D'ORO, 1516-1700",
          "954 STORIA. INDIA. IMPERO MOGHUL, 1526-1707", "971 STORIA. COLUMBIA BRITANNICA",
          "979 STORIA. GRAN BACINO E STATI DEL PACIFICO", "388 TRASPORTI. TRASPORTI TERRESTRI",
          "808 RETORICA E RACCOLTE DI TESTI LETTERARI DI PIU' DI DUE LETTERATURE",
          "809 STORIA, DESCRIZIONE, ANALISI CRITICA DI PIU' DI DUE LETTERATURE"})
        QVERIFY2(at(entry) >= 0, entry);
    for (const QString &entry : table) {
        QVERIFY2(!entry.contains(QLatin1String("DI PIU' LETTERATURE")), qPrintable(entry));
        QVERIFY2(!entry.contains(QLatin1String("BRITISH")) && !entry.contains(QLatin1String("GREAT BASIN")),
                 qPrintable(entry));
    }

    // A period never runs past its parent's range: the Moghul empire ends
    // before British rule begins.
    QVERIFY(at("954 STORIA. INDIA. 647-1785") < at("954 STORIA. INDIA. IMPERO MOGHUL, 1526-1707"));
    QVERIFY(at("954 STORIA. INDIA. IMPERO MOGHUL, 1526-1707") < at("954 STORIA. INDIA. DOMINIO BRITANNICO, 1785-1947"));

    // Each region: its historic state first, then its places; Valle d'Aosta
    // first among the places of Piemonte, as in the geography.
    const int piemonte = at("945 STORIA. ITALIA NORDOCCIDENTALE. PIEMONTE E VALLE D'AOSTA");
    QCOMPARE(at("945 STORIA. STATI SABAUDI. REGNO DI SARDEGNA"), piemonte + 1);
    QCOMPARE(at("945 STORIA. VALLE D'AOSTA"), piemonte + 2);
    QCOMPARE(at("945 STORIA. PROVINCIA DI TORINO"), piemonte + 3);
    const int veneto = at("945 STORIA. ITALIA NORDORIENTALE. VENETO");
    QCOMPARE(at("945 STORIA. REPUBBLICA DI VENEZIA"), veneto + 1);
    QCOMPARE(at("945 STORIA. PROVINCIA DI VENEZIA"), veneto + 2);
    const int geography = at("914 GEOGRAFIA. PIEMONTE E VALLE D'AOSTA");
    QCOMPARE(at("914 GEOGRAFIA. VALLE D'AOSTA"), geography + 1);
}

QTEST_GUILESS_MAIN(TestDeweyTable)
#include "tst_deweytable.moc"
