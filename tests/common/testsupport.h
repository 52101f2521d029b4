#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

/// A temporary program folder for one test: the program works in it while
/// the object lives.
class TempProgramFolder
{
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const;                      ///< with trailing "/"
    QString file(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};

/// Answers the message boxes that open while it lives, and records them.
/// Each box is answered with the next queued button, or with its first
/// button (OK, Yes) when none is queued.
class MessageCatcher : public QObject
{
    Q_OBJECT
public:
    struct Seen {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    MessageCatcher();
    void answerNext(QMessageBox::StandardButton button) { m_answers.append(button); }

    const QList<Seen> &seen() const { return m_seen; }
    QStringList texts() const;
    void clear() { m_seen.clear(); }

private:
    void poll();
    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_answers;
    QList<Seen> m_seen;
};

/// Starts the application-wide settings every screen test needs: Italian
/// formats and Qt's Italian translation.
void prepareScreenTests();
