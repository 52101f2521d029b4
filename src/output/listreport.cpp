#include "listreport.h"

#include "kit/messages.h"
#include "kit/regional.h"
#include "report/report.h"
#include "report/reportprinting.h"

#include <QLocale>
#include <QRegularExpression>

namespace ListReport {

QString dateLine(const QDateTime &now)
{
    // The system's long time format, without a time zone.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    return QStringLiteral("Stampa eseguita in data ") + Regional::formatDate(now.date()) +
           QStringLiteral(" alle ore ") + QLocale::system().toString(now.time(), format.trimmed());
}

bool fill(Report &report, const QString &title, const QStringList &lines, const QDateTime &now)
{
    if (!report.load(QStringLiteral(":/assets/riepilogo_dati.report")))
        return false;
    const QString body = QStringLiteral("txtRiepilogo");
    bool ok = report.setText(QStringLiteral("txtTitolo"), title);
    ok = report.setText(QStringLiteral("txtPagina"), dateLine(now)) && ok;
    ok = report.clearLines(body) && ok;
    ok = report.appendLines(body, lines) && ok;
    const qreal height = Report::unitsToMm(qreal(lines.size()) * LineUnits);
    ok = report.setObjectHeight(body, height) && ok;
    ok = report.setBandHeight(QStringLiteral("MasterData"), height + Report::unitsToMm(10)) && ok;
    report.prepare();
    return ok;
}

bool render(QPagedPaintDevice *device, const QString &title, const QStringList &lines, const QDateTime &now)
{
    Report report;
    return fill(report, title, lines, now) && report.renderAll(device);
}

void print(QWidget *parent, const QString &title, const QStringList &lines)
{
    Report report;
    if (!fill(report, title, lines, QDateTime::currentDateTime()))
        Msg::warning(parent, ReportPrinting::printFailedMessage());
    else
        ReportPrinting::warnOnFailure(ReportPrinting::print(report, parent), parent);
}

} // namespace ListReport
