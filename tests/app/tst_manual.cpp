// The manual Guida.pdf is written beside the program by the build.
#include <QFile>
#include <QTest>

class TestManual : public QObject
{
    Q_OBJECT

private slots:
    void manualBesideTheProgram()
    {
        QFile manual(QStringLiteral(RILEGORA_MANUAL));
        QVERIFY2(manual.exists(), RILEGORA_MANUAL);
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QByteArray pdf = manual.readAll();
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        // A title page and at least one page for each of the five topics.
        const qsizetype pages = pdf.count("/Type /Page") - pdf.count("/Type /Pages");
        QVERIFY2(pages >= 6, QByteArray::number(qlonglong(pages)));
    }
};

QTEST_GUILESS_MAIN(TestManual)
#include "tst_manual.moc"
