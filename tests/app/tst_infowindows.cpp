// The help, about and splash windows: their link (colour while the button is
// held, the text handed to the shell) and the help window's topic.
#include "common/testsupport.h"
#include "common/urlrecorder.h"

#include "core/helptopics.h"
#include "core/programfolder.h"
#include "kit/conventions.h"
#include "kit/linktext.h"
#include "kit/picturewidgets.h"
#include "kit/tfrmguida.h"
#include "kit/tfrminfo.h"
#include "kit/tfrmsplash.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>

namespace {

struct Window
{
    std::unique_ptr<QDialog> dialog;
    LinkText *link = nullptr;
    QWidget *picture = nullptr;
};

Window make(const QString &kind)
{
    Window w;
    if (kind == QLatin1String("guida")) {
        auto *d = new TfrmGuida;
        w.link = control<LinkText>(d, "lnkWeb");
        w.picture = control<PictureButton>(d, "imgPDF");
        w.dialog.reset(d);
    } else if (kind == QLatin1String("info")) {
        auto *d = new TfrmInfo;
        w.link = control<LinkText>(d, "lnkWeb");
        w.picture = control<PictureButton>(d, "imgEmail");
        w.dialog.reset(d);
    } else {
        auto *d = new TfrmSplash;
        w.link = control<LinkText>(d, "lnkWeb");
        w.picture = control<PictureButton>(d, "imgWeb");
        w.dialog.reset(d);
    }
    return w;
}

} // namespace

class TestInfoWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareScreenTests(); }
    void init() { m_recorder.opened.clear(); }

    void linkColoursAndTarget_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("usePicture");
        QTest::addColumn<QString>("expected"); // "manual" stands for the manual in the program folder
        for (bool picture : {false, true}) {
            const char *by = picture ? "picture" : "text";
            QTest::addRow("help, %s", by) << "guida" << picture << "manual";
            QTest::addRow("about, %s", by) << "info" << picture << "mailto:info@rilegora.it";
            QTest::addRow("splash, %s", by) << "splash" << picture << "https://www.rilegora.it";
        }
    }
    void linkColoursAndTarget()
    {
        QFETCH(QString, kind);
        QFETCH(bool, usePicture);
        QFETCH(QString, expected);
        // A program folder with blanks in its path still opens the manual.
        TempProgramFolder temp;
        const QString folder = temp.path() + QStringLiteral("Cartella con spazi/");
        QVERIFY(QDir().mkpath(folder));
        ProgramFolder::setPath(folder);

        Window w = make(kind);
        w.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dialog.get()));
        QWidget *trigger = usePicture ? w.picture : static_cast<QWidget *>(w.link);
        QCOMPARE(w.link->colour(), QColor::fromRgba(Look::DarkBlue));
        QVERIFY(w.link->font().underline());
        QCOMPARE(trigger->cursor().shape(), Qt::PointingHandCursor);

        QTest::mousePress(trigger, Qt::LeftButton);
        QCOMPARE(w.link->colour(), QColor::fromRgba(Look::Orange));
        QVERIFY(m_recorder.opened.isEmpty());
        QTest::mouseRelease(trigger, Qt::LeftButton);
        QCOMPARE(w.link->colour(), QColor::fromRgba(Look::DarkBlue));

        const QUrl target = expected == QLatin1String("manual")
                                ? QUrl::fromLocalFile(folder + QStringLiteral("Guida.pdf"))
                                : QUrl(expected);
        QCOMPARE(m_recorder.opened, QList<QUrl>{target});

        // Pressing and letting go elsewhere restores the colour and opens nothing.
        m_recorder.opened.clear();
        QTest::mousePress(trigger, Qt::LeftButton);
        QCOMPARE(w.link->colour(), QColor::fromRgba(Look::Orange));
        QTest::mouseRelease(trigger, Qt::LeftButton, {}, QPoint(trigger->width() + 40, trigger->height() + 40));
        QCOMPARE(w.link->colour(), QColor::fromRgba(Look::DarkBlue));
        QVERIFY(m_recorder.opened.isEmpty());
    }

    void textsHandedToTheShell()
    {
        TempProgramFolder temp;
        QCOMPARE(TfrmGuida::manualTarget(),
                 QStringLiteral("\"") + QDir::toNativeSeparators(temp.path()) + QStringLiteral("Guida.pdf\""));
        QVERIFY(QDir::toNativeSeparators(temp.path()).endsWith(QDir::separator()));
        QCOMPARE(TfrmInfo::mailTarget(), QStringLiteral("\"mailto:info@rilegora.it\""));
        QCOMPARE(TfrmSplash::makerSite(), QStringLiteral("https://www.rilegora.it"));
    }

    void windowsAsDesigned_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("size");
        QTest::newRow("help") << "guida"
                              << " Guida all'utilizzo del software" << QSize(670, 572);
        QTest::newRow("about") << "info"
                               << " Informazioni su Rilegora" << QSize(473, 579);
        QTest::newRow("splash") << "splash"
                                << " Rilegora 1.0 - Rilegora Software" << QSize(661, 467);
    }
    void windowsAsDesigned()
    {
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QSize, size);
        Window w = make(kind);
        QCOMPARE(w.dialog->windowTitle(), caption);
        QCOMPARE(w.dialog->size(), size);
        // A fixed dialog without title-bar buttons, closed by its own button.
        QVERIFY(!(w.dialog->windowFlags() & Qt::WindowCloseButtonHint));
        auto *close = w.dialog->findChild<QAbstractButton *>(QStringLiteral("btnChiudi"));
        QVERIFY(close);
        QCOMPARE(close->text(), QStringLiteral("Chiudi"));
        w.dialog->show();
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!w.dialog->isVisible());
    }

    void helpWindowShowsItsTopic()
    {
        TfrmGuida help;
        QCOMPARE(control<QLabel>(help, "lblTitolo")->text(), QStringLiteral("Argomento della guida."));
        QCOMPARE(control<QLabel>(help, "lblTitolo")->palette().color(QPalette::WindowText),
                 QColor::fromRgba(Look::Crimson));
        QCOMPARE(control<QPlainTextEdit>(help, "txtGuida")->geometry(), QRect(8, 128, 625, 350));
        QVERIFY(control<QPlainTextEdit>(help, "txtGuida")->isReadOnly());
        QCOMPARE(control<QPlainTextEdit>(help, "txtGuida")->lineWrapMode(), QPlainTextEdit::WidgetWidth);

        help.setTopic(HelpTopics::cataloghiTitle(), HelpTopics::cataloghi());
        QCOMPARE(control<QLabel>(help, "lblTitolo")->text(), QStringLiteral("Creazione e apertura cataloghi"));
        // Each paragraph is one line of the box, with an empty line between two.
        const QStringList lines = control<QPlainTextEdit>(help, "txtGuida")->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 6 * 2 - 1);
        QCOMPARE(lines.first(), HelpTopics::paragraphs(HelpTopics::cataloghi()).first());
        QVERIFY(lines.at(1).isEmpty());
        QVERIFY(!control<QPlainTextEdit>(help, "txtGuida")->toPlainText().contains(QLatin1Char('\r')));
    }

private:
    UrlRecorder m_recorder;
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
