#pragma once

#include "core/bookrecord.h"

#include <QString>

/// A card with the fields that searches look at most, for building test archives.
inline TSchedaLibro card(const QString &titolo, const QString &autore = QString(), const QString &editore = QString(),
                         const QString &anno = QString())
{
    TSchedaLibro c;
    c.setText(TSchedaLibro::Titolo, titolo);
    c.setText(TSchedaLibro::Autore, autore);
    c.setText(TSchedaLibro::Editore, editore);
    c.setText(TSchedaLibro::Anno, anno);
    return c;
}
