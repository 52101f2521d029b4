#pragma once

#include <QString>

#include <optional>

/// The scrambling of the access password. A password is kept as two
/// upper-case hexadecimal digits per character; each character's low 8 bits
/// are mixed with a 16-bit key that moves on with every scrambled byte.
/// Both routines are pure: nothing survives a call.
namespace Crypt {

constexpr quint16 StartKey = 0x1C7D;
constexpr quint16 Multiplier = 0x7843;
constexpr quint16 Increment = 0x2F93;

/// Longest password the stored form holds: its length is kept in 8 bits.
constexpr int MaxLength = 255;

/// Returns text scrambled into upper-case hexadecimal digits, two per
/// character. Only the low 8 bits of each character are kept, so only texts
/// that canHold() accepts come back unchanged from CryptDecode().
QString CryptEncode(const QString &text);

/// Returns the text that the hexadecimal digits stand for. Digits of either
/// case are read; a trailing odd digit is ignored. Returns std::nullopt (a
/// conversion error) when a digit pair is not hexadecimal.
std::optional<QString> CryptDecode(const QString &digits);

/// Whether text survives scrambling and unscrambling unchanged: at most
/// MaxLength characters, each in U+0000 to U+00FF.
bool canHold(const QString &text);

} // namespace Crypt
