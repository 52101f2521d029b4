#pragma once

#include "report/reportprinting.h"

#include <QPrinter>
#include <QString>

/// Stands in for the print dialog while it lives: each print is answered as
/// the next answer says, and the dialogs shown are counted.
class PrintRecorder
{
public:
    enum Answer {
        ToPdf,    ///< accepted; the pages go to pdfPath
        Cancel,   ///< the user cancelled
        Broken,   ///< accepted, but the printer cannot be written to
        NoPrinter ///< the system has no printer
    };

    explicit PrintRecorder(const QString &pdfPath) : m_pdf(pdfPath)
    {
        ReportPrinting::setDialogRunner([this](QPrinter &printer, QWidget *) {
            ++dialogs;
            orientation = printer.pageLayout().orientation();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(answer == Broken ? m_pdf + QStringLiteral(".missing/folder/out.pdf") : m_pdf);
            if (answer == NoPrinter)
                return ReportPrinting::Answer::NoPrinter;
            return answer == Cancel ? ReportPrinting::Answer::Cancel : ReportPrinting::Answer::Print;
        });
    }
    ~PrintRecorder() { ReportPrinting::setDialogRunner({}); }

    QString pdf() const { return m_pdf; }

    Answer answer = ToPdf;
    int dialogs = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;

private:
    QString m_pdf;
};
