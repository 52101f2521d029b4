#pragma once

#include "output/spreadsheetexport.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

/// Reads the card index into the rows of a CardTable on a thread of its own,
/// handing them over in batches, so that the export grid shows its first
/// rows at once while the rest of a large archive is still being read.
///
/// Rows arrive in file order. A failure to open or read the archive ends the
/// reading silently; the rows read until then are handed over as usual.
class CardTableFill
{
public:
    /// Rows handed over first, before any other batch.
    static constexpr int FirstRows = 2000;

    /// Starts reading the archive at path. ready is called on the reading
    /// thread when rows are waiting to be taken; it is not called again
    /// until take() has been called.
    CardTableFill(const QString &path, std::function<void()> ready);
    /// Stops the reading and waits for the thread.
    ~CardTableFill();
    CardTableFill(const CardTableFill &) = delete;
    CardTableFill &operator=(const CardTableFill &) = delete;

    /// Waits until the first FirstRows rows, or the whole of a smaller
    /// archive, are waiting (or the reading has ended).
    void waitForFirstRows();
    /// Waits until the reading has ended.
    void waitForEnd();
    /// Moves the waiting batches out, in file order. Returns true when the
    /// reading has ended and nothing is left to take.
    bool take(std::vector<std::unique_ptr<CardTable>> &batches);

private:
    void run(const QString &path);
    void handOver(std::unique_ptr<CardTable> batch, bool last);

    std::function<void()> m_ready;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<CardTable>> m_waiting;
    bool m_told = false;
    bool m_first = false;
    bool m_done = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
