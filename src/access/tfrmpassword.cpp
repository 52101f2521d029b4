#include "tfrmpassword.h"

#include "accesslook.h"
#include "passwordstore.h"
#include "tfrmcambiapassword.h"

#include "core/texttrim.h"
#include "kit/conventions.h"
#include "kit/decor.h"
#include "kit/messages.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmPassword::TfrmPassword(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmPassword"), QStringLiteral(" Rilegora - Autenticazione"),
                         QSize(388, 405));
    Look::setGround(this, Look::SteelBlue);
    QWidget *pan = Screens::addCentredContainer(this, QSize(360, 378));

    shpSfondo = AccessLook::gradientRect(pan, QStringLiteral("shpSfondo"), QRect(8, 8, 344, 265), Look::SteelBlue);
    imgLogo =
        Decor::picture(pan, QStringLiteral("imgLogo"), QStringLiteral("password_logo.svg"), QRect(16, 16, 328, 160));
    shpTitolo = AccessLook::gradientRect(pan, QStringLiteral("shpTitolo"), QRect(16, 184, 328, 81), 0xFF7DA9CD);
    lblRigo05 = AccessLook::label(pan, QStringLiteral("lblRigo05"), QStringLiteral("Immetti la password e premi OK."),
                                  QPoint(36, 200));
    txtPassword = AccessLook::passwordBox(pan, QStringLiteral("txtPassword"), QRect(36, 222, 230, 22));
    effPassword = Look::makeFocusFrame(txtPassword, QStringLiteral("effPassword"));
    cmdOK = AccessLook::button(pan, QStringLiteral("cmdOK"), QStringLiteral("OK"), QRect(280, 216, 49, 33));
    cmdOK->setEnabled(false);
    cmdEsci = AccessLook::button(pan, QStringLiteral("cmdEsci"), QStringLiteral("Esci"), QRect(8, 338, 146, 32));
    btnCambiaPassword = AccessLook::button(pan, QStringLiteral("btnCambiaPassword"), QStringLiteral("Cambia password"),
                                           QRect(205, 338, 146, 32));
    lblMemory = AccessLook::memoryLabel(pan);

    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambiaPassword);

    connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
    txtPassword->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(btnCambiaPassword, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);
}

TfrmPassword::~TfrmPassword() = default;

void TfrmPassword::clearEntry()
{
    txtPassword->clear();
    lblMemory->clear();
}

QString TfrmPassword::wrongPasswordMessage()
{
    return QStringLiteral("Attenzione: password errata.");
}

QString TfrmPassword::readFailureMessage()
{
    return QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della password. "
                          "Si consiglia di reinstallare il software.");
}

void TfrmPassword::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmPassword::FormShow()
{
    txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::txtPasswordChange()
{
    cmdOK->setEnabled(!trimText(txtPassword->text()).isEmpty());
}

bool TfrmPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPassword && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            txtPasswordKeyDown(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPassword::txtPasswordKeyDown(int key)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !trimText(txtPassword->text()).isEmpty())
        cmdOKClick();
}

void TfrmPassword::cmdOKClick()
{
    const std::optional<QString> stored = PasswordStore::readStored();
    if (!stored) {
        Msg::plain(this, readFailureMessage());
        return;
    }
    const QString typed = PasswordStore::canonical(txtPassword->text());
    // An empty stored password (no file, section or key) opens nothing.
    if (!typed.isEmpty() && typed == *stored) {
        emit passwordAccepted();
        return;
    }
    Msg::plain(this, wrongPasswordMessage());
    txtPassword->clear();
    txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::btnCambiaPasswordClick()
{
    emit passwordChangeAsked();
}

void TfrmPassword::closeEvent(QCloseEvent *event)
{
    // Closing only hides the screen; the dialog's own closing would ask
    // reject(), which does nothing here.
    event->accept();
}

void TfrmPassword::cmdEsciClick()
{
    close();
    QCoreApplication::quit();
}
