// The help topics: their paragraphs, the launcher's topic holding the
// others word for word, and the initial password it names.
#include "core/helptopics.h"

#include <QTest>

class TestHelpTopics : public QObject
{
    Q_OBJECT

private slots:
    void paragraphs_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("count");
        QTest::newRow("launcher") << HelpTopics::avvioTitle() << HelpTopics::avvio() << 26;
        QTest::newRow("card index") << HelpTopics::schedarioLibriTitle() << HelpTopics::schedarioLibri() << 9;
        QTest::newRow("catalogues") << HelpTopics::cataloghiTitle() << HelpTopics::cataloghi() << 6;
        QTest::newRow("page editor") << HelpTopics::catalogoLibriTitle() << HelpTopics::catalogoLibri() << 5;
        QTest::newRow("export") << HelpTopics::esportazioneTitle() << HelpTopics::esportazione() << 3;
    }
    void paragraphs()
    {
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(int, count);
        QVERIFY(!title.isEmpty());
        const QStringList parts = HelpTopics::paragraphs(body);
        QCOMPARE(parts.size(), count);
        for (const QString &p : parts) {
            QVERIFY(!p.isEmpty());
            QVERIFY2(!p.contains(QLatin1Char('\r')) && !p.contains(QLatin1Char('\n')), qPrintable(p));
            QCOMPARE(p.trimmed(), p);
        }
        QVERIFY(body.contains(QStringLiteral("\r\n\r\n")));
        QVERIFY(!body.contains(QStringLiteral("\r\n\r\n\r\n")));
    }

    void titles()
    {
        QCOMPARE(HelpTopics::avvioTitle(), QStringLiteral("Uno sguardo a Rilegora"));
        QCOMPARE(HelpTopics::schedarioLibriTitle(), QStringLiteral("App Schedario Libri"));
        QCOMPARE(HelpTopics::catalogoLibriTitle(), QStringLiteral("App Catalogo Libri"));
        QCOMPARE(HelpTopics::cataloghiTitle(), QStringLiteral("Creazione e apertura cataloghi"));
        QCOMPARE(HelpTopics::esportazioneTitle(), QStringLiteral("Esportazione archivio libri in Excel"));
    }

    void launcherTopicHoldsTheOthersWordForWord()
    {
        const QStringList all = HelpTopics::paragraphs(HelpTopics::avvio());
        QCOMPARE(all.mid(2, 9), HelpTopics::paragraphs(HelpTopics::schedarioLibri()));
        QCOMPARE(all.mid(11, 6), HelpTopics::paragraphs(HelpTopics::cataloghi()));
        QCOMPARE(all.mid(17, 5), HelpTopics::paragraphs(HelpTopics::catalogoLibri()));
    }

    void launcherTopicNamesTheInitialPassword()
    {
        const QStringList all = HelpTopics::paragraphs(HelpTopics::avvio());
        const QString &password = all.at(23);
        QVERIFY(password.contains(QStringLiteral("password")));
        QVERIFY(password.contains(QStringLiteral(" rilegora")));
        QVERIFY(all.at(22).contains(QStringLiteral("USB")));
        // Sharing the folder: several workstations at once, no longer one at a time.
        QVERIFY(all.at(24).contains(QStringLiteral("anche tutte insieme")));
        QVERIFY(!all.at(24).contains(QStringLiteral("non impedisce")));
    }

    void manualTopics()
    {
        const QList<HelpTopics::Topic> topics = HelpTopics::all();
        QCOMPARE(topics.size(), 5);
        QCOMPARE(topics.first().title, HelpTopics::avvioTitle());
        QCOMPARE(topics.first().body, HelpTopics::avvio());
    }
};

QTEST_GUILESS_MAIN(TestHelpTopics)
#include "tst_helptopics.moc"
