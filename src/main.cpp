#include "app/regional.h"
#include "app/screenset.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rilegora"));
    Regional::installTranslation(&app);
    Regional::apply();

    ScreenSet screens;
    QWidget *first = screens.firstScreen();
    if (first->windowFlags() & Qt::WindowMaximizeButtonHint)
        first->showMaximized();
    else
        first->show();
    return app.exec();
}
