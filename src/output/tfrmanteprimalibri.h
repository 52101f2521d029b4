#pragma once

#include <QDialog>

/// Window "Anteprima di stampa": its frame only, until its screen is built.
class TfrmAnteprimaLibri : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaLibri(QWidget *parent = nullptr);
};
