#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &overridden()
{
    static QString folder;
    return folder;
}

QString withSeparator(QString folder)
{
    folder = QDir::fromNativeSeparators(folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

namespace ProgramFolder {

QString path()
{
    if (!overridden().isEmpty())
        return overridden();
    return withSeparator(QCoreApplication::applicationDirPath());
}

QString file(const QString &relative)
{
    return path() + relative;
}

void setPath(const QString &folder)
{
    overridden() = folder.isEmpty() ? QString() : withSeparator(folder);
}

} // namespace ProgramFolder
