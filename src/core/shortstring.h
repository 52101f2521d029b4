#pragma once

#include <QString>

/// The text fields of the program's records: one length byte L, then the
/// field's capacity in Windows-1252 character bytes, of which the first L
/// count. There is no terminator; any byte value is a character.
namespace ShortString {

/// The field's text: its L bytes decoded and trimmed. A length byte above
/// the capacity (a damaged file) counts as the capacity, so a reader never
/// strays into the next field.
QString text(const char *field, int capacity);

/// The field's raw bytes (at most its capacity), not decoded.
QByteArray bytes(const char *field, int capacity);

/// Stores text: trimmed, encoded in Windows-1252 and cut to the capacity
/// (at most 255). The bytes after the new length are set to zero when
/// zeroFill is true and left as they were otherwise.
void setText(char *field, int capacity, const QString &value, bool zeroFill);

} // namespace ShortString
