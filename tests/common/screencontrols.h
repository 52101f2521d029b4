#pragma once

#include "catalogues/cataloguefolder.h"
#include "catalogues/cataloguepage.h"
#include "core/bookrecord.h"
#include "kit/controls.h"
#include "kit/picturewidgets.h"

#include <QLineEdit>

#include <array>

// The controls of the screens that come in rows, found by the names the
// screens give them.

/// The card screen's edit box of text field i (TSchedaLibro::Titolo .. Note).
inline QLineEdit *cardBox(const QObject &screen, int i)
{
    static const char *const names[TSchedaLibro::TextFieldCount] = {
        "txtTitolo",  "txtAutore",   "txtNazione",   "txtAnno",      "txtEditore",   "txtCitta",
        "txtDewey",   "txtGenere",   "txtISBN",      "txtLingua",    "txtOriginale", "txtTraduttore",
        "txtCollana", "txtCuratore", "txtPosizione", "txtEtichetta", "txtFormato",   "txtVolumi",
        "txtPagine",  "txtPrezzo",   "txtGiudizio",  "txtNote"};
    return control<QLineEdit>(screen, names[i]);
}

/// The search's ten filter boxes, in the order in which they are counted.
inline std::array<QLineEdit *, 10> filterBoxes(const QObject &search)
{
    static const char *const names[10] = {"txtTitolo", "txtAutore", "txtGenere",    "txtAnno",     "txtEditore",
                                          "txtDewey",  "txtISBN",   "txtEtichetta", "txtCuratore", "txtNote"};
    std::array<QLineEdit *, 10> boxes{};
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = control<QLineEdit>(search, names[i]);
    return boxes;
}

/// The page editor's edit box of field f (TRiquadro::Field) in box 0..7.
inline QLineEdit *boxField(const QObject &editor, int box, int f)
{
    static const char *const names[TRiquadro::FieldCount] = {"txtCodice", "txtNome", "txtUM", "txtCaratteristiche",
                                                             "txtPrezzo"};
    const QString name = QString::fromLatin1(names[f]) + QLatin1Char('_') + CatalogueFolder::boxLetter(box);
    return control<QLineEdit>(editor, name);
}

/// The page editor's photo of box 0..7.
inline PictureBox *boxPhoto(const QObject &editor, int box)
{
    const QString name = QStringLiteral("imgFoto_") + CatalogueFolder::boxLetter(box);
    return control<PictureBox>(editor, name);
}
