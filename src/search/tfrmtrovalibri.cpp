#include "tfrmtrovalibri.h"

#include "listfind.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/texttrim.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/messages.h"
#include "kit/picturewidgets.h"
#include "kit/regional.h"
#include "kit/screens.h"
#include "output/listreport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>

#include <cstring>
#include <memory>

QString TfrmTrovaLibri::s_lastFind;

namespace {

/// Client size of the window and of its two panels, which lie on top of
/// each other, centred.
constexpr QSize kClientSize(862, 560);
constexpr QSize kPanelSize(833, 529);

QPixmap picture(const QString &asset, const QSize &size)
{
    return QPixmap::fromImage(renderPicture(QStringLiteral(":/assets/") + asset, size));
}

QLabel *pictureLabel(QWidget *parent, const QString &name, const QString &asset, const QRect &geometry)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setPixmap(picture(asset, geometry.size()));
    return label;
}

QWidget *whiteBox(QWidget *parent, const QString &name, const QRect &geometry)
{
    return Decor::rectangle(parent, name, geometry, Look::White, 0xFFB9CFE2);
}

QLabel *textLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry, const QFont &font,
                  QRgb colour, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(align);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(QColor::fromRgba(colour).name()));
    return label;
}

QLabel *hiddenLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

} // namespace

// ---- the result rows ------------------------------------------------------

TrovaRowModel::TrovaRowModel(QObject *parent) : QAbstractListModel(parent), m_font(QStringLiteral("Courier New"), 12)
{
    m_font.setStyleHint(QFont::Monospace);
    m_font.setFixedPitch(true);
    m_itemHeight = QFontMetrics(m_font).height() + 2;
}

int TrovaRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant TrovaRowModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_rows.text(index.row());
    case Qt::FontRole:
        return m_font;
    case Qt::ForegroundRole:
        return QColor::fromRgba(0xFF000000);
    case Qt::SizeHintRole:
        if (m_itemWidth > 0)
            return QSize(m_itemWidth, m_itemHeight);
        return QVariant();
    default:
        return QVariant();
    }
}

void TrovaRowModel::setRows(BookSearch::RowList rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_rows.sort();
    endResetModel();
}

void TrovaRowModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void TrovaRowModel::setItemWidth(int width)
{
    beginResetModel();
    m_itemWidth = width;
    endResetModel();
}

// ---- the screen -------------------------------------------------------------

TfrmTrovaLibri::TfrmTrovaLibri(QWidget *parent) : QDialog(parent), m_model(new TrovaRowModel(this))
{
    Regional::apply();
    Screens::setupDialog(this, QStringLiteral("TfrmTrovaLibri"), QStringLiteral(" Trova libri in archivio"),
                         kClientSize);
    Look::setGround(this, Look::SteelBlue);
    lblMemory = hiddenLabel(this, QStringLiteral("lblMemory"));
    lblConta = hiddenLabel(this, QStringLiteral("lblConta"));
    buildResultPanel();
    buildFilterPanel();
    panContainer->hide();
}

TfrmTrovaLibri::~TfrmTrovaLibri() = default;

void TfrmTrovaLibri::setCaller(const QString &tag)
{
    lblMemory->setText(tag);
}

