#include "recordfile.h"

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
    return m_file.open(QIODevice::ReadWrite);
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
    return m_file.open(QIODevice::ReadOnly);
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
    if (!m_file.seek(qint64(n - 1) * m_recordSize))
        return false;
    if (m_file.write(record, m_recordSize) != m_recordSize)
        return false;
    return m_file.flush();
}

int RecordFile::append(const char *record)
{
    if (!m_file.isOpen())
        return 0;
    const int n = count() + 1;
    return write(n, record) ? n : 0;
}
