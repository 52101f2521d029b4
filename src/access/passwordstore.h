#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

/// The access password, kept scrambled as key "Valore" of section "Accesso"
/// in the settings file "unins000.dll" of the program folder. The file is
/// opened anew for every reading and every writing; nothing is cached.
namespace PasswordStore {

constexpr const char *FileName = "unins000.dll";
constexpr const char *Section = "Accesso";
constexpr const char *Key = "Valore";
/// The largest settings file read: a larger one is not a settings file of
/// this program, and is treated as one that cannot be read.
constexpr qint64 MaxFileBytes = 1024 * 1024;

/// The settings file in the program folder.
QString filePath();

/// The form in which a password is stored and compared: the letters a-z
/// upper-cased (no other character changes case), then every leading and
/// trailing character at or below U+0020 removed.
QString canonical(const QString &typed);

/// Reads the stored password in canonical form. A missing file, section or
/// key gives the empty text. Returns std::nullopt when the file exists but
/// cannot be read (or is no regular file, or is larger than MaxFileBytes),
/// or when the stored value is not hexadecimal; *error (when given) then
/// receives the cause.
std::optional<QString> readStored(QString *error = nullptr);

/// Stores password (taken to its canonical form) as the new password. Only
/// the stored value changes in the file. The new contents are written to a
/// temporary file beside it and replace it in one step once complete, so that
/// the file always holds the old password or the new one; where no file can
/// be made beside it, the value is rewritten in the file itself. A failure
/// leaves the file as it was. Returns false and sets *error when the file is
/// missing or cannot be written, or when the password cannot be held
/// (Crypt::canHold).
bool writeStored(const QString &password, QString *error = nullptr);

enum class Replace { Done, ChangedElsewhere, Busy, Failed };
/// Stores password in place of expectedOld (both taken to their canonical
/// form) under the store's WriteLock: the stored password is read again
/// under the lock, and when it is no longer expectedOld (another workstation
/// changed it meanwhile) nothing is written (ChangedElsewhere). Busy when
/// another copy held the lock all the wait; Failed as writeStored fails.
Replace replaceStored(const QString &expectedOld, const QString &password, QString *error = nullptr);

/// The points a write of the store passes, in order.
enum class WriteStep {
    TemporaryOpened,  ///< a new temporary file beside the store is open, empty
    TemporaryWritten, ///< the new contents are in it; next it replaces the store
    InPlaceOpened,    ///< no file could be made beside the store: the store is open
    InPlaceWritten,   ///< the new contents are in the store, not yet closed
};
/// Tests: hook is called at each step of every write of the store; when it
/// returns false the write fails there, as a failing disk would. An empty
/// hook removes it.
void setWriteHook(std::function<bool(WriteStep)> hook);

/// The contents of a new settings file holding password (in canonical form),
/// with Windows line endings.
QByteArray initialContents(const QString &password);

enum class Creation { Created, AlreadyThere, Failed };
/// Puts a new settings file holding password at path, only where no file is:
/// an existing one is never touched.
Creation createInitialFile(const QString &path, const QString &password, QString *error = nullptr);

} // namespace PasswordStore
