#include "filesync.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <qt_windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::function<bool(QFileDevice &)> &hook()
{
    static std::function<bool(QFileDevice &)> h;
    return h;
}

bool &enabled()
{
    static bool on = true;
    return on;
}

/// Waits until the system has written the data of the open file descriptor
/// to the device.
bool syncDescriptor(int fd)
{
#ifdef Q_OS_WIN
    const intptr_t handle = _get_osfhandle(fd);
    if (handle == intptr_t(-1))
        return false;
    return FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
#else
    int result = 0;
    do {
#if defined(Q_OS_DARWIN)
        result = ::fsync(fd);
#else
        result = ::fdatasync(fd);
#endif
    } while (result != 0 && errno == EINTR);
    return result == 0;
#endif
}

} // namespace

namespace FileSync {

bool toDisk(QFileDevice &file)
{
    if (!file.isOpen() || !file.flush() || file.error() != QFileDevice::NoError)
        return false;
    if (hook() && !hook()(file))
        return false;
    if (!enabled())
        return true;
    const int fd = file.handle();
    return fd >= 0 && syncDescriptor(fd);
}

void folderToDisk(const QString &filePath)
{
#ifdef Q_OS_WIN
    // NTFS keeps its folder entries in its own journal.
    Q_UNUSED(filePath);
#else
    if (!enabled())
        return;
    const QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    while (::fsync(fd) != 0 && errno == EINTR) {
    }
    ::close(fd);
#endif
}

bool commit(QSaveFile &file)
{
    if (!toDisk(file)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    folderToDisk(file.fileName());
    return true;
}

bool fitsSaveFile(const QString &filePath)
{
    return QFileInfo(filePath).fileName().size() <= kSaveFileNameRoom;
}

bool replaceWith(QTemporaryFile &whole, const QString &destination)
{
    if (!toDisk(whole))
        return false;
    QString aside;
    if (QFileInfo::exists(destination)) {
        QTemporaryFile reserved(QFileInfo(destination).absolutePath() + QStringLiteral("/XXXXXX.old"));
        if (!reserved.open())
            return false;
        aside = reserved.fileName();
        reserved.remove();
        if (!QFile::rename(destination, aside))
            return false;
    }
    if (!whole.rename(destination)) {
        if (!aside.isEmpty())
            QFile::rename(aside, destination);
        return false;
    }
    whole.setAutoRemove(false);
    if (!aside.isEmpty())
        QFile::remove(aside);
    folderToDisk(destination);
    return true;
}

void setHook(std::function<bool(QFileDevice &)> h)
{
    hook() = std::move(h);
}

void setEnabled(bool on)
{
    enabled() = on;
}

} // namespace FileSync
