#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

/// Ends the test program with a message when the scope it guards is still
/// running after the given number of seconds, so that a hang fails the run
/// instead of holding it up.
class Watchdog
{
public:
    Watchdog(int seconds, const QString &what);
    ~Watchdog();
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};
