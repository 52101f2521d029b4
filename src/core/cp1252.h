#pragma once

#include <QByteArray>
#include <QString>

/// Windows-1252, the single-byte code page of the program's data files.
///
/// Our own table, so that the files read and write the same on every system.
/// A character that the code page cannot hold becomes '?' (0x3F), as the
/// Windows conversion does with its default character: such a character does
/// not survive a save. A character outside the Basic Multilingual Plane
/// becomes one '?', not two.
namespace Cp1252 {

/// Encodes text; stops after maxBytes bytes when maxBytes >= 0.
QByteArray fromUnicode(const QString &text, int maxBytes = -1);

/// Decodes bytes; the five codes the code page leaves undefined (0x81, 0x8D,
/// 0x8F, 0x90, 0x9D) map to the control characters of the same number.
QString toUnicode(const char *data, int size);
QString toUnicode(const QByteArray &bytes);

/// The byte for one character, or -1 when the code page cannot hold it.
int byteFor(char32_t ch);

} // namespace Cp1252
