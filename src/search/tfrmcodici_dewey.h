#pragma once

#include <QDialog>
#include <QStringList>

class PictureButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

/// Window " Tabella Codici Dewey": the Italian captions of the Dewey
/// classification, one entry per list item. The user finds an entry by
/// words or by class number, and a double click writes the entry's class
/// number into the card screen's txtDewey. "Stampa" prints the table as a
/// list report.
///
/// The list is filled by timCarica one second after the window shows, so
/// that the window and its loading picture panDewey are drawn first.
class TfrmCodici_Dewey : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCodici_Dewey(QWidget *parent = nullptr);
    ~TfrmCodici_Dewey() override;

    /// Names the screen that opened the table (the caller tag "libri").
    void setCaller(const QString &tag);

    /// Adds entries to the list in one update, each in the entries' look,
    /// with none selected (the timer's fill, with the compiled table).
    void fillList(const QStringList &entries);

    /// The texts of the list's items, in list order.
    QStringList entryTexts() const;
    /// The list item that is selected, or -1.
    int selectedRow() const;
    void selectRow(int row);

    /// The lower-cased text of the previous "Trova": one value for the whole
    /// run, shared by every opening of the table.
    static QString lastFindText() { return s_lastFind; }
    /// Forgets it, as at the start of the run (for tests).
    static void resetFindState() { s_lastFind.clear(); }

signals:
    /// A class was picked for the caller tagged "libri": its three figures.
    void classPicked(const QString &code);
    /// The table is closing, however it closes (the caller puts its focus back).
    void closing();

public slots:
    void timCaricaTimer();
    void btnTrovaClick();
    void lstRecordsDblClick();
    void btnStampaMouseDown();
    void btnStampaClick();
    void btnChiudiClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *panContainer;
    QWidget *shpTitolo, *shpLente, *shpSfondo, *shpLista;
    PictureButton *icoDewey, *imgLente, *panDewey;
    QLineEdit *txtTrova;
    QPushButton *btnTrova, *btnChiudi, *btnStampa;
    QListWidget *lstRecords;
    QLabel *lblRigo03, *lblAttendere, *lblMemory;
    QTimer *timCarica;

    void FormShow();
    void FormClose();

    static QString s_lastFind;
};
