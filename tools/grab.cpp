// Renders one screen of the program to a PNG, for looking at layouts and for
// the screenshots of the README:
//   QT_QPA_PLATFORM=offscreen:configfile=tools/screen-1920x1080.json
//   rilegora-grab ClassName out.png [program folder] [step...]
// The named screen is shown as it opens; the steps then act on the window
// in front, one after the other, as a user would:
//   click:NAME        presses the button or picture NAME
//   type:NAME=TEXT    types TEXT into the edit box NAME
//   wait:MS           waits MS milliseconds
//   file:PATH         answers the next file chooser with PATH (then
//                     click:btnSfoglia loads it into the import window)
//   catalogue:X.cat   hands catalogue X.cat of the program folder to the page
//                     editor, as the open-catalogue screen does (then
//                     click:cmdAvanti shows its first page)
// The picture is of the modal window in front when there is one (a dialog
// a step opened), otherwise of the named screen.
#include "app/screenset.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "core/programfolder.h"
#include "kit/filechooser.h"
#include "kit/regional.h"
#include "kit/screens.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace {

/// The widget named name in the window in front: the modal window when one
/// is open, else any visible top-level window.
QWidget *findControl(const QString &name)
{
    QWidgetList windows;
    if (QWidget *modal = QApplication::activeModalWidget())
        windows << modal;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            windows << w;
    }
    for (QWidget *w : windows) {
        if (w->objectName() == name)
            return w;
        if (auto *control = w->findChild<QWidget *>(name))
            return control;
    }
    return nullptr;
}

bool fail(const QString &message)
{
    std::fprintf(stderr, "rilegora-grab: %s\n", qPrintable(message));
    QApplication::exit(1);
    return false;
}

/// Runs one step; false (and the program ends) when it cannot be done.
bool runStep(const QString &step)
{
    const QString verb = step.section(QLatin1Char(':'), 0, 0);
    const QString rest = step.section(QLatin1Char(':'), 1);
    if (verb == QLatin1String("wait"))
        return true;
    if (verb == QLatin1String("file")) {
        FileChooser::answerNext(rest);
        return true;
    }
    if (verb == QLatin1String("catalogue")) {
        TfrmListinoPrezzi *editor = ScreenSet::current()->frmListinoPrezzi;
        editor->openCatalogue(ProgramFolder::file(rest), rest.chopped(4));
        return true;
    }
    const QString name = rest.section(QLatin1Char('='), 0, 0);
    QWidget *control = findControl(name);
    if (verb == QLatin1String("click")) {
        auto *button = qobject_cast<QAbstractButton *>(control);
        if (!button)
            return fail(QStringLiteral("no button named %1").arg(name));
        button->click(); // may run a modal window until the program ends
        return true;
    }
    if (verb == QLatin1String("type")) {
        auto *box = qobject_cast<QLineEdit *>(control);
        if (!box)
            return fail(QStringLiteral("no edit box named %1").arg(name));
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        box->insert(rest.section(QLatin1Char('='), 1));
        return true;
    }
    return fail(QStringLiteral("unknown step %1").arg(step));
}

int delayAfter(const QString &step)
{
    if (step.startsWith(QLatin1String("wait:")))
        return step.mid(5).toInt();
    return 300;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: rilegora-grab ClassName out.png [program folder] [click:NAME | type:NAME=TEXT | "
                             "wait:MS | file:PATH | catalogue:X.cat]...\n");
        return 2;
    }
    if (argc > 3)
        ProgramFolder::setPath(QString::fromLocal8Bit(argv[3]));
    Regional::installTranslation(&app);
    ScreenSet screens;
    const QString name = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QStringList steps;
    for (int i = 4; i < argc; ++i)
        steps << QString::fromLocal8Bit(argv[i]);

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

    // Each step sets the timer of the next one before it runs, so that the
    // chain goes on inside a modal window that the step opens.
    std::function<void(int)> next = [&](int i) {
        if (i == steps.size()) {
            QWidget *front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : screen;
            const bool ok = front->grab().save(out);
            if (!ok)
                std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
            QApplication::exit(ok ? 0 : 1);
            return;
        }
        QTimer::singleShot(delayAfter(steps[i]), [&, i] { next(i + 1); });
        runStep(steps[i]);
    };
    QTimer::singleShot(300, [&] { next(0); });
    return app.exec();
}