void TfrmTrovaLibri::buildFilterPanel()
{
    panAvvio = new QWidget(this);
    panAvvio->setObjectName(QStringLiteral("panAvvio"));
    const QPoint corner((kClientSize.width() - kPanelSize.width()) / 2,
                        (kClientSize.height() - kPanelSize.height()) / 2);
    panAvvio->setGeometry(QRect(corner, kPanelSize));

    whiteBox(panAvvio, QStringLiteral("bkgIstruzioni"), QRect(23, 8, 787, 77));
    pictureLabel(panAvvio, QStringLiteral("icoIstruzioni"), QStringLiteral("trovalibri_istruzioni.svg"),
                 QRect(31, 16, 771, 61));
    pictureLabel(panAvvio, QStringLiteral("icoStriscia"), QStringLiteral("trovalibri_striscia.svg"),
                 QRect(23, 110, 98, 350));

    struct Filter
    {
        QLineEdit **box;
        const char *name;
        const char *label;
        const char *frame;
        int maxLength;
        int column, row;
    };
    // In the order in which the filters are counted and tested.
    const Filter filters[BookSearch::FilterCount] = {
        {&txtTitolo, "txtTitolo", "Titolo libro:", "effCampo01", 120, 0, 0},
        {&txtAutore, "txtAutore", "Autore:", "effCampo02", 50, 1, 0},
        {&txtGenere, "txtGenere", "Genere:", "effCampo09", 50, 0, 1},
        {&txtAnno, "txtAnno", "Anno pubblicazione:", "effCampo10", 20, 1, 1},
        {&txtEditore, "txtEditore", "Casa editrice:", "effCampo05", 50, 0, 2},
        {&txtDewey, "txtDewey", "Codice Dewey:", "effCampo06", 12, 1, 2},
        {&txtISBN, "txtISBN", "ISBN:", "effCampo07", 20, 0, 3},
        {&txtEtichetta, "txtEtichetta", "Codice su etichetta:", "effCampo08", 50, 1, 3},
        {&txtCuratore, "txtCuratore", "Curatore:", "effCampo03", 50, 0, 4},
        {&txtNote, "txtNote", "Note:", "effCampo04", 250, 1, 4},
    };
    QList<QWidget *> chain;
    for (int i = 0; i < BookSearch::FilterCount; ++i) {
        const Filter &f = filters[i];
        const int x = f.column == 0 ? 144 : 488;
        const int y = 141 + 70 * f.row;
        auto *box = new QLineEdit(panAvvio);
        box->setObjectName(QString::fromLatin1(f.name));
        box->setGeometry(x, y, 320, 22);
        box->setFont(Look::dataFont());
        box->setMaxLength(f.maxLength);
        textLabel(panAvvio, QStringLiteral("lbl") + QString::fromLatin1(f.name).mid(3), QString::fromUtf8(f.label),
                  QRect(x, y - 21, 320, 18), Look::verdana(12), Look::DarkBlue);
        Look::makeFocusFrame(box, QString::fromLatin1(f.frame));
        *f.box = box;
        m_filters[size_t(i)] = box;
        chain << box;
    }
    Look::enterChain(chain);

    btnAnnulla =
        Decor::button(panAvvio, QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"), QRect(23, 485, 150, 30));
    btnCerca = Decor::button(panAvvio, QStringLiteral("btnCerca"), QStringLiteral("Cerca"), QRect(660, 485, 150, 30));
    lblAttendere =
        textLabel(panAvvio, QStringLiteral("lblAttendere"), QStringLiteral("Ricerca schede in corso. Attendere..."),
                  QRect(183, 485, 467, 30), Look::verdana(11, true), Look::DarkCyan, Qt::AlignCenter);
    lblAttendere->hide();

    connect(btnCerca, &QPushButton::pressed, this, &TfrmTrovaLibri::btnCercaMouseDown);
    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaLibri::btnCercaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &TfrmTrovaLibri::btnAnnullaClick);
}

