#include "tfrmexplibri.h"

#include "core/bookarchive.h"
#include "core/filesync.h"
#include "core/helptopics.h"
#include "core/logging.h"
#include "core/programfolder.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/messages.h"
#include "kit/openurl.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"
#include "kit/tfrmguida.h"
#include "output/tfrmimportalibri.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QShowEvent>
#include <QTableView>

namespace {
QString asset(const QString &name)
{
    return QStringLiteral(":/assets/") + name;
}

// A hand pointing right, towards the export command.
QPixmap handPicture(const QSize &size)
{
    QPixmap picture(size);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    QPainterPath hand;
    hand.addRoundedRect(QRectF(w * 0.08, h * 0.30, w * 0.50, h * 0.46), 6, 6);
    hand.addRoundedRect(QRectF(w * 0.40, h * 0.30, w * 0.52, h * 0.16), 4, 4);
    p.setPen(QPen(QColor(0x6A, 0x5A, 0xCD), 2));
    p.setBrush(QColor(0xFF, 0xE0, 0xB8));
    p.drawPath(hand.simplified());
    p.setPen(QPen(QColor(0x6A, 0x5A, 0xCD), 1));
    for (int i = 1; i < 3; ++i)
        p.drawLine(QPointF(w * 0.20, h * (0.30 + 0.15 * i)), QPointF(w * 0.52, h * (0.30 + 0.15 * i)));
    return picture;
}

QString failureMessage()
{
    return QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                          "Accertarsi che il file di Excel non sia gi\u00E0 aperto.");
}
} // namespace

ExpLibriModel::ExpLibriModel(QObject *parent) : QAbstractTableModel(parent) {}

ExpLibriModel::~ExpLibriModel()
{
    m_fill.reset(); // the reading thread ends before the rows go
}

void ExpLibriModel::fillFromArchive()
{
    m_fill.reset();
    beginResetModel();
    m_table.clear();
    endResetModel();
    // A failure keeps the rows read so far, silently.
    m_fill = std::make_unique<CardTableFill>(BookArchive::path(), [this] {
        QMetaObject::invokeMethod(this, &ExpLibriModel::takeRows, Qt::QueuedConnection);
    });
    m_fill->waitForFirstRows();
    takeRows();
}

void ExpLibriModel::finishFill()
{
    if (!m_fill)
        return;
    m_fill->waitForEnd();
    takeRows();
}

void ExpLibriModel::takeRows()
{
    if (!m_fill)
        return;
    std::vector<std::unique_ptr<CardTable>> batches;
    const bool done = m_fill->take(batches);
    int rows = 0;
    for (const auto &batch : batches)
        rows += batch->rowCount();
    if (rows > 0) {
        beginInsertRows(QModelIndex(), m_table.rowCount(), m_table.rowCount() + rows - 1);
        for (auto &batch : batches)
            m_table.append(std::move(*batch));
        endInsertRows();
    }
    if (done)
        m_fill.reset();
}

void ExpLibriModel::addNewCards()
{
    finishFill(); // the cards already there first, so none comes twice
    BookArchive archive;
    if (!archive.open())
        return;
    const int held = m_table.rowCount();
    if (archive.count() <= held)
        return;
    beginResetModel();
    archive.scan([this, held](int number, const char *record) {
        if (number > held)
            m_table.appendRecord(record);
        return true;
    });
    archive.close();
    endResetModel();
}

int ExpLibriModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.rowCount();
}

int ExpLibriModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : CardTable::ColumnCount;
}

QVariant ExpLibriModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_table.text(index.row(), index.column());
    return {};
}

bool ExpLibriModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || CardTable::column(index.column()).readOnly)
        return false;
    m_table.setText(index.row(), index.column(), value.toString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant ExpLibriModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= CardTable::ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return CardTable::headerText(section);
    if (role == Qt::UserRole) // the column's name, for tests and tools
        return QString::fromLatin1(CardTable::column(section).name);
    return {};
}

Qt::ItemFlags ExpLibriModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!CardTable::column(index.column()).readOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

TfrmExpLibri::TfrmExpLibri(QWidget *parent) : QDialog(parent), m_model(new ExpLibriModel(this))
{
    Screens::setupDialog(this, QStringLiteral("TfrmExpLibri"), QStringLiteral(" Esporta archivio libri in Excel"),
                         QSize(862, 560));
    Look::setGround(this, Look::ExportBlue);
    buildLayout();
}

TfrmExpLibri::~TfrmExpLibri() = default;

