#include "cataloguepage.h"

#include "core/shortstring.h"

namespace {
struct FieldInfo
{
    const char *name;
    int capacity;
};

constexpr FieldInfo kFields[TRiquadro::FieldCount] = {
    {"Codice", 40}, {"Nome", 50}, {"UM", 250}, {"Caratteristiche", 250}, {"Prezzo", 30}};

constexpr std::array<int, TRiquadro::FieldCount + 1> makeOffsets()
{
    std::array<int, TRiquadro::FieldCount + 1> offsets{};
    for (int i = 0; i < TRiquadro::FieldCount; ++i)
        offsets[i + 1] = offsets[i] + 1 + kFields[i].capacity;
    return offsets;
}

constexpr auto kOffsets = makeOffsets();
static_assert(kOffsets[TRiquadro::FieldCount] == TRiquadro::Size, "a box must be 625 bytes");
static_assert(TPaginaCatalogo::RecordSize == 5000, "a page must be 5000 bytes");
} // namespace

int TRiquadro::capacity(int field)
{
    return kFields[field].capacity;
}

int TRiquadro::offset(int field)
{
    return kOffsets[field];
}

QString TRiquadro::name(int field)
{
    return QString::fromLatin1(kFields[field].name);
}

int TPaginaCatalogo::offset(int box, int field)
{
    return box * TRiquadro::Size + TRiquadro::offset(field);
}

TPaginaCatalogo::TPaginaCatalogo()
{
    m_data.fill(0);
}

QString TPaginaCatalogo::text(int box, int field) const
{
    return ShortString::text(m_data.data() + offset(box, field), TRiquadro::capacity(field));
}

QByteArray TPaginaCatalogo::bytes(int box, int field) const
{
    return ShortString::bytes(m_data.data() + offset(box, field), TRiquadro::capacity(field));
}

void TPaginaCatalogo::setText(int box, int field, const QString &value)
{
    ShortString::setText(m_data.data() + offset(box, field), TRiquadro::capacity(field), value, true);
}

bool TPaginaCatalogo::sameContent(const TPaginaCatalogo &other) const
{
    for (int box = 0; box < BoxCount; ++box) {
        for (int f = 0; f < TRiquadro::FieldCount; ++f) {
            if (bytes(box, f) != other.bytes(box, f))
                return false;
        }
    }
    return true;
}
