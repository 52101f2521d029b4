#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QListWidget;
class QPrintPreviewWidget;
class QPrinter;
class QToolBar;
class Report;

/// Printing and previewing a prepared report: the system's print dialog,
/// with its defaults (the default printer, one copy, all pages), and the
/// preview window.
namespace ReportPrinting {

enum class Outcome { Printed, Cancelled, NoPrinter, Failed };

/// How the print dialog was answered.
enum class Answer { Print, Cancel, NoPrinter };

/// What stands for the print dialog: it gets the printer, set up for the
/// report, and says whether to print. The default answers NoPrinter when
/// the system has no printer at all (instead of leaving that to the
/// platform's own error box) and otherwise runs QPrintDialog. Tests and
/// tools put another in place to send the pages to a PDF file or to answer
/// as a cancel; an empty function restores the real dialog.
using DialogRunner = std::function<Answer(QPrinter &printer, QWidget *parent)>;
void setDialogRunner(DialogRunner runner);

/// Shows the print dialog and prints every page of report. A cancelled
/// dialog prints nothing. Failed means that the printer could not be used
/// or reported an error.
Outcome print(const Report &report, QWidget *parent);

/// The message shown when printing failed.
QString printFailedMessage();
/// The message shown when the system has no printer.
QString noPrinterMessage();
/// Shows the warning for outcome NoPrinter or Failed and returns true;
/// returns false, showing nothing, for the others.
bool warnOnFailure(Outcome outcome, QWidget *parent);
/// The message shown when a preview could not be shown.
QString previewFailedMessage();

} // namespace ReportPrinting

/// The preview window of a prepared report: the pages at 100 %, with
/// print, zoom, full screen, optional page thumbnails and close. The report
/// cannot be edited here.
class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    ReportPreview(const Report &report, bool thumbnails, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const Report &report() const { return m_report; }
    QPrintPreviewWidget *pages() const { return m_pages; }
    QToolBar *toolBar() const { return m_toolBar; }
    /// The page thumbnails, or nullptr when this preview has none.
    QListWidget *thumbnails() const { return m_thumbnails; }

    /// Shows report in a new preview window and waits until it is closed.
    static void run(const Report &report, bool thumbnails, QWidget *parent);

public slots:
    void printReport();
    void toggleFullScreen();

private:
    const Report &m_report;
    QPrintPreviewWidget *m_pages;
    QToolBar *m_toolBar;
    QListWidget *m_thumbnails = nullptr;
};
