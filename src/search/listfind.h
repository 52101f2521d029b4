#pragma once

/// The walk of "Trova" over a list of count rows (count > 0), shared by the
/// search results and the Dewey table. With a new find text the walk starts
/// at the top and tests the first row itself; with the same text as the last
/// find it goes on after the selected row. It wraps round after the last row
/// and ends when it is back at its start, which is then tested last.
/// Returns the row that matched, or -1.
template <typename Matches> int findInList(int count, int selected, bool sameText, Matches matches)
{
    int start = 0;
    if (sameText)
        start = selected;
    else if (matches(0))
        return 0;
    for (int i = start;;) {
        i = (i + 1) % count;
        if (matches(i))
            return i;
        if (i == start)
            return -1;
    }
}
