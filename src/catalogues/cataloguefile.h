#pragma once

#include "cataloguepage.h"

#include "core/recordfile.h"

#include <QString>

/// One catalogue file <name>.cat: a flat sequence of 5000-byte pages with no
/// header, numbered from 1 by position. A 0-byte file is a catalogue of no
/// pages.
///
/// As with the card index, every user action opens the file, acts and
/// closes it; every operation returns false on any failure, which the editor
/// reports with the archive access message. A missing file is created
/// empty; one that cannot be opened is never replaced.
class CatalogueFile
{
public:
    explicit CatalogueFile(const QString &path);

    /// Opens the file for reading and writing, creating it empty if missing.
    bool open() { return m_file.open(); }
    /// Opens the file only where it exists: a catalogue deleted meanwhile
    /// (on another workstation) is not made again.
    bool openExisting() { return m_file.openExisting(); }
    /// Closes the file; false when buffered data could not be written.
    bool close() { return m_file.close(); }

    /// Number of whole pages; a fragment at the end does not count.
    int count() const { return m_file.count(); }
    /// Reads page n (1-based). Reading past the last whole page fails.
    bool read(int n, TPaginaCatalogo &page);
    /// Rewrites page n in place: only its own 5000 bytes change.
    bool write(int n, const TPaginaCatalogo &page);
    /// Writes the page after the last whole page, over any fragment there;
    /// returns its number (the previous count + 1), or 0 on failure.
    int append(const TPaginaCatalogo &page);

    /// The message shown when the catalogue file named name is gone; saved
    /// tells that a save was refused for it.
    static QString missingMessage(const QString &name, bool saved);

private:
    RecordFile m_file;
};
