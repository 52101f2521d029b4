#include "tfrmallegacartella.h"

#include "core/bookrecord.h"
#include "kit/filechooser.h"

#include "core/boundedread.h"
#include "core/cp1252.h"
#include "core/filesync.h"
#include "core/logging.h"
#include "core/programfolder.h"
#include "core/texttrim.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/messages.h"
#include "kit/openurl.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryFile>

#include <limits>

namespace {
QLabel *caption(QWidget *parent, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(x, y, 400, 20);
    label->setFont(Look::verdana(10, true));
    label->setStyleSheet(QStringLiteral("color: #1f4e79;"));
    return label;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFont(Look::verdana(10));
    b->setAutoDefault(false);
    return b;
}

/// Copies in to out in blocks; false, with the cause in *error, when a read
/// or a write fails.
bool copyContents(QFile &in, QIODevice &out, QString *error)
{
    QByteArray block;
    while (!(block = in.read(1 << 20)).isEmpty()) {
        if (!FileSync::writeAll(out, block.constData(), block.size(), error))
            return false;
    }
    if (in.error() != QFileDevice::NoError) {
        *error = in.errorString();
        return false;
    }
    return true;
}

/// Copies source over destination; the old copy is replaced only once the
/// new one is whole, and stays as it was when anything fails, with its cause
/// in *error.
bool copyReplacing(const QString &source, const QString &destination, QString *error)
{
    QFile in(source);
    if (!BoundedRead::isRegularFile(source)) {
        *error = QStringLiteral("%1 non è un file ordinario").arg(source);
        return false;
    }
    if (!in.open(QIODevice::ReadOnly) || in.isSequential()) {
        *error = in.errorString();
        return false;
    }
    if (FileSync::fitsSaveFile(destination)) {
        QSaveFile out(destination);
        if (!out.open(QIODevice::WriteOnly)) {
            *error = out.errorString();
            return false;
        }
        if (!copyContents(in, out, error)) {
            out.cancelWriting();
            return false;
        }
        return FileSync::commit(out, error);
    }
    // A name too long for the save file's temporary name beside it (Windows).
    QTemporaryFile copy(QFileInfo(destination).absolutePath() + QStringLiteral("/XXXXXX.tmp"));
    if (!copy.open()) {
        *error = copy.errorString();
        return false;
    }
    if (!copyContents(in, copy, error))
        return false;
    if (!FileSync::replaceWith(copy, destination)) {
        *error = copy.errorString();
        return false;
    }
    return true;
}
} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmAllegaCartella"), QStringLiteral(" Allega file"), QSize(634, 534));
    Look::setGround(this, Look::SteelBlue);
    buildLayout();
}

