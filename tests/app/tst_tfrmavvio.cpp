// The launcher driven through the real screen set: the three work areas and
// the way back, the end of the program, the help, about and splash windows
// and the maker's web site.
#include "common/testsupport.h"
#include "common/urlrecorder.h"

#include "access/tfrmpassword.h"
#include "app/screenset.h"
#include "app/tfrmavvio.h"
#include "books/tfrmlibri.h"
#include "catalogues/tfrmapricatalogo.h"
#include "catalogues/tfrmcreacatalogo.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "core/helptopics.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"
#include "kit/tfrmguida.h"
#include "kit/tfrminfo.h"
#include "kit/tfrmsplash.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {

/// Runs check on the first modal window of type T that opens, then lets
/// close end it (by default its own "Chiudi" button).
template <class T> void onModal(std::function<void(T &)> check, QObject *context)
{
    auto *timer = new QTimer(context);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, context, [timer, check] {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!window)
            return;
        timer->stop();
        timer->deleteLater();
        check(*window);
        if (window->isVisible())
            window->close();
    });
    timer->start();
}

QString shown(const QString &body)
{
    QString text = body;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

class TestLauncher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        prepareScreenTests();
        // The program must end because the launcher asks for it, not because
        // its last window went away.
        QGuiApplication::setQuitOnLastWindowClosed(false);
        m_folder = std::make_unique<TempProgramFolder>();
        m_messages = std::make_unique<MessageCatcher>();
        m_screens = std::make_unique<ScreenSet>();
    }
    void cleanupTestCase()
    {
        m_screens.reset();
        m_messages.reset();
        m_folder.reset();
    }
    void init()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->hide();
        Screens::present(m_screens->frmAvvio);
        QVERIFY(m_screens->frmAvvio->isVisible());
    }

    void layoutAsDesigned()
    {
        TfrmAvvio *launcher = m_screens->frmAvvio;
        QVERIFY(launcher->windowTitle().startsWith(QStringLiteral(" Rilegora")));
        auto *pan = launcher->findChild<QWidget *>(QStringLiteral("panContainer"));
        QVERIFY(pan);
        QCOMPARE(pan->size(), QSize(995, 692));
        const QList<QPair<const char *, QRect>> places = {
            {"imgInfo", QRect(16, 16, 30, 30)},      {"imgGuida", QRect(950, 16, 29, 28)},
            {"imgApp01", QRect(19, 150, 298, 388)},  {"btnApp01", QRect(40, 544, 258, 45)},
            {"imgApp02", QRect(348, 150, 298, 388)}, {"btnApp02", QRect(369, 544, 258, 45)},
            {"imgApp03", QRect(677, 150, 298, 388)}, {"btnApp03", QRect(698, 544, 258, 45)},
            {"imgSito", QRect(17, 626, 961, 22)},    {"imgCopyright", QRect(16, 658, 23, 22)},
            {"imgEsci", QRect(958, 662, 17, 18)},    {"icoTitoloApp", QRect(184, 25, 690, 57)},
        };
        for (const auto &place : places) {
            auto *w = pan->findChild<QWidget *>(QString::fromLatin1(place.first));
            QVERIFY2(w, place.first);
            QCOMPARE(w->geometry(), place.second);
        }
        for (PictureButton *command :
             {control<PictureButton>(launcher, "imgApp01"), control<PictureButton>(launcher, "btnApp03"),
              control<PictureButton>(launcher, "imgEsci"), control<PictureButton>(launcher, "imgSito")})
            QCOMPARE(command->cursor().shape(), Qt::PointingHandCursor);
    }

    void workAreasAndBack_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("screen");
        QTest::newRow("card index picture") << "imgApp01"
                                            << "TfrmLibri";
        QTest::newRow("card index label") << "btnApp01"
                                          << "TfrmLibri";
        QTest::newRow("new catalogue picture") << "imgApp02"
                                               << "TfrmCreaCatalogo";
        QTest::newRow("new catalogue label") << "btnApp02"
                                             << "TfrmCreaCatalogo";
        QTest::newRow("open catalogue picture") << "imgApp03"
                                                << "TfrmApriCatalogo";
        QTest::newRow("open catalogue label") << "btnApp03"
                                              << "TfrmApriCatalogo";
    }
    void workAreasAndBack()
    {
        QFETCH(QString, command);
        QFETCH(QString, screen);
        TfrmAvvio *launcher = m_screens->frmAvvio;
        QWidget *target = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == screen)
                target = w;
        QVERIFY(target);

        QTest::mouseClick(launcher->findChild<PictureButton *>(command), Qt::LeftButton);
        QVERIFY(target->isVisible());
        QVERIFY(target->isMaximized());
        QVERIFY(!launcher->isVisible());

        // The window's close box: back to the launcher, the program carries on.
        target->close();
        QVERIFY(launcher->isVisible());
        QVERIFY(!target->isVisible());
        QVERIFY(ScreenSet::current() == m_screens.get());
    }

    void cardScreenExitCommandReturns()
    {
        QTest::mouseClick(control<PictureButton>(m_screens->frmAvvio, "btnApp01"), Qt::LeftButton);
        QVERIFY(m_screens->frmLibri->isVisible());
        QTest::mouseClick(control<PictureButton>(m_screens->frmLibri, "cmdEsci"), Qt::LeftButton);
        QVERIFY(m_screens->frmAvvio->isVisible());
        QVERIFY(!m_screens->frmLibri->isVisible());
    }

    void pageEditorReturnsOnClose()
    {
        Screens::handOver(m_screens->frmAvvio, m_screens->frmListinoPrezzi);
        QVERIFY(!m_screens->frmAvvio->isVisible());
        m_screens->frmListinoPrezzi->close();
        QVERIFY(m_screens->frmAvvio->isVisible());
        QVERIFY(!m_screens->frmListinoPrezzi->isVisible());
    }

    void launcherEndsProgram_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("exit command") << false;
        QTest::newRow("close box") << true;
    }
    void launcherEndsProgram()
    {
        QFETCH(bool, closeBox);
        TfrmAvvio *launcher = m_screens->frmAvvio;
        QVERIFY(!m_screens->frmPassword->isVisible());

        QObject context;
        bool aboutToQuit = false;
        bool timedOut = false;
        connect(qApp, &QCoreApplication::aboutToQuit, &context, [&] { aboutToQuit = true; });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, &context, [&] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        QTimer::singleShot(0, &context, [&] {
            if (closeBox)
                launcher->close();
            else
                QTest::mouseClick(control<PictureButton>(launcher, "imgEsci"), Qt::LeftButton);
        });
        watchdog.start(5000);
        const int result = QCoreApplication::exec();
        watchdog.stop();

        QVERIFY(!timedOut);
        QCOMPARE(result, 0);
        QVERIFY(aboutToQuit);
        QVERIFY(!launcher->isVisible());
    }

    void helpCommandsShowTheirTopic_data()
    {
        QTest::addColumn<bool>("fromCardScreen");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::newRow("launcher") << false << HelpTopics::avvioTitle() << HelpTopics::avvio();
        QTest::newRow("card screen") << true << HelpTopics::schedarioLibriTitle() << HelpTopics::schedarioLibri();
    }
    void helpCommandsShowTheirTopic()
    {
        QFETCH(bool, fromCardScreen);
        QFETCH(QString, title);
        QFETCH(QString, body);
        QWidget *opener = m_screens->frmAvvio;
        PictureButton *command = control<PictureButton>(m_screens->frmAvvio, "imgGuida");
        if (fromCardScreen) {
            QTest::mouseClick(control<PictureButton>(m_screens->frmAvvio, "imgApp01"), Qt::LeftButton);
            opener = m_screens->frmLibri;
            command = control<PictureButton>(m_screens->frmLibri, "cmdGuida");
        }
        QVERIFY(opener->isVisible());

        QString seenTitle, seenBody;
        QObject *seenParent = nullptr;
        bool seen = false;
        onModal<TfrmGuida>(
            [&](TfrmGuida &help) {
                seen = true;
                seenTitle = control<QLabel>(help, "lblTitolo")->text();
                seenBody = control<QPlainTextEdit>(help, "txtGuida")->toPlainText();
                seenParent = help.parent();
                QVERIFY(control<QPlainTextEdit>(help, "txtGuida")->isReadOnly());
                QTest::mouseClick(control<QPushButton>(help, "btnChiudi"), Qt::LeftButton);
            },
            this);
        QTest::mouseClick(command, Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenBody, shown(body));
        QCOMPARE(seenParent, static_cast<QObject *>(opener));
        // Closing the help window returns to its opener; the window is gone.
        QVERIFY(opener->isVisible());
        QVERIFY(opener->findChildren<TfrmGuida *>().isEmpty());
        if (fromCardScreen)
            m_screens->frmLibri->close();
    }

    void aboutAndSplashWindows()
    {
        TfrmAvvio *launcher = m_screens->frmAvvio;
        QString caption;
        QObject *parent = nullptr;
        onModal<TfrmInfo>(
            [&](TfrmInfo &info) {
                caption = info.windowTitle();
                parent = info.parent();
                QTest::mouseClick(control<QPushButton>(info, "btnChiudi"), Qt::LeftButton);
            },
            this);
        QTest::mouseClick(control<PictureButton>(launcher, "imgInfo"), Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral(" Informazioni su Rilegora"));
        QCOMPARE(parent, static_cast<QObject *>(launcher));
        QVERIFY(launcher->findChildren<TfrmInfo *>().isEmpty());

        caption.clear();
        parent = nullptr;
        onModal<TfrmSplash>(
            [&](TfrmSplash &splash) {
                caption = splash.windowTitle();
                parent = splash.parent();
                QTest::mouseClick(control<QPushButton>(splash, "btnChiudi"), Qt::LeftButton);
            },
            this);
        QTest::mouseClick(control<PictureButton>(launcher, "imgCopyright"), Qt::LeftButton);
        QVERIFY(caption.startsWith(QStringLiteral(" Rilegora")));
        QCOMPARE(parent, static_cast<QObject *>(launcher));
        QVERIFY(launcher->findChildren<TfrmSplash *>().isEmpty());
        QVERIFY(launcher->isVisible());
    }

    void siteOpensTheMakersAddress()
    {
        UrlRecorder recorder;
        QTest::mouseClick(control<PictureButton>(m_screens->frmAvvio, "imgSito"), Qt::LeftButton);
        QCOMPARE(recorder.opened, QList<QUrl>{QUrl(QStringLiteral("https://www.rilegora.it"))});
        QVERIFY(m_screens->frmAvvio->isVisible());
    }

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<MessageCatcher> m_messages;
    std::unique_ptr<ScreenSet> m_screens;
};

QTEST_MAIN(TestLauncher)
#include "tst_tfrmavvio.moc"
