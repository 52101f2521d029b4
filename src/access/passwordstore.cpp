#include "passwordstore.h"

#include "crypt.h"
#include "inifile.h"

#include "app/programfolder.h"
#include "app/texttrim.h"

#include <QFile>
#include <QFileInfo>

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

bool writeWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        setError(error, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        setError(error, file.errorString());
        file.close();
        QFile::remove(path);
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        setError(error, file.errorString());
        QFile::remove(path);
        return false;
    }
    return true;
}

/// Replaces the file at path with bytes. The new contents go to "<path>.tmp"
/// first; the old file steps aside as "<path>.bak" only while the new one
/// takes its name, and comes back if that fails.
bool replaceFile(const QString &path, const QByteArray &bytes, QString *error)
{
    const QString staged = path + QStringLiteral(".tmp");
    const QString aside = path + QStringLiteral(".bak");
    if (!writeWhole(staged, bytes, error))
        return false;
    if (!passed(PasswordStore::WriteStep::TemporaryWritten)) {
        QFile::remove(staged);
        return false;
    }
    QFile::setPermissions(staged, QFile::permissions(path));
    if (QFileInfo::exists(aside))
        QFile::remove(aside);
    if (!QFile::rename(path, aside)) {
        setError(error, QStringLiteral("impossibile sostituire %1").arg(path));
        QFile::remove(staged);
        return false;
    }
    if (!passed(PasswordStore::WriteStep::SetAside)) {
        QFile::rename(aside, path);
        QFile::remove(staged);
        return false;
    }
    if (!QFile::rename(staged, path)) {
        setError(error, QStringLiteral("impossibile sostituire %1").arg(path));
        QFile::rename(aside, path);
        QFile::remove(staged);
        return false;
    }
    QFile::remove(aside);
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

std::optional<QString> readStored()
{
    QFile file(filePath());
    if (!file.exists())
        return QString();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const QString value = IniFile::readValue(content, section(), key());
    const std::optional<QString> plain = Crypt::CryptDecode(value);
    if (!plain)
        return std::nullopt;
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
    if (!QFileInfo(path).isWritable() || !file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return false;
    }
    const QByteArray content = file.readAll();
    file.close();
    const QByteArray updated = IniFile::withValue(content, section(), key(), trimText(Crypt::CryptEncode(form)));
    if (updated == content)
        return true;
    return replaceFile(path, updated, error);
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
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        setError(error, file.errorString());
        file.close();
        file.remove();
        return Creation::Failed;
    }
    file.close();
    return Creation::Created;
}

} // namespace PasswordStore