void TfrmAllegaCartella::buildLayout()
{
    QWidget *shpSfondo =
        Decor::rectangle(this, QStringLiteral("shpSfondo"), QRect(8, 8, 618, 60), Look::White, 0xFF84ADD0, 0);
    auto *imgLogo =
        new PictureButton(QStringLiteral("imgLogo"), QStringLiteral(":/assets/imgLogo_AllegaCartella.svg"), shpSfondo);
    imgLogo->setGeometry(14, 0, 590, 60);
    imgLogo->setCursor(Qt::ArrowCursor);
    imgLogo->setEnabled(false);

    const QString ordinals[] = {QStringLiteral("1°"), QStringLiteral("2°"), QStringLiteral("3°")};
    for (int k = 0; k < 3; ++k) {
        const QString nn = QStringLiteral("%1").arg(k + 1, 2, 10, QLatin1Char('0'));
        QWidget *panel = Decor::rectangle(this, QStringLiteral("panFile") + nn, QRect(8, 76 + k * 138, 618, 130),
                                          Look::White, 0xFF84ADD0);
        Slot &slot = m_slots[size_t(k)];

        caption(panel, QStringLiteral("Nome %1 file allegato:").arg(ordinals[k]), 12, 8)
            ->setObjectName(QStringLiteral("lblNome") + nn);
        slot.file = new QLineEdit(panel);
        slot.file->setObjectName(QStringLiteral("txtFile") + nn);
        slot.file->setGeometry(12, 30, 362, 30);
        slot.file->setReadOnly(true);
        slot.file->setFont(Look::dataFont());
        slot.file->setStyleSheet(QStringLiteral("color: grey; background: #f2f2f2;"));

        slot.clear =
            new PictureButton(QStringLiteral("imgCancella") + nn, QStringLiteral(":/assets/imgCancella.svg"), panel);
        slot.clear->setGeometry(380, 33, 24, 24);
        slot.clear->setToolTip(QStringLiteral("Elimina il file allegato dalla scheda."));

        slot.browse =
            button(panel, QStringLiteral("btnSfoglia") + nn, QStringLiteral("Sfoglia..."), QRect(412, 30, 96, 30));
        slot.open = button(panel, QStringLiteral("btnApri") + nn, QStringLiteral("Apri"), QRect(514, 30, 92, 30));
        slot.open->setEnabled(false);

        caption(panel, QStringLiteral("Descrizione %1 file allegato:").arg(ordinals[k]), 12, 68)
            ->setObjectName(QStringLiteral("lblDescrizione") + nn);
        slot.desc = new QLineEdit(panel);
        slot.desc->setObjectName(QStringLiteral("txtDesc") + nn);
        slot.desc->setGeometry(12, 90, 594, 30);
        slot.desc->setFont(Look::dataFont());
        slot.desc->setMaxLength(std::numeric_limits<int>::max());

        // "Apri" is offered whenever the slot names a file.
        QPushButton *open = slot.open;
        connect(slot.file, &QLineEdit::textChanged, open,
                [open](const QString &text) { open->setEnabled(!trimText(text).isEmpty()); });
    }
    txtFile01 = m_slots[0].file;
    txtFile02 = m_slots[1].file;
    txtFile03 = m_slots[2].file;
    txtDesc01 = m_slots[0].desc;
    txtDesc02 = m_slots[1].desc;
    txtDesc03 = m_slots[2].desc;
    imgCancella01 = m_slots[0].clear;
    imgCancella02 = m_slots[1].clear;
    imgCancella03 = m_slots[2].clear;
    btnSfoglia01 = m_slots[0].browse;
    btnSfoglia02 = m_slots[1].browse;
    btnSfoglia03 = m_slots[2].browse;
    btnApri01 = m_slots[0].open;
    btnApri02 = m_slots[1].open;
    btnApri03 = m_slots[2].open;

    btnAnnulla = button(this, QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), QRect(304, 492, 150, 34));
    btnApplica =
        button(this, QStringLiteral("btnApplica"), QStringLiteral("Applica e chiudi"), QRect(462, 492, 164, 34));

    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    // Tab order: each slot's name, Sfoglia, Apri and description, then the exits.
    QList<QWidget *> order;
    for (const Slot &slot : m_slots)
        order << slot.file << slot.browse << slot.open << slot.desc;
    order << btnApplica << btnAnnulla;
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    const QList<QPair<QAbstractButton *, void (TfrmAllegaCartella::*)()>> handlers = {
        {btnSfoglia01, &TfrmAllegaCartella::btnSfoglia01Click},
        {btnSfoglia02, &TfrmAllegaCartella::btnSfoglia02Click},
        {btnSfoglia03, &TfrmAllegaCartella::btnSfoglia03Click},
        {btnApri01, &TfrmAllegaCartella::btnApri01Click},
        {btnApri02, &TfrmAllegaCartella::btnApri02Click},
        {btnApri03, &TfrmAllegaCartella::btnApri03Click},
        {imgCancella01, &TfrmAllegaCartella::imgCancella01Click},
        {imgCancella02, &TfrmAllegaCartella::imgCancella02Click},
        {imgCancella03, &TfrmAllegaCartella::imgCancella03Click},
        {btnApplica, &TfrmAllegaCartella::btnApplicaClick},
        {btnAnnulla, &TfrmAllegaCartella::btnAnnullaClick},
    };
    for (const auto &handler : handlers)
        connect(handler.first, &QAbstractButton::clicked, this, handler.second);
}

void TfrmAllegaCartella::setCaller(const QString &tag)
{
    lblMemory->setText(tag);
}

