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
