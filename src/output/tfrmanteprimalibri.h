#pragma once

#include "bookcardprint.h"

/// Window " Anteprima di stampa" of the card screen: shows the card on
/// screen as a printed A4 page in the preview window.
class TfrmAnteprimaLibri : public BookCardWindow
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaLibri(QWidget *parent = nullptr);

protected:
    bool send() override;
};
