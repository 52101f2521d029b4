#include "tfrmcambiapassword.h"

#include "accesslook.h"
#include "crypt.h"
#include "passwordstore.h"
#include "tfrmpassword.h"

#include "core/logging.h"
#include "core/texttrim.h"
#include "core/writelock.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/messages.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmCambiaPassword::TfrmCambiaPassword(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmCambiaPassword"), QStringLiteral(" Cambia password"),
                         QSize(411, 418));
    Look::setGround(this, Look::SteelBlue);
    QWidget *pan = Screens::addCentredContainer(this, QSize(385, 390));

    shpSfondo = AccessLook::gradientRect(pan, QStringLiteral("shpSfondo"), QRect(8, 8, 369, 334), Look::SteelBlue);
    imgLogo = Decor::picture(pan, QStringLiteral("imgLogo"), QStringLiteral("cambiapassword_logo.svg"),
                             QRect(16, 16, 353, 148));
    lblRigo05 =
        AccessLook::label(pan, QStringLiteral("lblRigo05"), QStringLiteral("Vecchia password:"), QPoint(16, 172));
    txtPasswordOld = AccessLook::passwordBox(pan, QStringLiteral("txtPasswordOld"), QRect(16, 193, 353, 22));
    effPasswordOld = Look::makeFocusFrame(txtPasswordOld, QStringLiteral("effPasswordOld"));
    lblRigo06 = AccessLook::label(pan, QStringLiteral("lblRigo06"), QStringLiteral("Nuova password:"), QPoint(16, 228));
    txtPasswordNew = AccessLook::passwordBox(pan, QStringLiteral("txtPasswordNew"), QRect(16, 249, 353, 22));
    effPasswordNew = Look::makeFocusFrame(txtPasswordNew, QStringLiteral("effPasswordNew"));
    lblRigo07 = AccessLook::label(pan, QStringLiteral("lblRigo07"), QStringLiteral("Conferma nuova password:"),
                                  QPoint(16, 284));
    txtConferma = AccessLook::passwordBox(pan, QStringLiteral("txtConferma"), QRect(16, 305, 353, 22));
    effConferma = Look::makeFocusFrame(txtConferma, QStringLiteral("effConferma"));
    cmdEsci = AccessLook::button(pan, QStringLiteral("cmdEsci"), QStringLiteral("Chiudi"), QRect(8, 350, 146, 32));
    cmdOK = AccessLook::button(pan, QStringLiteral("cmdOK"), QStringLiteral("OK"), QRect(232, 350, 146, 32));
    cmdOK->setEnabled(false);
    lblMemory = AccessLook::memoryLabel(pan);

    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdEsci);
    setTabOrder(cmdEsci, cmdOK);

    // Enter walks old -> new -> confirmation -> old and never presses OK.
    Look::enterChain({txtPasswordOld, txtPasswordNew, txtConferma});
    for (QLineEdit *box : {txtPasswordOld, txtPasswordNew, txtConferma})
        connect(box, &QLineEdit::textChanged, this, &TfrmCambiaPassword::txtPasswordChange);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);
}

TfrmCambiaPassword::~TfrmCambiaPassword() = default;

QString TfrmCambiaPassword::wrongOldPasswordMessage()
{
    return QStringLiteral("Attenzione: vecchia password errata.");
}

QString TfrmCambiaPassword::notConfirmedMessage()
{
    return QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. "
                          "E' necessario reinserire entrambi i valori.");
}

QString TfrmCambiaPassword::cannotHoldMessage()
{
    return QStringLiteral("Attenzione: la nuova password non può essere memorizzata. Sono ammessi al massimo "
                          "255 caratteri, scelti tra lettere, cifre e simboli dell'alfabeto latino occidentale. "
                          "E' necessario reinserire entrambi i valori.");
}

QString TfrmCambiaPassword::doneMessage()
{
    return QStringLiteral("Modifica della password completata con successo.");
}

QString TfrmCambiaPassword::changedElsewhereMessage()
{
    return QStringLiteral("Attenzione: la password è stata cambiata da un'altra postazione mentre questa finestra era "
                          "aperta. La password non è stata modificata: inserire la password attuale e riprovare.");
}

QString TfrmCambiaPassword::changeFailureMessage()
{
    return QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della password. "
                          "Si consiglia di reinstallare il software.");
}

void TfrmCambiaPassword::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmCambiaPassword::FormShow()
{
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    txtPasswordOld->setFocus(Qt::OtherFocusReason);
}

void TfrmCambiaPassword::txtPasswordChange()
{
    cmdOK->setEnabled(!trimText(txtPasswordOld->text()).isEmpty() && !trimText(txtPasswordNew->text()).isEmpty() &&
                      !trimText(txtConferma->text()).isEmpty());
}

void TfrmCambiaPassword::cmdOKClick()
{
    if (!cmdOK->isEnabled())
        return;
    QString error;
    const std::optional<QString> stored = PasswordStore::readStored(&error);
    if (!stored) {
        qCWarning(lcAccess, "password non letta: %s", qUtf8Printable(Log::cause(error)));
        Msg::plain(this, changeFailureMessage());
        return;
    }
    const QString old = PasswordStore::canonical(txtPasswordOld->text());
    // An empty stored password (no file, section or key) matches nothing.
    if (old.isEmpty() || old != *stored) {
        Msg::plain(this, wrongOldPasswordMessage());
        txtPasswordOld->clear();
        txtPasswordOld->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The confirmation must match exactly, letter case included.
    if (trimText(txtPasswordNew->text()) != trimText(txtConferma->text())) {
        Msg::plain(this, notConfirmedMessage());
        txtPasswordNew->clear();
        txtConferma->clear();
        txtPasswordNew->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The stored form keeps 255 characters of 8 bits at most: anything else
    // would be stored mangled and could never be typed again.
    const QString newPassword = PasswordStore::canonical(txtPasswordNew->text());
    if (!Crypt::canHold(newPassword)) {
        Msg::plain(this, cannotHoldMessage());
        txtPasswordNew->clear();
        txtConferma->clear();
        txtPasswordNew->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Written only if the password is still the one just checked: another
    // workstation may change it in between.
    switch (PasswordStore::replaceStored(old, newPassword, &error)) {
    case PasswordStore::Replace::Done:
        break;
    case PasswordStore::Replace::ChangedElsewhere:
        Msg::plain(this, changedElsewhereMessage());
        txtPasswordOld->clear();
        txtPasswordOld->setFocus(Qt::OtherFocusReason);
        return;
    case PasswordStore::Replace::Busy:
        Msg::plain(this, WriteLock::busyMessage());
        return;
    case PasswordStore::Replace::Failed:
        qCWarning(lcAccess, "password non cambiata in %s: %s", qUtf8Printable(PasswordStore::filePath()),
                  qUtf8Printable(Log::cause(error)));
        Msg::plain(this, changeFailureMessage());
        return;
    }
    Msg::plain(this, doneMessage());
    close();
}

void TfrmCambiaPassword::cmdEsciClick()
{
    close();
}

void TfrmCambiaPassword::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TfrmCambiaPassword::FormClose()
{
    // Back to the login screen, which asks for the password again.
    emit closedToLogin();
}
