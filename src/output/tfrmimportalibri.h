#pragma once

#include "output/spreadsheetimport.h"

#include <QDialog>

class HintBar;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressDialog;
class QPushButton;
class QTableWidget;

/// "Importa schede da un foglio di calcolo": reads a stock list (CSV, or the
/// program's own Schedario_Libri.xls), shows its first rows with the card
/// field each column fills, and appends the rows to the card index as new
/// cards, all or none of them.
class TfrmImportaLibri : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImportaLibri(QWidget *parent = nullptr);
    ~TfrmImportaLibri() override;

    /// Reads the file's layout and first rows into the window; a file that
    /// cannot be imported gets its message and leaves the window as it was.
    bool loadFile(const QString &path);
    /// The combo box of a file column (0-based), cboCampo01 for the first.
    QComboBox *fieldBox(int column) const;
    /// Cards appended by the last import of this window.
    int importedCount() const { return m_imported; }
    /// The progress window while an import runs, else null.
    QProgressDialog *progress() const { return m_progress; }

    /// The text of "Non importare" and of each card field in the boxes.
    static QString skipText();

public slots:
    void btnSfogliaClick();
    void cmdImportaClick();
    void cmdAnnullaClick();

private:
    QWidget *panContainer;
    QWidget *shpTop;
    QLabel *imgLogo;
    QPushButton *btnSfoglia;
    QLabel *lblFile;
    QCheckBox *chkIntestazione;
    QCheckBox *chkSaltaISBN;
    QTableWidget *grdAnteprima;
    QPushButton *cmdImporta;
    QPushButton *cmdAnnulla;
    QWidget *bkgInfo;
    QLabel *panInfo;

    void buildLayout();
    void showPreview();
    void fieldChosen(int column);
    QList<int> chosenFields() const;

    QString m_path;
    SpreadsheetImport::Inspection m_inspection;
    QList<QComboBox *> m_boxes;
    HintBar *m_hints = nullptr;
    QProgressDialog *m_progress = nullptr;
    int m_imported = 0;
};
