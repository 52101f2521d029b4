#pragma once

#include <QDialog>

/// Window "Rilegora - Autenticazione": its frame only, until its screen is built.
class TfrmPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget *parent = nullptr);
};
