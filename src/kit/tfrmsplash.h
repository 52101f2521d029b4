#pragma once

#include <QDialog>

class LinkText;
class PictureButton;
class QPushButton;

/// The splash window: the maker's brand picture and a link to its web site.
class TfrmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);

    /// The maker's web site, a secure address, handed to the shell as it is.
    static QString makerSite();

public slots:
    void lnkWebMouseDown();
    void lnkWebMouseUp();
    void lnkWebClick();
    void btnChiudiClick();

private:
    PictureButton *imgLogo;
    PictureButton *imgWeb;
    LinkText *lnkWeb;
    QPushButton *btnChiudi;
};
