#pragma once

#include "output/cardtablefill.h"
#include "output/spreadsheetexport.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <memory>

class HintBar;
class PictureButton;
class QLabel;
class QTableView;

/// The export grid's rows: a view over the cards read when the screen was
/// shown, with every cell's edit kept beside them. Nothing is copied per
/// cell, so a large archive opens at once.
class ExpLibriModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ExpLibriModel(QObject *parent = nullptr);
    ~ExpLibriModel() override;

    CardTable &table() { return m_table; }
    const CardTable &table() const { return m_table; }
    /// Empties the grid and reads the archive again; stops silently at the
    /// first failure, keeping the rows read until then. Returns with the
    /// first rows in the grid; the rest of a large archive is read on a
    /// thread of its own and comes in while the screen is used.
    void fillFromArchive();
    /// Adds the cards appended to the archive since the grid was filled,
    /// keeping the rows and cell edits it holds.
    void addNewCards();
    /// Waits until every card is in the grid.
    void finishFill();
    bool isFilling() const { return m_fill != nullptr; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void takeRows();

    CardTable m_table;
    std::unique_ptr<CardTableFill> m_fill;
};

/// "Esporta archivio libri in Excel": the whole card index in a grid, and
/// its export to Schedario_Libri.xls in the program folder. The screen itself
/// reads the archive and never writes to it; its import command opens the
/// window that appends cards from a spreadsheet (TfrmImportaLibri).
class TfrmExpLibri : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmExpLibri(QWidget *parent = nullptr);
    ~TfrmExpLibri() override;

    /// The help topic's title and body.
    static QString helpTitle();
    static QString helpTopic();
    /// Full path of the export file in the program folder.
    static QString exportPath();

    /// Writes the grid to the export file, whole or not at all: the file is
    /// replaced only when every byte was written. Returns false on failure.
    bool writeExportFile();

    ExpLibriModel *model() const { return m_model; }

public slots:
    void FormShow();
    void cmdEsportaClick();
    void cmdImportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *panContainer;
    QWidget *shpTop;
    QLabel *imgLogo;
    QLabel *icoMano;
    PictureButton *cmdEsporta;
    PictureButton *cmdImporta;
    PictureButton *cmdGuida;
    PictureButton *cmdEsci;
    QTableView *grdRecords;
    QWidget *bkgInfo;
    QLabel *panInfo;

    void buildLayout();

    ExpLibriModel *m_model;
    HintBar *m_hints = nullptr;
};
