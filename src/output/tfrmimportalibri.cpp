#include "tfrmimportalibri.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/logging.h"
#include "core/writelock.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/filechooser.h"
#include "kit/messages.h"
#include "kit/screens.h"
#include "output/spreadsheetexport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>

using namespace SpreadsheetImport;

namespace {
constexpr int kRowHeight = 24;

QString plural(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

QString problemText(Problem problem, qint64 row)
{
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::Unreadable:
        return QStringLiteral("Il file non pu\u00F2 essere letto.\r\n\r\n"
                              "Accertarsi che il file esista e che non sia aperto in un altro programma.");
    case Problem::Empty:
        return QStringLiteral("Il file \u00E8 vuoto: non contiene nessuna riga da importare.");
    case Problem::Binary:
        return QStringLiteral("Il file non \u00E8 un foglio di calcolo salvato come testo.\r\n\r\n"
                              "Aprirlo con Excel o con LibreOffice Calc, salvarlo in formato CSV (valori separati "
                              "da punto e virgola) e importare il file CSV.");
    case Problem::NotATable:
        return QStringLiteral("Il file non contiene una tabella: le sue righe non sono divise in colonne da punto "
                              "e virgola, virgola o tabulazione.");
    case Problem::UnclosedQuote:
        return QStringLiteral("Il file non si pu\u00F2 leggere come tabella: il testo tra virgolette che inizia "
                              "alla riga %1 non viene mai chiuso.")
            .arg(row);
    case Problem::TooManyColumns:
        return QStringLiteral("La riga %1 del file ha pi\u00F9 colonne dell'intestazione.").arg(row);
    }
    return {};
}

QString unchanged()
{
    return QStringLiteral("\r\n\r\nL'archivio non \u00E8 stato modificato.");
}
} // namespace

TfrmImportaLibri::TfrmImportaLibri(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmImportaLibri"),
                         QStringLiteral(" Importa schede da un foglio di calcolo"), QSize(862, 560));
    Look::setGround(this, Look::ExportBlue);
    buildLayout();
}

TfrmImportaLibri::~TfrmImportaLibri() = default;

QString TfrmImportaLibri::skipText()
{
    return QStringLiteral("Non importare");
}

