// The cover slideshow, with the test driving its ticks.
#include "books/tfrmlibri.h"
#include "books/tfrmslideshow_libri.h"
#include "common/hostilefiles.h"
#include "common/testsupport.h"
#include "core/bookarchive.h"
#include "core/programfolder.h"
#include "kit/picturewidgets.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {
void addCards(int count)
{
    BookArchive archive;
    QVERIFY(archive.open());
    for (int i = 0; i < count; ++i) {
        TSchedaLibro card;
        card.setText(TSchedaLibro::Titolo, QStringLiteral("Titolo"));
        QVERIFY(archive.append(card) > 0);
    }
    QVERIFY(archive.close());
}

/// Cover n is a plain n × n picture, so the size tells which card is shown.
void writeCover(int n)
{
    QDir().mkpath(ProgramFolder::file(QStringLiteral("Copertine_Libri")));
    QImage image(100 + n, 100 + n, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    QVERIFY(image.save(ProgramFolder::file(QStringLiteral("Copertine_Libri/Foto_%1.jpg").arg(n)), "jpg"));
}

/// "<lblPosizione>:<picture>", the picture named "blank" or "card <n>".
QString state(const TfrmSlideshow_Libri &show)
{
    const QImage shown = control<PictureBox>(show, "imgFoto")->image();
    const QString picture = shown == control<PictureBox>(show, "imgBianco")->image()
                                ? QStringLiteral("blank")
                                : QStringLiteral("card %1").arg(shown.width() - 100);
    return control<QLabel>(show, "lblPosizione")->text() + QLatin1Char(':') + picture;
}

} // namespace

