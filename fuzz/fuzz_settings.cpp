// The settings file reader and writer, fed any file.
//
// The input's first byte gives the length of a value to write, the bytes
// after it are that value (its line breaks dropped), and the rest is the
// file. The value of the password store's key is read, written back and
// read again; then the new value is written and read. The file is also put
// in place of the password store, whose password is read and then changed
// to the value.

#include "fuzzsupport.h"

#include "access/inifile.h"
#include "access/passwordstore.h"
#include "core/programfolder.h"

namespace {

const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");

/// Values the writer must leave alone: another key of the same section, the
/// same key in another section.
struct Others
{
    QString sameSection;
    QString otherSection;
};

Others others(const QByteArray &content)
{
    const QString missing = QStringLiteral("\x01missing");
    return {IniFile::readValue(content, kSection, QStringLiteral("Altro"), missing),
            IniFile::readValue(content, QStringLiteral("Altra"), kKey, missing)};
}

void writeAndRead(const QByteArray &content, const QString &value)
{
    const Others before = others(content);
    const QByteArray updated = IniFile::withValue(content, kSection, kKey, value);
    FUZZ_CHECK(IniFile::readValue(updated, kSection, kKey, QStringLiteral("\x01missing")) == value);
    const Others after = others(updated);
    FUZZ_CHECK(after.sameSection == before.sameSection);
    FUZZ_CHECK(after.otherSection == before.otherSection);
    // Writing the same value again changes nothing.
    FUZZ_CHECK(IniFile::withValue(updated, kSection, kKey, value) == updated);
}

/// The store's own reading and writing, on the file as it is on disk.
void passwordStore(const QByteArray &content, const QString &password)
{
    static const bool folderSet = [] {
        ProgramFolder::setPath(FuzzSupport::scratchFolder());
        return true;
    }();
    (void)folderSet;
    FuzzSupport::writeScratchFile(QString::fromLatin1(PasswordStore::FileName), content);
    (void)PasswordStore::readStored();
    QString error;
    FUZZ_CHECK(PasswordStore::writeStored(password, &error));
    const std::optional<QString> stored = PasswordStore::readStored();
    FUZZ_CHECK(stored && *stored == PasswordStore::canonical(password));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t valueLength = std::min<size_t>(data[0], size - 1);
    QByteArray value(reinterpret_cast<const char *>(data) + 1, qsizetype(valueLength));
    value.replace('\n', "").replace('\r', "");
    const QByteArray content(reinterpret_cast<const char *>(data) + 1 + valueLength, qsizetype(size - 1 - valueLength));

    const QString stored = IniFile::readValue(content, kSection, kKey);
    writeAndRead(content, stored);
    writeAndRead(content, QString::fromLatin1(value));
    passwordStore(content, QString::fromLatin1(value));
    return 0;
}
