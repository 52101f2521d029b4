#pragma once

#include <QDialog>

/// Window "Stampa documento": its frame only, until its screen is built.
class TfrmStampaProdotto : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmStampaProdotto(QWidget *parent = nullptr);
};
