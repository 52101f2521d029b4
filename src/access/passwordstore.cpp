#include "passwordstore.h"

#include "crypt.h"
#include "inifile.h"

#include "core/boundedread.h"
#include "core/filesync.h"
#include "core/programfolder.h"
#include "core/texttrim.h"
#include "core/writelock.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

namespace {

std::function<bool(PasswordStore::WriteStep)> &writeHook()
{
    static std::function<bool(PasswordStore::WriteStep)> hook;
    return hook;
}

bool passed(PasswordStore::WriteStep step)
{
    return !writeHook() || writeHook()(step);
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

/// The text for a write that failed with nothing better to say.
QString failureText(const QFileDevice &file, const QString &path)
{
    return file.error() != QFileDevice::NoError ? file.errorString()
                                                : QStringLiteral("impossibile scrivere %1").arg(path);
}

/// Puts updated in the store at path in place of old, the contents just read
/// from it. Every write of the store goes through here; a failure leaves the
/// file holding old.
///
/// The new contents go to a temporary file beside the store, made under a
/// unique name and created exclusively (whatever an earlier run left at some
/// name is never opened), synced, and renamed over the store in one step: at
/// every instant the store holds the old contents or the new, whole.
///
/// Where no file can be made beside the store (a folder the user may not
/// write to, holding a settings file opened to him), the store is rewritten
/// in itself from the first byte that changes, with the old contents kept
/// here and written back if the rewrite fails.
bool storeContents(const QString &path, const QByteArray &old, const QByteArray &updated, QString *error)
{
    using PasswordStore::WriteStep;
    QString syncError;
    // Windows does not let a file be replaced while another program reads
    // it, as another workstation does for a moment at its login: the
    // replacement is tried again a few times before it counts as failed.
    constexpr int kAttempts = 5;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        QSaveFile staged(path);
        if (!staged.open(QIODevice::WriteOnly)) {
            if (attempt == 1)
                break; // no file can be made beside the store: rewritten in place below
            setError(error, failureText(staged, path));
            return false;
        }
        if (!passed(WriteStep::TemporaryOpened) || staged.write(updated) != updated.size() ||
            !FileSync::toDisk(staged, &syncError) || !passed(WriteStep::TemporaryWritten)) {
            setError(error, syncError.isEmpty() ? failureText(staged, path) : syncError);
            staged.cancelWriting();
            return false;
        }
        if (staged.commit()) {
            FileSync::folderToDisk(path);
            return true;
        }
        if (attempt == kAttempts) {
            setError(error, failureText(staged, path));
            return false;
        }
        QThread::msleep(20 * attempt);
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) || !passed(WriteStep::InPlaceOpened)) {
        setError(error, failureText(file, path));
        return false;
    }
    qsizetype from = 0;
    while (from < old.size() && from < updated.size() && old.at(from) == updated.at(from))
        ++from;
    const auto writeFrom = [&file, from, &syncError](const QByteArray &bytes) {
        const qint64 length = bytes.size() - from;
        return file.seek(from) && file.write(bytes.constData() + from, length) == length && file.flush() &&
               file.resize(bytes.size()) && FileSync::toDisk(file, &syncError);
    };
    if (!writeFrom(updated) || !passed(WriteStep::InPlaceWritten)) {
        setError(error, syncError.isEmpty() ? failureText(file, path) : syncError);
        writeFrom(old);
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

QString section()
{
    return QString::fromLatin1(PasswordStore::Section);
}

QString key()
{
    return QString::fromLatin1(PasswordStore::Key);
}

} // namespace

namespace PasswordStore {

QString filePath()
{
    return ProgramFolder::file(QString::fromLatin1(FileName));
}

QString canonical(const QString &typed)
{
    QString out = typed;
    for (QChar &c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(char16_t(c.unicode() - u'a' + u'A'));
    }
    return trimText(out);
}

std::optional<QString> readStored(QString *error)
{
    const QString path = filePath();
    if (!QFileInfo::exists(path))
        return QString();
    // A settings file is a few lines; anything else at its name (a device, a
    // named pipe, a file of megabytes) is not one, and is never read on end.
    QByteArray content;
    if (!BoundedRead::readAll(path, MaxFileBytes, &content)) {
        setError(error, !BoundedRead::isRegularFile(path) ? QStringLiteral("%1 non è un file ordinario").arg(path)
                        : QFileInfo(path).size() > MaxFileBytes
                            ? QStringLiteral("%1 supera %2 byte").arg(path).arg(MaxFileBytes)
                            : QStringLiteral("impossibile leggere %1").arg(path));
        return std::nullopt;
    }
    const QString value = IniFile::readValue(content, section(), key());
    const std::optional<QString> plain = Crypt::CryptDecode(value);
    if (!plain) {
        setError(error, QStringLiteral("il valore registrato in %1 non è esadecimale").arg(path));
        return std::nullopt;
    }
    return trimText(*plain);
}

bool writeStored(const QString &password, QString *error)
{
    const QString form = canonical(password);
    if (!Crypt::canHold(form)) {
        setError(error, QStringLiteral("la password non può essere memorizzata"));
        return false;
    }
    const QString path = filePath();
    QFile file(path);
    if (!file.exists()) {
        setError(error, QStringLiteral("%1 non trovato").arg(path));
        return false;
    }
    QByteArray content;
    if (!QFileInfo(path).isWritable()) {
        setError(error, QStringLiteral("%1 non è scrivibile").arg(path));
        return false;
    }
    if (!BoundedRead::readAll(path, MaxFileBytes, &content)) {
        setError(error, QStringLiteral("impossibile leggere %1").arg(path));
        return false;
    }
    const QByteArray updated = IniFile::withValue(content, section(), key(), trimText(Crypt::CryptEncode(form)));
    if (updated == content)
        return true;
    return storeContents(path, content, updated, error);
}

Replace replaceStored(const QString &expectedOld, const QString &password, QString *error)
{
    WriteLock lock(filePath());
    if (!lock.take())
        return Replace::Busy;
    const std::optional<QString> stored = readStored(error);
    if (!stored)
        return Replace::Failed;
    if (stored->isEmpty() || *stored != canonical(expectedOld))
        return Replace::ChangedElsewhere;
    return writeStored(password, error) ? Replace::Done : Replace::Failed;
}

void setWriteHook(std::function<bool(WriteStep)> hook)
{
    writeHook() = std::move(hook);
}

QByteArray initialContents(const QString &password)
{
    return IniFile::withValue(QByteArray(), section(), key(), Crypt::CryptEncode(canonical(password)));
}

Creation createInitialFile(const QString &path, const QString &password, QString *error)
{
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return Creation::AlreadyThere;
    QFile file(path);
    // NewOnly: never replace a file that appeared in the meantime.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(path))
            return Creation::AlreadyThere;
        setError(error, file.errorString());
        return Creation::Failed;
    }
    const QByteArray bytes = initialContents(password);
    QString syncError;
    if (file.write(bytes) != bytes.size() || !FileSync::toDisk(file, &syncError)) {
        setError(error, syncError.isEmpty() ? file.errorString() : syncError);
        file.close();
        file.remove();
        return Creation::Failed;
    }
    file.close();
    return Creation::Created;
}

} // namespace PasswordStore
