#pragma once

#include <QString>

/// The program folder: the executable's folder, where every data file lives.
namespace ProgramFolder {

/// Returns the program folder with its trailing separator ("/").
QString path();

/// Returns path() + relative.
QString file(const QString &relative);

/// Points the program at another folder. Tests use it to work in a
/// temporary folder; an empty text goes back to the executable's folder.
void setPath(const QString &folder);

} // namespace ProgramFolder
