#pragma once

#include <QWidget>

class PictureButton;
class QLabel;
class QLineEdit;

/// Window " Rilegora - Creazione nuovo catalogo": the user types a name and
/// the program creates the empty catalogue file <name>.cat in the program
/// folder. Every way out returns to the launcher.
class TfrmCreaCatalogo : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCreaCatalogo(QWidget *parent = nullptr);

    /// The characters the name box swallows when they are typed (pasted
    /// text is not filtered; the name check refuses what cannot be a name).
    static bool isSwallowed(QChar c);

signals:
    /// The screen is closed, a catalogue created or not: the way out is the launcher.
    void leftToLauncher();

public slots:
    void btnApplicaClick();
    void btnAnnullaClick();
    void imgGuidaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *txtFile;
    PictureButton *btnApplica, *btnAnnulla, *imgGuida;
    QLabel *lblFile;

    void FormShow();
    void FormClose();
    /// Creates the empty file; false, with nothing left behind, on failure.
    static bool createEmpty(const QString &path);
};
