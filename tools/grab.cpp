// Renders one screen of the program to a PNG, for looking at layouts:
//   QT_QPA_PLATFORM=offscreen:configfile=tools/screen-1920x1080.json rilegora-grab TfrmLibri out.png [folder]
// The optional folder is used as the program folder. The page editor can be
// shown with a page of a catalogue of that folder:
//   rilegora-grab TfrmListinoPrezzi out.png folder "Narrativa italiana.cat" [page]
// (bench_catalogue --sample folder writes such a catalogue).
#include "app/programfolder.h"
#include "app/regional.h"
#include "app/screens.h"
#include "app/screenset.h"
#include "catalogues/tfrmlistinoprezzi.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: rilegora-grab ClassName out.png [program folder]\n");
        return 2;
    }
    if (argc > 3)
        ProgramFolder::setPath(QString::fromLocal8Bit(argv[3]));
    Regional::installTranslation(&app);
    ScreenSet screens;
    const QString name = QString::fromLocal8Bit(argv[1]);
    QWidget *screen = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name)
            screen = w;
    }
    if (!screen) {
        std::fprintf(stderr, "no screen named %s\n", argv[1]);
        return 1;
    }
    Screens::present(screen);
    if (argc > 4 && screen == screens.frmListinoPrezzi) {
        // As the open-catalogue screen hands a catalogue over, then browsing.
        const QString entry = QString::fromLocal8Bit(argv[4]);
        TfrmListinoPrezzi *editor = screens.frmListinoPrezzi;
        editor->lblFile->setText(ProgramFolder::file(entry));
        editor->lblNome->setText(entry.chopped(4));
        const int page = argc > 5 ? QByteArray(argv[5]).toInt() : 1;
        for (int n = 0; n < page; ++n)
            editor->cmdAvantiClick();
    }
    QTimer::singleShot(300, [&] {
        const bool ok = screen->grab().save(QString::fromLocal8Bit(argv[2]));
        app.exit(ok ? 0 : 1);
    });
    return app.exec();
}
