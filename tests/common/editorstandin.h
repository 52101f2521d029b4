#pragma once

#include "catalogues/cataloguepageprint.h"
#include "kit/picturewidgets.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

/// A stand-in for the catalogue page editor: its name and page labels, the
/// five edit boxes and the photo of each of the eight boxes, named as the
/// editor's, and the page they make for a print window. Each photo is a plain colour of its own.
class EditorStandIn : public QWidget
{
public:
    static constexpr const char *Fields[] = {"txtNome_", "txtUM_", "txtCaratteristiche_", "txtCodice_", "txtPrezzo_"};

    EditorStandIn()
    {
        lblNome = label("lblNome");
        lblPosizione = label("lblPosizione");
        for (char letter = 'A'; letter <= 'H'; ++letter) {
            for (const char *field : Fields) {
                auto *box = new QLineEdit(this);
                box->setObjectName(QLatin1String(field) + QLatin1Char(letter));
            }
            auto *photo = new PictureBox(QStringLiteral("imgFoto_") + QLatin1Char(letter), this);
            QImage image(282, 366, QImage::Format_RGB32);
            image.fill(QColor::fromHsv((letter - 'A') * 40, 255, 160));
            photo->setImage(image);
        }
    }
    QLineEdit *box(const char *field, char letter) const
    {
        return findChild<QLineEdit *>(QLatin1String(field) + QLatin1Char(letter));
    }
    void fill()
    {
        lblNome->setText(QStringLiteral(" Narrativa "));
        lblPosizione->setText(QStringLiteral("12"));
        for (char letter = 'A'; letter <= 'H'; ++letter)
            for (const char *field : Fields)
                box(field, letter)
                    ->setText(QStringLiteral(" %1%2 ").arg(QLatin1String(field).mid(3)).arg(QLatin1Char(letter)));
    }

    /// The page as the editor hands it to a print window.
    CataloguePageWindow::Page printedPage() const
    {
        CataloguePageWindow::Page page;
        page.name = lblNome->text();
        page.position = lblPosizione->text();
        for (int k = 0; k < 8; ++k) {
            const char letter = char('A' + k);
            for (int f = 0; f < 5; ++f)
                page.texts[size_t(k)][size_t(f)] = box(Fields[f], letter)->text();
            page.photos[size_t(k)] = findChild<PictureBox *>(QStringLiteral("imgFoto_") + QLatin1Char(letter))->image();
        }
        return page;
    }

    QLabel *lblNome, *lblPosizione;

private:
    QLabel *label(const char *name)
    {
        auto *l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        return l;
    }
};
