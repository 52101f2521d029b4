#include "recordfile.h"

#include "filesync.h"

#include <QByteArray>

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
        return false;
    m_created = !existed;
    return true;
}

bool RecordFile::openExisting()
{
    if (m_file.isOpen())
        return true;
    m_created = false;
    return m_file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered);
}

bool RecordFile::openForReading()
{
    if (m_file.isOpen())
        return true;
    if (!m_file.exists()) {
        if (!m_file.open(QIODevice::ReadWrite))
            return false;
        m_file.close();
    }
    return m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool RecordFile::close()
{
    if (!m_file.isOpen())
        return true;
    const bool flushed = m_file.flush();
    const bool clean = m_file.error() == QFileDevice::NoError;
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
    if (!m_file.isOpen() || n < 1 || n > count())
        return false;
    if (!m_file.seek(qint64(n - 1) * m_recordSize))
        return false;
    return m_file.read(record, m_recordSize) == m_recordSize;
}

bool RecordFile::write(int n, const char *record)
{
    if (!m_file.isOpen() || n < 1)
        return false;
    const qint64 offset = qint64(n - 1) * m_recordSize;
    const qint64 sizeBefore = m_file.size();
    if (offset > sizeBefore || !m_file.seek(offset))
        return false;
    // What the record's place held, to put back when the write fails half
    // way (a full disk, a device that fails): the other records and the
    // record itself then stay as they were.
    const QByteArray before = m_file.read(m_recordSize);
    if (m_file.error() != QFileDevice::NoError || !m_file.seek(offset))
        return false;
    if (m_file.write(record, m_recordSize) == m_recordSize && FileSync::toDisk(m_file)) {
        if (m_created)
            FileSync::folderToDisk(m_file.fileName());
        m_created = false;
        return true;
    }
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
    if (!m_file.isOpen())
        return 0;
    const int n = count() + 1;
    return write(n, record) ? n : 0;
}
