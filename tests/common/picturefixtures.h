#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

/// A picture with enough detail that a second JPEG encoding changes its bytes.
inline QImage detailedPicture(const QSize &size, quint32 seed = 7)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, int(random.bounded(256))));
    return image;
}

/// A picture encoded as a file of that format would hold it.
inline QByteArray encodedPicture(const QImage &image, const char *format, int quality = -1)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return out;
}

/// A small JPEG whose header claims a picture of the given size.
inline QByteArray jpegClaiming(int width, int height)
{
    QByteArray data = encodedPicture(detailedPicture(QSize(16, 16)), "jpg");
    const qsizetype sof = data.indexOf(QByteArrayLiteral("\xFF\xC0"));
    if (sof < 0)
        return QByteArray();
    data[sof + 5] = char(height >> 8);
    data[sof + 6] = char(height & 255);
    data[sof + 7] = char(width >> 8);
    data[sof + 8] = char(width & 255);
    return data;
}

/// A small PNG whose header claims a picture of the given size.
inline QByteArray pngClaiming(int width, int height)
{
    QByteArray data = encodedPicture(detailedPicture(QSize(16, 16)), "png");
    // IHDR data starts at byte 16: width and height, big-endian.
    for (int i = 0; i < 4; ++i) {
        data[16 + i] = char(quint32(width) >> (24 - 8 * i));
        data[20 + i] = char(quint32(height) >> (24 - 8 * i));
    }
    return data;
}
