#pragma once

#include "kit/controls.h"

#include <QApplication>
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
    QString path() const; ///< with trailing "/"
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
    struct Seen
    {
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

/// Runs check on the next modal window of type T once it is open (polled,
/// so it works from inside the window's own modal loop).
template <class T, class Check> void whenOpen(Check check)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, check] {
        if (auto *w = qobject_cast<T *>(QApplication::activeModalWidget()); w && w->isVisible()) {
            poll->stop();
            poll->deleteLater();
            check(w);
        }
    });
    poll->start();
}

/// Starts the application-wide settings every screen test needs: Italian
/// formats and Qt's Italian translation.
void prepareScreenTests();
