#include "core/cp1252.h"
#include "core/texttrim.h"

#include <QTest>

class TestCp1252 : public QObject
{
    Q_OBJECT
private slots:
    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("Rossi") << QByteArray("Rossi");
        QTest::newRow("accented") << QStringLiteral("è à ù É") << QByteArray("\xE8 \xE0 \xF9 \xC9");
        QTest::newRow("euro") << QStringLiteral("€ 12,50") << QByteArray("\x80 12,50");
        QTest::newRow("curly quotes") << QStringLiteral("“l’ora”") << QByteArray("\x93l\x92ora\x94");
        QTest::newRow("dashes") << QStringLiteral("1990–2000 — fine")
                                << QByteArray("1990\x96"
                                              "2000 \x97 fine");
        QTest::newRow("oe, ellipsis") << QStringLiteral("œuvre…") << QByteArray("\x9Cuvre\x85");
        QTest::newRow("not held") << QStringLiteral("Ωmega 漢") << QByteArray("?mega ?");
        QTest::newRow("astral one mark") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
    }
    void encode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Cp1252::fromUnicode(text), bytes);
    }

    void roundTripAllDefinedBytes()
    {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1252::fromUnicode(Cp1252::toUnicode(all)), all);
    }

    void cutAtMaxBytes()
    {
        QCOMPARE(Cp1252::fromUnicode(QStringLiteral("àbcdef"), 3), QByteArray("\xE0"
                                                                              "bc"));
    }

    void trimming_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("blanks") << QStringLiteral("  Rossi  ") << QStringLiteral("Rossi");
        QTest::newRow("controls") << QStringLiteral("\t\r\nRossi\x01\x1f") << QStringLiteral("Rossi");
        QTest::newRow("inner kept") << QStringLiteral(" Mario  Rossi ") << QStringLiteral("Mario  Rossi");
        QTest::newRow("all blank") << QStringLiteral(" \t ") << QString();
        QTest::newRow("nbsp kept") << QStringLiteral("\u00A0x\u00A0") << QStringLiteral("\u00A0x\u00A0");
    }
    void trimming()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(trimText(text), trimmed);
    }
};

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
