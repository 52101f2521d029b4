#include "readahead.h"

#include <QFile>

#include <chrono>

std::atomic<int> ReadAhead::s_pauseMs{0};

ReadAhead::ReadAhead(QFile &file, qint64 bytes, qint64 blockBytes, int depth)
    : m_file(file), m_bytes(qMax<qint64>(bytes, 0)), m_blockBytes(qMax<qint64>(blockBytes, 1)),
      m_depth(qMax(depth, 2)), m_buffers(size_t(m_depth)), m_sizes(size_t(m_depth), 0)
{
    if (m_bytes == 0)
        m_done = true;
    else
        m_thread = std::thread([this] { run(); });
}

ReadAhead::~ReadAhead()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void ReadAhead::setPauseForTesting(int ms)
{
    s_pauseMs = ms;
}

void ReadAhead::run()
{
    qint64 left = m_bytes;
    for (qint64 k = 0; left > 0; ++k) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stop || k - m_released < m_depth; });
            if (m_stop)
                return;
        }
        if (const int pause = s_pauseMs.load(); pause > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        std::vector<char> &buffer = m_buffers[size_t(k % m_depth)];
        const qint64 want = qMin(m_blockBytes, left);
        if (qint64(buffer.size()) < want)
            buffer.resize(size_t(want));
        const qint64 got = m_file.read(buffer.data(), want);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (got != want) {
            m_failed = true;
            break;
        }
        m_sizes[size_t(k % m_depth)] = got;
        left -= got;
        ++m_produced;
        m_changed.notify_all();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_done = true;
    m_changed.notify_all();
}

ReadAhead::Status ReadAhead::next(const char *&data, qint64 &size, int waitMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    // The block handed out last time is free again.
    if (m_released != m_taken) {
        m_released = m_taken;
        m_changed.notify_all();
    }
    const auto ready = [&] { return m_taken < m_produced || m_done; };
    if (waitMs < 0)
        m_changed.wait(lock, ready);
    else
        m_changed.wait_for(lock, std::chrono::milliseconds(waitMs), ready);
    if (m_taken < m_produced) {
        const size_t slot = size_t(m_taken % m_depth);
        data = m_buffers[slot].data();
        size = m_sizes[slot];
        ++m_taken;
        return Status::Block;
    }
    if (m_done)
        return m_failed ? Status::Failed : Status::End;
    return Status::Waiting;
}
