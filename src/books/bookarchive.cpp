#include "bookarchive.h"

#include "app/programfolder.h"

#include <QFileInfo>

#include <vector>

QString BookArchive::fileName()
{
    return QStringLiteral("Archivio_Libri.pro");
}

QString BookArchive::path()
{
    return ProgramFolder::file(fileName());
}

QString BookArchive::accessFailureMessage()
{
    return QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                          "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
                          "programma.");
}

BookArchive::BookArchive(const QString &path) : m_file(path) {}

BookArchive::~BookArchive()
{
    if (m_file.isOpen())
        m_file.close();
}

bool BookArchive::open()
{
    if (m_file.isOpen())
        return true;
    // ReadWrite creates a missing file and never truncates an existing one.
    return m_file.open(QIODevice::ReadWrite);
}

bool BookArchive::openForReading()
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

bool BookArchive::close()
{
    if (!m_file.isOpen())
        return true;
    const bool flushed = m_file.flush();
    const bool clean = m_file.error() == QFileDevice::NoError;
    m_file.close();
    return flushed && clean;
}

int BookArchive::count() const
{
    if (!m_file.isOpen())
        return 0;
    return int(m_file.size() / TSchedaLibro::RecordSize);
}

bool BookArchive::read(int n, TSchedaLibro &card)
{
    if (!m_file.isOpen() || n < 1 || n > count())
        return false;
    if (!m_file.seek(qint64(n - 1) * TSchedaLibro::RecordSize))
        return false;
    return m_file.read(card.data(), TSchedaLibro::RecordSize) == TSchedaLibro::RecordSize;
}

bool BookArchive::write(int n, const TSchedaLibro &card)
{
    if (!m_file.isOpen() || n < 1)
        return false;
    if (!m_file.seek(qint64(n - 1) * TSchedaLibro::RecordSize))
        return false;
    if (m_file.write(card.data(), TSchedaLibro::RecordSize) != TSchedaLibro::RecordSize)
        return false;
    return m_file.flush();
}

int BookArchive::append(const TSchedaLibro &card)
{
    if (!m_file.isOpen())
        return 0;
    const int n = count() + 1;
    return write(n, card) ? n : 0;
}

bool BookArchive::scan(const std::function<bool(int, const char *)> &visit)
{
    if (!m_file.isOpen() || !m_file.seek(0))
        return false;
    constexpr int kBlockCards = 256;
    std::vector<char> block(size_t(kBlockCards) * TSchedaLibro::RecordSize);
    const int total = count();
    int number = 0;
    while (number < total) {
        const int cards = qMin(kBlockCards, total - number);
        const qint64 want = qint64(cards) * TSchedaLibro::RecordSize;
        if (m_file.read(block.data(), want) != want)
            return false;
        for (int i = 0; i < cards; ++i) {
            if (!visit(++number, block.data() + size_t(i) * TSchedaLibro::RecordSize))
                return true;
        }
    }
    return true;
}
