#pragma once

#include <QByteArray>
#include <QString>

/// One value in a settings file of the INI layout, read or rewritten in the
/// file's own bytes. A section begins with its name in square brackets; a
/// setting is a line "key=value". Section and key names match without regard
/// to letter case, blanks around names and values do not count, and a value
/// in matching quotes loses them. Only the first section of a name is looked
/// at; of keys given twice in it, the first. Names and values are
/// single-byte (Latin-1) text, but in a file that begins with the UTF-16
/// little-endian byte order mark (as Windows Notepad saves "Unicode"), which
/// is read as UTF-16 text and written back the same way.
namespace IniFile {

/// Returns the value of key in section, or fallback when the section or the
/// key is not there.
QString readValue(const QByteArray &content, const QString &section, const QString &key,
                  const QString &fallback = QString());

/// Returns content with the value of key in section set to value. Only the
/// bytes of that value change: other sections, keys, comments, the order of
/// the lines and their line endings stay as they were. A missing key is added
/// at the end of its section, a missing section at the end of the file, with
/// the file's own line ending (CR LF for a file that has none). A value that
/// reading would change (blanks at either end, quotes around it) is written
/// in quotes, so that it reads back as given; it must hold no line break.
QByteArray withValue(const QByteArray &content, const QString &section, const QString &key, const QString &value);

} // namespace IniFile
