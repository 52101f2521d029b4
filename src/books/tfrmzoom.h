#pragma once

#include <QDialog>

class PictureBox;
class QImage;

/// The zoom window: the card's cover as large as the screen allows, reduced
/// to fit when larger, at its own size when smaller. A click closes it.
class TfrmZoom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget *parent = nullptr);

    /// The picture the window shows.
    void showPicture(const QImage &picture);

protected:
    void showEvent(QShowEvent *event) override;

private:
    PictureBox *imgFoto;

    void FormShow();
};
