#pragma once

#include "report.h"

#include <QDialog>

class PictureButton;
class QPushButton;

/// The small window that stands before a preview or a print: 364 x 287, the
/// card screens' ground, a white panel of pictures that explain the command,
/// "Annulla" on the left and the confirm button on the right. It holds the
/// report template repDocumento; the window that derives from it fills and
/// sends it in btnStampaClick().
class PrintWindow : public QDialog
{
    Q_OBJECT
public:
    /// How the panel is laid out: the five pictures of a preview window, or
    /// the one large picture of a print window.
    enum class Panel { Explained, Single };

    struct Pictures
    {
        QString inf01, logo01, sezione04, inf02; ///< for Panel::Explained
        QString single;                          ///< for Panel::Single
    };

    PrintWindow(QWidget *parent, const QString &name, const QString &caption, const QString &confirmText, Panel panel,
                const Pictures &pictures);

    /// The report template: reads it from the compiled-in file and returns
    /// false when that fails (then nothing can be printed).
    bool loadTemplate(const QString &file, const QMap<QString, QString> &parameters = {});
    Report &repDocumento() { return m_report; }

public slots:
    void btnAnnullaClick();
    virtual void btnStampaClick() = 0;

protected:
    bool templateLoaded() const { return m_loaded; }

private:
    QWidget *shpSfondo, *shpSepara = nullptr;
    PictureButton *icoInf01 = nullptr, *imgLogo01 = nullptr, *imgSezione04 = nullptr, *icoInf02 = nullptr;
    QPushButton *btnAnnulla, *btnStampa;

    Report m_report;
    bool m_loaded = false;
};
