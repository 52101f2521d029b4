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

bool toDisk(QFileDevice &file, QString *error)
{
    const auto fail = [error](const QString &cause) {
        if (error)
            *error = cause;
        return false;
    };
    if (!file.isOpen())
        return fail(QStringLiteral("il file %1 non è aperto").arg(file.fileName()));
    if (!file.flush()) {
        // A short write (a full disk takes what fits) keeps the rest in the
        // buffer and tells no cause: a second try of the rest does.
        file.flush();
        return fail(file.errorString());
    }
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (hook() && !hook()(file))
        return fail(QStringLiteral("la sincronizzazione di %1 sul disco non è riuscita").arg(file.fileName()));
    if (!enabled())
        return true;
    const int fd = file.handle();
    if (fd < 0)
        return fail(QStringLiteral("il file %1 non ha un descrittore").arg(file.fileName()));
    if (!syncDescriptor(fd)) {
        // errno, or GetLastError() on Windows, still tells why.
        return fail(QStringLiteral("la sincronizzazione di %1 sul disco non è riuscita: %2")
                        .arg(file.fileName(), qt_error_string()));
    }
    return true;
}

bool writeAll(QIODevice &file, const char *data, qint64 size, QString *error)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.write(data + done, size - done);
        if (n <= 0) {
            if (error)
                *error = n < 0 ? file.errorString() : QStringLiteral("scritti %1 byte su %2").arg(done).arg(size);
            return false;
        }
        done += n;
    }
    return true;
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

bool commit(QSaveFile &file, QString *error)
{
    if (!toDisk(file, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
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
