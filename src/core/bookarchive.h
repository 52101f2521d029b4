#pragma once

#include "bookrecord.h"

#include "core/recordfile.h"

#include <QString>

#include <functional>

/// The card index file Archivio_Libri.pro in the program folder: a flat
/// sequence of 3150-byte cards, numbered from 1 by position.
///
/// Every user action opens it, acts and closes it again; nothing keeps it
/// open between actions. Every operation returns false when the file could
/// not be opened, positioned, read or written, and the caller then reports
/// the access failure (errorString() keeps the cause). A missing file is created empty; an existing file
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

    /// The cards of one bulk append, handed over block by block.
    class CardSource
    {
    public:
        virtual ~CardSource() = default;
        /// Called once, with the archive open and nothing yet written: the
        /// source may read the archive here (scan), for instance to learn
        /// which cards it already holds. False stops the append.
        virtual bool prepare(BookArchive &archive) = 0;
        /// Fills up to max records of 3150 bytes at out and returns how many
        /// it filled; 0 when there are no more, -1 to stop the append (a
        /// cancel, or a fault in the source).
        virtual int fill(char *out, int max) = 0;
    };

    enum class BulkResult { Appended, Stopped, Failed };
    /// Appends every card of source after the last whole card, all or
    /// nothing: the cards are written in blocks, then put on the device once
    /// (FileSync::toDisk). When the source stops, or a write, the sync or the
    /// source's preparation fails, the file is put back exactly as it was
    /// (its old length, and any fragment after the last card). appended
    /// receives the number of cards written (0 unless Appended). The archive
    /// must be open for writing.
    BulkResult appendAll(CardSource &source, int *appended = nullptr);

    /// The cause of the last failure, for the log: what the system said, or
    /// what the operation found wrong.
    QString errorString() const { return m_file.errorString(); }

private:
    RecordFile m_file;
};
