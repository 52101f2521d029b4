#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QtGlobal>

/// Catches the program's log while it lives: every message of a category
/// that starts with "rilegora.", as "<category>: <message>". Other messages
/// go on to the handler that was there before.
class LogCatcher
{
public:
    LogCatcher()
    {
        instance() = this;
        m_previous = qInstallMessageHandler(&LogCatcher::handle);
    }
    ~LogCatcher()
    {
        qInstallMessageHandler(m_previous);
        instance() = nullptr;
    }
    LogCatcher(const LogCatcher &) = delete;
    LogCatcher &operator=(const LogCatcher &) = delete;

    QStringList lines() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }
    /// The lines of category, without the category.
    QStringList of(const char *category) const
    {
        const QString prefix = QString::fromLatin1(category) + QStringLiteral(": ");
        QStringList out;
        for (const QString &line : lines()) {
            if (line.startsWith(prefix))
                out << line.mid(prefix.size());
        }
        return out;
    }

private:
    static LogCatcher *&instance()
    {
        static LogCatcher *current = nullptr;
        return current;
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        LogCatcher *self = instance();
        const QByteArray category = context.category ? QByteArray(context.category) : QByteArray();
        if (self && category.startsWith("rilegora.")) {
            QMutexLocker lock(&self->m_mutex);
            self->m_lines << QString::fromLatin1(category) + QStringLiteral(": ") + message;
            return;
        }
        if (self && self->m_previous)
            self->m_previous(type, context, message);
    }

    mutable QMutex m_mutex;
    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
};
