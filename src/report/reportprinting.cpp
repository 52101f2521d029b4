#include "reportprinting.h"

#include "kit/messages.h"
#include "report.h"

#include <QAction>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace ReportPrinting {

namespace {
DialogRunner &runner()
{
    static DialogRunner r;
    return r;
}

Answer runSystemDialog(QPrinter &printer, QWidget *parent)
{
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return Answer::NoPrinter;
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted ? Answer::Print : Answer::Cancel;
}
} // namespace

void setDialogRunner(DialogRunner r)
{
    runner() = std::move(r);
}

Outcome print(const Report &report, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report.name());
    printer.setPageLayout(report.pageLayout());
    const Answer answer = runner() ? runner()(printer, parent) : runSystemDialog(printer, parent);
    if (answer == Answer::Cancel)
        return Outcome::Cancelled;
    if (answer == Answer::NoPrinter)
        return Outcome::NoPrinter;
    // The report keeps its own paper, whatever the dialog chose.
    const bool painted = report.renderAll(&printer);
    if (!painted || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return Outcome::Failed;
    return Outcome::Printed;
}

bool warnOnFailure(Outcome outcome, QWidget *parent)
{
    if (outcome != Outcome::Failed && outcome != Outcome::NoPrinter)
        return false;
    Msg::warning(parent, outcome == Outcome::NoPrinter ? noPrinterMessage() : printFailedMessage());
    return true;
}

QString printFailedMessage()
{
    return QStringLiteral("Attenzione: la stampa non \u00E8 andata a buon fine.\n\r\n\r"
                          "Accertarsi che la stampante sia installata, accesa e pronta, poi riprovare.");
}

QString noPrinterMessage()
{
    return QStringLiteral("Attenzione: nel sistema non \u00E8 installata nessuna stampante.\n\r\n\r"
                          "Installare una stampante e riprovare.");
}

QString previewFailedMessage()
{
    return QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non \u00E8 andata a buon fine.");
}

} // namespace ReportPrinting

ReportPreview::ReportPreview(const Report &report, bool thumbnails, QWidget *parent) : QDialog(parent), m_report(report)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral(" Anteprima di stampa - ") + report.name());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    setModal(true);

    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageLayout(report.pageLayout());
    m_pages = new QPrintPreviewWidget(printer, this);
    m_pages->setObjectName(QStringLiteral("pages"));
    connect(m_pages, &QPrintPreviewWidget::destroyed, this, [printer] { delete printer; });
    connect(m_pages, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *device) { m_report.renderAll(device); });
    m_pages->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_pages->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_pages->setZoomFactor(1.0);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this](const QString &name, const QString &text, auto slot) {
        QAction *action = m_toolBar->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(QStringLiteral("actStampa"), QStringLiteral("Stampa"), &ReportPreview::printReport);
    m_toolBar->addSeparator();
    add(QStringLiteral("actZoomPiu"), QStringLiteral("Zoom +"), [this] { m_pages->zoomIn(); });
    add(QStringLiteral("actZoomMeno"), QStringLiteral("Zoom -"), [this] { m_pages->zoomOut(); });
    add(QStringLiteral("actZoom100"), QStringLiteral("100 %"), [this] {
        m_pages->setZoomMode(QPrintPreviewWidget::CustomZoom);
        m_pages->setZoomFactor(1.0);
    });
    add(QStringLiteral("actSchermoIntero"), QStringLiteral("Schermo intero"), &ReportPreview::toggleFullScreen);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    if (thumbnails) {
        m_thumbnails = new QListWidget(this);
        m_thumbnails->setObjectName(QStringLiteral("thumbnails"));
        m_thumbnails->setViewMode(QListView::IconMode);
        m_thumbnails->setFlow(QListView::TopToBottom);
        m_thumbnails->setMovement(QListView::Static);
        m_thumbnails->setIconSize(QSize(105, 149));
        m_thumbnails->setFixedWidth(150);
        for (int i = 0; i < report.pageCount(); ++i) {
            const QImage page = report.pageImage(i, 0.5);
            m_thumbnails->addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(page)), QString::number(i + 1)));
        }
        connect(m_thumbnails, &QListWidget::currentRowChanged, this, [this](int r) {
            if (r >= 0)
                m_pages->setCurrentPage(r + 1);
        });
        QAction *toggle = add(QStringLiteral("actMiniature"), QStringLiteral("Miniature"),
                              [this] { m_thumbnails->setVisible(!m_thumbnails->isVisible()); });
        toggle->setCheckable(true);
        toggle->setChecked(true);
        row->addWidget(m_thumbnails);
    }
    m_toolBar->addSeparator();
    add(QStringLiteral("actChiudi"), QStringLiteral("Chiudi"), &QDialog::accept);
    row->addWidget(m_pages, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addLayout(row, 1);

    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(available.width() * 4 / 5, available.height() * 9 / 10);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::run(const Report &report, bool thumbnails, QWidget *parent)
{
    ReportPreview preview(report, thumbnails, parent);
    preview.exec();
}

void ReportPreview::printReport()
{
    ReportPrinting::warnOnFailure(ReportPrinting::print(m_report, this), this);
}

void ReportPreview::toggleFullScreen()
{
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
}
