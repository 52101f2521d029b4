#include "covers.h"

#include "core/boundedread.h"
#include "core/filesync.h"
#include "core/programfolder.h"
#include "core/texttrim.h"
#include "kit/picturewidgets.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QTemporaryFile>

namespace Covers {

QString folder()
{
    return ProgramFolder::file(QStringLiteral("Copertine_Libri/"));
}

QString path(const QString &cardNumber)
{
    const QString number = trimText(cardNumber);
    if (number.isEmpty() || number.size() > 9 || number.startsWith(QLatin1Char('0')))
        return QString();
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QString();
    }
    return folder() + QStringLiteral("Foto_") + number + QStringLiteral(".jpg");
}

bool makeFolder()
{
    return QDir().mkpath(folder());
}

namespace {
/// The most bytes a picture may take, in its file and decoded: the image
/// allocation limit, or Qt's default of 256 MB where that limit is switched off.
qint64 pictureLimitBytes()
{
    const int megabytes = QImageReader::allocationLimit();
    return qint64(megabytes > 0 ? megabytes : 256) * 1024 * 1024;
}

/// A JPEG's last scan must be followed by its end marker; a file cut short
/// would otherwise decode as a picture with a grey bottom. Inside the
/// compressed data every 0xFF byte is stuffed, so neither marker can appear
/// there by chance; an embedded thumbnail ends before the main picture's scan.
bool jpegComplete(const QByteArray &data)
{
    const qsizetype lastScan = data.lastIndexOf(QByteArrayLiteral("\xFF\xDA"));
    const qsizetype end = data.lastIndexOf(QByteArrayLiteral("\xFF\xD9"));
    return lastScan >= 0 && end > lastScan;
}

/// A bitmap's header gives its file size; a file shorter than that was cut
/// short (Qt would decode the missing rows as black).
bool bmpComplete(const QByteArray &data)
{
    if (data.size() < 6)
        return false;
    const auto byte = [&data](int i) { return quint32(quint8(data[i])); };
    const quint32 declared = byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24;
    return declared <= quint32(data.size());
}
} // namespace

bool readPicture(const QString &fileName, QImage &image, QByteArray *jpeg)
{
    image = QImage();
    if (jpeg)
        jpeg->clear();
    const qint64 limit = pictureLimitBytes();
    QByteArray data;
    if (!BoundedRead::readAll(fileName, limit, &data) || data.isEmpty())
        return false;

    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return false;
    const QByteArray format = reader.format();
    const QSize size = reader.size();
    // A header may claim any size; refuse before decoding what would not fit.
    if (!size.isValid() || size.isEmpty() || qint64(size.width()) * size.height() * 4 > limit)
        return false;
    const bool isJpeg = format == "jpeg" || format == "jpg";
    if ((isJpeg && !jpegComplete(data)) || (format == "bmp" && !bmpComplete(data)))
        return false;
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        return false;
    image = decoded;
    if (jpeg && isJpeg)
        *jpeg = data;
    return true;
}

QByteArray jpegData(const QImage &image, const QByteArray &sourceJpeg)
{
    if (!sourceJpeg.isEmpty())
        return sourceJpeg;
    if (image.isNull())
        return QByteArray();
    // JPEG holds at most 65500 pixels a side: a picture read from another
    // format may be longer, and is then reduced to fit, proportions kept.
    constexpr int kJpegMaxSide = 65500;
    QImage fitting = image;
    if (image.width() > kJpegMaxSide || image.height() > kJpegMaxSide) {
        const QSize size = image.size().scaled(kJpegMaxSide, kJpegMaxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        fitting = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    if (!writer.write(fitting))
        return QByteArray();
    return out;
}

bool writeJpeg(const QString &fileName, const QImage &image, const QByteArray &sourceJpeg, Keep keep, QString *error)
{
    const auto fail = [error](const QString &cause) {
        if (error)
            *error = cause;
        return false;
    };
    if (fileName.isEmpty())
        return fail(QStringLiteral("nessun nome per la fotografia"));
    const QByteArray data = jpegData(image, sourceJpeg);
    if (data.isEmpty())
        return fail(QStringLiteral("la fotografia non può essere scritta come JPEG"));
    if (!FileSync::fitsSaveFile(fileName)) {
        // A name too long for the save file's temporary name beside it (Windows).
        QTemporaryFile whole(QFileInfo(fileName).absolutePath() + QStringLiteral("/XXXXXX.tmp"));
        if (!whole.open())
            return fail(whole.errorString());
        QString cause;
        if (!FileSync::writeAll(whole, data.constData(), data.size(), &cause))
            return fail(cause);
        return FileSync::replaceWith(whole, fileName) || fail(whole.errorString());
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QString cause;
    if (!FileSync::writeAll(file, data.constData(), data.size(), &cause)) {
        file.cancelWriting();
        return fail(cause);
    }
    if (keep == Keep::Stored)
        return FileSync::commit(file, error);
    return file.commit() || fail(file.errorString());
}

void loadInto(PictureBox *box, const QString &fileName, const QImage &placeholder)
{
    QImage image;
    QByteArray jpeg;
    if (readPicture(fileName, image, &jpeg))
        box->setImage(image, jpeg);
    else
        box->setImage(placeholder);
}

} // namespace Covers
