#pragma once

#include <QDate>
#include <QString>

class QCoreApplication;

/// Program-wide formats: dates dd/mm/yyyy and the decimal comma, whatever
/// the system's regional settings say.
namespace Regional {

/// Makes the Italian formats the default locale of the process.
void apply();

/// "dd/MM/yyyy", the short date format of the whole program.
QString shortDateFormat();
QString formatDate(const QDate &date);
/// A number with the decimal comma.
QString formatNumber(double value, int decimals);

/// Loads Qt's own Italian translation, so that standard dialogs and
/// buttons speak Italian ("Annulla", "Sì"). Safe to call more than once.
void installTranslation(QCoreApplication *app);

} // namespace Regional
