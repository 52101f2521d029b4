// Draws the application icon (assets/icoIconaApp.svg) as an icon file:
//   rilegora-icon out.ico   a Windows icon with the sizes 16 to 256
//   rilegora-icon out.png   one 256 x 256 picture
// The picture keeps its proportions, centred on a transparent square.
#include "kit/picturewidgets.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QtEndian>

#include <cstdio>

namespace {

QImage iconPicture(int side)
{
    const QSize drawn = QSize(57, 55).scaled(side, side, Qt::KeepAspectRatio);
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter p(&square);
    p.drawImage((side - drawn.width()) / 2, (side - drawn.height()) / 2,
                renderPicture(QStringLiteral(":/assets/icoIconaApp.svg"), drawn));
    return square;
}

QByteArray pngOf(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

template <class T> void put(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// An icon file whose images are PNG streams, which Windows reads at every
// size since Vista: a 6-byte header, one 16-byte entry per image, the images.
QByteArray icoOf(const QList<int> &sides)
{
    QList<QByteArray> images;
    for (int side : sides)
        images << pngOf(iconPicture(side));
    QByteArray out;
    put<quint16>(out, 0); // reserved
    put<quint16>(out, 1); // an icon, not a cursor
    put<quint16>(out, quint16(sides.size()));
    quint32 offset = 6 + 16 * quint32(sides.size());
    for (int i = 0; i < sides.size(); ++i) {
        const quint8 side = sides[i] >= 256 ? 0 : quint8(sides[i]); // 0 stands for 256
        put<quint8>(out, side);
        put<quint8>(out, side);
        put<quint8>(out, 0);   // no palette
        put<quint8>(out, 0);   // reserved
        put<quint16>(out, 1);  // colour planes
        put<quint16>(out, 32); // bits per pixel
        put<quint32>(out, quint32(images[i].size()));
        put<quint32>(out, offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray &image : images)
        out += image;
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rilegora-icon out.ico|out.png\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QByteArray data =
        path.endsWith(QLatin1String(".ico")) ? icoOf({16, 24, 32, 48, 64, 128, 256}) : pngOf(iconPicture(256));
    QSaveFile file(path);
    if (data.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
