#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

/// The login screen, the program's main window: nothing else can be reached
/// before the access password is typed. It leads to the launcher, to the
/// change-password screen, or ends the program.
class TfrmPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget *parent = nullptr);
    ~TfrmPassword() override;

    /// Ready for the password again: the box and the caller tag empty.
    void clearEntry();

    static QString wrongPasswordMessage();
    static QString readFailureMessage();

signals:
    /// The right password was typed: the launcher opens.
    void passwordAccepted();
    /// "Cambia password": the password change screen opens.
    void passwordChangeAsked();

public slots:
    void FormShow();
    void txtPasswordChange();
    void txtPasswordKeyDown(int key);
    void cmdOKClick();
    void btnCambiaPasswordClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    /// Escape does not hide the screen: it is left only by its own buttons.
    void reject() override {}

private:
    QWidget *shpSfondo, *imgLogo, *shpTitolo, *effPassword;
    QLabel *lblRigo05, *lblMemory;
    QLineEdit *txtPassword;
    QPushButton *cmdOK, *cmdEsci, *btnCambiaPassword;
};
