#include "tfrmcreacatalogo.h"

#include "cataloguefolder.h"

#include "core/filesync.h"
#include "core/helptopics.h"
#include "core/logging.h"
#include "core/texttrim.h"
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
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr QRgb PanelBorder = 0xFFD8E5EF;
constexpr QRgb BannerGround = 0xFFEEF4FA;
} // namespace

TfrmCreaCatalogo::TfrmCreaCatalogo(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmCreaCatalogo"),
                             QStringLiteral(" Rilegora - Creazione nuovo catalogo"));
    Look::setGround(this, Look::CardBlue);
    QWidget *pan = Screens::addCentredContainer(this);

    Decor::rectangle(pan, QStringLiteral("bkgSfondo01"), QRect(123, 40, 750, 612), Look::White, PanelBorder, 8);
    Decor::rectangle(pan, QStringLiteral("bkgSfondo02"), QRect(135, 52, 726, 136), BannerGround, PanelBorder, 6);
    Decor::picture(pan, QStringLiteral("icoIstruzioni"), QStringLiteral("creacatalogo_istruzioni.svg"),
                   QRect(143, 60, 710, 120));

    // The name, pointed at by the hand.
    Decor::rectangle(pan, QStringLiteral("bkgSfondo03"), QRect(135, 204, 726, 76), BannerGround, PanelBorder, 6);
    Decor::picture(pan, QStringLiteral("icoMano"), QStringLiteral("icoMano.svg"), QRect(147, 212, 60, 60));
    Decor::rectangle(pan, QStringLiteral("bkgFile"), QRect(219, 214, 630, 56), Look::White, Look::SkyBlue, 6);
    txtFile = new QLineEdit(pan);
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setGeometry(227, 222, 614, 40);
    txtFile->setFont(Look::verdana(16, true));
    txtFile->setMaxLength(250);
    txtFile->installEventFilter(this);
    Look::overlayHighlight(txtFile, Look::AliceBlue);

    Decor::rectangle(pan, QStringLiteral("bkgSfondo04"), QRect(135, 296, 726, 248), 0xFFF5F9FD, PanelBorder, 6);
    Decor::picture(pan, QStringLiteral("icoIcona04"), QStringLiteral("icoIcona04.svg"), QRect(378, 310, 240, 200));
    Decor::picture(pan, QStringLiteral("icoIcona02"), QStringLiteral("icoIcona02.svg"), QRect(578, 446, 64, 64));

    Decor::rectangle(pan, QStringLiteral("bkgSfondo05"), QRect(135, 560, 726, 80), BannerGround, PanelBorder, 6);
    btnAnnulla =
        Decor::command(pan, QStringLiteral("btnAnnulla"), QStringLiteral("btnAnnulla.svg"), QRect(155, 576, 220, 48));
    imgGuida = Decor::command(pan, QStringLiteral("imgGuida"), QStringLiteral("imgGuida.svg"), QRect(484, 586, 29, 28));
    btnApplica =
        Decor::command(pan, QStringLiteral("btnApplica"), QStringLiteral("btnApplica.svg"), QRect(621, 576, 220, 48));

    lblFile = new QLabel(pan);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->hide();

    connect(btnApplica, &QAbstractButton::clicked, this, &TfrmCreaCatalogo::btnApplicaClick);
    connect(btnAnnulla, &QAbstractButton::clicked, this, &TfrmCreaCatalogo::btnAnnullaClick);
    connect(imgGuida, &QAbstractButton::clicked, this, &TfrmCreaCatalogo::imgGuidaClick);
}

bool TfrmCreaCatalogo::isSwallowed(QChar c)
{
    return QStringView(u"\"*/:<>?\\\u00B0\u00C7\u00D1\u00E7\u00F1").contains(c);
}

bool TfrmCreaCatalogo::eventFilter(QObject *watched, QEvent *event)
{
    // txtFileKeyDown: a forbidden character is not typed at all.
    if (watched == txtFile && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (typed.size() == 1 && isSwallowed(typed.at(0)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmCreaCatalogo::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmCreaCatalogo::FormShow()
{
    txtFile->clear();
    txtFile->setFocus(Qt::OtherFocusReason);
}

void TfrmCreaCatalogo::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TfrmCreaCatalogo::FormClose()
{
    // Whether a catalogue was created or not, the way out is the launcher.
    emit leftToLauncher();
}

bool TfrmCreaCatalogo::createEmpty(const QString &path)
{
    QFile file(path);
    // NewOnly: a file that appeared since the check is never truncated.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (!QFileInfo::exists(path)) // not a name another workstation just took
            qCWarning(lcCatalogues, "catalogo %s non creato: %s", qUtf8Printable(path),
                      qUtf8Printable(Log::cause(file.errorString())));
        return false;
    }
    file.close();
    if (file.error() == QFileDevice::NoError && QFileInfo(path).isFile()) {
        // The new catalogue's name lasts as its pages do.
        FileSync::folderToDisk(path);
        return true;
    }
    qCWarning(lcCatalogues, "catalogo %s non creato: %s", qUtf8Printable(path),
              qUtf8Printable(Log::cause(file.errorString())));
    QFile::remove(path);
    return false;
}

void TfrmCreaCatalogo::btnApplicaClick()
{
    lblFile->clear();
    const QString name = trimText(txtFile->text());
    // An empty name, and any name that cannot be a file of the program
    // folder (as pasting allows), is refused before anything is created.
    const QString problem = CatalogueFolder::nameProblem(name);
    if (!problem.isEmpty()) {
        Msg::warning(this, problem);
        txtFile->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QString path = CatalogueFolder::path(name);
    lblFile->setText(path);
    const QString alreadyUsed =
        QStringLiteral("Attenzione: il nome del catalogo indicato è già stato utilizzato in "
                       "precedenza.\r\n\r\nInserire un nome diverso oppure, se si desidera aprire "
                       "un catalogo già creato, premere il pulsante Apri catalogo esistente.");
    if (QFileInfo::exists(path))
        return Msg::warning(this, alreadyUsed);
    if (!createEmpty(path)) {
        // Another workstation made a catalogue of that name in the meantime:
        // it is theirs, and left alone.
        if (QFileInfo::exists(path))
            return Msg::warning(this, alreadyUsed);
        Msg::error(this, QStringLiteral("Attenzione: non è stato possibile creare il file di archivio del nuovo "
                                        "catalogo.\r\n\r\nAccertarsi di possedere i privilegi di scrittura nella "
                                        "cartella di installazione del programma."));
        txtFile->setFocus(Qt::OtherFocusReason);
        return;
    }
    Msg::information(this, QStringLiteral("Il file di archivio relativo al nuovo catalogo è stato creato con "
                                          "successo.\r\n\r\nE' ora possibile visualizzarlo nell'elenco dei "
                                          "cataloghi esistenti."));
    close();
}

void TfrmCreaCatalogo::btnAnnullaClick()
{
    close();
}

void TfrmCreaCatalogo::imgGuidaClick()
{
    Screens::runModal<TfrmGuida>(
        this, [](TfrmGuida &help) { help.setTopic(HelpTopics::cataloghiTitle(), HelpTopics::cataloghi()); });
}