void TfrmTrovaLibri::buildResultPanel()
{
    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    const QPoint corner((kClientSize.width() - kPanelSize.width()) / 2,
                        (kClientSize.height() - kPanelSize.height()) / 2);
    panContainer->setGeometry(QRect(corner, kPanelSize));

    pictureLabel(panContainer, QStringLiteral("icoLogo"), QStringLiteral("trovalibri_logo.svg"), QRect(8, 4, 817, 53));
    pictureLabel(panContainer, QStringLiteral("icoIstruzioni"), QStringLiteral("trovalibri_elenco.svg"),
                 QRect(94, 62, 645, 31));

    whiteBox(panContainer, QStringLiteral("bkgLente"), QRect(16, 100, 44, 38));
    pictureLabel(panContainer, QStringLiteral("icoLente"), QStringLiteral("trovalibri_lente.svg"),
                 QRect(22, 103, 32, 32));
    txtTrova = new QLineEdit(panContainer);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setGeometry(72, 108, 593, 22);
    txtTrova->setFont(Look::dataFont());
    btnTrova =
        Decor::button(panContainer, QStringLiteral("btnTrova"), QStringLiteral("Trova"), QRect(712, 104, 105, 30));
    Look::enterMovesTo(txtTrova, btnTrova);

    auto *frame = new QWidget(panContainer);
    frame->setObjectName(QStringLiteral("bkgElenco"));
    frame->setGeometry(10, 146, 813, 285);
    frame->setAttribute(Qt::WA_StyledBackground);
    frame->setStyleSheet(QStringLiteral("#bkgElenco { border-radius: 5px; background: qlineargradient(x1:0, y1:0, "
                                        "x2:0, y2:1, stop:0 #4682b4, stop:1 #dbe8f3); }"));
    lstRecords = new QListView(panContainer);
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    lstRecords->setGeometry(16, 152, 801, 273);
    lstRecords->setModel(m_model);
    // One height for every row: a long list is laid out without asking each row.
    lstRecords->setUniformItemSizes(true);
    lstRecords->setWordWrap(false);
    lstRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    lstRecords->viewport()->installEventFilter(this);

    lblRigo03 = textLabel(panContainer, QStringLiteral("lblRigo03"),
                          QStringLiteral("Fare doppio clic sulla voce in elenco per richiamare la scheda"),
                          QRect(16, 440, 801, 24), Look::verdana(11, true), Look::Crimson, Qt::AlignCenter);
    btnChiudi =
        Decor::button(panContainer, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(16, 485, 150, 30));
    btnStampa =
        Decor::button(panContainer, QStringLiteral("btnStampa"), QStringLiteral("Stampa"), QRect(667, 485, 150, 30));
    lblTrovate =
        textLabel(panContainer, QStringLiteral("lblTrovate"), QStringLiteral("Il presente riepilogo contiene 0 schede"),
                  QRect(176, 485, 481, 30), Look::verdana(11, true), Look::DarkCyan, Qt::AlignCenter);

    connect(btnTrova, &QPushButton::clicked, this, &TfrmTrovaLibri::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmTrovaLibri::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmTrovaLibri::btnChiudiClick);
}

void TfrmTrovaLibri::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmTrovaLibri::FormShow()
{
    s_lastFind.clear();
    if (m_model->rowCount() > 0)
        selectRow(0);
    txtTrova->clear();
    txtTitolo->setFocus(Qt::OtherFocusReason);
}

void TfrmTrovaLibri::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TfrmTrovaLibri::FormClose()
{
    m_model->clear();
    lblAttendere->hide();
}

bool TfrmTrovaLibri::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstRecords->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        lstRecordsDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QStringList TfrmTrovaLibri::rowTexts() const
{
    QStringList texts;
    const BookSearch::RowList &rows = m_model->rows();
    texts.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        texts << rows.text(i);
    return texts;
}

int TfrmTrovaLibri::selectedRow() const
{
    const QModelIndexList selected = lstRecords->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TfrmTrovaLibri::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    lstRecords->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    // Rows are wider than the list: bring the row into view without
    // moving the list sideways.
    const int across = lstRecords->horizontalScrollBar()->value();
    lstRecords->scrollTo(index);
    lstRecords->horizontalScrollBar()->setValue(across);
}

// ---- search ---------------------------------------------------------------------

void TfrmTrovaLibri::btnCercaMouseDown()
{
    // Painted now, before the search keeps the screen busy.
    lblAttendere->show();
    lblAttendere->repaint();
}

