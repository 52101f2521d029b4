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

QTEST_GUILESS_MAIN(TestDeweyTable)
#include "tst_deweytable.moc"
