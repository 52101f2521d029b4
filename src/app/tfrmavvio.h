#pragma once

#include <QWidget>

/// Window "Rilegora": its frame only, until its screen is built.
class TfrmAvvio : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAvvio(QWidget *parent = nullptr);
};
