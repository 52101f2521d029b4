#include "controls.h"

#include <QWidget>

QObject *findControl(const QObject &screen, const char *name, const QMetaObject &type)
{
    const QString wanted = QString::fromLatin1(name);
    QList<QObject *> found;
    for (QObject *candidate : screen.findChildren<QObject *>(wanted)) {
        if (!type.cast(candidate))
            continue;
        // A control belongs to the screen when no other window lies between them.
        bool own = true;
        for (QObject *up = candidate->parent(); up && up != &screen; up = up->parent()) {
            if (auto *w = qobject_cast<QWidget *>(up); w && w->isWindow()) {
                own = false;
                break;
            }
        }
        if (own)
            found.append(candidate);
    }
    if (found.size() != 1)
        qFatal("%d controls \"%s\" of type %s in %s \"%s\"", int(found.size()), name, type.className(),
               screen.metaObject()->className(), qPrintable(screen.objectName()));
    return found.first();
}
