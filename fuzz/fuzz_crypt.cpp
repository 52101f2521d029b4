// The password scrambling, fed any text: as single bytes when the input's
// first byte is even, as UTF-16 when it is odd.

#include "fuzzsupport.h"

#include "access/crypt.h"

namespace {

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const auto *bytes = reinterpret_cast<const char *>(data) + 1;
    const QString text =
        data[0] % 2 == 0 ? QString::fromLatin1(bytes, qsizetype(size - 1)) : FuzzSupport::utf16Text(bytes, size - 1);

    // Unscrambling: digit pairs give one character each; anything but
    // hexadecimal digits in a pair is a conversion error.
    const QString pairs = text.left(text.size() / 2 * 2);
    const std::optional<QString> plain = Crypt::CryptDecode(text);
    const bool allHex = std::all_of(pairs.begin(), pairs.end(), isHexDigit);
    FUZZ_CHECK(plain.has_value() == allHex);
    if (plain) {
        FUZZ_CHECK(plain->size() == pairs.size() / 2);
        FUZZ_CHECK(Crypt::CryptEncode(*plain) == pairs.toUpper());
    }

    // Scrambling: two digits per character, and back to the character's
    // low 8 bits; what canHold() accepts comes back unchanged.
    const QString digits = Crypt::CryptEncode(text);
    FUZZ_CHECK(digits.size() == text.size() * 2);
    const std::optional<QString> back = Crypt::CryptDecode(digits);
    FUZZ_CHECK(back.has_value() && back->size() == text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        FUZZ_CHECK(back->at(i).unicode() == (text.at(i).unicode() & 0xFF));
    if (Crypt::canHold(text))
        FUZZ_CHECK(*back == text);
    return 0;
}
