#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QtGlobal>

/// The categories the program logs under, one per subsystem: the cause of
/// every failed write goes there (the user sees the screen's own message).
Q_DECLARE_LOGGING_CATEGORY(lcAccess)     ///< "rilegora.access": the password store
Q_DECLARE_LOGGING_CATEGORY(lcBooks)      ///< "rilegora.books": cards, covers, attachments
Q_DECLARE_LOGGING_CATEGORY(lcCatalogues) ///< "rilegora.catalogues": pages, box photos
Q_DECLARE_LOGGING_CATEGORY(lcOutput)     ///< "rilegora.output": the spreadsheet export and import

/// Where the program's log goes. Qt's own output stays (the standard error,
/// or the debugger's output on Windows when there is no console); install()
/// adds a log file in the user's own folder for the program's data, never in
/// the program folder, which may be read-only or shared by several
/// workstations. A log that cannot be written is left unwritten: nothing a
/// save does depends on it.
namespace Log {

/// The log file's name, "rilegora.log"; the one before it is "rilegora.log.1".
QString fileName();
/// The user's local folder for the program's data: %LOCALAPPDATA%\Rilegora
/// on Windows, ~/.local/share/Rilegora on Linux.
QString defaultFolder();

/// The size at which the log starts again: the full log becomes
/// "rilegora.log.1" (replacing an older one), so the two never take more
/// than twice this.
constexpr qint64 MaxBytes = 1024 * 1024;

/// Adds the log file in folder (made when missing) to Qt's message handler,
/// for warnings and above. Called once by main(); tests give their own folder.
void install(const QString &folder = defaultFolder());
/// Removes the log file again (tests).
void uninstall();
/// The log file written, or empty when none is installed.
QString filePath();

/// The cause of a failure as the log gives it: cause, or "causa sconosciuta"
/// when the writer had none to tell.
QString cause(const QString &cause);

} // namespace Log
