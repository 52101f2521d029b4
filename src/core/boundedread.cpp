#include "boundedread.h"

#include <QFile>
#include <QFileInfo>

namespace BoundedRead {

bool isRegularFile(const QString &fileName)
{
    return !fileName.isEmpty() && QFileInfo(fileName).isFile();
}

bool readAll(const QString &fileName, qint64 limit, QByteArray *data)
{
    data->clear();
    if (!isRegularFile(fileName))
        return false;
    QFile file(fileName);
    if (file.size() > limit || !file.open(QIODevice::ReadOnly) || file.isSequential())
        return false;
    QByteArray bytes;
    bytes.reserve(qsizetype(qMin(file.size(), limit)) + 1);
    while (bytes.size() <= limit) {
        const QByteArray block = file.read(qMin<qint64>(1 << 20, limit + 1 - bytes.size()));
        if (block.isEmpty())
            break;
        bytes += block;
    }
    if (file.error() != QFileDevice::NoError || bytes.size() > limit)
        return false;
    *data = bytes;
    return true;
}

} // namespace BoundedRead
