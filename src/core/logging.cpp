#include "logging.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcAccess, "rilegora.access")
Q_LOGGING_CATEGORY(lcBooks, "rilegora.books")
Q_LOGGING_CATEGORY(lcCatalogues, "rilegora.catalogues")
Q_LOGGING_CATEGORY(lcOutput, "rilegora.output")

namespace {

struct State
{
    QMutex mutex;
    QString path;
    QtMessageHandler previous = nullptr;
    bool installed = false;
};

State &state()
{
    static State s;
    return s;
}

const char *typeName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "";
}

/// Appends line to the log at path, starting a new log when it is full.
/// Every failure is ignored.
void appendLine(const QString &path, const QByteArray &line)
{
    QFile file(path);
    if (file.size() + line.size() > Log::MaxBytes) {
        const QString older = path + QStringLiteral(".1");
        QFile::remove(older);
        QFile::rename(path, older);
    }
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(line);
}

void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    State &s = state();
    if (s.previous)
        s.previous(type, context, message);
    if (type == QtDebugMsg)
        return;
    // A message raised while writing the log (by Qt's file code) is not
    // written to the log again.
    static thread_local bool writing = false;
    if (writing)
        return;
    writing = true;
    QByteArray line = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8();
    line += ' ';
    line += typeName(type);
    line += ' ';
    if (context.category && *context.category)
        line += QByteArray(context.category) + ": ";
    line += message.toUtf8();
    line += '\n';
    {
        QMutexLocker lock(&s.mutex);
        if (!s.path.isEmpty())
            appendLine(s.path, line);
    }
    writing = false;
}

} // namespace

namespace Log {

QString fileName()
{
    return QStringLiteral("rilegora.log");
}

QString defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void install(const QString &folder)
{
    State &s = state();
    QString path;
    if (!folder.isEmpty() && QDir().mkpath(folder))
        path = QDir(folder).absoluteFilePath(fileName());
    {
        QMutexLocker lock(&s.mutex);
        s.path = path;
    }
    if (!s.installed) {
        s.previous = qInstallMessageHandler(handler);
        s.installed = true;
    }
}

void uninstall()
{
    State &s = state();
    if (s.installed) {
        qInstallMessageHandler(s.previous);
        s.previous = nullptr;
        s.installed = false;
    }
    QMutexLocker lock(&s.mutex);
    s.path.clear();
}

QString filePath()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return s.path;
}

QString cause(const QString &cause)
{
    return cause.isEmpty() ? QStringLiteral("causa sconosciuta") : cause;
}

} // namespace Log
