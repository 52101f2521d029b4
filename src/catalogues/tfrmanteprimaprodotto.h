#pragma once

#include <QDialog>

/// Window "Anteprima di stampa": its frame only, until its screen is built.
class TfrmAnteprimaProdotto : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaProdotto(QWidget *parent = nullptr);
};
