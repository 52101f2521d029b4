#pragma once

#include <QDialog>

class PictureBox;

/// The zoom window: the card's cover as large as the screen allows, reduced
/// to fit when larger, at its own size when smaller. A click closes it.
class TfrmZoom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget *parent = nullptr);

    PictureBox *imgFoto;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
};
