#include "common/testsupport.h"

#include "kit/conventions.h"
#include "kit/messages.h"
#include "kit/regional.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

class TestConventions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }

    void messageKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttonTexts");
        QTest::newRow("information") << 0 << int(QMessageBox::Information)
                                     << QStringList{QStringLiteral("OK"), QStringLiteral("Annulla")};
        QTest::newRow("warning") << 1 << int(QMessageBox::Warning)
                                 << QStringList{QStringLiteral("OK"), QStringLiteral("Annulla")};
        QTest::newRow("error") << 2 << int(QMessageBox::Critical)
                               << QStringList{QStringLiteral("OK"), QStringLiteral("Annulla")};
        QTest::newRow("plain") << 3 << int(QMessageBox::NoIcon) << QStringList{QStringLiteral("OK")};
        QTest::newRow("question") << 4 << int(QMessageBox::Question)
                                  << QStringList{QStringLiteral("Sì"), QStringLiteral("No")};
    }
    void messageKinds()
    {
        QFETCH(int, kind);
        QFETCH(int, icon);
        QFETCH(QStringList, buttonTexts);
        QWidget owner;
        QStringList texts;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QCOMPARE(int(box->icon()), icon);
            QCOMPARE(box->text(), QStringLiteral("Prima riga.\n\r\n\rSeconda."));
            for (QAbstractButton *b : box->buttons())
                texts << b->text().remove(QLatin1Char('&'));
            box->buttons().first()->click();
        });
        const QString text = QStringLiteral("Prima riga.\n\r\n\rSeconda.");
        switch (kind) {
        case 0:
            Msg::information(&owner, text);
            break;
        case 1:
            Msg::warning(&owner, text);
            break;
        case 2:
            Msg::error(&owner, text);
            break;
        case 3:
            Msg::plain(&owner, text);
            break;
        default:
            Msg::answeredNo(&owner, text);
            break;
        }
        texts.sort();
        buttonTexts.sort();
        QCOMPARE(texts, buttonTexts);
    }

    void questionGoesAheadUnlessNo()
    {
        MessageCatcher msgs;
        msgs.answerNext(QMessageBox::No);
        QVERIFY(Msg::answeredNo(nullptr, QStringLiteral("?")));
        msgs.answerNext(QMessageBox::Yes);
        QVERIFY(!Msg::answeredNo(nullptr, QStringLiteral("?")));
    }

    void enterChainWrapsAndOtherBoxesKeepFocus()
    {
        QWidget w;
        auto *a = new QLineEdit(&w), *b = new QLineEdit(&w), *c = new QLineEdit(&w), *lone = new QLineEdit(&w);
        Look::enterChain({a, b, c});
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        a->setFocus();
        QTest::keyClick(a, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), b);
        QTest::keyClicks(b, QStringLiteral("xy"));
        QCOMPARE(b->text(), QStringLiteral("xy"));
        QCOMPARE(QApplication::focusWidget(), b);
        QTest::keyClick(b, Qt::Key_Return);
        QTest::keyClick(c, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), a);
        lone->setFocus();
        QTest::keyClick(lone, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), lone);
    }

    void frameHighlightShowsWhileFocused()
    {
        QWidget w;
        auto *box = new QLineEdit(&w);
        box->setGeometry(20, 20, 200, 22);
        auto *other = new QLineEdit(&w);
        other->setGeometry(20, 80, 200, 22);
        QWidget *frame = Look::makeFocusFrame(box, QStringLiteral("effCampo01"));
        QCOMPARE(frame->objectName(), QStringLiteral("effCampo01"));
        QCOMPARE(frame->geometry(), QRect(16, 16, 208, 30));
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        other->setFocus();
        QVERIFY(!frame->isVisible());
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(frame->isVisible());
        other->setFocus();
        QVERIFY(!frame->isVisible());
    }

    void busyNoticeShowsOnPress()
    {
        QWidget w;
        auto *command = new QPushButton(QStringLiteral("Cerca"), &w);
        auto *notice = new QLabel(QStringLiteral("Ricerca schede in corso. Attendere..."), &w);
        notice->move(0, 40);
        bool visibleDuringWork = false;
        connect(command, &QPushButton::clicked, [&] { visibleDuringWork = notice->isVisible(); });
        Look::busyNotice(command, notice);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!notice->isVisible());
        QTest::mouseClick(command, Qt::LeftButton);
        QVERIFY(visibleDuringWork);
    }

    void datesAndNumbersAreItalianWhateverTheSystem()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Regional::apply();
        QCOMPARE(Regional::formatDate(QDate(2024, 1, 5)), QStringLiteral("05/01/2024"));
        QCOMPARE(QLocale().toString(12.5, 'f', 2), QStringLiteral("12,50"));
        QCOMPARE(Regional::formatNumber(3.25, 2), QStringLiteral("3,25"));
    }

    void translationComesFromTheProgramFolderFirst()
    {
        TempProgramFolder folder;
        const QString qtCopy = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_it.qm");
        const QString own = folder.file(QStringLiteral("translations/qtbase_it.qm"));
        QVERIFY(QDir().mkpath(folder.file(QStringLiteral("translations"))));
        // A cross-built Qt may carry no translations: then there is no Qt
        // copy to fall back on, and the one beside the test stands in.
        const bool qtHasOne = QFile::exists(qtCopy);
        const QString source = qtHasOne ? qtCopy
                                        : QCoreApplication::applicationDirPath() + QStringLiteral("/translations/qtbase_it.qm");

        // None in the program folder: Qt's own copy.
        QTranslator fromQt;
        QCOMPARE(Regional::loadTranslation(fromQt), qtHasOne);
        if (qtHasOne)
            QCOMPARE(QFileInfo(fromQt.filePath()).canonicalFilePath(), QFileInfo(qtCopy).canonicalFilePath());

        QVERIFY(QFile::copy(source, own));
        QTranslator fromFolder;
        QVERIFY(Regional::loadTranslation(fromFolder));
        QCOMPARE(QFileInfo(fromFolder.filePath()).canonicalFilePath(), QFileInfo(own).canonicalFilePath());
        QCOMPARE(fromFolder.translate("QPlatformTheme", "Cancel"), QStringLiteral("Annulla"));

        // A damaged copy in the folder is passed over, not taken as "no translation".
        QFile damaged(own);
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("not a catalogue");
        damaged.close();
        QTranslator afterDamage;
        QCOMPARE(Regional::loadTranslation(afterDamage), qtHasOne);
        if (qtHasOne)
            QCOMPARE(QFileInfo(afterDamage.filePath()).canonicalFilePath(), QFileInfo(qtCopy).canonicalFilePath());
    }
};

QTEST_MAIN(TestConventions)
#include "tst_conventions.moc"
