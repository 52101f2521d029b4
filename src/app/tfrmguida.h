#pragma once

#include <QDialog>

/// Window "Guida all'utilizzo del software": its frame only, until its screen is built.
class TfrmGuida : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(QWidget *parent = nullptr);
};
