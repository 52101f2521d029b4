#include "tfrmcodici_dewey.h"

#include "booksearch.h"
#include "deweytable.h"
#include "listfind.h"

#include "core/texttrim.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/messages.h"
#include "kit/picturewidgets.h"
#include "kit/regional.h"
#include "kit/screens.h"
#include "output/listreport.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

QString TfrmCodici_Dewey::s_lastFind;

namespace {

constexpr QSize kClientSize(861, 561);
constexpr QSize kContainerSize(833, 529);
/// Border of the white and gradient rectangles.
constexpr QRgb kShapeBorder = 0xFFACC9E1;
/// Top colour of the list's gradient ground.
constexpr QRgb kListGround = 0xFF7DA9CE;
/// Least width of a list item; items are as wide as the longest entry.
constexpr int kItemWidth = 760;

QLabel *textLabel(QWidget *parent, const QString &name, const QString &text, const QFont &font, QRgb colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(QColor::fromRgba(colour).name()));
    return label;
}

/// The look of every entry: Courier New 12, black.
QFont entryFont()
{
    QFont font(QStringLiteral("Courier New"), 12);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

} // namespace

TfrmCodici_Dewey::TfrmCodici_Dewey(QWidget *parent) : QDialog(parent)
{
    Regional::apply();
    Screens::setupDialog(this, QStringLiteral("TfrmCodici_Dewey"), QStringLiteral(" Tabella Codici Dewey"),
                         kClientSize);
    Look::setGround(this, Look::SteelBlue);
    QWidget *pan = panContainer = Screens::addCentredContainer(this, kContainerSize);

    shpTitolo = Decor::rectangle(pan, QStringLiteral("shpTitolo"), QRect(8, 8, 817, 81), Look::White, Look::White);
    icoDewey =
        Decor::picture(pan, QStringLiteral("icoDewey"), QStringLiteral("dewey_titolo.svg"), QRect(16, 12, 699, 72));
    lblMemory = new QLabel(pan);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    shpLente = Decor::rectangle(pan, QStringLiteral("shpLente"), QRect(8, 96, 81, 57), Look::White, kShapeBorder);
    imgLente =
        Decor::picture(pan, QStringLiteral("imgLente"), QStringLiteral("dewey_lente.svg"), QRect(16, 104, 64, 41));
    shpSfondo = Decor::gradientRectangle(pan, QStringLiteral("shpSfondo"), QRect(96, 96, 729, 57), Look::SteelBlue,
                                         kShapeBorder);
    txtTrova = new QLineEdit(pan);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setGeometry(112, 114, 593, 22);
    txtTrova->setFont(Look::dataFont());
    btnTrova = Decor::button(pan, QStringLiteral("btnTrova"), QStringLiteral("Trova"), QRect(710, 109, 105, 30));
    Look::enterMovesTo(txtTrova, btnTrova);

    shpLista =
        Decor::gradientRectangle(pan, QStringLiteral("shpLista"), QRect(8, 160, 817, 321), kListGround, kShapeBorder);
    lstRecords = new QListWidget(pan);
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    lstRecords->setGeometry(16, 168, 801, 281);
    // Every item has the same font and size: the list lays them out without
    // asking each one.
    lstRecords->setUniformItemSizes(true);
    lstRecords->setWordWrap(false);
    lstRecords->setTextElideMode(Qt::ElideNone);
    lstRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRecords->viewport()->installEventFilter(this);
    panDewey = Decor::picture(pan, QStringLiteral("panDewey"), QStringLiteral("dewey_caricamento.svg"),
                              QRect(208, 284, 418, 54));

    lblRigo03 = textLabel(pan, QStringLiteral("lblRigo03"),
                          QStringLiteral("Per importare un codice Dewey dall'elenco, selezionarlo con un doppio clic"),
                          Look::verdana(11, true), Look::Crimson);
    lblRigo03->setGeometry(16, 454, 801, 22);
    lblRigo03->setAlignment(Qt::AlignCenter);

    btnChiudi = Decor::button(pan, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), QRect(8, 488, 150, 30));
    QFont italic = Look::verdana(12);
    italic.setItalic(true);
    lblAttendere = textLabel(pan, QStringLiteral("lblAttendere"), QStringLiteral("Stampa in corso. Attendere..."),
                             italic, Look::DarkGreen);
    lblAttendere->move(168, 494);
    lblAttendere->adjustSize();
    lblAttendere->hide();
    btnStampa = Decor::button(pan, QStringLiteral("btnStampa"), QStringLiteral("Stampa"), QRect(675, 488, 150, 30));

    timCarica = new QTimer(this);
    timCarica->setObjectName(QStringLiteral("timCarica"));
    timCarica->setInterval(1000);

    setTabOrder(txtTrova, lstRecords);

    connect(timCarica, &QTimer::timeout, this, &TfrmCodici_Dewey::timCaricaTimer);
    connect(btnTrova, &QPushButton::clicked, this, &TfrmCodici_Dewey::btnTrovaClick);
    connect(btnStampa, &QPushButton::pressed, this, &TfrmCodici_Dewey::btnStampaMouseDown);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmCodici_Dewey::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmCodici_Dewey::btnChiudiClick);
}

