#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

/// The change-password screen: the old password once, the new one twice.
/// Reached from the login screen, and hands back to it when it closes.
class TfrmCambiaPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(QWidget *parent = nullptr);
    ~TfrmCambiaPassword() override;

    static QString wrongOldPasswordMessage();
    static QString notConfirmedMessage();
    static QString cannotHoldMessage();
    static QString doneMessage();
    static QString changeFailureMessage();
    static QString changedElsewhereMessage();

signals:
    /// The screen is closed: back to the login screen, which asks again.
    void closedToLogin();

public slots:
    void FormShow();
    void FormClose();
    /// The Change handler of all three boxes.
    void txtPasswordChange();
    void cmdOKClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    /// Escape does not hide the screen: it is closed only by its own buttons.
    void reject() override {}

private:
    QWidget *shpSfondo, *imgLogo, *effPasswordOld, *effPasswordNew, *effConferma;
    QLabel *lblRigo05, *lblRigo06, *lblRigo07, *lblMemory;
    QLineEdit *txtPasswordOld, *txtPasswordNew, *txtConferma;
    QPushButton *cmdEsci, *cmdOK;
};
