#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

/// Records every address the program hands to the desktop while it lives,
/// instead of opening it.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    UrlRecorder()
    {
        for (const char *scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "record");
    }
    ~UrlRecorder() override
    {
        for (const char *scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

public slots:
    void record(const QUrl &url) { opened.append(url); }
};
