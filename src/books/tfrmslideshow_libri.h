#pragma once

#include <QDialog>

class PictureBox;
class QLabel;
class QPushButton;
class QTimer;

/// The cover slideshow: every card's cover in card order, one every six
/// seconds, starting again after the last. A click closes it.
///
/// lblPosizione holds the number of the card on screen ("0" before the first,
/// empty at the start). Each tick of Timer runs the advance step, the same
/// action as the hidden command cmdAvanti.
class TfrmSlideshow_Libri : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSlideshow_Libri(QWidget *parent = nullptr);

    static constexpr int Interval = 6000; ///< milliseconds between pictures

public slots:
    /// The advance step: the next card's cover, or a rewind after the last.
    void cmdAvantiClick();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *lblPosizione;
    PictureBox *imgFoto, *imgBianco;
    QPushButton *cmdAvanti;
    QTimer *Timer;

    void FormShow();
};
