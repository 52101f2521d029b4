#pragma once

#include <QDialog>

/// Window "Tabella Codici Dewey": its frame only, until its screen is built.
class TfrmCodici_Dewey : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCodici_Dewey(QWidget *parent = nullptr);
};
