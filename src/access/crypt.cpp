#include "crypt.h"

namespace {
quint16 nextKey(quint16 key, quint8 scrambled)
{
    return quint16((scrambled + key) * Crypt::Multiplier + Crypt::Increment);
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}
} // namespace

namespace Crypt {

QString CryptEncode(const QString &text)
{
    static const char digits[] = "0123456789ABCDEF";
    QString out;
    out.reserve(text.size() * 2);
    quint16 key = StartKey;
    for (const QChar c : text) {
        const auto plain = quint8(c.unicode() & 0xFF);
        const auto scrambled = quint8(plain ^ (key >> 8));
        out += QLatin1Char(digits[scrambled >> 4]);
        out += QLatin1Char(digits[scrambled & 0x0F]);
        key = nextKey(key, scrambled);
    }
    return out;
}

std::optional<QString> CryptDecode(const QString &digits)
{
    const qsizetype pairs = digits.size() / 2;
    QString out;
    out.reserve(pairs);
    quint16 key = StartKey;
    for (qsizetype i = 0; i < pairs; ++i) {
        const int high = hexValue(digits.at(2 * i));
        const int low = hexValue(digits.at(2 * i + 1));
        if (high < 0 || low < 0)
            return std::nullopt;
        const auto scrambled = quint8(high * 16 + low);
        out += QChar(char16_t(scrambled ^ (key >> 8)));
        key = nextKey(key, scrambled);
    }
    return out;
}

bool canHold(const QString &text)
{
    if (text.size() > MaxLength)
        return false;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

} // namespace Crypt