void TfrmTrovaLibri::btnCercaClick()
{
    QStringList texts;
    for (QLineEdit *box : m_filters)
        texts << box->text();
    const BookSearch::Filters filters(texts);
    lblConta->setText(QString::number(filters.count()));

    m_model->clear();
    BookSearch::RowList rows;
    const BookSearch::Outcome outcome = runSearch(filters, rows);
    if (outcome == BookSearch::Outcome::Stopped) {
        // Stopped by the user: the filters stay as they were, nothing is listed.
        lblAttendere->hide();
        btnCerca->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (outcome != BookSearch::Outcome::Done) {
        // The screen stays on the filters, so the search can be run again;
        // the busy notice goes, as nothing is running any more.
        lblAttendere->hide();
        Msg::plain(this, BookArchive::accessFailureMessage());
        return;
    }
    const int found = rows.size();
    m_model->setRows(std::move(rows));
    m_model->setItemWidth(1600);
    lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstRecords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lblTrovate->setText(QStringLiteral("Il presente riepilogo contiene ") + QString::number(found) +
                        QStringLiteral(" schede."));

    panContainer->show();
    panAvvio->hide();
    txtTrova->clear();
    txtTrova->setFocus(Qt::OtherFocusReason);
    lstRecords->selectionModel()->clear();
}

BookSearch::Outcome TfrmTrovaLibri::runSearch(const BookSearch::Filters &filters, BookSearch::RowList &rows)
{
    // The window keeps painting while the search reads; once the search has
    // run for half a second, a progress window with "Interrompi" shows how
    // far it has come. Until then no input reaches the screen, and from then
    // on the progress window, modal to this screen, takes all of it.
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> progress;
    const auto told = [&](int read, int total) {
        if (!progress && clock.elapsed() >= kProgressAfterMs) {
            progress =
                std::make_unique<QProgressDialog>(lblAttendere->text(), QStringLiteral("Interrompi"), 0, total, this);
            progress->setObjectName(QStringLiteral("prgRicerca"));
            progress->setWindowTitle(windowTitle());
            progress->setWindowModality(Qt::WindowModal);
            progress->setAutoClose(false);
            progress->setAutoReset(false);
            progress->setMinimumDuration(0);
            progress->show();
        }
        if (progress) {
            progress->setValue(read);
            QCoreApplication::processEvents();
            return !progress->wasCanceled();
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    };
    return BookSearch::search(BookArchive::path(), filters, rows, told);
}

void TfrmTrovaLibri::btnAnnullaClick()
{
    reject();
}

void TfrmTrovaLibri::btnChiudiClick()
{
    reject();
}

void TfrmTrovaLibri::btnStampaClick()
{
    ListReport::print(this, QStringLiteral("Riepilogo libri in archivio"), rowTexts());
}

// ---- find in the list --------------------------------------------------------------

void TfrmTrovaLibri::btnTrovaClick()
{
    const BookSearch::RowList &rows = m_model->rows();
    const int count = rows.size();
    if (count == 0) {
        Msg::plain(this, QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
        return;
    }
    if (selectedRow() < 0)
        selectRow(0);

    const QString s = BookSearch::lowerAZ(txtTrova->text());
    const BookSearch::Needle needle(s);
    auto matches = [&](int i) { return needle.occursIn(rows.data(i), rows.length(i)); };

    const int found = findInList(count, selectedRow(), s == s_lastFind, matches);
    if (found >= 0)
        selectRow(found);
    s_lastFind = s;
}

// ---- hand-off -----------------------------------------------------------------------

void TfrmTrovaLibri::lstRecordsDblClick()
{
    const int row = selectedRow();
    if (row >= 0) {
        const BookSearch::RowList &rows = m_model->rows();
        const QByteArray text(rows.data(row), rows.length(row));
        TSchedaLibro card; // this screen's own record buffer
        int number = 0;
        // A failure ends the hand-off silently; a card found before it is
        // still handed off, as the receiver would already show it.
        BookSearch::findCard(BookArchive::path(), text, number, card.data());
        if (number > 0)
            handOff(card, number);
    }
    reject();
}

void TfrmTrovaLibri::handOff(const TSchedaLibro &card, int number)
{
    const QString tag = trimText(lblMemory->text());
    if (tag == QLatin1String("libri")) {
        emit cardChosen(card, number);
        return;
    }
    static const QStringList boxTags = {QStringLiteral("libro_a"), QStringLiteral("libro_b"), QStringLiteral("libro_c"),
                                        QStringLiteral("libro_d"), QStringLiteral("libro_e"), QStringLiteral("libro_f"),
                                        QStringLiteral("libro_g"), QStringLiteral("libro_h")};
    const int box = int(boxTags.indexOf(tag));
    if (box >= 0)
        emit cardChosenForBox(card, number, box);
    // Any other tag hands off nothing.
}
