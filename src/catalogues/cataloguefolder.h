#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

/// Where the catalogues live: one file <name>.cat each, directly in the
/// program folder, and their pictures in Foto_Gruppo. There is no other
/// register of catalogues.
namespace CatalogueFolder {

/// The longest catalogue name: the name, "_Foto_X_", a page number and
/// ".jpg" must still make a file name the file systems accept (255).
constexpr int MaxNameLength = 230;

/// Size of every stored box photo and preview picture (width x height).
constexpr QSize PhotoSize(282, 366);

/// The full path of a catalogue's file: program folder + name + ".cat".
QString path(const QString &name);

/// Why a (trimmed) catalogue name cannot name a file in the program folder,
/// as the Italian warning to show; empty when it can. A usable name is not
/// empty, holds no folder separator, no "..", none of the characters
/// Windows refuses in a file name (" * / : < > ? \ | and control
/// characters), is not a name Windows reserves for a device (CON, PRN, AUX,
/// NUL, COM0-COM9, LPT0-LPT9, CONIN$, CONOUT$, in any letter case, alone or
/// before a dot, as in "con.txt") and is at most MaxNameLength long. The
/// same rules hold on every system, so a catalogue made anywhere can be
/// copied to a Windows program folder.
QString nameProblem(const QString &name);

/// The "*.cat" files directly in the program folder (no subfolders, no
/// folders), as file names with their extension, in alphabetical order
/// without regard to letter case.
QStringList list();

/// "Foto_Gruppo/" in the program folder.
QString photoFolder();
/// Creates the picture folder with any missing parents. False on failure.
bool makePhotoFolder();

/// The box letter of box 0..7: 'A'..'H'.
QChar boxLetter(int box);

/// Why the pictures of a catalogue cannot be named after it, as the Italian
/// warning to show; empty when they can. Only a name that would lead out of
/// Foto_Gruppo is refused: an empty name, one holding a folder separator
/// (/ or \) or a colon (a stream of another file on Windows), one that
/// makes a picture name Windows reserves for a device.
/// A catalogue file copied in by hand may have any other name its system
/// allows ("Vol..2", 251 characters), and its pictures are stored.
QString pictureNameProblem(const QString &catalogueName);

/// The photo of a box on a page: Foto_Gruppo/<name>_Foto_<X>_<page>.jpg,
/// from the catalogue name and the page number as the editor shows them
/// (both trimmed). Empty, so that no file is named, when the name fails
/// pictureNameProblem() or the page is not a page number (decimal, no
/// leading zeros, not 0): no picture is ever read or written outside
/// Foto_Gruppo. Where name and tail make a file name too long for the file
/// systems (over 255 bytes of UTF-8), the name is cut and ends in "~" and
/// eight hexadecimal digits drawn from the whole name.
QString photoPath(const QString &catalogueName, int box, const QString &page);

/// The preview picture of a box: Foto_Gruppo/<name>_Anteprima_<X>.jpg,
/// named and shortened as photoPath() does; empty when the name fails
/// pictureNameProblem().
QString previewPath(const QString &catalogueName, int box);

} // namespace CatalogueFolder
