#pragma once

#include <QByteArray>
#include <QString>

/// Reading a whole small file that the program does not trust: a picture,
/// the settings file.
namespace BoundedRead {

/// Whether the name is a regular file or a link to one: not a device, a
/// named pipe, a socket or a folder, whose reading may wait or go on for ever.
bool isRegularFile(const QString &fileName);

/// Whether name (a file name without folder) is one Windows gives to a
/// device in every folder: CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-COM9,
/// LPT0-LPT9, in any letter case, with or without an extension or trailing
/// blanks. True on every system, for names that must also work on Windows.
bool isWindowsDeviceName(const QString &name);

/// Whether fileName names a device on this system by its name alone (on
/// Windows a device name in any folder, which need not show as existing).
bool isDeviceByName(const QString &fileName);

/// Reads the whole file into *data. False, with *data empty, when the name
/// is not a regular file (checked before opening and again on the open
/// file, in case something else took its name meanwhile), cannot be read,
/// or holds more than limit bytes: the reading stops there whatever size the
/// file gave, since a file may grow or, like some system files, read on far
/// past its size. An empty file gives true with *data empty.
bool readAll(const QString &fileName, qint64 limit, QByteArray *data);

} // namespace BoundedRead
