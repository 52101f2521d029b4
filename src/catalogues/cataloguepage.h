#pragma once

#include <QString>

#include <array>

/// One book box of a catalogue page (TRiquadro): five length-prefixed
/// single-byte strings, 625 bytes in all. The fields lie in this order in
/// the record, which is not the order of the screen or of the printout.
struct TRiquadro
{
    enum Field { Codice, Nome, UM, Caratteristiche, Prezzo, FieldCount };

    static constexpr int Size = 625;

    /// Capacity of a field in characters, not counting its length byte
    /// (40, 50, 250, 250, 30).
    static int capacity(int field);
    /// Offset of a field's length byte inside the box (0, 41, 92, 343, 594).
    static int offset(int field);
    /// The field's name as the record declares it ("Codice", "Nome", ...).
    static QString name(int field);
};

/// One catalogue page (TPaginaCatalogo): the eight boxes A to H one after
/// the other, 5000 bytes, exactly as stored in a .cat file.
///
/// The bytes after each text are zero: a page never carries remnants of
/// another page or of an earlier text.
class TPaginaCatalogo
{
public:
    static constexpr int BoxCount = 8;
    static constexpr int RecordSize = BoxCount * TRiquadro::Size;

    /// Offset of a field's length byte inside the page; box 0 is A.
    static int offset(int box, int field);

    TPaginaCatalogo();

    /// The field's text, decoded from Windows-1252 and trimmed.
    QString text(int box, int field) const;
    /// The field's raw bytes, not decoded.
    QByteArray bytes(int box, int field) const;
    /// Stores text: trimmed, Windows-1252, cut to the field's capacity, the
    /// rest of the field cleared to zero.
    void setText(int box, int field, const QString &value);

    /// Whether both pages hold the same texts in every box.
    bool sameContent(const TPaginaCatalogo &other) const;

    char *data() { return m_data.data(); }
    const char *data() const { return m_data.data(); }

private:
    std::array<char, RecordSize> m_data;
};
