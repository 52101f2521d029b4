#pragma once

#include <QDialog>

/// Window "Fai clic sulla foto per chiudere questa finestra": its frame only, until its screen is built.
class TfrmZoom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget *parent = nullptr);
};
