#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QWidget;
class Report;

/// The landscape listing that the search and Dewey screens print: a title
/// bar on the first page, one line per list row in Courier New 8 pt over as
/// many pages as needed, and the line "Stampa eseguita in data ... alle ore
/// ..." once after the last row. It goes straight to the print dialog: there
/// is no preview.
namespace ListReport {

/// Height of one listing line, in template units (1/96 inch).
constexpr double LineUnits = 12.822;

/// Prints lines under title through the print dialog. A cancel prints
/// nothing and says nothing; a failure is reported with a warning.
void print(QWidget *parent, const QString &title, const QStringList &lines);

/// Reads the template "Riepilogo dati" into report and fills it for title
/// and lines, printed at now, and prepares it. False when the template
/// cannot be read.
bool fill(Report &report, const QString &title, const QStringList &lines, const QDateTime &now);

/// The same, rendered onto device (a PDF writer, in tests and tools).
bool render(QPagedPaintDevice *device, const QString &title, const QStringList &lines, const QDateTime &now);

/// "Stampa eseguita in data dd/mm/yyyy alle ore " and the time in the
/// system's long time format.
QString dateLine(const QDateTime &now);

} // namespace ListReport
