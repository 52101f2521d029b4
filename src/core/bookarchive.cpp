#include "bookarchive.h"

#include "core/filesync.h"
#include "core/programfolder.h"
#include "core/readahead.h"

#include <QElapsedTimer>


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

BookArchive::BookArchive(const QString &path) : m_file(path, TSchedaLibro::RecordSize) {}

BookArchive::~BookArchive() = default;

bool BookArchive::open()
{
    return m_file.open();
}

bool BookArchive::openForReading()
{
    return m_file.openForReading();
}

bool BookArchive::close()
{
    return m_file.close();
}

int BookArchive::count() const
{
    return m_file.count();
}

bool BookArchive::read(int n, TSchedaLibro &card)
{
    return m_file.read(n, card.data());
}

bool BookArchive::write(int n, const TSchedaLibro &card)
{
    return m_file.write(n, card.data());
}

int BookArchive::append(const TSchedaLibro &card)
{
    return m_file.append(card.data());
}

bool BookArchive::scan(const std::function<bool(int, const char *)> &visit, const Progress &progress)
{
    QFile &file = m_file.file();
    if (!m_file.isOpen() || !file.seek(0))
        return false;
    // About 1 MB a block, up to 8 MB read ahead: the disk always has the
    // next reads asked for, and a block is still in the processor's cache
    // when its cards are visited.
    constexpr int kBlockCards = 333;
    constexpr int kBlocksAhead = 8;
    const int total = count();
    ReadAhead reader(file, qint64(total) * TSchedaLibro::RecordSize, qint64(kBlockCards) * TSchedaLibro::RecordSize,
                     kBlocksAhead);
    const int wait = progress ? ProgressInterval : -1;
    QElapsedTimer clock;
    clock.start();
    int number = 0;
    for (;;) {
        const char *block = nullptr;
        qint64 size = 0;
        switch (reader.next(block, size, wait)) {
        case ReadAhead::Status::Waiting:
            clock.restart();
            if (!progress(number, total))
                return true;
            continue;
        case ReadAhead::Status::End:
            return true;
        case ReadAhead::Status::Failed:
            return false;
        case ReadAhead::Status::Block:
            break;
        }
        const int cards = int(size / TSchedaLibro::RecordSize);
        for (int i = 0; i < cards; ++i) {
            if (!visit(++number, block + size_t(i) * TSchedaLibro::RecordSize))
                return true;
            if (progress && (i & 127) == 127 && clock.elapsed() >= ProgressInterval) {
                clock.restart();
                if (!progress(number, total))
                    return true;
            }
        }
    }
}

BookArchive::BulkResult BookArchive::appendAll(CardSource &source, int *appended)
{
    if (appended)
        *appended = 0;
    QFile &file = m_file.file();
    const auto failed = [this](const QString &cause) {
        m_file.fail(cause);
        return BulkResult::Failed;
    };
    if (!m_file.isOpen() || !file.isWritable())
        return failed(QStringLiteral("il file %1 non è aperto in scrittura").arg(file.fileName()));
    if (!source.prepare(*this))
        return failed(
            QStringLiteral("la lettura dell'archivio %1 prima dell'aggiunta non è riuscita").arg(file.fileName()));
    // The new cards go after the last whole card, over any fragment there:
    // the fragment is kept to be put back if the append does not complete.
    const qint64 oldSize = file.size();
    const qint64 start = qint64(count()) * TSchedaLibro::RecordSize;
    QByteArray fragment;
    if (oldSize > start) {
        if (!file.seek(start))
            return failed(file.errorString());
        fragment = file.read(oldSize - start);
        if (fragment.size() != oldSize - start)
            return failed(file.errorString());
    }
    const auto putBack = [&] {
        file.resize(start);
        if (!fragment.isEmpty() && file.seek(start))
            file.write(fragment);
        file.resize(oldSize);
        FileSync::toDisk(file);
    };
    if (!file.seek(start))
        return failed(file.errorString());

    constexpr int kBlockCards = 256;
    std::vector<char> block(size_t(kBlockCards) * TSchedaLibro::RecordSize);
    qint64 written = 0;
    for (;;) {
        const int cards = source.fill(block.data(), kBlockCards);
        if (cards < 0) {
            putBack();
            return BulkResult::Stopped;
        }
        if (cards == 0)
            break;
        const qint64 want = qint64(qMin(cards, kBlockCards)) * TSchedaLibro::RecordSize;
        QString cause;
        if (!FileSync::writeAll(file, block.data(), want, &cause)) {
            putBack();
            return failed(cause);
        }
        written += want;
    }
    QString cause;
    if (written > 0 && !FileSync::toDisk(file, &cause)) {
        putBack();
        return failed(cause);
    }
    FileSync::folderToDisk(file.fileName()); // the archive may be new
    if (appended)
        *appended = int(written / TSchedaLibro::RecordSize);
    return BulkResult::Appended;
}
