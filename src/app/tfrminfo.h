#pragma once

#include <QDialog>

/// Window "Informazioni su Rilegora": its frame only, until its screen is built.
class TfrmInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget *parent = nullptr);
};
