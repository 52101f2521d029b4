#include "tfrmapricatalogo.h"

#include "cataloguefolder.h"

#include "core/helptopics.h"
#include "core/logging.h"
#include "core/programfolder.h"
#include "core/writelock.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/messages.h"
#include "kit/picturewidgets.h"
#include "kit/regional.h"
#include "kit/screens.h"
#include "kit/tfrmguida.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMetaMethod>

namespace {
constexpr QRgb PanelBorder = 0xFFD8E5EF;
constexpr QRgb BannerGround = 0xFFEEF4FA;
constexpr QRgb BlanchedAlmond = 0xFFFFEBCD;

const QString &emptyListMessage()
{
    static const QString text = QStringLiteral("Attenzione: l'elenco non contiene nessun catalogo.");
    return text;
}
} // namespace

TfrmApriCatalogo::TfrmApriCatalogo(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmApriCatalogo"),
                             QStringLiteral(" Rilegora - Apertura catalogo esistente"));
    Look::setGround(this, Look::CardBlue);
    QWidget *pan = Screens::addCentredContainer(this);

    Decor::rectangle(pan, QStringLiteral("bkgSfondo01"), QRect(123, 40, 750, 612), Look::White, PanelBorder, 8);
    Decor::rectangle(pan, QStringLiteral("bkgSfondo02"), QRect(135, 52, 726, 136), BannerGround, PanelBorder, 6);
    Decor::picture(pan, QStringLiteral("icoIstruzioni"), QStringLiteral("apricatalogo_istruzioni.svg"),
                   QRect(143, 60, 710, 120));

    // The list in its frame, the trash can beside it.
    Decor::rectangle(pan, QStringLiteral("bkgSfondo03"), QRect(135, 204, 726, 340), 0xFFF5F9FD, PanelBorder, 6);
    Decor::rectangle(pan, QStringLiteral("sfoBonificiEmessi"), QRect(147, 214, 630, 286), BlanchedAlmond, 0xFFDEC7A4,
                     4);
    lstFiles = new QListWidget(pan);
    lstFiles->setObjectName(QStringLiteral("lstFiles"));
    lstFiles->setGeometry(155, 222, 614, 270);
    lstFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    Decor::rectangle(pan, QStringLiteral("bkgSfondo06"), QRect(147, 504, 630, 32), Look::White, PanelBorder, 4);
    lblCreati = new QLabel(QStringLiteral("Sono stati creati 0 cataloghi."), pan);
    lblCreati->setObjectName(QStringLiteral("lblCreati"));
    lblCreati->setGeometry(155, 508, 614, 24);
    lblCreati->setFont(Look::verdana(12));
    lblCreati->setStyleSheet(QStringLiteral("color: #008000;"));
    Decor::rectangle(pan, QStringLiteral("bkgSfondo04"), QRect(785, 214, 64, 286), Look::White, PanelBorder, 4);
    btnElimina =
        Decor::command(pan, QStringLiteral("btnElimina"), QStringLiteral("btnElimina.svg"), QRect(793, 222, 48, 48));
    Decor::picture(pan, QStringLiteral("icoMano"), QStringLiteral("icoMano_Sinistra.svg"), QRect(791, 300, 52, 52));
    Decor::picture(pan, QStringLiteral("icoIcona04"), QStringLiteral("icoIcona04.svg"), QRect(789, 440, 56, 48));

    Decor::rectangle(pan, QStringLiteral("bkgSfondo05"), QRect(135, 560, 726, 80), BannerGround, PanelBorder, 6);
    btnAnnulla =
        Decor::command(pan, QStringLiteral("btnAnnulla"), QStringLiteral("btnAnnulla.svg"), QRect(155, 576, 220, 48));
    imgGuida = Decor::command(pan, QStringLiteral("imgGuida"), QStringLiteral("imgGuida.svg"), QRect(484, 586, 29, 28));
    btnApri = Decor::command(pan, QStringLiteral("btnApri"), QStringLiteral("btnApri.svg"), QRect(621, 576, 220, 48));

    lblFile = new QLabel(pan);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->hide();
    lblMemory = new QLabel(pan);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    connect(btnApri, &QAbstractButton::clicked, this, &TfrmApriCatalogo::btnApriClick);
    connect(btnElimina, &QAbstractButton::clicked, this, &TfrmApriCatalogo::btnEliminaClick);
    connect(btnAnnulla, &QAbstractButton::clicked, this, &TfrmApriCatalogo::btnAnnullaClick);
    connect(imgGuida, &QAbstractButton::clicked, this, &TfrmApriCatalogo::imgGuidaClick);
}

QStringList TfrmApriCatalogo::entries() const
{
    QStringList out;
    for (int i = 0; i < lstFiles->count(); ++i)
        out << lstFiles->item(i)->text();
    return out;
}

