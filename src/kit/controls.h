#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

/// Finds the control called name (its objectName) inside screen, the way a
/// user's automation tool finds it: only controls of the screen's own
/// window count, not those of another window that screen happens to own.
/// The program stops with the name when there is not exactly one: the
/// tests and tools that use it cannot go on without the control.
QObject *findControl(const QObject &screen, const char *name, const QMetaObject &type);

inline const QObject &screenOf(const QObject &screen)
{
    return screen;
}
inline const QObject &screenOf(const QObject *screen)
{
    return *screen;
}
template <class S> const QObject &screenOf(const std::unique_ptr<S> &screen)
{
    return *screen;
}
template <class S> const QObject &screenOf(const QPointer<S> &screen)
{
    return *screen;
}

/// The control called name inside screen (an object, a pointer to one, or a
/// smart pointer), as a T.
template <class T = QWidget, class S> T *control(const S &screen, const char *name)
{
    return static_cast<T *>(findControl(screenOf(screen), name, T::staticMetaObject));
}

template <class T = QWidget, class S> T *control(const S &screen, const QString &name)
{
    return control<T>(screen, name.toLatin1().constData());
}
