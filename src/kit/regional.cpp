#include "regional.h"

#include "core/programfolder.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace Regional {

void apply()
{
    QLocale locale(QLocale::Italian, QLocale::Italy);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(locale);
}

QString shortDateFormat()
{
    return QStringLiteral("dd/MM/yyyy");
}

QString formatDate(const QDate &date)
{
    return date.toString(shortDateFormat());
}

QString formatNumber(double value, int decimals)
{
    return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

QStringList translationFolders()
{
    return {ProgramFolder::file(QStringLiteral("translations")), QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool loadTranslation(QTranslator &translator)
{
    // The copy in the program folder first: a program folder carries the
    // translation it was built with, whatever Qt the system has.
    for (const QString &folder : translationFolders()) {
        if (translator.load(QStringLiteral("qtbase_it"), folder))
            return true;
    }
    return false;
}

void installTranslation(QCoreApplication *app)
{
    static QTranslator *translator = nullptr;
    if (translator)
        return;
    translator = new QTranslator(app);
    if (loadTranslation(*translator))
        app->installTranslator(translator);
}

} // namespace Regional
