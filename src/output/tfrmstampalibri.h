#pragma once

#include <QDialog>

/// Window "Stampa scheda": its frame only, until its screen is built.
class TfrmStampaLibri : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmStampaLibri(QWidget *parent = nullptr);
};
