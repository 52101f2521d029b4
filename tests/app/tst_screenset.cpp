#include "common/testsupport.h"

#include "app/screenset.h"
#include "app/tfrmavvio.h"
#include "books/tfrmlibri.h"
#include "kit/screens.h"
#include "search/tfrmtrovalibri.h"

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

class TestScreenSet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }

    void createsTheTwentyScreens()
    {
        TempProgramFolder folder;
        ScreenSet set;
        const QStringList expected = {QStringLiteral("TfrmPassword"),       QStringLiteral("TfrmAllegaCartella"),
                                      QStringLiteral("TfrmAnteprimaLibri"), QStringLiteral("TfrmAvvio"),
                                      QStringLiteral("TfrmCambiaPassword"), QStringLiteral("TfrmCodici_Dewey"),
                                      QStringLiteral("TfrmGuida"),          QStringLiteral("TfrmInfo"),
                                      QStringLiteral("TfrmLibri"),          QStringLiteral("TfrmSlideshow_Libri"),
                                      QStringLiteral("TfrmSplash"),         QStringLiteral("TfrmStampaLibri"),
                                      QStringLiteral("TfrmTrovaLibri"),     QStringLiteral("TfrmZoom"),
                                      QStringLiteral("TfrmCreaCatalogo"),   QStringLiteral("TfrmApriCatalogo"),
                                      QStringLiteral("TfrmListinoPrezzi"),  QStringLiteral("TfrmAnteprimaProdotto"),
                                      QStringLiteral("TfrmStampaProdotto"), QStringLiteral("TfrmExpLibri")};
        QStringList names;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (expected.contains(w->objectName()))
                names << w->objectName();
        }
        QCOMPARE(names.size(), 20);
        names.sort();
        QStringList sorted = expected;
        sorted.sort();
        QCOMPARE(names, sorted);
    }

    void kindsCaptionsAndSizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("work");
        QTest::addColumn<QSize>("size");
        const QSize work(1016, 713);
        QTest::newRow("1") << "TfrmPassword"
                           << " Rilegora - Autenticazione" << false << QSize(388, 405);
        QTest::newRow("2") << "TfrmAllegaCartella"
                           << " Allega file" << false << QSize(634, 534);
        QTest::newRow("3") << "TfrmAnteprimaLibri"
                           << " Anteprima di stampa" << false << QSize(364, 287);
        QTest::newRow("5") << "TfrmCambiaPassword"
                           << " Cambia password" << false << QSize(411, 418);
        QTest::newRow("6") << "TfrmCodici_Dewey"
                           << " Tabella Codici Dewey" << false << QSize(861, 561);
        QTest::newRow("7") << "TfrmGuida"
                           << " Guida all'utilizzo del software" << false << QSize(670, 572);
        QTest::newRow("8") << "TfrmInfo"
                           << " Informazioni su Rilegora" << false << QSize(473, 579);
        QTest::newRow("9") << "TfrmLibri"
                           << " Rilegora - Schedario Libri" << true << work;
        QTest::newRow("10") << "TfrmSlideshow_Libri"
                            << " Slide Show Copertine Libri" << true << work;
        QTest::newRow("12") << "TfrmStampaLibri"
                            << " Stampa scheda" << false << QSize(364, 287);
        QTest::newRow("13") << "TfrmTrovaLibri"
                            << " Trova libri in archivio" << false << QSize(862, 560);
        QTest::newRow("14") << "TfrmZoom"
                            << " Fai clic sulla foto per chiudere questa finestra" << true << work;
        QTest::newRow("15") << "TfrmCreaCatalogo"
                            << " Rilegora - Creazione nuovo catalogo" << true << work;
        QTest::newRow("16") << "TfrmApriCatalogo"
                            << " Rilegora - Apertura catalogo esistente" << true << work;
        QTest::newRow("17") << "TfrmListinoPrezzi"
                            << " Rilegora - Catalogo Libri" << true << work;
        QTest::newRow("18") << "TfrmAnteprimaProdotto"
                            << " Anteprima di stampa" << false << QSize(364, 287);
        QTest::newRow("19") << "TfrmStampaProdotto"
                            << " Stampa documento" << false << QSize(364, 287);
        QTest::newRow("20") << "TfrmExpLibri"
                            << " Esporta archivio libri in Excel" << false << QSize(862, 560);
    }
    void kindsCaptionsAndSizes()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, work);
        QFETCH(QSize, size);
        TempProgramFolder folder;
        ScreenSet set;
        QWidget *screen = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == name)
                screen = w;
        }
        QVERIFY(screen);
        QCOMPARE(screen->windowTitle(), caption);
        const Qt::WindowFlags flags = screen->windowFlags();
        QCOMPARE(bool(flags & Qt::WindowMaximizeButtonHint), work);
        QCOMPARE(bool(flags & Qt::WindowCloseButtonHint), work);
        if (work) {
            QCOMPARE(screen->size(), size);
        } else {
            QCOMPARE(screen->minimumSize(), size);
            QCOMPARE(screen->maximumSize(), size);
        }
    }

    void onlyTheFirstScreenIsVisibleAtStart()
    {
        TempProgramFolder folder;
        ScreenSet set;
        QList<QWidget *> visible;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                visible << w;
        }
        QVERIFY(visible.isEmpty());
        Screens::present(set.firstScreen());
        visible.clear();
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                visible << w;
        }
        QCOMPARE(visible, QList<QWidget *>{set.firstScreen()});
    }

    void handOverShowsNextThenHidesCurrent()
    {
        QWidget a, b;
        QList<QString> order;
        struct Spy : QObject
        {
            QList<QString> *order;
            bool eventFilter(QObject *o, QEvent *e) override
            {
                if (e->type() == QEvent::Show || e->type() == QEvent::Hide)
                    order->append(o->objectName() +
                                  (e->type() == QEvent::Show ? QStringLiteral("+") : QStringLiteral("-")));
                return false;
            }
        } spy;
        spy.order = &order;
        a.setObjectName("a");
        b.setObjectName("b");
        a.show();
        a.installEventFilter(&spy);
        b.installEventFilter(&spy);
        Screens::handOver(&a, &b);
        QCOMPARE(order, (QList<QString>{QStringLiteral("b+"), QStringLiteral("a-")}));
    }

    void perUseDialogIsFreshEachTime()
    {
        QWidget owner;
        QPointer<TfrmTrovaLibri> first;
        int runs = 0;
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(0, [&] {
                QTRY_VERIFY(qobject_cast<TfrmTrovaLibri *>(QApplication::activeModalWidget()));
                auto *dlg = qobject_cast<TfrmTrovaLibri *>(QApplication::activeModalWidget());
                QCOMPARE(dlg->parentWidget(), &owner);
                if (i == 0)
                    first = dlg;
                else
                    QVERIFY(first.isNull());
                ++runs;
                dlg->close();
            });
            Screens::runModal<TfrmTrovaLibri>(&owner);
        }
        QCOMPARE(runs, 2);
        QVERIFY(first.isNull());
    }

    void closingTheCardScreenReturnsToTheLauncher()
    {
        TempProgramFolder folder;
        ScreenSet set;
        QWidget *libri = set.frmLibri;
        QWidget *avvio = set.frmAvvio;
        Screens::present(libri);
        QVERIFY(libri->close());
        QVERIFY(avvio->isVisible());
        QVERIFY(!libri->isVisible());
    }
};

QTEST_MAIN(TestScreenSet)
#include "tst_screenset.moc"
