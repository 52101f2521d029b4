#pragma once

#include "report/printwindow.h"

/// What the two catalogue page windows share: the template "Catalogo
/// Libri" (its box titles 14 pt for the preview, 16 pt for paper) filled
/// from the page editor that owns the window. The editor's controls are
/// found by name: lblNome, lblPosizione, and per box X (A to H) txtNome_X,
/// txtUM_X, txtCaratteristiche_X, txtCodice_X, txtPrezzo_X and the picture
/// box imgFoto_X. What is printed is what the editor shows, saved or not.
class CataloguePageWindow : public PrintWindow
{
    Q_OBJECT
public:
    /// Fills repDocumento from the owner's controls and prepares it; false
    /// when the template is not usable.
    bool fillReport();

public slots:
    void btnStampaClick() override;

protected:
    CataloguePageWindow(QWidget *parent, const QString &name, const QString &caption, const QString &confirmText,
                        Panel panel, const Pictures &pictures, int titleSize);
    /// Sends the prepared report. Returns false, having told the user, on a failure.
    virtual bool send() = 0;
};
