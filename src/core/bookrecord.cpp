#include "bookrecord.h"

#include "core/shortstring.h"

namespace {
struct FieldInfo
{
    const char *name;
    int capacity;
};

constexpr FieldInfo kFields[TSchedaLibro::FieldCount] = {
    {"Titolo", 120},  {"Autore", 50},   {"Nazione", 50},    {"Anno", 20},      {"Editore", 50},    {"Citta", 50},
    {"Dewey", 12},    {"Genere", 50},   {"ISBN", 20},       {"Lingua", 50},    {"Originale", 120}, {"Traduttore", 50},
    {"Collana", 120}, {"Curatore", 50}, {"Posizione", 120}, {"Etichetta", 50}, {"Formato", 50},    {"Volumi", 50},
    {"Pagine", 20},   {"Prezzo", 20},   {"Giudizio", 250},  {"Note", 250},     {"File01", 250},    {"File02", 250},
    {"File03", 250},  {"Desc01", 250},  {"Desc02", 250},    {"Desc03", 250},
};

constexpr std::array<int, TSchedaLibro::FieldCount + 1> makeOffsets()
{
    std::array<int, TSchedaLibro::FieldCount + 1> offsets{};
    for (int i = 0; i < TSchedaLibro::FieldCount; ++i)
        offsets[i + 1] = offsets[i] + 1 + kFields[i].capacity;
    return offsets;
}

constexpr auto kOffsets = makeOffsets();
static_assert(kOffsets[TSchedaLibro::FieldCount] == TSchedaLibro::RecordSize, "card layout must be 3150 bytes");
} // namespace

int TSchedaLibro::capacity(int field)
{
    return kFields[field].capacity;
}

int TSchedaLibro::offset(int field)
{
    return kOffsets[field];
}

QString TSchedaLibro::name(int field)
{
    return QString::fromLatin1(kFields[field].name);
}

TSchedaLibro::TSchedaLibro()
{
    m_data.fill(0);
}

QByteArray TSchedaLibro::bytes(int field) const
{
    return ShortString::bytes(m_data.data() + offset(field), capacity(field));
}

QString TSchedaLibro::text(int field) const
{
    return ShortString::text(m_data.data() + offset(field), capacity(field));
}

void TSchedaLibro::setText(int field, const QString &value)
{
    ShortString::setText(m_data.data() + offset(field), capacity(field), value, false);
}

bool TSchedaLibro::sameContent(const TSchedaLibro &other) const
{
    for (int i = 0; i < FieldCount; ++i) {
        if (bytes(i) != other.bytes(i))
            return false;
    }
    return true;
}
