#include "boundedread.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace BoundedRead {

bool isRegularFile(const QString &fileName)
{
    return !fileName.isEmpty() && !isDeviceByName(fileName) && QFileInfo(fileName).isFile();
}

bool isWindowsDeviceName(const QString &name)
{
    QString base = name.left(name.indexOf(QLatin1Char('.')));
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    base = base.toUpper();
    static const QStringList fixed = {QStringLiteral("CON"), QStringLiteral("PRN"),    QStringLiteral("AUX"),
                                      QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (fixed.contains(base))
        return true;
    if (base.size() != 4 || !(base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))))
        return false;
    // COM0..COM9 and LPT0..LPT9, and the superscript digits Windows also maps to ports.
    const QChar digit = base.at(3);
    return (digit >= QLatin1Char('0') && digit <= QLatin1Char('9')) ||
           QStringView(u"\u00B9\u00B2\u00B3").contains(digit);
}

bool isDeviceByName(const QString &fileName)
{
#ifdef Q_OS_WIN
    return isWindowsDeviceName(QFileInfo(fileName).fileName());
#else
    Q_UNUSED(fileName);
    return false;
#endif
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
