#pragma once

#include "bookrecord.h"

#include "app/recordfile.h"

#include <QString>

#include <functional>

/// The card index file Archivio_Libri.pro in the program folder: a flat
/// sequence of 3150-byte cards, numbered from 1 by position.
///
/// Every user action opens it, acts and closes it again; nothing keeps it
/// open between actions. Every operation returns false when the file could
/// not be opened, positioned, read or written, and the caller then reports
/// the access failure. A missing file is created empty; an existing file
/// that cannot be opened for reading and writing is never replaced.
class BookArchive
{
public:
    static QString fileName(); ///< "Archivio_Libri.pro"
    static QString path();     ///< its full path in the program folder

    /// The message shown when the archive cannot be used.
    static QString accessFailureMessage();

    explicit BookArchive(const QString &path = BookArchive::path());
    ~BookArchive();

    /// Opens the file for reading and writing, creating it empty if missing.
    bool open();
    /// Opens the file only to read it, first creating it empty if missing.
    bool openForReading();
    /// Closes the file; false when buffered data could not be written.
    bool close();
    bool isOpen() const { return m_file.isOpen(); }

    /// Number of cards: the file length divided by 3150, rounded down.
    int count() const;
    /// Reads card n (1-based). Reading past the last card fails.
    bool read(int n, TSchedaLibro &card);
    /// Overwrites card n in place: only its own 3150 bytes change.
    bool write(int n, const TSchedaLibro &card);
    /// Writes the card after the last whole card; returns its number, or 0 on failure.
    int append(const TSchedaLibro &card);
    /// Told how far a scan has come: cards visited, cards in the file.
    /// Returns false to stop the scan.
    using Progress = std::function<bool(int, int)>;
    /// Milliseconds between two calls of a scan's progress, at most (give
    /// or take one visit), also while the device is slow to answer.
    static constexpr int ProgressInterval = 40;

    /// Reads every card from the first to the end of the file, calling
    /// visit(number, record bytes) for each; visit returns false to stop.
    /// The file is read ahead in large blocks on a thread of its own while
    /// the cards already read are visited. progress, when given, is called
    /// every ProgressInterval ms; a stop through it also returns true.
    bool scan(const std::function<bool(int, const char *)> &visit, const Progress &progress = {});

private:
    RecordFile m_file;
};
