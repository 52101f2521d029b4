// The import window driven as a user drives it: opened from the export
// screen, a file chosen, a column's field changed, the import confirmed and
// its summary read; bad files, a full disk and a cancel leave the archive
// exactly as it was.
#include "common/filefixtures.h"
#include "common/filesizelimit.h"
#include "common/logcatcher.h"
#include "common/testsupport.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/writelock.h"
#include "kit/filechooser.h"
#include "kit/picturewidgets.h"
#include "output/tfrmexplibri.h"
#include "output/tfrmimportalibri.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTest>

namespace {
void writeArchive(const QList<QPair<QString, QString>> &titleAndIsbn)
{
    BookArchive archive;
    QVERIFY(archive.open());
    for (const auto &[title, isbn] : titleAndIsbn) {
        TSchedaLibro card;
        card.setText(TSchedaLibro::Titolo, title);
        card.setText(TSchedaLibro::ISBN, isbn);
        QVERIFY(archive.append(card) > 0);
    }
    QVERIFY(archive.close());
}

QString writeFile(const TempProgramFolder &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder.file(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

// Picks the box's item with the given text, as a click on it does.
void choose(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

const QString kUnchanged = QStringLiteral("\r\n\r\nL'archivio non \u00E8 stato modificato.");
} // namespace

class TestTfrmImportaLibri : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void importFromTheExportScreen();
    void badFilesTouchNothing_data();
    void badFilesTouchNothing();
    void anotherFileReplacesTheFirst();
    void fullDiskLeavesTheArchiveAsItWas();
    void cancelLeavesTheArchiveAsItWas();
    void busyArchiveTouchesNothing();
};

// The whole path: the export screen's button, the window's controls, a
// column whose name matched nothing given a field by the user, a field taken
// from another column, the question, the summary with its reasons, and the
// export grid showing the new cards after its own, with its edits kept.
void TestTfrmImportaLibri::importFromTheExportScreen()
{
    TempProgramFolder folder;
    writeArchive({{QStringLiteral("Gi\u00E0 in archivio"), QStringLiteral("9788804123456")}});
    const QString path = writeFile(folder, QStringLiteral("stock.csv"),
                                   "Titolo;Autore;Reparto;EAN;Prezzo \x80\r\n"
                                   "Il nome della rosa;Eco;Narrativa;978-88-04-12345-6;12,00\r\n"
                                   "Se una notte d'inverno;Calvino;Narrativa;9788806000000;9,50\r\n"
                                   ";Senza titolo;Saggi;;\r\n"
                                   "Storia \xABlunga\xBB " +
                                       QByteArray(130, 'x') + ";Anonimo;Storia;;1\x80\r\n");

    TfrmExpLibri screen;
    screen.show();
    QVERIFY(screen.model()->setData(screen.model()->index(0, 22), QStringLiteral("nota in griglia")));
    QCOMPARE(control<PictureButton>(screen, "cmdImporta")->cursor().shape(), Qt::PointingHandCursor);

    MessageCatcher catcher;
    bool checked = false;
    whenOpen<TfrmImportaLibri>([&](TfrmImportaLibri *w) {
        checked = true;
        QCOMPARE(w->windowTitle(), QStringLiteral(" Importa schede da un foglio di calcolo"));
        QCOMPARE(w->parentWidget(), &screen);
        QVERIFY(w->isModal());
        QVERIFY(control<QCheckBox>(w, "chkSaltaISBN")->isChecked());
        QCOMPARE(control<QLabel>(w, "panInfo")->text(), QStringLiteral("Importazione schede da un foglio di calcolo."));
        for (QWidget *command : {static_cast<QWidget *>(control<QPushButton>(w, "btnSfoglia")),
                                 static_cast<QWidget *>(control<QPushButton>(w, "cmdImporta")),
                                 static_cast<QWidget *>(control<QPushButton>(w, "cmdAnnulla"))})
            QCOMPARE(command->cursor().shape(), Qt::PointingHandCursor);

        FileChooser::answerNext(path);
        QTest::mouseClick(control<QPushButton>(w, "btnSfoglia"), Qt::LeftButton);
        QCOMPARE(control<QLabel>(w, "lblFile")->text(), QDir::toNativeSeparators(path));
        QVERIFY(control<QCheckBox>(w, "chkIntestazione")->isChecked());
        const QStringList expected = {QStringLiteral("Titolo libro"), QStringLiteral("Autore"),
                                      QStringLiteral("Non importare"), QStringLiteral("ISBN"),
                                      QStringLiteral("Prezzo")};
        for (int c = 0; c < 5; ++c) {
            QComboBox *box =
                w->findChild<QComboBox *>(QStringLiteral("cboCampo%1").arg(c + 1, 2, 10, QLatin1Char('0')));
            QVERIFY(box && box == w->fieldBox(c));
            QCOMPARE(box->currentText(), expected.at(c));
        }
        QCOMPARE(control<QTableWidget>(w, "grdAnteprima")->item(1, 0)->text(), QStringLiteral("Il nome della rosa"));
        QCOMPARE(control<QTableWidget>(w, "grdAnteprima")->item(2, 4)->text(), QStringLiteral("9,50"));

        // A field goes to one column only; with no title column nothing is imported.
        choose(w->fieldBox(1), QStringLiteral("Titolo libro"));
        QCOMPARE(w->fieldBox(0)->currentText(), QStringLiteral("Non importare"));
        choose(w->fieldBox(1), QStringLiteral("Autore"));
        w->cmdImportaClick();
        QCOMPARE(catcher.texts().value(0), QStringLiteral("Scegliere la colonna che contiene il titolo del libro: "
                                                          "una scheda senza titolo non pu\u00F2 essere importata."));
        catcher.clear();
        choose(w->fieldBox(0), QStringLiteral("Titolo libro"));
        choose(w->fieldBox(2), QStringLiteral("Genere"));

        catcher.answerNext(QMessageBox::Yes);
        QTest::mouseClick(control<QPushButton>(w, "cmdImporta"), Qt::LeftButton);
    });
    QTest::mouseClick(control<PictureButton>(screen, "cmdImporta"), Qt::LeftButton);
    QVERIFY(checked);
    QCOMPARE(catcher.texts(),
             QStringList({QStringLiteral("Il file contiene 4 righe da importare come nuove schede in fondo "
                                         "all'archivio.\r\n\r\nSi vuole procedere con l'importazione?"),
                          QStringLiteral("Sono state importate 2 schede.\r\n\r\nRighe saltate: 2\r\n"
                                         "- senza titolo: 1\r\n- ISBN gi\u00E0 presente in archivio: 1\r\n\r\n"
                                         "Schede con testi tagliati alla lunghezza del campo: 1")}));
    QVERIFY(screen.findChildren<TfrmImportaLibri *>().isEmpty());

    BookArchive archive;
    QVERIFY(archive.open());
    QCOMPARE(archive.count(), 3);
    TSchedaLibro card;
    QVERIFY(archive.read(2, card));
    QCOMPARE(card.text(TSchedaLibro::Titolo), QStringLiteral("Se una notte d'inverno"));
    QCOMPARE(card.text(TSchedaLibro::Genere), QStringLiteral("Narrativa"));
    QVERIFY(archive.read(3, card));
    QCOMPARE(card.bytes(TSchedaLibro::Titolo).size(), 120);
    QVERIFY(card.text(TSchedaLibro::Titolo).startsWith(QStringLiteral("Storia \u00ABlunga\u00BB xxx")));
    QCOMPARE(card.text(TSchedaLibro::Prezzo), QStringLiteral("1\u20AC"));
    archive.close();

    QAbstractItemModel *grid = control<QTableView>(screen, "grdRecords")->model();
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->index(1, 1).data().toString(), QStringLiteral("Se una notte d'inverno"));
    QCOMPARE(grid->index(0, 22).data().toString(), QStringLiteral("nota in griglia"));
}

void TestTfrmImportaLibri::badFilesTouchNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray()
                           << QStringLiteral("Il file \u00E8 vuoto: non contiene nessuna riga da importare.");
    QTest::newRow("workbook") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12)
                              << QStringLiteral("Il file non \u00E8 un foglio di calcolo salvato come testo.\r\n\r\n"
                                                "Aprirlo con Excel o con LibreOffice Calc, salvarlo in formato CSV "
                                                "(valori separati da punto e virgola) e importare il file CSV.");
    QTest::newRow("not a table") << QByteArray("Caro amico,\nti scrivo.\n")
                                 << QStringLiteral("Il file non contiene una tabella: le sue righe non sono divise in "
                                                   "colonne da punto e virgola, virgola o tabulazione.");
    QTest::newRow("missing") << QByteArray("(none)")
                             << QStringLiteral("Il file non pu\u00F2 essere letto.\r\n\r\n"
                                               "Accertarsi che il file esista e che non sia "
                                               "aperto in un altro programma.");
    QTest::newRow("row wider than the header")
        << QByteArray("Titolo;Autore\nA;B\nC;D;E\n")
        << QStringLiteral("La riga 3 del file ha pi\u00F9 colonne dell'intestazione (3 invece di 2).\r\n\r\n"
                          "Correggere il file, oppure togliere il segno da \"La prima riga contiene i nomi delle "
                          "colonne\".");
}

