#pragma once

#include "cataloguepageprint.h"

/// Window " Anteprima di stampa" of the page editor: shows the page on
/// screen as a printed A4 page in the preview window.
class TfrmAnteprimaProdotto : public CataloguePageWindow
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaProdotto(QWidget *parent = nullptr);

protected:
    bool send() override;
};
