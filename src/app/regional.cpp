#include "regional.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
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

void installTranslation(QCoreApplication *app)
{
    static QTranslator *translator = nullptr;
    if (translator)
        return;
    translator = new QTranslator(app);
    if (translator->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        translator->load(QStringLiteral("qtbase_it"),
                         QCoreApplication::applicationDirPath() + QStringLiteral("/translations")))
        app->installTranslator(translator);
}

} // namespace Regional
