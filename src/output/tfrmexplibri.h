#pragma once

#include <QDialog>

/// Window "Esporta archivio libri in Excel": its frame only, until its screen is built.
class TfrmExpLibri : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmExpLibri(QWidget *parent = nullptr);
};