void TestTfrmImportaLibri::badFilesTouchNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TempProgramFolder folder;
    writeArchive({{QStringLiteral("Primo"), QString()}});
    const QByteArray before = readFile(BookArchive::path());
    const QString path = bytes == "(none)" ? folder.file(QStringLiteral("mancante.csv"))
                                           : writeFile(folder, QStringLiteral("file.csv"), bytes);
    TfrmImportaLibri w;
    w.show();
    MessageCatcher catcher;
    FileChooser::answerNext(path);
    w.btnSfogliaClick();
    if (catcher.seen().isEmpty()) {
        catcher.answerNext(QMessageBox::Yes);
        w.cmdImportaClick();
    }
    QCOMPARE(catcher.texts(), QStringList{message});
    QCOMPARE(catcher.seen().at(0).icon, QMessageBox::Warning);
    QCOMPARE(readFile(BookArchive::path()), before);
    QCOMPARE(w.importedCount(), 0);
}

// A bad file leaves the window with the file it had; a good one replaces
// the columns and their boxes.
void TestTfrmImportaLibri::anotherFileReplacesTheFirst()
{
    TempProgramFolder folder;
    TfrmImportaLibri w;
    w.show();
    const QString wide = writeFile(folder, QStringLiteral("largo.csv"), "Titolo;Autore;Anno;Editore\nA;B;1;C\n");
    QVERIFY(w.loadFile(wide));
    QCOMPARE(w.findChildren<QComboBox *>().size(), 4);
    {
        MessageCatcher catcher;
        QVERIFY(!w.loadFile(writeFile(folder, QStringLiteral("vuoto.csv"), QByteArray())));
        QCOMPARE(catcher.seen().size(), 1);
    }
    QCOMPARE(control<QLabel>(w, "lblFile")->text(), QDir::toNativeSeparators(wide));
    QCOMPARE(w.fieldBox(3)->currentText(), QStringLiteral("Casa editrice"));

    // Without a header row the columns are named by number and fill nothing yet.
    QVERIFY(w.loadFile(writeFile(folder, QStringLiteral("stretto.csv"), "Primo libro;Rossi\nSecondo;Bianchi\n")));
    QCOMPARE(w.findChildren<QComboBox *>().size(), 2);
    QVERIFY(w.findChild<QComboBox *>(QStringLiteral("cboCampo02")));
    QVERIFY(!control<QCheckBox>(w, "chkIntestazione")->isChecked());
    QCOMPARE(w.fieldBox(0)->currentText(), QStringLiteral("Non importare"));
    QCOMPARE(control<QTableWidget>(w, "grdAnteprima")->horizontalHeaderItem(1)->text(), QStringLiteral("Colonna 2"));
    QCOMPARE(control<QTableWidget>(w, "grdAnteprima")->item(1, 0)->text(), QStringLiteral("Primo libro"));
    QCOMPARE(control<QTableWidget>(w, "grdAnteprima")->rowCount(), 3);
    control<QCheckBox>(w, "chkIntestazione")->setChecked(true);
    QCOMPARE(control<QTableWidget>(w, "grdAnteprima")->horizontalHeaderItem(1)->text(), QStringLiteral("Rossi"));
    QCOMPARE(control<QTableWidget>(w, "grdAnteprima")->rowCount(), 2);
    QCOMPARE(control<QTableWidget>(w, "grdAnteprima")->cellWidget(0, 1), w.fieldBox(1));
}

