#pragma once

#include "cataloguepageprint.h"

/// Window " Stampa documento" of the page editor: prints the page on
/// screen on one A4 page through the print dialog.
class TfrmStampaProdotto : public CataloguePageWindow
{
    Q_OBJECT
public:
    explicit TfrmStampaProdotto(QWidget *parent = nullptr);

protected:
    bool send() override;
};