void TfrmImportaLibri::buildLayout()
{
    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setGeometry(12, 13, 837, 533);

    shpTop = Decor::rectangle(panContainer, QStringLiteral("shpTop"), QRect(8, 8, 821, 65), Look::White, 0xFFD8E5EF);
    imgLogo = Decor::titleLogoLabel(shpTop, QStringLiteral("Schedario Libri\nImportazione da foglio di calcolo"));

    btnSfoglia =
        Decor::button(panContainer, QStringLiteral("btnSfoglia"), QStringLiteral("Sfoglia..."), QRect(8, 83, 120, 30));
    lblFile = new QLabel(QStringLiteral("Nessun file scelto."), panContainer);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->setGeometry(138, 83, 691, 30);
    lblFile->setFont(Look::verdana(9, true));
    lblFile->setTextFormat(Qt::PlainText);

    chkIntestazione = new QCheckBox(QStringLiteral("La prima riga contiene i nomi delle colonne"), panContainer);
    chkIntestazione->setObjectName(QStringLiteral("chkIntestazione"));
    chkIntestazione->setGeometry(8, 119, 380, 24);
    chkIntestazione->setFont(Look::verdana(9));
    chkIntestazione->setChecked(true);
    chkSaltaISBN =
        new QCheckBox(QStringLiteral("Salta le righe con un ISBN gi\u00E0 presente in archivio"), panContainer);
    chkSaltaISBN->setObjectName(QStringLiteral("chkSaltaISBN"));
    chkSaltaISBN->setGeometry(400, 119, 429, 24);
    chkSaltaISBN->setFont(Look::verdana(9));
    chkSaltaISBN->setChecked(true);

    grdAnteprima = new QTableWidget(panContainer);
    grdAnteprima->setObjectName(QStringLiteral("grdAnteprima"));
    grdAnteprima->setGeometry(8, 149, 821, 296);
    grdAnteprima->setFont(Look::verdana(9));
    grdAnteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAnteprima->setSelectionMode(QAbstractItemView::NoSelection);
    grdAnteprima->setWordWrap(false);
    grdAnteprima->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdAnteprima->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grdAnteprima->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdAnteprima->setAlternatingRowColors(true);
    {
        QPalette palette = grdAnteprima->palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::AlternateBase, QColor(0xE6, 0xEE, 0xF8));
        palette.setColor(QPalette::Window, Qt::white); // behind the row numbers, not the window's ground
        grdAnteprima->setPalette(palette);
    }

    cmdImporta =
        Decor::button(panContainer, QStringLiteral("cmdImporta"), QStringLiteral("Importa"), QRect(589, 453, 115, 32));
    cmdImporta->setEnabled(false);
    cmdAnnulla =
        Decor::button(panContainer, QStringLiteral("cmdAnnulla"), QStringLiteral("Annulla"), QRect(714, 453, 115, 32));

    panInfo = Look::makeHintBar(panContainer, QRect(8, 493, 821, 32), Look::SlateBlue,
                                QStringLiteral("Importazione schede da un foglio di calcolo."));
    bkgInfo = panInfo->parentWidget();

    m_hints = new HintBar(panInfo);
    m_hints->addCommand(btnSfoglia, QStringLiteral("Sceglie il file da importare: CSV di Excel o di LibreOffice, "
                                                   "oppure Schedario_Libri.xls."));
    m_hints->addCommand(chkIntestazione, QStringLiteral("La prima riga del file d\u00E0 i nomi delle colonne e non "
                                                        "diventa una scheda."));
    m_hints->addCommand(chkSaltaISBN, QStringLiteral("Non importa i libri il cui ISBN \u00E8 gi\u00E0 presente "
                                                     "nell'archivio."));
    m_hints->addCommand(cmdImporta, QStringLiteral("Aggiunge le righe del file come nuove schede in fondo "
                                                   "all'archivio."));
    m_hints->addCommand(cmdAnnulla, QStringLiteral("Chiude la finestra senza importare nulla."));
    for (QWidget *ground :
         {static_cast<QWidget *>(this), panContainer, shpTop, static_cast<QWidget *>(imgLogo),
          static_cast<QWidget *>(lblFile), static_cast<QWidget *>(grdAnteprima), grdAnteprima->viewport(), bkgInfo})
        m_hints->addGround(ground);

    connect(btnSfoglia, &QPushButton::clicked, this, &TfrmImportaLibri::btnSfogliaClick);
    connect(cmdImporta, &QPushButton::clicked, this, &TfrmImportaLibri::cmdImportaClick);
    connect(cmdAnnulla, &QPushButton::clicked, this, &TfrmImportaLibri::cmdAnnullaClick);
    connect(chkIntestazione, &QCheckBox::toggled, this, [this] { showPreview(); });
}

QComboBox *TfrmImportaLibri::fieldBox(int column) const
{
    return column >= 0 && column < m_boxes.size() ? m_boxes.at(column) : nullptr;
}

void TfrmImportaLibri::btnSfogliaClick()
{
    FileChooser::Request request;
    request.name = QStringLiteral("dlgFile");
    request.title = QStringLiteral("Selezionare il foglio di calcolo da importare.");
    request.filters = {{QStringLiteral("Fogli di calcolo (*.csv; *.txt; *.xls)"), QStringLiteral("*.csv *.txt *.xls")},
                       {QStringLiteral("Tutti i file (*.*)"), QStringLiteral("*")}};
    const QString chosen = FileChooser::choose(this, request);
    if (!chosen.isEmpty())
        loadFile(chosen);
}

