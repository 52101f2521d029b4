#pragma once

// What every fuzz target shares: a check that stops the run with a message
// (libFuzzer then keeps the input that broke it), a scratch folder for the
// targets that go through files, and the input as text.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

namespace FuzzSupport {

/// A folder that lives as long as the fuzzing process.
inline QString scratchFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/rilegora-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch folder\n");
        std::abort();
    }
    return dir.path();
}

/// Puts bytes in a file of the scratch folder (replacing it) and returns its path.
inline QString writeScratchFile(const QString &name, const QByteArray &bytes)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    file.close();
    return path;
}

/// The bytes read as UTF-16 code units (a trailing odd byte is dropped), so
/// that any character, lone surrogates included, can reach the code.
inline QString utf16Text(const char *data, size_t size)
{
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    return QString::fromStdU16String(units);
}

} // namespace FuzzSupport
