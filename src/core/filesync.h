#pragma once

#include <QString>

#include <functional>

class QFileDevice;
class QIODevice;
class QSaveFile;
class QTemporaryFile;

/// Puts what was written to a file on the device itself, so that a save that
/// reports success survives a power cut or a crash of the system right after.
/// Every writer of the program calls it before it reports success.
namespace FileSync {

/// Flushes the file's buffer to the system, then waits until the system has
/// written the file's data to the device. False when either step fails or
/// the file is not open: the save then failed, and *error (when given)
/// receives its cause.
bool toDisk(QFileDevice &file, QString *error = nullptr);

/// Writes size bytes of data at the file's position, going on after a short
/// write, so that a write that fails tells why (a full disk takes what fits,
/// and only the next write says so). False when not every byte got through,
/// with the cause in *error.
bool writeAll(QIODevice &file, const char *data, qint64 size, QString *error);

/// Puts on the device the folder entry of a file just created or renamed
/// into place, where the system needs that (not on Windows). Best effort:
/// the file itself is already saved.
void folderToDisk(const QString &filePath);

/// Puts the new contents of a save file in place for good: syncs them
/// (toDisk), commits them over the old file, then syncs the folder entry. A
/// failed sync cancels the writing. False when any step fails; the old file
/// is then as it was, and *error (when given) receives the cause.
bool commit(QSaveFile &file, QString *error = nullptr);

/// Where the system has no unnamed temporary files (Windows), QSaveFile
/// writes beside the file under its name and ".XXXXXX": a longer name than
/// this leaves no room for that within the 255 characters of a folder entry.
/// Such a file is written whole into a temporary file of its folder (see
/// replaceWith).
constexpr int kSaveFileNameRoom = 255 - 7;
bool fitsSaveFile(const QString &filePath);

/// Puts a temporary file of destination's folder, written whole and not yet
/// synced, in destination's place: syncs it, moves an old file aside, gives
/// the new one its name, then removes the old one. False when any step
/// fails; an old file is then as it was.
bool replaceWith(QTemporaryFile &whole, const QString &destination);

/// Tests: hook is called by toDisk before it syncs; when it returns false
/// the sync fails there, as a failing device would. An empty hook removes it.
void setHook(std::function<bool(QFileDevice &)> hook);

/// Benchmarks: when off, toDisk only flushes the file's buffer, to measure
/// what the sync costs. On by default.
void setEnabled(bool enabled);

} // namespace FileSync
