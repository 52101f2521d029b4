#include "hostilefiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifndef Q_OS_WIN
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace HostileFiles {

namespace {
const char *name(Kind kind)
{
    switch (kind) {
    case DeviceLink:
        return "link to /dev/zero";
    case Fifo:
        return "named pipe";
    case FifoLink:
        return "link to a named pipe";
    case Socket:
        return "local socket";
    case Folder:
        return "folder";
    case EndlessProc:
        return "link to a file that reads past its size";
    case PictureLink:
        return "link to a picture";
    }
    return "?";
}

#ifndef Q_OS_WIN
/// A folder for the targets of links, alive for the whole test program.
QString elsewhere(const QString &file)
{
    static QTemporaryDir dir;
    return dir.filePath(file);
}

bool link(const QString &target, const QString &path, QString *why)
{
    if (QFile::link(target, path))
        return true;
    *why = QStringLiteral("cannot link %1 to %2").arg(path, target);
    return false;
}
#endif
} // namespace

void addRows(std::initializer_list<Kind> kinds)
{
    QTest::addColumn<int>("kind");
    for (int k = DeviceLink; k <= PictureLink; ++k) {
        if (kinds.size() == 0 || std::find(kinds.begin(), kinds.end(), Kind(k)) != kinds.end())
            QTest::newRow(name(Kind(k))) << k;
    }
}

#ifdef Q_OS_WIN
bool make(int kind, const QString &path, QString *why)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    switch (Kind(kind)) {
    case Folder:
        return QDir().mkpath(path);
    case DeviceLink:
    case EndlessProc:
        *why = QStringLiteral("Windows has no /dev/zero nor /proc for a link to point at");
        return false;
    case Fifo:
    case FifoLink:
    case Socket:
        *why = QStringLiteral("Windows has no named pipes or sockets in the file system");
        return false;
    case PictureLink:
        *why = QStringLiteral("QFile::link makes a .lnk shortcut on Windows, which file access does not follow");
        return false;
    }
    *why = QStringLiteral("unknown kind");
    return false;
}
#else
bool make(int kind, const QString &path, QString *why)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    const QByteArray native = QFile::encodeName(path);
    switch (Kind(kind)) {
    case DeviceLink:
        if (!QFileInfo(QStringLiteral("/dev/zero")).exists()) {
            *why = QStringLiteral("no /dev/zero");
            return false;
        }
        return link(QStringLiteral("/dev/zero"), path, why);
    case Fifo:
        if (mkfifo(native.constData(), 0644) == 0)
            return true;
        *why = QStringLiteral("mkfifo: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    case FifoLink: {
        const QString target = elsewhere(QStringLiteral("pipe-%1").arg(QFileInfo(path).fileName()));
        QFile::remove(target);
        if (mkfifo(QFile::encodeName(target).constData(), 0644) != 0) {
            *why = QStringLiteral("mkfifo: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        return link(target, path, why);
    }
    case Socket: {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (size_t(native.size()) >= sizeof(address.sun_path)) {
            *why = QStringLiteral("path too long for a socket");
            return false;
        }
        std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
        if (fd >= 0)
            ::close(fd); // the socket file stays behind, with nobody listening
        if (!bound)
            *why = QStringLiteral("cannot bind a socket");
        return bound;
    }
    case Folder:
        return QDir().mkpath(path);
    case EndlessProc: {
        // A regular file whose size says 0 and that reads on for gigabytes.
        const QString target = QStringLiteral("/proc/self/pagemap");
        QFile probe(target);
        if (!QFileInfo(target).isFile() || !probe.open(QIODevice::ReadOnly) || probe.read(8).size() != 8) {
            *why = QStringLiteral("no readable /proc/self/pagemap");
            return false;
        }
        return link(target, path, why);
    }
    case PictureLink: {
        const QString target = elsewhere(QStringLiteral("picture-%1.png").arg(QFileInfo(path).fileName()));
        QImage picture(37, 23, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        if (!picture.save(target, "png")) {
            *why = QStringLiteral("cannot write a picture");
            return false;
        }
        return link(target, path, why);
    }
    }
    *why = QStringLiteral("unknown kind");
    return false;
}

#endif

} // namespace HostileFiles
