#pragma once

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>

/// Lowers the file-size limit of this process while it lives, so that
/// writes past it fail (as on a full disk), whoever runs the tests.
/// POSIX only: Windows has no such limit (FILE_SIZE_LIMIT_REASON says so).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
};
#endif

/// Why a test that needs FileSizeLimit is skipped on Windows.
#define FILE_SIZE_LIMIT_REASON "Windows has no per-process file-size limit to make a write fail as on a full disk"
