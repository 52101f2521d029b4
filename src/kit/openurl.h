#pragma once

#include <QString>

/// Hands documents, folders, web and mail addresses to the desktop.
class TMisc
{
public:
    /// Asks the desktop to open text with the program associated with it:
    /// a document path (callers wrap it in double quotes, which are dropped
    /// here), a web address or a "mailto:" address. A failure is never
    /// reported.
    static void Open(const QString &text);
};
