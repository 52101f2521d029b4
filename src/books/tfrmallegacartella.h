#pragma once

#include <QDialog>

/// Window "Allega file": its frame only, until its screen is built.
class TfrmAllegaCartella : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(QWidget *parent = nullptr);
};
