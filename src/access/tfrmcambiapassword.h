#pragma once

#include <QDialog>

/// Window "Cambia password": its frame only, until its screen is built.
class TfrmCambiaPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(QWidget *parent = nullptr);
};
