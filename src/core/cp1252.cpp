#include "cp1252.h"

namespace {
// Characters of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};
} // namespace

namespace Cp1252 {

int byteFor(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

QByteArray fromUnicode(const QString &text, int maxBytes)
{
    QByteArray out;
    out.reserve(maxBytes >= 0 ? qMin(maxBytes, int(text.size())) : int(text.size()));
    for (int i = 0; i < text.size(); ++i) {
        if (maxBytes >= 0 && out.size() >= maxBytes)
            break;
        char32_t ch = text.at(i).unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        const int b = byteFor(ch);
        out.append(char(b < 0 ? '?' : b));
    }
    return out;
}

QString toUnicode(const char *data, int size)
{
    QString out(size, Qt::Uninitialized);
    QChar *dst = out.data();
    for (int i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(char16_t(b)); // the rest is Latin-1
    }
    return out;
}

QString toUnicode(const QByteArray &bytes)
{
    return toUnicode(bytes.constData(), int(bytes.size()));
}

} // namespace Cp1252