bool TfrmImportaLibri::loadFile(const QString &path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Inspection found = inspectFile(path);
    QApplication::restoreOverrideCursor();
    if (found.problem != Problem::None) {
        Msg::warning(this, problemText(found.problem, found.problemRow));
        return false;
    }
    m_path = path;
    m_inspection = std::move(found);
    lblFile->setText(QDir::toNativeSeparators(path));
    {
        const QSignalBlocker block(chkIntestazione);
        chkIntestazione->setChecked(m_inspection.headerLikely);
    }
    // One box per column, with the field the column's name suggests.
    qDeleteAll(m_boxes);
    m_boxes.clear();
    grdAnteprima->clear();
    grdAnteprima->setColumnCount(m_inspection.columns);
    for (int c = 0; c < m_inspection.columns; ++c) {
        auto *box = new QComboBox;
        box->setObjectName(QStringLiteral("cboCampo%1").arg(c + 1, 2, 10, QLatin1Char('0')));
        box->setFont(Look::verdana(9));
        box->setCursor(Qt::PointingHandCursor);
        box->addItem(skipText(), -1);
        for (int col = 1; col < CardTable::ColumnCount; ++col)
            box->addItem(CardTable::headerText(col), CardTable::column(col).field);
        const int suggested = m_inspection.headerLikely ? m_inspection.suggested.value(c, -1) : -1;
        box->setCurrentIndex(qMax(0, box->findData(suggested)));
        connect(box, &QComboBox::activated, this, [this, c] { fieldChosen(c); });
        m_boxes.append(box);
        grdAnteprima->setColumnWidth(c, 180);
    }
    showPreview();
    cmdImporta->setEnabled(true);
    return true;
}

void TfrmImportaLibri::showPreview()
{
    const int columns = m_inspection.columns;
    if (columns == 0)
        return;
    const bool header = chkIntestazione->isChecked();
    const QList<QStringList> &rows = m_inspection.preview;
    const int first = header ? 1 : 0;
    const int shown = qMax(0, int(rows.size()) - first);
    // Row 0 holds the boxes; the cell widgets stay when the rows change.
    grdAnteprima->setRowCount(1 + shown);
    QStringList headers;
    for (int c = 0; c < columns; ++c) {
        const QString name = header ? rows.value(0).value(c).simplified() : QString();
        headers.append(name.isEmpty() ? QStringLiteral("Colonna %1").arg(c + 1) : name);
        if (!grdAnteprima->cellWidget(0, c))
            grdAnteprima->setCellWidget(0, c, m_boxes.at(c));
    }
    grdAnteprima->setHorizontalHeaderLabels(headers);
    QStringList numbers = {QStringLiteral("Campo")};
    for (int r = 0; r < shown; ++r) {
        numbers.append(QString::number(first + r + 1));
        for (int c = 0; c < columns; ++c) {
            // A line break inside a cell is shown as a sign, the row stays one line.
            QString text = rows.at(first + r).value(c);
            text.replace(QLatin1String("\r\n"), QStringLiteral(" \u21B5 "))
                .replace(QLatin1Char('\n'), QStringLiteral(" \u21B5 "));
            grdAnteprima->setItem(r + 1, c, new QTableWidgetItem(text));
        }
    }
    grdAnteprima->setVerticalHeaderLabels(numbers);
}

void TfrmImportaLibri::fieldChosen(int column)
{
    // A field is filled by one column only: the column that had it lets it go.
    const int field = m_boxes.at(column)->currentData().toInt();
    if (field < 0)
        return;
    for (int c = 0; c < m_boxes.size(); ++c) {
        if (c != column && m_boxes.at(c)->currentData().toInt() == field)
            m_boxes.at(c)->setCurrentIndex(0);
    }
}

QList<int> TfrmImportaLibri::chosenFields() const
{
    QList<int> fields;
    for (const QComboBox *box : m_boxes)
        fields.append(box->currentData().toInt());
    return fields;
}

