#pragma once

#include <QDialog>

#include <array>

class PictureButton;
class QLabel;
class QLineEdit;
class QPushButton;

/// The attachments dialog: the three attached files of the card on the card
/// screen, each a file name (a copy in Documenti_Allegati) and a description.
///
/// The card screen fills the six boxes before showing it; "Applica e chiudi"
/// writes them back into the card screen's hidden labels, "Annulla" drops
/// them. "Sfoglia..." copies the chosen file into the folder at once.
class TfrmAllegaCartella : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(QWidget *parent = nullptr);

    /// Names the screen that opened the window (the caller tag "libri").
    void setCaller(const QString &tag);
    /// Shows the card's attachment slot (1 to 3): its file name and description.
    void showAttachment(int slot, const QString &file, const QString &description);

    /// "Documenti_Allegati/" in the program folder.
    static QString folder();
    /// Whether a trimmed attachment name names a file directly in the folder:
    /// not empty, not "." or "..", no folder separator.
    static bool isPlainName(const QString &name);
    /// The name under which a chosen file is attached: the name the card can
    /// keep (every character Windows-1252 cannot hold as "_", at most the
    /// field's capacity, shortened before the extension).
    static QString keptName(const QString &fileName);
    /// The warning for a chosen name that is no regular file (a device, a
    /// named pipe, a folder): nothing is copied and the slot keeps its name.
    static QString notAFileMessage();

signals:
    /// Applica for the caller tagged "libri": the six trimmed texts, in the
    /// order file 1, description 1, file 2, description 2, file 3, description 3.
    void applied(const QStringList &texts);

public slots:
    void btnSfoglia01Click() { browse(0); }
    void btnSfoglia02Click() { browse(1); }
    void btnSfoglia03Click() { browse(2); }
    void btnApri01Click() { openAttachment(0); }
    void btnApri02Click() { openAttachment(1); }
    void btnApri03Click() { openAttachment(2); }
    void imgCancella01Click() { clearSlot(0); }
    void imgCancella02Click() { clearSlot(1); }
    void imgCancella03Click() { clearSlot(2); }
    void btnApplicaClick();
    void btnAnnullaClick();

private:
    QLabel *lblMemory;
    QLineEdit *txtFile01, *txtFile02, *txtFile03, *txtDesc01, *txtDesc02, *txtDesc03;
    PictureButton *imgCancella01, *imgCancella02, *imgCancella03;
    QPushButton *btnSfoglia01, *btnSfoglia02, *btnSfoglia03, *btnApri01, *btnApri02, *btnApri03;
    QPushButton *btnApplica, *btnAnnulla;

    struct Slot
    {
        QLineEdit *file = nullptr, *desc = nullptr;
        QPushButton *browse = nullptr, *open = nullptr;
        PictureButton *clear = nullptr;
    };
    void buildLayout();
    void browse(int k);
    void openAttachment(int k);
    void clearSlot(int k);

    std::array<Slot, 3> m_slots;
};