bool TfrmApriCatalogo::selectEntry(const QString &text)
{
    const QList<QListWidgetItem *> found = lstFiles->findItems(text, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    lstFiles->setCurrentItem(found.first());
    return true;
}

QString TfrmApriCatalogo::selectedEntry() const
{
    const QList<QListWidgetItem *> selected = lstFiles->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void TfrmApriCatalogo::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmApriCatalogo::FormShow()
{
    lblMemory->setText(QStringLiteral("avvio"));
    lblFile->clear();
    fillList();
}

void TfrmApriCatalogo::fillList()
{
    lstFiles->clear();
    QFont font(QStringLiteral("Courier New"), 14);
    font.setStyleHint(QFont::Monospace);
    for (const QString &name : CatalogueFolder::list()) {
        auto *item = new QListWidgetItem(name, lstFiles);
        item->setFont(font);
        item->setForeground(QColor::fromRgba(0xFF000000));
    }
    lblCreati->setText(QStringLiteral("Sono stati creati ") + QString::number(lstFiles->count()) +
                       QStringLiteral(" cataloghi."));
}

void TfrmApriCatalogo::btnApriClick()
{
    if (lstFiles->count() == 0)
        return Msg::warning(this, emptyListMessage());
    const QString entry = selectedEntry();
    if (entry.isEmpty()) {
        return Msg::warning(this, QStringLiteral("Attenzione: selezionare il catalogo dall'elenco prima di premere il "
                                                 "pulsante Apri archivio."));
    }
    // The entry is the file's own name, used as it is: a name with blanks at
    // its ends (a file copied in by hand) still names that file.
    lblFile->setText(ProgramFolder::file(entry));
    lblMemory->setText(QStringLiteral("listino"));
    close();
}

void TfrmApriCatalogo::btnEliminaClick()
{
    if (lstFiles->count() == 0)
        return Msg::warning(this, emptyListMessage());
    const QString entry = selectedEntry();
    if (entry.isEmpty()) {
        return Msg::warning(this, QStringLiteral("Attenzione: selezionare dall'elenco il catalogo da eliminare prima "
                                                 "di fare clic sull'icona del cestino."));
    }
    if (Msg::answeredNo(this, QStringLiteral("Si sta per eliminare il catalogo selezionato. Si ricorda che il file "
                                             "eliminato non potrà essere recuperato.\r\n\r\nSi conferma "
                                             "l'eliminazione dell'archivio?")))
        return;
    const QString path = ProgramFolder::file(entry);
    lblFile->setText(path);
    // Under the catalogue's lock: a page that another workstation is saving
    // into it is written whole before the file goes, and is then not made again.
    WriteLock lock(path);
    if (!lock.take()) {
        Msg::warning(this, WriteLock::busyMessage());
        lblMemory->setText(QStringLiteral("avvio"));
        lblFile->clear();
        return;
    }
    // Only the .cat file goes; the catalogue's pictures stay in Foto_Gruppo.
    // A catalogue that is no longer there (deleted on another workstation)
    // counts as deleted.
    QFile file(path);
    const bool removed = file.remove() || !QFileInfo::exists(path);
    lock.release();
    if (removed) {
        Msg::information(this, QStringLiteral("Il catalogo è stato eliminato con successo."));
    } else {
        qCWarning(lcCatalogues, "catalogo %s non eliminato: %s", qUtf8Printable(path),
                  qUtf8Printable(Log::cause(file.errorString())));
        Msg::error(this, QStringLiteral("Attenzione: non è stato possibile eliminare il catalogo selezionato.\r\n\r\n"
                                        "Il file potrebbe essere in uso da parte di un altro programma: chiudere il "
                                        "programma e riprovare."));
    }
    lblMemory->setText(QStringLiteral("avvio"));
    lblFile->clear();
    fillList();
}

void TfrmApriCatalogo::btnAnnullaClick()
{
    close();
}

void TfrmApriCatalogo::imgGuidaClick()
{
    Screens::runModal<TfrmGuida>(
        this, [](TfrmGuida &help) { help.setTopic(HelpTopics::cataloghiTitle(), HelpTopics::cataloghi()); });
}

void TfrmApriCatalogo::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TfrmApriCatalogo::FormClose()
{
    // Alone (no launcher wired to it), the screen hands over nothing.
    if (!isSignalConnected(QMetaMethod::fromSignal(&TfrmApriCatalogo::leftToLauncher)))
        return;
    const QString entry = selectedEntry();
    if (lblMemory->text() == QLatin1String("listino") && !entry.isEmpty()) {
        lblFile->setText(ProgramFolder::file(entry));
        emit catalogueChosen(lblFile->text(), entry.chopped(4));
        return;
    }
    emit leftToLauncher();
}
