#pragma once

#include "report/printwindow.h"

#include <QImage>
#include <QStringList>

class PictureBox;

/// What the two book card windows share: the template "Scheda Libro", the
/// picture to print (imgLogo: the card's picture when the window is shown,
/// or the window's default picture imgTemp when it has none) and the
/// filling of the 22 values of the card the window was given.
class BookCardWindow : public PrintWindow
{
    Q_OBJECT
public:
    /// The 22 value objects, named as the card screen's edit boxes.
    static const QStringList &valueNames();

    /// What a card window prints: the 22 texts in the order of
    /// valueNames(), as the card screen shows them (each is trimmed when
    /// printed; a missing one prints empty), and the picture it shows (a
    /// null picture: the window's default one).
    struct Card
    {
        QStringList values;
        QImage picture;
    };
    /// The card to print; set before the window is shown.
    void setCard(const Card &card) { m_card = card; }
    /// The warning shown when the card could not be previewed or printed.
    static QString failureMessage();

    /// Fills repDocumento from the owner's edit boxes and imgLogo and
    /// prepares it; false when the template is not usable.
    bool fillReport();

public slots:
    void btnStampaClick() override;

protected:
    BookCardWindow(QWidget *parent, const QString &name, const QString &caption, const QString &confirmText,
                   const Pictures &pictures, const QString &defaultPicture, const QSize &defaultSize);
    void showEvent(QShowEvent *event) override;
    /// Sends the prepared report: shows it or prints it. Returns false on a failure.
    virtual bool send() = 0;

private:
    PictureBox *imgLogo, *imgTemp;

    void FormShow();

    Card m_card;
};
