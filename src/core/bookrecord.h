#pragma once

#include <QString>

#include <array>

/// One book card (TSchedaLibro): 28 length-prefixed single-byte strings,
/// 3150 bytes in all, exactly as stored in Archivio_Libri.pro.
///
/// Each field is one length byte L followed by the field's capacity in
/// character bytes; only the first L bytes count. Bytes after L keep whatever
/// the buffer held before, as no reader looks at them.
class TSchedaLibro
{
public:
    enum Field {
        Titolo,
        Autore,
        Nazione,
        Anno,
        Editore,
        Citta,
        Dewey,
        Genere,
        ISBN,
        Lingua,
        Originale,
        Traduttore,
        Collana,
        Curatore,
        Posizione,
        Etichetta,
        Formato,
        Volumi,
        Pagine,
        Prezzo,
        Giudizio,
        Note,
        File01,
        File02,
        File03,
        Desc01,
        Desc02,
        Desc03,
        FieldCount
    };

    static constexpr int RecordSize = 3150;
    /// Number of fields shown as edit boxes on the card screen (Titolo .. Note).
    static constexpr int TextFieldCount = 22;

    /// Capacity of a field in bytes, not counting its length byte.
    static int capacity(int field);
    /// Offset of a field's length byte inside the record.
    static int offset(int field);
    /// The field's name as the record declares it ("Titolo", "File01", ...).
    static QString name(int field);

    TSchedaLibro();

    /// The field's text: its L bytes decoded from Windows-1252 and trimmed.
    /// A length byte above the capacity (a damaged file) counts as the
    /// capacity, so a reader never strays into the next field.
    QString text(int field) const;
    /// The field's raw bytes (at most its capacity), not decoded.
    QByteArray bytes(int field) const;
    /// Stores text: trimmed, at most 255 characters, Windows-1252, cut to the
    /// field's capacity. The bytes after the new length are left as they were.
    void setText(int field, const QString &value);

    /// Whether both cards hold the same texts in every field; the bytes
    /// after a field's length, which no reader looks at, do not count.
    bool sameContent(const TSchedaLibro &other) const;

    char *data() { return m_data.data(); }
    const char *data() const { return m_data.data(); }

private:
    std::array<char, RecordSize> m_data;
};
