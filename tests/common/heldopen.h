#pragma once

#include <QDir>
#include <QString>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

/// A file that another program holds open the way a spreadsheet or a
/// viewer does on Windows: shared for reading only, so that while it lives
/// nobody may write, replace or delete the file. Windows only: elsewhere a
/// file another program has open can be replaced or deleted, and held()
/// is false.
class HeldOpen
{
public:
    explicit HeldOpen(const QString &path)
    {
#ifdef Q_OS_WIN
        const QString native = QDir::toNativeSeparators(path);
        m_handle = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), GENERIC_READ, FILE_SHARE_READ,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
#else
        Q_UNUSED(path);
#endif
    }
    ~HeldOpen()
    {
#ifdef Q_OS_WIN
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
#endif
    }
    HeldOpen(const HeldOpen &) = delete;
    HeldOpen &operator=(const HeldOpen &) = delete;

    bool held() const
    {
#ifdef Q_OS_WIN
        return m_handle != INVALID_HANDLE_VALUE;
#else
        return false;
#endif
    }

private:
#ifdef Q_OS_WIN
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#endif
};

/// Why a test of a file held open by another program is skipped.
#define HELD_OPEN_REASON "only Windows keeps a file another program holds open from being replaced or deleted"
