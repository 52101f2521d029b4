#pragma once

#include <QString>

/// Removes every leading and trailing character whose code is 32 or below
/// (blanks and control characters), as every stored and loaded text is.
inline QString trimText(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start).unicode() <= 32)
        ++start;
    while (end > start && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(start, end - start);
}