class TestSlideshow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareScreenTests(); }
    void init() { m_folder = std::make_unique<TempProgramFolder>(); }
    void cleanup() { m_folder.reset(); }

    void shownWithPlaceholderAndTimer()
    {
        TfrmSlideshow_Libri show;
        QCOMPARE(show.windowTitle(), QStringLiteral(" Slide Show Copertine Libri"));
        QCOMPARE(control<PictureBox>(show, "imgBianco")->image().size(), QSize(689, 529));
        QVERIFY(control<PictureBox>(show, "imgBianco")->isHidden());
        QVERIFY(control<QLabel>(show, "lblPosizione")->isHidden());
        QVERIFY(control<QPushButton>(show, "cmdAvanti")->isHidden());
        QVERIFY(!control<QTimer>(show, "Timer")->isActive());
        show.show();
        QCOMPARE(control<QTimer>(show, "Timer")->interval(), 6000);
        QVERIFY(control<QTimer>(show, "Timer")->isActive());
        QCOMPARE(state(show), QStringLiteral(":blank"));
        const QSize area = show.screen()->size() - QSize(60, 90);
        QCOMPARE(control<PictureBox>(show, "imgFoto")->size(), area);
        QCOMPARE(show.findChild<QWidget *>(QStringLiteral("panContainer"))->size(), area);

        // The timer runs the advance step (shortened here so as not to wait,
        // and stopped after its first tick: with one card the next tick would
        // show position 0 again).
        addCards(1);
        writeCover(1);
        connect(control<QTimer>(show, "Timer"), &QTimer::timeout, control<QTimer>(show, "Timer"), &QTimer::stop);
        control<QTimer>(show, "Timer")->start(1);
        QTRY_COMPARE(control<QLabel>(show, "lblPosizione")->text(), QStringLiteral("1"));
        QCOMPARE(state(show), QStringLiteral("1:card 1"));
    }

    void sequence_data()
    {
        QTest::addColumn<int>("cards");
        QTest::addColumn<QList<int>>("covers");
        QTest::addColumn<QStringList>("ticks"); // state after each tick
        QTest::newRow("one card stays") << 1 << QList<int>{1}
                                        << QStringList{QStringLiteral("1:card 1"), QStringLiteral("0:card 1"),
                                                       QStringLiteral("1:card 1"), QStringLiteral("0:card 1"),
                                                       QStringLiteral("1:card 1")};
        QTest::newRow("three cards, the second without cover")
            << 3 << QList<int>{1, 3}
            << QStringList{QStringLiteral("1:card 1"), QStringLiteral("2:blank"),  QStringLiteral("3:card 3"),
                           QStringLiteral("0:card 3"), QStringLiteral("1:card 1"), QStringLiteral("2:blank"),
                           QStringLiteral("3:card 3"), QStringLiteral("0:card 3")};
    }
    void sequence()
    {
        QFETCH(int, cards);
        QFETCH(QList<int>, covers);
        QFETCH(QStringList, ticks);
        addCards(cards);
        for (int n : covers)
            writeCover(n);
        TfrmSlideshow_Libri show;
        show.show();
        QCOMPARE(state(show), QStringLiteral(":blank"));
        MessageCatcher messages;
        QStringList seen;
        for (int i = 0; i < ticks.size(); ++i) {
            show.cmdAvantiClick();
            seen << state(show);
        }
        QCOMPARE(seen, ticks);
        QVERIFY(messages.seen().isEmpty());
        QVERIFY(show.isVisible());
        QVERIFY(control<QTimer>(show, "Timer")->isActive());
    }

    void cardsAddedMeanwhileAreShown()
    {
        addCards(1);
        writeCover(2);
        TfrmSlideshow_Libri show;
        show.show();
        show.cmdAvantiClick();
        addCards(1);
        show.cmdAvantiClick();
        QCOMPARE(state(show), QStringLiteral("2:card 2"));
    }

    void emptyArchiveTellsAndCloses()
    {
        // Opened from the card screen, as the user does; the first tick finds no card.
        TfrmLibri card;
        QString before;
        bool timerAfter = true;
        whenOpen<TfrmSlideshow_Libri>([&](TfrmSlideshow_Libri *show) {
            before = state(*show);
            show->cmdAvantiClick();
            timerAfter = control<QTimer>(show, "Timer")->isActive();
            QCOMPARE(control<QLabel>(show, "lblPosizione")->text(), QString());
        });
        MessageCatcher messages;
        card.cmdSlideshowClick(); // returns once the slideshow has closed itself
        QCOMPARE(before, QStringLiteral(":blank"));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("L'archivio non contiene nessuna scheda.")});
        QCOMPARE(messages.seen().first().icon, QMessageBox::Information);
        QVERIFY(!timerAfter);
        QVERIFY(card.findChildren<TfrmSlideshow_Libri *>().isEmpty());
        QVERIFY(QFileInfo::exists(BookArchive::path())); // created empty
    }

    void coverThatIsNoFileShowsPlaceholderAtOnce_data()
    {
        HostileFiles::addRows({HostileFiles::DeviceLink, HostileFiles::Fifo, HostileFiles::FifoLink});
    }
    void coverThatIsNoFileShowsPlaceholderAtOnce()
    {
        QFETCH(int, kind);
        addCards(2);
        writeCover(2);
        QString why;
        if (!HostileFiles::make(kind, ProgramFolder::file(QStringLiteral("Copertine_Libri/Foto_1.jpg")), &why))
            QSKIP(qPrintable(why));
        TfrmSlideshow_Libri show;
        show.show();
        QElapsedTimer clock;
        {
            Watchdog watchdog(
                5, QStringLiteral("the slideshow tick on %1").arg(QString::fromUtf8(QTest::currentDataTag())));
            clock.start();
            show.cmdAvantiClick();
        }
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
        QCOMPARE(state(show), QStringLiteral("1:blank"));
        show.cmdAvantiClick();
        QCOMPARE(state(show), QStringLiteral("2:card 2"));
    }

    void clickCloses()
    {
        addCards(1);
        TfrmSlideshow_Libri show;
        show.show();
        QTest::mouseClick(control<PictureBox>(show, "imgFoto"), Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(!show.isVisible());
        QVERIFY(!control<QTimer>(show, "Timer")->isActive());
    }

    void accessFailurePausesTimer()
    {
        // The archive cannot be opened: a folder lies in its place.
        QVERIFY(QDir().mkpath(BookArchive::path()));
        TfrmSlideshow_Libri show;
        show.show();
        control<QTimer>(show, "Timer")->start(1); // ticks as fast as they come
        int boxes = 0;
        bool activeWhileOpen = true;
        QString text;
        whenOpen<QMessageBox>([&](QMessageBox *box) {
            ++boxes;
            text = box->text();
            activeWhileOpen = control<QTimer>(show, "Timer")->isActive();
            control<QTimer>(show, "Timer")->setInterval(60000); // one box is enough: no second tick during the test
            QTimer::singleShot(50, box, [box] { box->button(QMessageBox::Ok)->click(); });
        });
        QTRY_VERIFY(boxes == 1 && !QApplication::activeModalWidget());
        QVERIFY(!activeWhileOpen);
        QCOMPARE(text, BookArchive::accessFailureMessage());
        QVERIFY(show.isVisible());
        QVERIFY(control<QTimer>(show, "Timer")->isActive()); // the next tick tries again
        control<QTimer>(show, "Timer")->stop();
        QVERIFY(!qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
    }

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

QTEST_MAIN(TestSlideshow)
#include "tst_tfrmslideshow_libri.moc"
