#include "watchdog.h"

#include <QByteArray>

#include <chrono>
#include <cstdio>
#include <cstdlib>

Watchdog::Watchdog(int seconds, const QString &what)
{
    const QByteArray message = what.toLocal8Bit();
    m_thread = std::thread([this, seconds, message] {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_done.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_finished; })) {
            std::fprintf(stderr, "FAIL!  : watchdog: %s still running after %d s\n", message.constData(), seconds);
            std::fflush(stderr);
            std::_Exit(1);
        }
    });
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_finished = true;
    }
    m_done.notify_all();
    m_thread.join();
}