void TfrmImportaLibri::cmdImportaClick()
{
    if (m_path.isEmpty()) {
        Msg::warning(this, QStringLiteral("Scegliere prima il file da importare con il pulsante Sfoglia."));
        return;
    }
    const QList<int> fields = chosenFields();
    if (!fields.contains(int(TSchedaLibro::Titolo))) {
        Msg::warning(this, QStringLiteral("Scegliere la colonna che contiene il titolo del libro: "
                                          "una scheda senza titolo non pu\u00F2 essere importata."));
        return;
    }
    const bool header = chkIntestazione->isChecked();
    if (header && m_inspection.firstWiderRow > 0) {
        Msg::warning(this, QStringLiteral("La riga %1 del file ha pi\u00F9 colonne dell'intestazione (%2 invece di "
                                          "%3).\r\n\r\nCorreggere il file, oppure togliere il segno da \"La prima "
                                          "riga contiene i nomi delle colonne\".")
                               .arg(m_inspection.firstWiderRow)
                               .arg(m_inspection.widerRowColumns)
                               .arg(m_inspection.firstRowColumns));
        return;
    }
    const qint64 rows = m_inspection.rows - (header ? 1 : 0);
    if (Msg::answeredNo(this, QStringLiteral("Il file contiene %1 da importare come nuove schede in fondo "
                                             "all'archivio.\r\n\r\nSi vuole procedere con l'importazione?")
                                  .arg(plural(int(rows), "riga", "righe"))))
        return;

    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        Msg::warning(this, problemText(Problem::Unreadable, 0));
        return;
    }
    // The whole import is one write of the card index: under its lock, so
    // that another workstation's save never lands in the middle of it and
    // the ISBNs already there are read as they are while it runs.
    WriteLock lock(BookArchive::path());
    if (!lock.take()) {
        Msg::warning(this, WriteLock::busyMessage());
        return;
    }
    BookArchive archive;
    if (!archive.open()) {
        lock.release();
        qCWarning(lcOutput, "importazione: l'archivio %s non si apre: %s", qUtf8Printable(BookArchive::path()),
                  qUtf8Printable(Log::cause(archive.errorString())));
        Msg::error(this, BookArchive::accessFailureMessage());
        return;
    }

    QProgressDialog progress(QStringLiteral("Importazione delle schede in corso..."), QStringLiteral("Annulla"), 0,
                             1000, this);
    progress.setObjectName(QStringLiteral("prgImporta"));
    progress.setWindowTitle(QStringLiteral(" Importazione schede"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    m_progress = &progress;
    const auto forget = qScopeGuard([this] { m_progress = nullptr; });

    Options options;
    options.fields = fields;
    options.header = header;
    options.skipKnownIsbn = chkSaltaISBN->isChecked();
    QElapsedTimer sinceFresh;
    sinceFresh.start();
    CardRows source(file, m_inspection.layout, options, [&progress, &lock, &sinceFresh](qint64 done, qint64 total) {
        if (sinceFresh.elapsed() > 1000) { // a long import is no abandoned lock
            lock.keepFresh();
            sinceFresh.restart();
        }
        progress.setValue(total > 0 ? int(qMin<qint64>(999, done * 1000 / total)) : 0);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    int appended = 0;
    const BookArchive::BulkResult result = archive.appendAll(source, &appended);
    const bool closed = archive.close();
    lock.release();
    progress.close();

    if (result == BookArchive::BulkResult::Stopped && source.cancelled()) {
        Msg::information(this, QStringLiteral("Importazione annullata.") + unchanged());
        return;
    }
    if (result == BookArchive::BulkResult::Stopped) {
        QString text = problemText(source.problem(), source.problemRow());
        Msg::warning(this, text + unchanged());
        return;
    }
    if (result == BookArchive::BulkResult::Failed || !closed) {
        qCWarning(lcOutput, "importazione in %s non riuscita: %s", qUtf8Printable(BookArchive::path()),
                  qUtf8Printable(Log::cause(archive.errorString())));
        Msg::error(this, BookArchive::accessFailureMessage());
        return;
    }

    m_imported = appended;
    const Tally &tally = source.tally();
    QString text = appended == 1 ? QStringLiteral("\u00C8 stata importata 1 scheda.")
                                 : QStringLiteral("Sono state importate %1 schede.").arg(appended);
    if (tally.skipped() > 0) {
        text += QStringLiteral("\r\n\r\nRighe saltate: %1").arg(tally.skipped());
        if (tally.noTitle > 0)
            text += QStringLiteral("\r\n- senza titolo: %1").arg(tally.noTitle);
        if (tally.knownIsbn > 0)
            text += QStringLiteral("\r\n- ISBN gi\u00E0 presente in archivio: %1").arg(tally.knownIsbn);
    }
    if (tally.cut > 0 || tally.replaced > 0)
        text += QStringLiteral("\r\n");
    if (tally.cut > 0)
        text += QStringLiteral("\r\nSchede con testi tagliati alla lunghezza del campo: %1").arg(tally.cut);
    if (tally.replaced > 0)
        text += QStringLiteral("\r\nSchede con caratteri non previsti dall'archivio, sostituiti da \"?\": %1")
                    .arg(tally.replaced);
    Msg::information(this, text);
    accept();
}

void TfrmImportaLibri::cmdAnnullaClick()
{
    reject();
}
