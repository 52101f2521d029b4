#pragma once

#include <QDialog>

/// Window "Trova libri in archivio": its frame only, until its screen is built.
class TfrmTrovaLibri : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTrovaLibri(QWidget *parent = nullptr);
};
