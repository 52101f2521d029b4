// The document opener: what reaches the desktop for each kind of text.
#include "common/urlrecorder.h"
#include "kit/openurl.h"

#include <QDir>
#include <QTest>

class TestOpenUrl : public QObject
{
    Q_OBJECT

private slots:
    void open_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QUrl>>("opened");
        const QString folder =
            QDir::toNativeSeparators(QDir::tempPath() + QStringLiteral("/Programmi vari/Rilegora #2/"));
        QTest::newRow("quoted manual, blanks and # in the folder")
            << QStringLiteral("\"") + folder + QStringLiteral("Guida.pdf\"")
            << QList<QUrl>{QUrl::fromLocalFile(QDir::fromNativeSeparators(folder) + QStringLiteral("Guida.pdf"))};
        QTest::newRow("quoted attachment")
            << QStringLiteral("\"") + folder + QStringLiteral("Documenti_Allegati") + QDir::separator() +
                   QStringLiteral("libro 50%.pdf\"")
            << QList<QUrl>{QUrl::fromLocalFile(QDir::fromNativeSeparators(folder) +
                                               QStringLiteral("Documenti_Allegati/libro 50%.pdf"))};
        QTest::newRow("web address") << "https://www.example.it/rilegora"
                                     << QList<QUrl>{QUrl(QStringLiteral("https://www.example.it/rilegora"))};
        QTest::newRow("quoted mail address") << QStringLiteral("\"mailto:info@example.it\"")
                                             << QList<QUrl>{QUrl(QStringLiteral("mailto:info@example.it"))};
        QTest::newRow("drive letter is a path, not a scheme")
            << QStringLiteral("\"C:/Rilegora/Guida.pdf\"")
            << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("C:/Rilegora/Guida.pdf"))};
        QTest::newRow("empty") << "" << QList<QUrl>{};
        QTest::newRow("empty quotes") << "\"\"" << QList<QUrl>{};
    }
    void open()
    {
        QFETCH(QString, text);
        QFETCH(QList<QUrl>, opened);
        UrlRecorder recorder;
        TMisc::Open(text);
        QCOMPARE(recorder.opened, opened);
    }
};

QTEST_MAIN(TestOpenUrl)
#include "tst_openurl.moc"
