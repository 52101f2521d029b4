#pragma once

#include <QWidget>

class PictureButton;
class QLabel;
class QListWidget;

/// Window " Rilegora - Apertura catalogo esistente": the list of the
/// catalogue files in the program folder, from which the user opens one in
/// the page editor or deletes one.
///
/// lblMemory says how the screen is left: "avvio" back to the launcher,
/// "listino" on to the page editor with the chosen catalogue.
class TfrmApriCatalogo : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmApriCatalogo(QWidget *parent = nullptr);

    /// The entries of the list, in list order.
    QStringList entries() const;
    /// Selects the entry with this text; false when there is none.
    bool selectEntry(const QString &text);

signals:
    /// Closed on a catalogue chosen for the page editor: its file and its name.
    void catalogueChosen(const QString &file, const QString &name);
    /// Closed otherwise: the way out is the launcher.
    void leftToLauncher();

public slots:
    void btnApriClick();
    void btnEliminaClick();
    void btnAnnullaClick();
    void imgGuidaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QListWidget *lstFiles;
    QLabel *lblCreati, *lblFile, *lblMemory;
    PictureButton *btnApri, *btnAnnulla, *btnElimina, *imgGuida;

    void FormShow();
    void FormClose();
    /// Fills the list and the count line from what the folder holds.
    void fillList();
    /// The selected entry's text, or an empty text when none is selected.
    QString selectedEntry() const;
};
