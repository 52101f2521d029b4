// The password scrambling: fixed vectors both ways, the reading rules of the
// stored digits and the round trip.
#include "access/crypt.h"

#include <QTest>

namespace {
// 255 characters spread over U+0020..U+00FF.
QString longText()
{
    QString text;
    for (int i = 0; i < 255; ++i)
        text += QChar(char16_t(0x20 + (i * 7) % 0xE0));
    return text;
}

const char *const longDigits =
    "3C4C18FBEDAE4DD5E9A3219BF5C00F3704B530915FA7C520184A99E5660BA2611840CD5DB5BD92CBCD4578B0AEF07A186A1E"
    "F0DB9B23109DC7C0EA10A8C7421F6DF0D542D587FD97BF0984F8F55D12C3B5CC3A4622E47EDC57D802F60202E8B9C66B055D"
    "4B56BB787C068D5350C3EFC837E7625E3F1C69A5F05D4B827BC5C230A87471044B06724E831F85156C87D3081A0753DE07D1"
    "C6C2E4422A0B2F2090A29F47465543E91E5898AF9B38FF1747842ADD6574257B55AB1C624E55A2E2466727BABB1CCE30608B"
    "FC9A92D726E5DD87CCACA929D98CCB37EEB52852FD8893FDAE150B771E048EF80D01EEC0D46C45571E4DAF38E488F8B761C8"
    "4AE108858C";
} // namespace

class TestCrypt : public QObject
{
    Q_OBJECT
private slots:
    void vectors_data();
    void vectors();
    void reading_data();
    void reading();
    void roundTrip();
    void canHold_data();
    void canHold();
};

void TestCrypt::vectors_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("digits");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one letter") << QStringLiteral("A") << QStringLiteral("5D");
    QTest::newRow("initial password") << QStringLiteral("RILEGORA") << QStringLiteral("4EA98ED2022186BA");
    QTest::newRow("Latin-1 letters") << QStringLiteral("ÀÉÎÕÜàéîõüÿ") << QStringLiteral("DC5C7ECE5619B8A158DD05");
    QTest::newRow("è and È differ") << QStringLiteral("è") << QStringLiteral("F4");
    QTest::newRow("È") << QStringLiteral("È") << QStringLiteral("D4");
    QTest::newRow("255 characters") << longText() << QString::fromLatin1(longDigits);
}

void TestCrypt::vectors()
{
    QFETCH(QString, plain);
    QFETCH(QString, digits);
    QCOMPARE(Crypt::CryptEncode(plain), digits);
    const std::optional<QString> back = Crypt::CryptDecode(digits);
    QVERIFY(back.has_value());
    QCOMPARE(*back, plain);
}

void TestCrypt::reading_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("plain");
    QTest::newRow("lower-case digits") << QStringLiteral("4ea98ed2022186ba") << true << QStringLiteral("RILEGORA");
    QTest::newRow("mixed case") << QStringLiteral("4eA98Ed2022186bA") << true << QStringLiteral("RILEGORA");
    QTest::newRow("odd length: last digit ignored") << QStringLiteral("5DAE7") << true << QStringLiteral("AB");
    QTest::newRow("one digit") << QStringLiteral("5") << true << QString();
    QTest::newRow("bad first pair") << QStringLiteral("G1") << false << QString();
    QTest::newRow("bad pair after good ones") << QStringLiteral("5DAEzz") << false << QString();
    QTest::newRow("blank inside a pair") << QStringLiteral("5 ") << false << QString();
    QTest::newRow("sign is not a digit") << QStringLiteral("+5") << false << QString();
    QTest::newRow("bad odd digit is ignored") << QStringLiteral("5DX") << true << QStringLiteral("A");
}

void TestCrypt::reading()
{
    QFETCH(QString, digits);
    QFETCH(bool, ok);
    QFETCH(QString, plain);
    const std::optional<QString> back = Crypt::CryptDecode(digits);
    QCOMPARE(back.has_value(), ok);
    if (ok)
        QCOMPARE(*back, plain);
}

void TestCrypt::roundTrip()
{
    // Every 8-bit code in every position of the key's cycle, and the same
    // text always giving the same digits.
    QString all;
    for (int c = 0; c < 256; ++c)
        all += QChar(char16_t((c * 37 + 11) % 256));
    for (int start = 0; start < 256; start += 17) {
        const QString text = all.mid(start) + all.left(start);
        const QString chunk = text.left(255);
        const QString digits = Crypt::CryptEncode(chunk);
        QCOMPARE(digits.size(), 2 * chunk.size());
        QCOMPARE(Crypt::CryptEncode(chunk), digits);
        QCOMPARE(digits, digits.toUpper());
        QCOMPARE(Crypt::CryptDecode(digits).value_or(QStringLiteral("<failed>")), chunk);
        QCOMPARE(Crypt::CryptDecode(digits.toLower()).value_or(QStringLiteral("<failed>")), chunk);
    }
}

void TestCrypt::canHold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("held");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("255 characters") << QString(255, QLatin1Char('x')) << true;
    QTest::newRow("256 characters") << QString(256, QLatin1Char('x')) << false;
    QTest::newRow("U+00FF") << QStringLiteral("abcÿ") << true;
    QTest::newRow("U+0100") << QStringLiteral("abcĀ") << false;
    QTest::newRow("euro sign") << QStringLiteral("5€") << false;
}

void TestCrypt::canHold()
{
    QFETCH(QString, text);
    QFETCH(bool, held);
    QCOMPARE(Crypt::canHold(text), held);
    if (held)
        QCOMPARE(Crypt::CryptDecode(Crypt::CryptEncode(text)).value_or(QString()), text);
    else if (text.size() <= 255)
        QVERIFY(Crypt::CryptDecode(Crypt::CryptEncode(text)).value_or(QString()) != text);
}

QTEST_GUILESS_MAIN(TestCrypt)
#include "tst_crypt.moc"
