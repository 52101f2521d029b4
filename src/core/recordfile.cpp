#include "recordfile.h"

#include "filesync.h"

#include <QByteArray>

namespace {
QString notOpen(const QFile &file)
{
    return QStringLiteral("il file %1 non è aperto").arg(file.fileName());
}

QString shortRead(const QFile &file)
{
    return file.error() != QFileDevice::NoError
               ? file.errorString()
               : QStringLiteral("il file %1 è finito prima del record").arg(file.fileName());
}

} // namespace

RecordFile::RecordFile(const QString &path, int recordSize) : m_file(path), m_recordSize(recordSize) {}

RecordFile::~RecordFile()
{
    if (m_file.isOpen())
        m_file.close();
}

bool RecordFile::open()
{
    if (m_file.isOpen())
        return true;
    // ReadWrite creates a missing file and never truncates an existing one.
    const bool existed = m_file.exists();
    // Unbuffered: a write reaches the system at once, and one that fails
    // half way says so there, while the record's old bytes can still be put back.
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return fail(m_file.errorString());
    m_created = !existed;
    return true;
}

bool RecordFile::openExisting()
{
    if (m_file.isOpen())
        return true;
    m_created = false;
    return m_file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered) ||
           fail(m_file.errorString());
}

bool RecordFile::openForReading()
{
    if (m_file.isOpen())
        return true;
    if (!m_file.exists()) {
        if (!m_file.open(QIODevice::ReadWrite))
            return fail(m_file.errorString());
        m_file.close();
    }
    return m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || fail(m_file.errorString());
}

bool RecordFile::close()
{
    if (!m_file.isOpen())
        return true;
    const bool flushed = m_file.flush();
    const bool clean = m_file.error() == QFileDevice::NoError;
    if (!flushed || !clean)
        fail(m_file.errorString());
    m_file.close();
    return flushed && clean;
}

int RecordFile::count() const
{
    if (!m_file.isOpen())
        return 0;
    return int(m_file.size() / m_recordSize);
}

bool RecordFile::read(int n, char *record)
{
    if (!m_file.isOpen())
        return fail(notOpen(m_file));
    if (n < 1 || n > count())
        return fail(
            QStringLiteral("il record %1 non è nel file %2, che ne ha %3").arg(n).arg(m_file.fileName()).arg(count()));
    if (!m_file.seek(qint64(n - 1) * m_recordSize))
        return fail(m_file.errorString());
    return m_file.read(record, m_recordSize) == m_recordSize || fail(shortRead(m_file));
}

bool RecordFile::write(int n, const char *record)
{
    if (!m_file.isOpen())
        return fail(notOpen(m_file));
    const qint64 offset = qint64(n - 1) * m_recordSize;
    const qint64 sizeBefore = m_file.size();
    if (n < 1 || offset > sizeBefore)
        return fail(QStringLiteral("il record %1 non può essere scritto nel file %2, che ne ha %3")
                        .arg(n)
                        .arg(m_file.fileName())
                        .arg(count()));
    if (!m_file.seek(offset))
        return fail(m_file.errorString());
    // What the record's place held, to put back when the write fails half
    // way (a full disk, a device that fails): the other records and the
    // record itself then stay as they were.
    const QByteArray before = m_file.read(m_recordSize);
    if (m_file.error() != QFileDevice::NoError || !m_file.seek(offset))
        return fail(m_file.errorString());
    QString cause;
    if (FileSync::writeAll(m_file, record, m_recordSize, &cause) && FileSync::toDisk(m_file, &cause)) {
        if (m_created)
            FileSync::folderToDisk(m_file.fileName());
        m_created = false;
        return true;
    }
    fail(cause);
    // The bytes that did get through are the ones that can be put back.
    if (m_file.seek(offset)) {
        m_file.write(before);
        if (m_file.size() > sizeBefore)
            m_file.resize(sizeBefore);
        FileSync::toDisk(m_file);
    }
    return false;
}

int RecordFile::append(const char *record)
{
    if (!m_file.isOpen()) {
        fail(notOpen(m_file));
        return 0;
    }
    const int n = count() + 1;
    return write(n, record) ? n : 0;
}

bool RecordFile::fail(const QString &cause)
{
    m_error = cause;
    return false;
}
