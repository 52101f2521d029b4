#pragma once

#include "report/printwindow.h"

#include <QImage>
#include <QString>

#include <array>

/// What the two catalogue page windows share: the template "Catalogo
/// Libri" (its box titles 14 pt for the preview, 16 pt for paper) filled
/// from the page the window was given: what the page editor shows, saved
/// or not.
class CataloguePageWindow : public PrintWindow
{
    Q_OBJECT
public:
    /// What a page window prints, as the page editor shows it (each text is
    /// trimmed when printed; a missing text or photo prints empty).
    struct Page
    {
        QString name;     ///< the catalogue's name (lblNome)
        QString position; ///< the page number, empty for a page never saved (lblPosizione)
        /// Per box A..H, its five texts: name, author line, notes, code, price.
        std::array<std::array<QString, 5>, 8> texts;
        std::array<QImage, 8> photos;
    };
    /// The page to print; set before the window is used.
    void setPage(const Page &page) { m_page = page; }

    /// Fills repDocumento from the page and prepares it; false
    /// when the template is not usable.
    bool fillReport();

public slots:
    void btnStampaClick() override;

protected:
    CataloguePageWindow(QWidget *parent, const QString &name, const QString &caption, const QString &confirmText,
                        Panel panel, const Pictures &pictures, int titleSize);
    /// Sends the prepared report. Returns false, having told the user, on a failure.
    virtual bool send() = 0;

private:
    Page m_page;
};
