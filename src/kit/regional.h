#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class QCoreApplication;
class QTranslator;

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

/// Where Qt's Italian translation "qtbase_it.qm" is looked for, in this
/// order: "translations" in the program folder, then Qt's own folder.
QStringList translationFolders();
/// Loads qtbase_it.qm from the first of translationFolders() that has it
/// (with every catalogue it depends on). False when none has it.
bool loadTranslation(QTranslator &translator);

/// Loads Qt's own Italian translation, so that standard dialogs and
/// buttons speak Italian ("Annulla", "Sì"). Safe to call more than once.
void installTranslation(QCoreApplication *app);

} // namespace Regional
