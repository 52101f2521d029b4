#pragma once

#include <QDialog>

class LinkText;
class PictureButton;
class QPushButton;

/// The about window: what the program is, who makes it, and a link that
/// writes to the maker by e-mail.
class TfrmInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget *parent = nullptr);

    /// The maker's e-mail address shown by lnkWeb.
    static QString makerEmail();
    /// The text handed to the shell: "mailto:" and the address, between double quotes.
    static QString mailTarget();

public slots:
    void lnkWebMouseDown();
    void lnkWebMouseUp();
    void lnkWebClick();
    void btnChiudiClick();

private:
    QWidget *shpSfondo;
    PictureButton *imgLogo;
    PictureButton *imgInfo01, *imgInfo02, *imgInfo03;
    QPushButton *btnChiudi;
    PictureButton *imgEmail;
    LinkText *lnkWeb;
};
