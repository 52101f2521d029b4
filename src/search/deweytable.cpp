#include "deweytable.h"

#include <QFile>

namespace {

/// One entry per line; a carriage return before the line feed is dropped,
/// and a final line feed starts no entry.
QStringList parse(const QByteArray &text)
{
    QStringList out;
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    out.reserve(lines.size());
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        out << QString::fromLatin1(line);
    }
    return out;
}

} // namespace

namespace DeweyTable {

const QStringList &entries()
{
    static const QStringList table = [] {
        QFile file(QStringLiteral(":/assets/dewey.txt"));
        return file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : QStringList();
    }();
    return table;
}

} // namespace DeweyTable
