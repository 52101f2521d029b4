#pragma once

#include "booksearch.h"

#include <QAbstractListModel>
#include <QDialog>
#include <QFont>
#include <QSize>

#include <array>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class TSchedaLibro;

/// The rows of the search screen's result list, shown by a list view
/// without one widget item per row, so that a very large result lists at
/// once. Every row is shown in Courier New 12, opaque black.
class TrovaRowModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit TrovaRowModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    /// Takes the rows of a search, sorted.
    void setRows(BookSearch::RowList rows);
    void clear();
    const BookSearch::RowList &rows() const { return m_rows; }

    /// The item width; 0 lets the view choose.
    void setItemWidth(int width);

private:
    BookSearch::RowList m_rows;
    QFont m_font;
    int m_itemWidth = 0;
    int m_itemHeight = 0;
};

/// Window " Trova libri in archivio": finds cards in the card index by up
/// to ten filters, lists them one fixed-width row each, searches inside the
/// list and hands the double-clicked card to the screen that opened it,
/// named by the caller tag in lblMemory.
///
/// It opens on the filter panel panAvvio; Cerca replaces it with the result
/// panel panContainer for the rest of its life.
class TfrmTrovaLibri : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTrovaLibri(QWidget *parent = nullptr);
    /// A search that runs longer than this (ms) shows its progress window.
    static constexpr int kProgressAfterMs = 500;
    ~TfrmTrovaLibri() override;

    /// Names the screen that opened the search (the caller tag: "libri",
    /// "libro_a".."libro_h"), which decides where a chosen card goes.
    void setCaller(const QString &tag);

    /// The list's rows as text, in list order (what the list report prints).
    QStringList rowTexts() const;
    /// The list row that is selected, or -1.
    int selectedRow() const;
    void selectRow(int row);
    TrovaRowModel *model() const { return m_model; }

    /// The lower-cased text of the previous "Trova", shared by every instance.
    static QString lastFindText() { return s_lastFind; }

signals:
    /// The double-clicked card and its record number, for the caller tagged "libri".
    void cardChosen(const TSchedaLibro &card, int number);
    /// The same for the callers tagged "libro_a".."libro_h": box 0..7 of a page.
    void cardChosenForBox(const TSchedaLibro &card, int number, int box);

public slots:
    void btnCercaMouseDown();
    void btnCercaClick();
    void btnAnnullaClick();
    void btnTrovaClick();
    void btnStampaClick();
    void btnChiudiClick();
    void lstRecordsDblClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// The filter boxes, in the order in which they are counted and tested.
    const std::array<QLineEdit *, BookSearch::FilterCount> &filterBoxes() const { return m_filters; }

    // Filter panel.
    QWidget *panAvvio;
    QLineEdit *txtTitolo, *txtAutore, *txtGenere, *txtAnno, *txtEditore, *txtDewey, *txtISBN, *txtEtichetta,
        *txtCuratore, *txtNote;
    QPushButton *btnCerca, *btnAnnulla;
    QLabel *lblAttendere;
    // Result panel.
    QWidget *panContainer;
    QLineEdit *txtTrova;
    QPushButton *btnTrova, *btnStampa, *btnChiudi;
    QListView *lstRecords;
    QLabel *lblRigo03, *lblTrovate;
    // Hidden labels.
    QLabel *lblMemory, *lblConta;

    void FormShow();
    void FormClose();
    void buildFilterPanel();
    void buildResultPanel();
    /// The search of Cerca: reads the archive while the window keeps
    /// painting, and shows its progress with a way to stop it when it runs
    /// longer than kProgressAfterMs.
    BookSearch::Outcome runSearch(const BookSearch::Filters &filters, BookSearch::RowList &rows);
    void handOff(const TSchedaLibro &card, int number);

    std::array<QLineEdit *, BookSearch::FilterCount> m_filters{};
    TrovaRowModel *m_model;

    static QString s_lastFind;
};
