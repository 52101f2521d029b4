#pragma once
// Cards with every text field filled as a library fills them, drawn from a
// list of words chosen by the benchmark (texts its file format must escape).

#include "core/bookrecord.h"

#include <QString>

#include <cstddef>

namespace SampleCards {

template <std::size_t N> QString words(const char *const (&list)[N], quint32 seed, int count)
{
    QString out;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        if (i)
            out += QLatin1Char(' ');
        out += QString::fromUtf8(list[(seed >> 16) % N]);
    }
    return out;
}

template <std::size_t N> TSchedaLibro card(const char *const (&list)[N], int n)
{
    TSchedaLibro card;
    const quint32 s = quint32(n) * 2654435761u;
    card.setText(TSchedaLibro::Titolo, words(list, s, 4) + QStringLiteral(" n. %1").arg(n));
    card.setText(TSchedaLibro::Autore, words(list, s + 1, 2));
    card.setText(TSchedaLibro::Nazione, QStringLiteral("Italia"));
    card.setText(TSchedaLibro::Anno, QString::number(1900 + n % 125));
    card.setText(TSchedaLibro::Editore, words(list, s + 2, 2));
    card.setText(TSchedaLibro::Citta, QStringLiteral("Forlì"));
    card.setText(TSchedaLibro::Dewey, QStringLiteral("853.%1").arg(n % 100));
    card.setText(TSchedaLibro::Genere, QStringLiteral("Narrativa"));
    card.setText(TSchedaLibro::ISBN, QStringLiteral("978-88-%1").arg(n, 7, 10, QLatin1Char('0')));
    card.setText(TSchedaLibro::Lingua, QStringLiteral("Italiano"));
    card.setText(TSchedaLibro::Originale, words(list, s + 3, 3));
    card.setText(TSchedaLibro::Traduttore, words(list, s + 4, 2));
    card.setText(TSchedaLibro::Collana, words(list, s + 5, 2));
    card.setText(TSchedaLibro::Curatore, words(list, s + 6, 2));
    card.setText(TSchedaLibro::Posizione, QStringLiteral("Scaffale %1, ripiano %2").arg(n % 40).arg(n % 6));
    card.setText(TSchedaLibro::Etichetta, QStringLiteral("L-%1").arg(n));
    card.setText(TSchedaLibro::Formato, QStringLiteral("Tascabile"));
    card.setText(TSchedaLibro::Volumi, QStringLiteral("1"));
    card.setText(TSchedaLibro::Pagine, QString::number(100 + n % 700));
    card.setText(TSchedaLibro::Prezzo, QStringLiteral("%1,50").arg(5 + n % 30));
    card.setText(TSchedaLibro::Giudizio, words(list, s + 7, 12));
    card.setText(TSchedaLibro::Note, words(list, s + 8, 16));
    return card;
}

} // namespace SampleCards