TfrmCodici_Dewey::~TfrmCodici_Dewey() = default;

void TfrmCodici_Dewey::setCaller(const QString &tag)
{
    lblMemory->setText(tag);
}

void TfrmCodici_Dewey::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmCodici_Dewey::FormShow()
{
    txtTrova->clear();
    lstRecords->clear();
    lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstRecords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    timCarica->start();
    txtTrova->setFocus(Qt::OtherFocusReason);
}

void TfrmCodici_Dewey::timCaricaTimer()
{
    timCarica->stop();
    fillList(DeweyTable::entries());
    panDewey->hide();
}

void TfrmCodici_Dewey::fillList(const QStringList &entries)
{
    const QFont font = entryFont();
    // Items are 760 wide, or as wide as the longest entry where that is
    // wider: the horizontal scroll bar then reaches the end of every entry
    // instead of leaving the long captions cut at the list's edge.
    const QFontMetrics metrics(font);
    int width = kItemWidth;
    for (const QString &entry : entries)
        width = qMax(width, metrics.horizontalAdvance(entry) + 2 * metrics.averageCharWidth());
    const QSize itemSize(width, metrics.height() + 2);
    const QBrush black(QColor::fromRgba(0xFF000000));
    // One update of the list: it is drawn once, with every entry in it.
    lstRecords->setUpdatesEnabled(false);
    for (const QString &entry : entries) {
        auto *item = new QListWidgetItem(entry);
        item->setFont(font);
        item->setForeground(black);
        item->setSizeHint(itemSize);
        lstRecords->addItem(item);
    }
    lstRecords->clearSelection();
    lstRecords->setUpdatesEnabled(true);
}

void TfrmCodici_Dewey::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TfrmCodici_Dewey::FormClose()
{
    emit closing();
}

bool TfrmCodici_Dewey::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstRecords->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        lstRecordsDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QStringList TfrmCodici_Dewey::entryTexts() const
{
    QStringList texts;
    texts.reserve(lstRecords->count());
    for (int i = 0; i < lstRecords->count(); ++i)
        texts << lstRecords->item(i)->text();
    return texts;
}

int TfrmCodici_Dewey::selectedRow() const
{
    const QModelIndexList selected = lstRecords->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TfrmCodici_Dewey::selectRow(int row)
{
    lstRecords->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    lstRecords->scrollToItem(lstRecords->item(row));
}

// ---- find ---------------------------------------------------------------------------

void TfrmCodici_Dewey::btnTrovaClick()
{
    const int count = lstRecords->count();
    if (count == 0) {
        Msg::plain(this, QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
        return;
    }
    if (selectedRow() < 0)
        selectRow(0);

    const QString key = BookSearch::lowerAZ(txtTrova->text());
    auto matches = [&](int i) {
        return !key.isEmpty() && BookSearch::lowerAZ(lstRecords->item(i)->text()).contains(key);
    };
    const int found = findInList(count, selectedRow(), key == s_lastFind, matches);
    if (found >= 0)
        selectRow(found);
    s_lastFind = key;
}

// ---- pick, print, close ------------------------------------------------------------

void TfrmCodici_Dewey::lstRecordsDblClick()
{
    const int row = selectedRow();
    if (row >= 0 && trimText(lblMemory->text()) == QLatin1String("libri"))
        emit classPicked(lstRecords->item(row)->text().left(3));
    reject();
}

void TfrmCodici_Dewey::btnStampaMouseDown()
{
    // Painted now, before the print keeps the screen busy.
    lblAttendere->show();
    lblAttendere->repaint();
}

void TfrmCodici_Dewey::btnStampaClick()
{
    ListReport::print(this, QStringLiteral("Tabella Codici Dewey"), entryTexts());
    lblAttendere->hide();
}

void TfrmCodici_Dewey::btnChiudiClick()
{
    reject();
}
