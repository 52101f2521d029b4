#include "app/screenset.h"
#include "core/logging.h"
#include "kit/regional.h"

#include <QApplication>
#include <QIcon>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rilegora"));
    QApplication::setApplicationVersion(QStringLiteral(RILEGORA_VERSION));
    // The causes of failed writes, in the user's own folder (Log::defaultFolder).
    Log::install();
    // Ties the windows to the desktop entry "rilegora.desktop" on Linux.
    QGuiApplication::setDesktopFileName(QStringLiteral("rilegora"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icoIconaApp.svg")));
    Regional::installTranslation(&app);
    Regional::apply();

    // Any number of copies may run on one program folder, on this computer
    // or on others sharing it: each save takes the lock of the file it
    // writes only while it writes (WriteLock).
    ScreenSet screens;
    QWidget *first = screens.firstScreen();
    if (first->windowFlags() & Qt::WindowMaximizeButtonHint)
        first->showMaximized();
    else
        first->show();
    return app.exec();
}
