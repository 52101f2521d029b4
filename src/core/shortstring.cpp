#include "shortstring.h"

#include "cp1252.h"
#include "texttrim.h"

#include <QtGlobal>

#include <cstring>

namespace ShortString {

namespace {
int storedLength(const char *field, int capacity)
{
    return qMin(int(static_cast<unsigned char>(field[0])), capacity);
}
} // namespace

QString text(const char *field, int capacity)
{
    return trimText(Cp1252::toUnicode(field + 1, storedLength(field, capacity)));
}

QByteArray bytes(const char *field, int capacity)
{
    return QByteArray(field + 1, storedLength(field, capacity));
}

void setText(char *field, int capacity, const QString &value, bool zeroFill)
{
    const int room = qMin(255, capacity);
    const QByteArray encoded = Cp1252::fromUnicode(trimText(value).left(room), room);
    field[0] = char(encoded.size());
    std::memcpy(field + 1, encoded.constData(), size_t(encoded.size()));
    if (zeroFill)
        std::memset(field + 1 + encoded.size(), 0, size_t(capacity - encoded.size()));
}

} // namespace ShortString
