#pragma once

#include <QFile>
#include <QString>

/// A data file of fixed-size records numbered from 1 by position, with no
/// header: the card index and the catalogue files.
///
/// Every user action opens it, acts and closes it again; nothing keeps it
/// open between actions. Every operation returns false when the file could
/// not be opened, positioned, read or written, and the caller then reports
/// the access failure; errorString() keeps the cause for the log. A missing file is created empty; an existing file
/// that cannot be opened for reading and writing is never replaced.
class RecordFile
{
public:
    RecordFile(const QString &path, int recordSize);
    ~RecordFile();

    /// Opens the file for reading and writing, creating it empty if missing.
    bool open();
    /// Opens an existing file for reading and writing; false when it is
    /// missing (a catalogue deleted on another workstation), never creating it.
    bool openExisting();
    /// Opens the file only to read it, first creating it empty if missing.
    bool openForReading();
    /// Closes the file; false when buffered data could not be written.
    bool close();
    bool isOpen() const { return m_file.isOpen(); }

    int recordSize() const { return m_recordSize; }
    /// Number of whole records: the file length divided by the record size,
    /// rounded down, so a fragment at the end does not count.
    int count() const;
    /// Reads record n (1-based) into record. Reading past the last whole record fails.
    bool read(int n, char *record);
    /// Writes record n in place and puts it on the device: only its own
    /// bytes change. Record n may be at most one past the end. A write that
    /// fails puts back what the record's place held and the file's length.
    bool write(int n, const char *record);
    /// Writes the record after the last whole record (over any fragment
    /// there); returns its number, or 0 on failure.
    int append(const char *record);

    /// The open file, for reading many records at once.
    QFile &file() { return m_file; }

    /// The cause of the last failure: what the system said, or what the
    /// operation found wrong. Empty when nothing failed yet.
    QString errorString() const { return m_error; }
    /// Keeps cause as the failure's cause, for a writer that writes the open
    /// file() itself; returns false.
    bool fail(const QString &cause);

private:
    QFile m_file;
    int m_recordSize;
    bool m_created = false; ///< this open made the file: its folder entry is new
    QString m_error;
};
