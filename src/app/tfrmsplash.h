#pragma once

#include <QDialog>

/// Window "Rilegora": its frame only, until its screen is built.
class TfrmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);
};
