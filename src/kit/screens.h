#pragma once

#include <QDialog>
#include <QSize>
#include <QString>
#include <QWidget>

#include <memory>

/// The two kinds of window and the ways screens hand over to each other.
namespace Screens {

/// Design client size of every work screen, and of its centred container.
constexpr QSize WorkScreenSize(1016, 713);
constexpr QSize ContainerSize(996, 692);

/// A work screen: a window with the normal sizeable frame and title-bar
/// buttons that opens maximised.
void setupWorkScreen(QWidget *screen, const QString &name, const QString &caption);

/// The fixed-size container "panContainer" that holds a work screen's
/// controls and stays centred however large the window is.
QWidget *addCentredContainer(QWidget *screen, const QSize &size = ContainerSize);

/// A dialog: fixed client size, single frame, no title-bar buttons.
void setupDialog(QDialog *dialog, const QString &name, const QString &caption, const QSize &clientSize);

/// Shows the next long-lived screen first, then hides the current one.
void handOver(QWidget *current, QWidget *next);

/// Shows a window as it opens: maximised for work screens, normal otherwise.
void present(QWidget *screen);

/// A per-use modal screen: a fresh instance owned by the caller, prepared,
/// shown modally and destroyed when the modal run returns. The result of the
/// run is not looked at.
template <class T, class Prepare> void runModal(QWidget *owner, Prepare prepare)
{
    auto dialog = std::make_unique<T>(owner);
    prepare(*dialog);
    if (dialog->windowFlags() & Qt::WindowMaximizeButtonHint)
        dialog->setWindowState(dialog->windowState() | Qt::WindowMaximized);
    dialog->exec();
}

template <class T> void runModal(QWidget *owner)
{
    runModal<T>(owner, [](T &) {});
}

} // namespace Screens
