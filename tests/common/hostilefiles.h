#pragma once

#include "common/watchdog.h"

#include <QString>

#include <initializer_list>

/// Things that are not regular files, put where the program expects a
/// picture: the entries a hostile program folder may hold (POSIX; on Windows
/// only a folder, the other kinds say why they cannot be made).
namespace HostileFiles {

enum Kind {
    DeviceLink,  ///< a link to /dev/zero: reads on for ever, size 0
    Fifo,        ///< a named pipe: opening it for reading waits for a writer
    FifoLink,    ///< a link to a named pipe elsewhere
    Socket,      ///< a local socket
    Folder,      ///< a folder
    EndlessProc, ///< a link to a regular file that reads on far past its size
    PictureLink, ///< a link to a readable picture: shown like the picture itself
};

/// Adds one row per kind to the current data table, in the int column "kind";
/// only the kinds given when kinds is not empty.
void addRows(std::initializer_list<Kind> kinds = {});

/// Puts an entry of kind at path, with any missing parent folders. Returns
/// false and sets *why when this system cannot make it.
bool make(int kind, const QString &path, QString *why);

} // namespace HostileFiles