// A disk that fills up during the import: the access message, the archive
// cut back to what it was, and the cause in the log.
void TestTfrmImportaLibri::fullDiskLeavesTheArchiveAsItWas()
{
#ifdef Q_OS_WIN
    QSKIP(FILE_SIZE_LIMIT_REASON);
#else
    TempProgramFolder folder;
    writeArchive({{QStringLiteral("Primo"), QString()}, {QStringLiteral("Secondo"), QString()}});
    const QByteArray before = readFile(BookArchive::path());
    QByteArray csv = "Titolo;Autore\n";
    for (int i = 0; i < 2000; ++i)
        csv += "Libro " + QByteArray::number(i) + ";Autore\n";
    TfrmImportaLibri w;
    w.show();
    QVERIFY(w.loadFile(writeFile(folder, QStringLiteral("grande.csv"), csv)));
    MessageCatcher catcher;
    catcher.answerNext(QMessageBox::Yes);
    LogCatcher log;
    {
        FileSizeLimit limit(rlim_t(before.size()) + 300 * TSchedaLibro::RecordSize);
        w.cmdImportaClick();
    }
    QCOMPARE(log.of("rilegora.output"),
             QStringList{QStringLiteral("importazione in %1 non riuscita: File too large").arg(BookArchive::path())});
    QCOMPARE(catcher.texts().value(1), BookArchive::accessFailureMessage());
    QCOMPARE(catcher.seen().value(1).icon, QMessageBox::Critical);
    QCOMPARE(readFile(BookArchive::path()), before);
    QCOMPARE(w.importedCount(), 0);
#endif
}

