#pragma once

#include <QStringList>

/// The Italian captions of the Dewey Decimal Classification, compiled into
/// the program from assets/dewey.txt: one entry "NNN CAPTION" per line, in
/// ascending class order, each class caption followed by its subdivisions.
namespace DeweyTable {

/// Every entry, in table order. Read from the compiled table on first use
/// and kept for the rest of the run.
const QStringList &entries();

} // namespace DeweyTable
