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

/// The photo of a box on a page: Foto_Gruppo/<name>_Foto_<X>_<page>.jpg,
/// from the catalogue name and the page number as the editor shows them
/// (both trimmed). Empty, so that no file is named, when the name fails
/// nameProblem() or the page is not a page number (decimal, no leading
/// zeros, not 0): no picture is ever read or written outside Foto_Gruppo.
QString photoPath(const QString &catalogueName, int box, const QString &page);

/// The preview picture of a box: Foto_Gruppo/<name>_Anteprima_<X>.jpg;
/// empty when the name fails nameProblem().
QString previewPath(const QString &catalogueName, int box);

} // namespace CatalogueFolder
