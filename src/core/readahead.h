#pragma once

#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class QFile;

/// Reads a file forward in large blocks on a thread of its own, a few
/// blocks ahead of the caller, so that the device keeps reading while the
/// caller works on what has arrived: on a cold disk or a network share the
/// device, not the caller, sets the pace of a whole-file scan.
///
/// The file must stay open and untouched by anyone else until the reader
/// is destroyed; its position afterwards is wherever the reader stopped.
class ReadAhead
{
public:
    enum class Status {
        Block,   ///< the next block is in data and size
        Waiting, ///< the next block has not arrived within the wait given
        End,     ///< every byte asked for has been handed out
        Failed,  ///< a read failed; the blocks before it were handed out
    };

    /// Reads bytes bytes from the file's current position, in blocks of
    /// blockBytes (the last one shorter), at most depth blocks ahead.
    ReadAhead(QFile &file, qint64 bytes, qint64 blockBytes, int depth = 4);
    /// Stops reading and waits for the thread.
    ~ReadAhead();
    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    /// The next block in file order, valid until the next call. Waits for
    /// it at most waitMs milliseconds (-1: as long as it takes).
    Status next(const char *&data, qint64 &size, int waitMs = -1);

    /// For tests: a pause before every block read, as a slow device makes.
    static void setPauseForTesting(int ms);

private:
    void run();

    QFile &m_file;
    const qint64 m_bytes;
    const qint64 m_blockBytes;
    const int m_depth;
    std::vector<std::vector<char>> m_buffers; ///< block k lies in m_buffers[k % depth]
    std::vector<qint64> m_sizes;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    qint64 m_produced = 0; ///< blocks read
    qint64 m_taken = 0;    ///< blocks handed out
    qint64 m_released = 0; ///< blocks the caller is done with
    bool m_done = false;
    bool m_failed = false;
    bool m_stop = false;
    std::thread m_thread;

    static std::atomic<int> s_pauseMs;
};