// Annulla in the progress window stops the import; nothing is kept.
void TestTfrmImportaLibri::cancelLeavesTheArchiveAsItWas()
{
    TempProgramFolder folder;
    writeArchive({{QStringLiteral("Primo"), QString()}});
    const QByteArray before = readFile(BookArchive::path());
    QByteArray csv = "Titolo;Autore\n";
    for (int i = 0; i < 20000; ++i)
        csv += "Libro " + QByteArray::number(i) + ";Autore\n";
    TfrmImportaLibri w;
    w.show();
    QVERIFY(w.loadFile(writeFile(folder, QStringLiteral("grande.csv"), csv)));
    MessageCatcher catcher;
    catcher.answerNext(QMessageBox::Yes);
    QTimer cancel;
    connect(&cancel, &QTimer::timeout, [&] {
        if (QProgressDialog *progress = w.progress())
            progress->cancel();
    });
    cancel.start(0);
    w.cmdImportaClick();
    QCOMPARE(catcher.texts().value(1), QStringLiteral("Importazione annullata.") + kUnchanged);
    QCOMPARE(readFile(BookArchive::path()), before);
}

// Another workstation saving all the while: the busy message after the
// wait, nothing written; once it is done, the import goes through.
void TestTfrmImportaLibri::busyArchiveTouchesNothing()
{
    TempProgramFolder folder;
    writeArchive({{QStringLiteral("Primo"), QString()}});
    const QByteArray before = readFile(BookArchive::path());
    TfrmImportaLibri w;
    w.show();
    QVERIFY(w.loadFile(writeFile(folder, QStringLiteral("libri.csv"), "Titolo;Autore\nNuovo;Autore\n")));
    const int wait = WriteLock::waitTime();
    WriteLock::setWaitTime(300);
    const auto restore = qScopeGuard([wait] { WriteLock::setWaitTime(wait); });
    {
        WriteLock other(BookArchive::path());
        QVERIFY(other.take());
        MessageCatcher catcher;
        catcher.answerNext(QMessageBox::Yes);
        w.cmdImportaClick();
        QCOMPARE(catcher.texts().value(1), WriteLock::busyMessage());
        QCOMPARE(readFile(BookArchive::path()), before);
    }
    MessageCatcher catcher;
    catcher.answerNext(QMessageBox::Yes);
    w.cmdImportaClick();
    QCOMPARE(w.importedCount(), 1);
    QVERIFY(!QFile::exists(WriteLock::lockPathFor(BookArchive::path())));
}

QTEST_MAIN(TestTfrmImportaLibri)
#include "tst_tfrmimportalibri.moc"
