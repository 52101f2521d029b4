#include "screens.h"

#include <QGridLayout>

namespace Screens {

void setupWorkScreen(QWidget *screen, const QString &name, const QString &caption)
{
    screen->setObjectName(name);
    screen->setWindowTitle(caption);
    screen->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint);
    screen->resize(WorkScreenSize);
}

QWidget *addCentredContainer(QWidget *screen, const QSize &size)
{
    auto *grid = new QGridLayout(screen);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    auto *container = new QWidget(screen);
    container->setObjectName(QStringLiteral("panContainer"));
    container->setFixedSize(size);
    grid->addWidget(container, 1, 1);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    return container;
}

void setupDialog(QDialog *dialog, const QString &name, const QString &caption, const QSize &clientSize)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(clientSize);
}

void handOver(QWidget *current, QWidget *next)
{
    present(next);
    if (current && current != next)
        current->hide();
}

void present(QWidget *screen)
{
    if (screen->windowFlags() & Qt::WindowMaximizeButtonHint)
        screen->showMaximized();
    else
        screen->show();
    screen->raise();
    screen->activateWindow();
}

} // namespace Screens
