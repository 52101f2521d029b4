#include "app/regional.h"
#include "app/runningcopy.h"
#include "app/screenset.h"

#include <QApplication>
#include <QIcon>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rilegora"));
    QApplication::setApplicationVersion(QStringLiteral(RILEGORA_VERSION));
    // Ties the windows to the desktop entry "rilegora.desktop" on Linux.
    QGuiApplication::setDesktopFileName(QStringLiteral("rilegora"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icoIconaApp.svg")));
    Regional::installTranslation(&app);
    Regional::apply();

    // One copy at a time on the program folder; a second one says so and
    // ends before it touches any file.
    RunningCopy copy;
    if (!copy.takeOrWarn())
        return 1;

    ScreenSet screens;
    QWidget *first = screens.firstScreen();
    if (first->windowFlags() & Qt::WindowMaximizeButtonHint)
        first->showMaximized();
    else
        first->show();
    return app.exec();
}
