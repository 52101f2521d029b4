#include "cardtablefill.h"

#include "core/bookarchive.h"

#include <QElapsedTimer>

namespace {
/// Later batches are handed over at least this often (ms).
constexpr int kBatchInterval = 100;
} // namespace

CardTableFill::CardTableFill(const QString &path, std::function<void()> ready) : m_ready(std::move(ready))
{
    m_thread = std::thread([this, path] { run(path); });
}

CardTableFill::~CardTableFill()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void CardTableFill::run(const QString &path)
{
    auto batch = std::make_unique<CardTable>();
    BookArchive archive(path);
    if (archive.open()) {
        QElapsedTimer since;
        since.start();
        bool first = true;
        archive.scan([&](int, const char *record) {
            if (m_stop)
                return false;
            batch->appendRecord(record);
            if (first ? batch->rowCount() >= FirstRows : since.elapsed() >= kBatchInterval) {
                handOver(std::move(batch), false);
                batch = std::make_unique<CardTable>();
                first = false;
                since.restart();
            }
            return true;
        });
        archive.close();
    }
    handOver(std::move(batch), true);
}

void CardTableFill::handOver(std::unique_ptr<CardTable> batch, bool last)
{
    bool tell = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (batch->rowCount() > 0)
            m_waiting.push_back(std::move(batch));
        m_first = true;
        m_done = last;
        tell = !m_told;
        m_told = true;
    }
    m_changed.notify_all();
    if (tell && m_ready)
        m_ready();
}

void CardTableFill::waitForFirstRows()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_first; });
}

void CardTableFill::waitForEnd()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_done; });
}

bool CardTableFill::take(std::vector<std::unique_ptr<CardTable>> &batches)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto &batch : m_waiting)
        batches.push_back(std::move(batch));
    m_waiting.clear();
    m_told = false;
    return m_done;
}
