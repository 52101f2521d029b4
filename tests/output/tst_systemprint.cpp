// Each report printed through the system's print dialog, with its defaults,
// to the real default printer: a cups-pdf queue that run-tests.sh sets up and
// names in RILEGORA_PRINTER_QUEUE. The job's own document, kept in the CUPS
// spool, carries the text; the PDF that cups-pdf writes gives the pages.
#include "common/editorstandin.h"
#include "common/pdftext.h"
#include "common/testsupport.h"

#include "books/tfrmlibri.h"
#include "catalogues/tfrmstampaprodotto.h"
#include "output/listreport.h"
#include "output/tfrmstampalibri.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

/// The numbers of the queue's jobs, finished or not.
QList<int> jobs(const QString &queue)
{
    QList<int> ids;
    const QRegularExpression id(QStringLiteral("^%1-(\\d+)\\s").arg(QRegularExpression::escape(queue)),
                                QRegularExpression::MultilineOption);
    for (auto m = id.globalMatch(
             run(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), queue}));
         m.hasNext();)
        ids << m.next().captured(1).toInt();
    return ids;
}

/// Accepts the next print dialog as it opens, changing nothing.
void acceptPrintDialog()
{
    whenOpen<QPrintDialog>([](QPrintDialog *dialog) { dialog->accept(); });
}

} // namespace

class TestSystemPrint : public QObject
{
    Q_OBJECT

private:
    QString m_queue;
    QList<int> m_before;

    /// Waits for the one job printed since the test began; returns the text
    /// of its spooled document and the page count of the PDF written for it.
    void checkJob(const QStringList &expectedText, int expectedPages)
    {
        QList<int> added;
        QElapsedTimer waited;
        waited.start();
        do {
            added.clear();
            for (int id : jobs(m_queue))
                if (!m_before.contains(id))
                    added << id;
        } while (added.isEmpty() && waited.elapsed() < 10000);
        QCOMPARE(added.size(), 1);
        const int job = added.first();

        const QString spooled = QStringLiteral("/var/spool/cups/d%1-001").arg(job, 5, 10, QLatin1Char('0'));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(spooled), 10000);
        const PdfText text = PdfText::read(spooled);
        QVERIFY2(text.error.isEmpty(), qPrintable(text.error));
        QCOMPARE(text.pages.size(), expectedPages);
        QString all;
        for (const PdfText::Page &page : text.pages)
            all += page.all() + QLatin1Char('\n');
        for (const QString &expected : expectedText)
            QVERIFY2(all.contains(expected), qPrintable(expected));

        // cups-pdf writes <title>-job_<n>.pdf into the submitting user's PDF folder.
        const QString pattern = QStringLiteral("*job_%1.pdf").arg(job);
        QString written;
        QElapsedTimer t;
        t.start();
        while (written.isEmpty() && t.elapsed() < 60000) {
            for (const QString &folder : {QDir::homePath() + QStringLiteral("/PDF"), QStringLiteral("/root/PDF"),
                                          QStringLiteral("/var/spool/cups-pdf/ANONYMOUS")}) {
                const QStringList found = QDir(folder).entryList({pattern}, QDir::Files);
                if (!found.isEmpty())
                    written = folder + QLatin1Char('/') + found.first();
            }
            if (written.isEmpty())
                QTest::qWait(200);
        }
        QVERIFY2(!written.isEmpty(), "cups-pdf wrote no PDF for the job");
        QTRY_VERIFY_WITH_TIMEOUT(run(QStringLiteral("pdfinfo"), {written}).contains(QStringLiteral("Pages:")), 20000);
        const QString info = run(QStringLiteral("pdfinfo"), {written});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(expectedPages))),
                 qPrintable(info));
    }

private slots:
    void initTestCase()
    {
        prepareScreenTests();
#ifdef Q_OS_WIN
        QSKIP("the Windows print dialog is the system's own window, which no test can answer; "
              "tools/test-windows.sh prints through the Windows print path with rilegora-print");
#endif
        m_queue = qEnvironmentVariable("RILEGORA_PRINTER_QUEUE");
        if (m_queue.isEmpty())
            QSKIP("no print system set up (run-tests.sh sets RILEGORA_PRINTER_QUEUE)");
        QCOMPARE(QPrinterInfo::defaultPrinterName(), m_queue);
    }
    void init() { m_before = jobs(m_queue); }

    void bookCard()
    {
        TempProgramFolder folder;
        TfrmLibri libri;
        libri.show();
        control<QLineEdit>(libri, "txtTitolo")->setText(QStringLiteral("Scheda [di prova]"));
        control<QLineEdit>(libri, "txtAutore")->setText(QStringLiteral("Autore della prova"));
        whenOpen<TfrmStampaLibri>([](TfrmStampaLibri *w) {
            acceptPrintDialog();
            control<QPushButton>(w, "btnStampa")->click();
        });
        MessageCatcher messages;
        libri.cmdStampaClick();
        QVERIFY(messages.seen().isEmpty());
        checkJob({QStringLiteral("Scheda [di prova]"), QStringLiteral("Autore della prova"), QStringLiteral("AUTORE")},
                 1);
    }

    void cataloguePage()
    {
        EditorStandIn editor;
        editor.fill();
        TfrmStampaProdotto w(&editor);
        w.setPage(editor.printedPage());
        w.show();
        acceptPrintDialog();
        MessageCatcher messages;
        control<QPushButton>(w, "btnStampa")->click();
        QVERIFY(messages.seen().isEmpty());
        checkJob({QStringLiteral("Narrativa"), QStringLiteral("Nome_A"), QStringLiteral("Prezzo_H")}, 1);
    }

    void listOfTwoPages()
    {
        QStringList rows;
        for (int i = 1; i <= 100; ++i)
            rows << QStringLiteral("riga numero %1").arg(i);
        acceptPrintDialog();
        ListReport::print(nullptr, QStringLiteral("Riepilogo libri in archivio"), rows);
        checkJob({QStringLiteral("Riepilogo libri in archivio"), QStringLiteral("riga numero 100"),
                  QStringLiteral("Stampa eseguita in data")},
                 2);
    }

    void cancelledDialogSendsNoJob()
    {
        whenOpen<QPrintDialog>([](QPrintDialog *dialog) { dialog->reject(); });
        MessageCatcher messages;
        ListReport::print(nullptr, QStringLiteral("Riepilogo"), {QStringLiteral("una riga")});
        QTest::qWait(500);
        QCOMPARE(jobs(m_queue), m_before);
        QVERIFY(messages.seen().isEmpty());
    }
};

QTEST_MAIN(TestSystemPrint)
#include "tst_systemprint.moc"
