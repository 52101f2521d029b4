#pragma once

#include <QWidget>

class PictureButton;

/// The launcher: the hub from which the three work areas open (card index,
/// new catalogue, existing catalogue), with the about, splash and help
/// windows, the maker's web site and the end of the program. It holds no
/// data of its own.
class TfrmAvvio : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAvvio(QWidget *parent = nullptr);

    /// The maker's web site opened by imgSito.
    static QString makerSite();

public slots:
    void imgApp01Click();
    void imgApp02Click();
    void imgApp03Click();
    void imgInfoClick();
    void imgCopyrightClick();
    void imgGuidaClick();
    void imgSitoClick();
    void imgEsciClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *shpNomeApp, *bkgApp06, *bkgApp08, *bkgApp10, *shpCalce;
    PictureButton *icoIconaApp, *icoTitoloApp, *imgSottotitolo;
    PictureButton *imgInfo, *imgGuida, *imgApp01, *btnApp01, *imgApp02, *btnApp02, *imgApp03, *btnApp03, *imgSito,
        *imgCopyright, *imgEsci;

    void FormClose();
    /// Stops the event loop, which closes every window of the run.
    void endProgram();
    void openWorkScreen(QWidget *next);

    bool m_ending = false;
};