void TfrmExpLibri::buildLayout()
{
    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setGeometry(12, 13, 837, 533);

    shpTop = Decor::rectangle(panContainer, QStringLiteral("shpTop"), QRect(8, 8, 821, 65), Look::White, 0xFFD8E5EF);

    imgLogo = Decor::titleLogoLabel(shpTop, QStringLiteral("Schedario Libri\nEsportazione in Microsoft Excel"));
    icoMano = new QLabel(shpTop);
    icoMano->setObjectName(QStringLiteral("icoMano"));
    icoMano->setGeometry(538, 10, 50, 45);
    icoMano->setPixmap(handPicture(icoMano->size()));

    cmdEsporta = new PictureButton(QStringLiteral("cmdEsporta"), asset(QStringLiteral("cmdEsporta.svg")), shpTop);
    cmdEsporta->setGeometry(648, 7, 49, 50);
    cmdImporta = new PictureButton(QStringLiteral("cmdImporta"), asset(QStringLiteral("cmdImporta.svg")), shpTop);
    cmdImporta->setGeometry(593, 7, 49, 50);
    cmdGuida = new PictureButton(QStringLiteral("cmdGuida"), asset(QStringLiteral("cmdGuida.svg")), shpTop);
    cmdGuida->setGeometry(714, 5, 50, 55);
    cmdEsci = new PictureButton(QStringLiteral("cmdEsci"), asset(QStringLiteral("cmdEsci.svg")), shpTop);
    cmdEsci->setGeometry(774, 7, 40, 50);

    grdRecords = new QTableView(panContainer);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setGeometry(8, 79, 821, 409);
    grdRecords->setModel(m_model);
    grdRecords->setAlternatingRowColors(true);
    {
        QPalette palette = grdRecords->palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::AlternateBase, QColor(0xE6, 0xEE, 0xF8));
        grdRecords->setPalette(palette);
    }
    grdRecords->setFont(Look::verdana(9));
    grdRecords->verticalHeader()->hide();
    // Fixed, uniform rows: the view then never measures a row, however many.
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->setMinimumSectionSize(21);
    grdRecords->verticalHeader()->setDefaultSectionSize(21);
    grdRecords->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grdRecords->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < CardTable::ColumnCount; ++c)
        grdRecords->setColumnWidth(c, CardTable::column(c).gridWidth);
    grdRecords->setWordWrap(false);
    grdRecords->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);

    panInfo = Look::makeHintBar(panContainer, QRect(8, 493, 821, 32), Look::SlateBlue,
                                QStringLiteral("Esportazione archivio in Microsoft Excel."));
    bkgInfo = panInfo->parentWidget();

    m_hints = new HintBar(panInfo);
    m_hints->addCommand(cmdEsporta, QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    m_hints->addCommand(cmdImporta,
                        QStringLiteral("Importa nuove schede da un foglio di Excel o di LibreOffice (CSV o XLS)."));
    m_hints->addCommand(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    m_hints->addCommand(cmdEsci, QStringLiteral("Esci da questo ambiente di lavoro."));
    for (QWidget *ground :
         {static_cast<QWidget *>(this), panContainer, shpTop, static_cast<QWidget *>(imgLogo),
          static_cast<QWidget *>(icoMano), static_cast<QWidget *>(grdRecords), grdRecords->viewport(), bkgInfo})
        m_hints->addGround(ground);

    connect(cmdEsporta, &PictureButton::clicked, this, &TfrmExpLibri::cmdEsportaClick);
    connect(cmdImporta, &PictureButton::clicked, this, &TfrmExpLibri::cmdImportaClick);
    connect(cmdGuida, &PictureButton::clicked, this, &TfrmExpLibri::cmdGuidaClick);
    connect(cmdEsci, &PictureButton::clicked, this, &TfrmExpLibri::cmdEsciClick);
}

QString TfrmExpLibri::helpTitle()
{
    return HelpTopics::esportazioneTitle();
}

QString TfrmExpLibri::helpTopic()
{
    return HelpTopics::esportazione();
}

QString TfrmExpLibri::exportPath()
{
    return ProgramFolder::file(SpreadsheetExport::fileName());
}

void TfrmExpLibri::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmExpLibri::FormShow()
{
    m_model->fillFromArchive();
}

bool TfrmExpLibri::writeExportFile()
{
    m_model->finishFill(); // every card, even when the archive is still being read
    // A cell still being edited belongs to the grid as well: taking the focus
    // from its editor commits it.
    if (QWidget *focus = QApplication::focusWidget(); focus && focus != grdRecords && grdRecords->isAncestorOf(focus))
        grdRecords->setFocus(Qt::OtherFocusReason);
    QSaveFile file(exportPath());
    QString error;
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
    } else if (!SpreadsheetExport::write(file, m_model->table())) {
        error = file.errorString();
        file.cancelWriting();
    } else if (FileSync::commit(file, &error)) {
        return true;
    }
    qCWarning(lcOutput, "esportazione in %s non riuscita: %s", qUtf8Printable(exportPath()),
              qUtf8Printable(Log::cause(error)));
    return false;
}

void TfrmExpLibri::cmdEsportaClick()
{
    if (Msg::answeredNo(this, QStringLiteral("L'esportazione dei dati in Excel pu\u00F2 richiedere diversi minuti a "
                                             "seconda del numero di schede presenti in archivio.\r\n\r\n"
                                             "Si vuole esportare i dati adesso?")))
        return;
    if (!writeExportFile()) {
        Msg::plain(this, failureMessage());
        return;
    }
    if (!Msg::answeredNo(this, QStringLiteral("Le schede in archivio sono state esportate con successo.\r\n\r\n"
                                              "Si vuole aprire il file di Excel?")))
        TMisc::Open(QLatin1Char('"') + QDir::toNativeSeparators(exportPath()) + QLatin1Char('"'));
}

void TfrmExpLibri::cmdImportaClick()
{
    int imported = 0;
    Screens::runModal<TfrmImportaLibri>(this, [&imported](TfrmImportaLibri &window) {
        QObject::connect(&window, &QDialog::finished, [&imported, &window] { imported = window.importedCount(); });
    });
    // The grid shows the new cards after its own, edits kept.
    if (imported > 0)
        m_model->addNewCards();
}

void TfrmExpLibri::cmdGuidaClick()
{
    Screens::runModal<TfrmGuida>(this, [](TfrmGuida &help) { help.setTopic(helpTitle(), helpTopic()); });
}

void TfrmExpLibri::cmdEsciClick()
{
    close();
}
