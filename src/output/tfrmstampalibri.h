#pragma once

#include "bookcardprint.h"

/// Window " Stampa scheda" of the card screen: prints the card on screen on
/// one A4 page through the print dialog.
class TfrmStampaLibri : public BookCardWindow
{
    Q_OBJECT
public:
    explicit TfrmStampaLibri(QWidget *parent = nullptr);

protected:
    bool send() override;
};
