#pragma once

#include "report/printwindow.h"

#include <QStringList>

class PictureBox;

/// What the two book card windows share: the template "Scheda Libro", the
/// picture to print (imgLogo, copied from the card screen's cover when the
/// window is shown, or the window's default picture imgTemp) and the
/// filling of the 22 values from the card screen that owns the window.
class BookCardWindow : public PrintWindow
{
    Q_OBJECT
public:
    /// The 22 value objects, named as the card screen's edit boxes.
    static const QStringList &valueNames();
    /// The warning shown when the card could not be previewed or printed.
    static QString failureMessage();

    PictureBox *imgLogo, *imgTemp;

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
    void FormShow();
};
