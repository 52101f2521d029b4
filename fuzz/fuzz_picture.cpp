// The picture loading guard, fed any file: the input is written to a file
// and loaded as a cover would be. It must come back (libFuzzer's -timeout and
// -rss_limit_mb hold it to time and memory) with a picture within the
// allocation limit or with nothing; a picture it accepts can be written as
// a cover and read again.

#include "fuzzsupport.h"

#include "kit/covers.h"

#include <QCoreApplication>
#include <QImageReader>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The image format plugins are found through the application object.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = FuzzSupport::writeScratchFile(QStringLiteral("Foto_1.jpg"), bytes);

    QImage image;
    QByteArray jpeg;
    const bool read = Covers::readPicture(path, image, &jpeg);
    FUZZ_CHECK(read == !image.isNull());
    if (!read) {
        FUZZ_CHECK(jpeg.isEmpty());
        return 0;
    }
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    FUZZ_CHECK(limit <= 0 || qint64(image.width()) * image.height() * 4 <= limit);
    FUZZ_CHECK(jpeg.isEmpty() || jpeg == bytes);

    const QString copy = FuzzSupport::scratchFolder() + QStringLiteral("/Foto_2.jpg");
    FUZZ_CHECK(Covers::writeJpeg(copy, image, jpeg));
    QImage again;
    FUZZ_CHECK(Covers::readPicture(copy, again));
    // JPEG holds at most 65500 pixels a side; a wider picture is reduced to fit.
    if (image.width() <= 65500 && image.height() <= 65500)
        FUZZ_CHECK(again.size() == image.size());
    else
        FUZZ_CHECK(again.width() <= 65500 && again.height() <= 65500);
    return 0;
}