void TfrmAllegaCartella::showAttachment(int slot, const QString &file, const QString &description)
{
    QLineEdit *const files[] = {txtFile01, txtFile02, txtFile03};
    QLineEdit *const descriptions[] = {txtDesc01, txtDesc02, txtDesc03};
    files[slot - 1]->setText(file);
    descriptions[slot - 1]->setText(description);
}

QString TfrmAllegaCartella::folder()
{
    return ProgramFolder::file(QStringLiteral("Documenti_Allegati/"));
}

bool TfrmAllegaCartella::isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QString TfrmAllegaCartella::keptName(const QString &fileName)
{
    // The card stores Windows-1252 text cut to its field: a name that does
    // not survive that would name no copy once the card is saved. "_" stands
    // for each character (one per code point) the code page cannot hold.
    QString name;
    for (const char32_t c : trimText(fileName).toUcs4())
        name += Cp1252::byteFor(c) < 0 ? QStringLiteral("_") : QString::fromUcs4(&c, 1);
    const int capacity = TSchedaLibro::capacity(TSchedaLibro::File01);
    if (name.size() <= capacity)
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype extension = dot > 0 && name.size() - dot < capacity ? name.size() - dot : 0;
    return trimText(name.left(capacity - extension) + name.right(extension));
}

QString TfrmAllegaCartella::notAFileMessage()
{
    return QStringLiteral("Attenzione: l'elemento scelto non \u00E8 un file ordinario (per esempio una periferica, "
                          "una pipe o una cartella) e non pu\u00F2 essere allegato.\r\n\r\n"
                          "Scegliere un documento salvato su disco.");
}

void TfrmAllegaCartella::browse(int k)
{
    FileChooser::Request request;
    request.name = QStringLiteral("dlgFile");
    request.title = QStringLiteral("Selezionare il file da allegare:");
    request.filters = {{QStringLiteral("Tutti i file (*.*)"), QStringLiteral("*")}};
    const QString chosen = FileChooser::choose(this, request);
    // A cancelled chooser leaves the slot and the folder as they were.
    if (chosen.isEmpty())
        return;
    // A device or a named pipe would be read for ever, or wait for a writer
    // that never comes: it is refused before anything changes. (A file that
    // has gone meanwhile fails silently below, as any copy failure.)
    if ((QFileInfo::exists(chosen) || BoundedRead::isDeviceByName(chosen)) && !BoundedRead::isRegularFile(chosen)) {
        Msg::warning(this, notAFileMessage());
        return;
    }
    Slot &slot = m_slots[size_t(k)];
    slot.file->setText(keptName(QFileInfo(chosen).fileName()));

    // From here on a failure ends the command silently.
    const QString name = trimText(slot.file->text());
    if (!isPlainName(name) || !QDir().mkpath(folder()))
        return;
    const QString destination = folder() + name;
    if (QFileInfo::exists(destination) &&
        Msg::answeredNo(this, QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file "
                                             "con lo stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?")))
        return;
    QString error;
    if (!copyReplacing(chosen, destination, &error))
        qCWarning(lcBooks, "allegato %s non copiato in %s: %s", qUtf8Printable(chosen), qUtf8Printable(destination),
                  qUtf8Printable(Log::cause(error)));
}

void TfrmAllegaCartella::openAttachment(int k)
{
    const QString name = trimText(m_slots[size_t(k)].file->text());
    // Only a file directly in the attachment folder is ever handed to the shell.
    if (!isPlainName(name))
        return;
    TMisc::Open(QLatin1Char('"') + QDir::toNativeSeparators(folder() + name) + QLatin1Char('"'));
}

void TfrmAllegaCartella::clearSlot(int k)
{
    m_slots[size_t(k)].file->clear();
}

void TfrmAllegaCartella::btnApplicaClick()
{
    if (trimText(lblMemory->text()) == QLatin1String("libri")) {
        emit applied({trimText(txtFile01->text()), trimText(txtDesc01->text()), trimText(txtFile02->text()),
                      trimText(txtDesc02->text()), trimText(txtFile03->text()), trimText(txtDesc03->text())});
    }
    accept();
}

void TfrmAllegaCartella::btnAnnullaClick()
{
    reject();
}
