// The create-catalogue and open-catalogue screens driven through the real
// screen set: creating, listing, opening and deleting catalogue files, with
// their messages, and the way back to the launcher.
#include "common/filefixtures.h"
#include "common/heldopen.h"
#include "common/logcatcher.h"
#include "common/testsupport.h"

#include "app/screenset.h"
#include "app/tfrmavvio.h"
#include "catalogues/tfrmapricatalogo.h"
#include "catalogues/tfrmcreacatalogo.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "core/helptopics.h"
#include "core/programfolder.h"
#include "kit/conventions.h"
#include "kit/picturewidgets.h"
#include "kit/screens.h"
#include "kit/tfrmguida.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

namespace {
const QString kDuplicate = QStringLiteral(
    "Attenzione: il nome del catalogo indicato è già stato utilizzato in precedenza.\r\n\r\nInserire un nome diverso "
    "oppure, se si desidera aprire un catalogo già creato, premere il pulsante Apri catalogo esistente.");
const QString kCreated = QStringLiteral("Il file di archivio relativo al nuovo catalogo è stato creato con successo."
                                        "\r\n\r\nE' ora possibile visualizzarlo nell'elenco dei cataloghi esistenti.");
const QString kEmptyList = QStringLiteral("Attenzione: l'elenco non contiene nessun catalogo.");
const QString kDeleted = QStringLiteral("Il catalogo è stato eliminato con successo.");

/// Types text key by key, also the letters QTest's own typing cannot send.
void type(QWidget *box, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

/// Every path below a folder, to show that nothing was created anywhere.
QStringList tree(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next();
    out.sort();
    return out;
}
} // namespace

class TestCatalogueScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        m_screens = std::make_unique<ScreenSet>();
        Screens::present(m_screens->frmAvvio);
    }
    void cleanup()
    {
        m_screens.reset();
        m_folder.reset();
    }

    void createScreenLayout()
    {
        TfrmCreaCatalogo &crea = openCreate();
        QCOMPARE(crea.windowTitle(), QStringLiteral(" Rilegora - Creazione nuovo catalogo"));
        for (const char *name :
             {"icoIstruzioni", "txtFile", "btnApplica", "btnAnnulla", "imgGuida", "lblFile", "icoMano", "icoIcona02",
              "icoIcona04", "bkgSfondo01", "bkgSfondo02", "bkgSfondo03", "bkgSfondo04", "bkgSfondo05", "bkgFile"})
            QVERIFY2(crea.findChild<QWidget *>(QString::fromLatin1(name)), name);
        QCOMPARE(crea.findChild<QWidget *>(QStringLiteral("icoIstruzioni"))->size(), QSize(710, 120));
        QCOMPARE(control<QLineEdit>(crea, "txtFile")->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(control<QLineEdit>(crea, "txtFile")->font().pointSize(), 16);
        QVERIFY(control<QLineEdit>(crea, "txtFile")->font().bold());
        QCOMPARE(control<QLineEdit>(crea, "txtFile")->maxLength(), 250);
        QVERIFY(control<QLabel>(crea, "lblFile")->isHidden());
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(crea, "txtFile"));
        QCOMPARE(Look::boxColour(control<QLineEdit>(crea, "txtFile")), QColor::fromRgba(Look::Yellow));
    }

    void typedCharactersAreFiltered()
    {
        TfrmCreaCatalogo &crea = openCreate();
        type(control<QLineEdit>(crea, "txtFile"), QStringLiteral("P\"o*e/s:i<a>? \\d°eÇlÑ ç9ñ|0"));
        QCOMPARE(control<QLineEdit>(crea, "txtFile")->text(), QStringLiteral("Poesia del 9|0"));
        QTest::keyClick(control<QLineEdit>(crea, "txtFile"), Qt::Key_Return); // no chain: the focus stays
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(crea, "txtFile"));
        // Pasted text is not filtered (the name check refuses it on Applica).
        control<QLineEdit>(crea, "txtFile")->selectAll();
        control<QLineEdit>(crea, "txtFile")->insert(QStringLiteral("a:b"));
        QCOMPARE(control<QLineEdit>(crea, "txtFile")->text(), QStringLiteral("a:b"));
    }

    void create_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // start of the one message shown
        QTest::addColumn<QString>("created"); // file that must exist afterwards, or empty
        QTest::newRow("blank") << "   "
                               << "Attenzione: per creare l'archivio è necessario indicare il nome"
                               << "";
        QTest::newRow("trimmed") << " \tPoesia  " << kCreated << "Poesia.cat";
        QTest::newRow("accents") << "Città e perché" << kCreated << "Città e perché.cat";
        QTest::newRow("duplicate") << "Narrativa" << kDuplicate << "";
        // Windows tells no letter case apart in file names: there it is the same catalogue.
#ifdef Q_OS_WIN
        QTest::newRow("other case") << "nARRATIVA" << kDuplicate << "";
#else
        QTest::newRow("other case") << "nARRATIVA" << kCreated << "nARRATIVA.cat";
#endif
        // Names that pasting allows and no file system of the program's may hold.
        QTest::newRow("separator") << "Gialli/Noir"
                                   << "Attenzione: il nome del catalogo non può contenere i caratteri"
                                   << "";
        QTest::newRow("backslash up") << "..\\Fuori"
                                      << "Attenzione: il nome del catalogo non può contenere i caratteri"
                                      << "";
        QTest::newRow("parent") << ".."
                                << "Attenzione: il nome del catalogo non può contenere due punti"
                                << "";
        QTest::newRow("drive") << "C:Fuori"
                               << "Attenzione: il nome del catalogo non può contenere i caratteri"
                               << "";
        QTest::newRow("pipe") << "Gialli|Noir"
                              << "Attenzione: il nome del catalogo non può contenere i caratteri"
                              << "";
        QTest::newRow("con") << "con"
                             << "Attenzione: il nome del catalogo indicato è riservato"
                             << "";
        QTest::newRow("Con.txt") << "Con.txt"
                                 << "Attenzione: il nome del catalogo indicato è riservato"
                                 << "";
        QTest::newRow("LPT9") << "LPT9"
                              << "Attenzione: il nome del catalogo indicato è riservato"
                              << "";
        QTest::newRow("nUl") << "nUl"
                             << "Attenzione: il nome del catalogo indicato è riservato"
                             << "";
        QTest::newRow("COM1") << "COM1"
                              << "Attenzione: il nome del catalogo indicato è riservato"
                              << "";
    }
    void create()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, created);
        // The program folder one level down, so that its parent is ours to watch.
        const QString parent = m_folder->path();
        QVERIFY(QDir().mkpath(parent + QStringLiteral("programma")));
        ProgramFolder::setPath(parent + QStringLiteral("programma"));
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Narrativa.cat")), "pagine"));
        const QStringList before = tree(parent);

        TfrmCreaCatalogo &crea = openCreate();
        control<QLineEdit>(crea, "txtFile")->setText(typed);
        MessageCatcher messages;
        QTest::mouseClick(control<PictureButton>(crea, "btnApplica"), Qt::LeftButton);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().startsWith(message), qPrintable(messages.texts().first()));
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Narrativa.cat"))), QByteArray("pagine"));
        if (created.isEmpty()) {
            QCOMPARE(messages.seen().first().icon, QMessageBox::Warning);
            QCOMPARE(tree(parent), before); // nothing created anywhere
            QVERIFY(crea.isVisible());
            QCOMPARE(control<QLineEdit>(crea, "txtFile")->text(), typed);
            QCOMPARE(crea.focusWidget(), control<QLineEdit>(crea, "txtFile"));
            return;
        }
        QCOMPARE(messages.seen().first().icon, QMessageBox::Information);
        const QString path = m_folder->file(created);
        QCOMPARE(control<QLabel>(crea, "lblFile")->text(), path);
        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(QFileInfo(path).size(), 0);
        QCOMPARE(tree(parent).size(), before.size() + 1);
        QVERIFY(!crea.isVisible());
        QVERIFY(m_screens->frmAvvio->isVisible());
    }

    void creationThatFailsLeavesNothing()
    {
        // The program folder is not there (a file stands where a folder of
        // its path should be): the platform refuses, the user reads Italian.
        const QString root = m_folder->path();
        QVERIFY(writeFile(root + QStringLiteral("file")));
        const QStringList before = tree(root);
        TfrmCreaCatalogo &crea = openCreate();
        ProgramFolder::setPath(root + QStringLiteral("file/cartella"));
        control<QLineEdit>(crea, "txtFile")->setText(QStringLiteral("Poesia"));
        MessageCatcher messages;
        LogCatcher log;
        crea.btnApplicaClick();
        ProgramFolder::setPath(root);
        // The cause in the log: the system's, whatever its words.
        QCOMPARE(log.lines().size(), 1);
        QVERIFY2(log.lines().first().startsWith(QStringLiteral("rilegora.catalogues: catalogo ") + root +
                                                QStringLiteral("file/cartella/Poesia.cat non creato: ")),
                 qPrintable(log.lines().first()));
        QVERIFY(!log.lines().first().endsWith(QStringLiteral(" non creato: ") + QFile().errorString()));
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("Attenzione: non è stato possibile creare il file di archivio del nuovo "
                                            "catalogo.\r\n\r\nAccertarsi di possedere i privilegi di scrittura nella "
                                            "cartella di installazione del programma.")});
        QCOMPARE(messages.seen().first().icon, QMessageBox::Critical);
        QVERIFY(crea.isVisible());
        QCOMPARE(tree(root), before);
    }

    void createLeavesForTheLauncher_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Annulla") << false;
        QTest::newRow("close box") << true;
    }
    void createLeavesForTheLauncher()
    {
        QFETCH(bool, closeBox);
        TfrmCreaCatalogo &crea = openCreate();
        control<QLineEdit>(crea, "txtFile")->setText(QStringLiteral("Poesia"));
        if (closeBox)
            crea.close();
        else
            QTest::mouseClick(control<PictureButton>(crea, "btnAnnulla"), Qt::LeftButton);
        QVERIFY(!crea.isVisible());
        QVERIFY(m_screens->frmAvvio->isVisible());
        QVERIFY(tree(m_folder->path()).isEmpty());
        // Shown again, it starts empty.
        QCOMPARE(control<QLineEdit>(openCreate(), "txtFile")->text(), QString());
    }

    void listShowsTheCatalogueFiles()
    {
        TfrmApriCatalogo &apri = openList();
        QCOMPARE(apri.windowTitle(), QStringLiteral(" Rilegora - Apertura catalogo esistente"));
        QVERIFY(apri.entries().isEmpty());
        QCOMPARE(control<QLabel>(apri, "lblCreati")->text(), QStringLiteral("Sono stati creati 0 cataloghi."));
        QCOMPARE(control<QLabel>(apri, "lblMemory")->text(), QStringLiteral("avvio"));
        for (const char *name : {"icoIstruzioni", "sfoBonificiEmessi", "icoMano", "icoIcona04", "bkgSfondo01",
                                 "bkgSfondo06", "lblFile", "lblMemory", "btnApri", "btnAnnulla", "btnElimina"})
            QVERIFY2(apri.findChild<QWidget *>(QString::fromLatin1(name)), name);
        apri.close();

        // Copied in by hand while the screen was away: listed when it shows again.
        for (const char *name : {"poesia.cat", "Narrativa.cat", "Saggi.cat", "note.txt"})
            QVERIFY(writeFile(m_folder->file(QString::fromLatin1(name))));
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Copia/Vecchio.cat"))));
        openList();
        QCOMPARE(apri.entries(), QStringList({QStringLiteral("Narrativa.cat"), QStringLiteral("poesia.cat"),
                                              QStringLiteral("Saggi.cat")}));
        QCOMPARE(control<QLabel>(apri, "lblCreati")->text(), QStringLiteral("Sono stati creati 3 cataloghi."));
        const QListWidgetItem *item = control<QListWidget>(apri, "lstFiles")->item(0);
        QCOMPARE(item->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(item->font().pointSize(), 14);
        QCOMPARE(item->foreground().color(), QColor(Qt::black));
        QCOMPARE(control<QLabel>(apri, "lblCreati")->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(control<QLabel>(apri, "lblCreati")->font().pointSize(), 12);
    }

    void openNeedsAChoice()
    {
        TfrmApriCatalogo &apri = openList();
        MessageCatcher messages;
        QTest::mouseClick(control<PictureButton>(apri, "btnApri"), Qt::LeftButton);
        QTest::mouseClick(control<PictureButton>(apri, "btnElimina"), Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList({kEmptyList, kEmptyList}));
        apri.close();
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Narrativa.cat"))));
        openList();
        messages.clear();
        QTest::mouseClick(control<PictureButton>(apri, "btnApri"), Qt::LeftButton);
        QTest::mouseClick(control<PictureButton>(apri, "btnElimina"), Qt::LeftButton);
        QCOMPARE(messages.texts(),
                 QStringList({QStringLiteral("Attenzione: selezionare il catalogo dall'elenco prima di premere il "
                                             "pulsante Apri archivio."),
                              QStringLiteral("Attenzione: selezionare dall'elenco il catalogo da eliminare prima di "
                                             "fare clic sull'icona del cestino.")}));
        QCOMPARE(messages.seen().at(1).icon, QMessageBox::Warning);
        QVERIFY(apri.isVisible());
        QVERIFY(QFile::exists(m_folder->file(QStringLiteral("Narrativa.cat"))));
    }

    void openHandsTheCatalogueToTheEditor()
    {
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Narrativa.cat"))));
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Poesia.cat"))));
        TfrmListinoPrezzi *editor = m_screens->frmListinoPrezzi;
        control<QLineEdit>(editor, "txtNome_A")->setText(QStringLiteral("rimasto da prima"));
        TfrmApriCatalogo &apri = openList();
        QVERIFY(apri.selectEntry(QStringLiteral("Poesia.cat")));
        QTest::mouseClick(control<PictureButton>(apri, "btnApri"), Qt::LeftButton);
        QVERIFY(!apri.isVisible());
        QVERIFY(editor->isVisible());
        QVERIFY(!m_screens->frmAvvio->isVisible());
        QCOMPARE(control<QLabel>(editor, "lblFile")->text(), m_folder->file(QStringLiteral("Poesia.cat")));
        QCOMPARE(control<QLabel>(editor, "lblNome")->text(), QStringLiteral("Poesia"));
        QCOMPARE(control<QLineEdit>(editor, "txtNome_A")->text(), QString()); // a blank page
        QCOMPARE(control<QLabel>(editor, "lblPosizione")->text(), QString());
        MessageCatcher messages;
        editor->cmdUltimoClick();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("L'archivio non contiene nessuna scheda.")});
        // Leaving the editor goes to the launcher, not back to the list.
        editor->close();
        QVERIFY(m_screens->frmAvvio->isVisible());
        QVERIFY(!apri.isVisible());
    }

    void listLeavesForTheLauncher()
    {
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Narrativa.cat"))));
        TfrmApriCatalogo &apri = openList();
        apri.selectEntry(QStringLiteral("Narrativa.cat"));
        apri.close(); // the close box, with an entry selected
        QVERIFY(m_screens->frmAvvio->isVisible());
        QVERIFY(!m_screens->frmListinoPrezzi->isVisible());
        openList();
        QTest::mouseClick(control<PictureButton>(apri, "btnAnnulla"), Qt::LeftButton);
        QVERIFY(m_screens->frmAvvio->isVisible());
        QVERIFY(!apri.isVisible());
    }

    void deleteAsksAndKeepsThePictures()
    {
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Narrativa.cat")), QByteArray(5000, 'x')));
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Foto_Gruppo/Narrativa_Foto_A_1.jpg")), "jpeg"));
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Foto_Gruppo/Narrativa_Anteprima_A.jpg")), "jpeg"));
        TfrmApriCatalogo &apri = openList();
        apri.selectEntry(QStringLiteral("Narrativa.cat"));
        MessageCatcher messages;
        messages.answerNext(QMessageBox::No);
        QTest::mouseClick(control<PictureButton>(apri, "btnElimina"), Qt::LeftButton);
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("Si sta per eliminare il catalogo selezionato. Si ricorda che il file "
                                            "eliminato non potrà essere recuperato.\r\n\r\nSi conferma "
                                            "l'eliminazione dell'archivio?")});
        QCOMPARE(messages.seen().first().icon, QMessageBox::Question);
        QCOMPARE(messages.seen().first().buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(QFile::exists(m_folder->file(QStringLiteral("Narrativa.cat"))));
        QCOMPARE(apri.entries(), QStringList{QStringLiteral("Narrativa.cat")});

        messages.clear();
        QTest::mouseClick(control<PictureButton>(apri, "btnElimina"), Qt::LeftButton); // answered Yes
        QCOMPARE(messages.texts().last(), kDeleted);
        QCOMPARE(messages.seen().last().icon, QMessageBox::Information);
        QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("Narrativa.cat"))));
        QVERIFY(apri.entries().isEmpty());
        QCOMPARE(control<QLabel>(apri, "lblCreati")->text(), QStringLiteral("Sono stati creati 0 cataloghi."));
        QCOMPARE(control<QLabel>(apri, "lblMemory")->text(), QStringLiteral("avvio"));
        QCOMPARE(control<QLabel>(apri, "lblFile")->text(), QString());
        QCOMPARE(QDir(m_folder->file(QStringLiteral("Foto_Gruppo"))).entryList(QDir::Files).size(), 2);
        QVERIFY(apri.isVisible());
    }

    void failedDeletionIsReported()
    {
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Narrativa.cat"))));
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Poesia.cat"))));
        TfrmApriCatalogo &apri = openList();
        apri.selectEntry(QStringLiteral("Narrativa.cat"));
        // Meanwhile a folder has taken the file's place.
        QVERIFY(QFile::remove(m_folder->file(QStringLiteral("Narrativa.cat"))));
        QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("Narrativa.cat/dentro"))));
        MessageCatcher messages;
        LogCatcher log;
        apri.btnEliminaClick();
        QCOMPARE(log.lines().size(), 1);
        QVERIFY2(log.lines().first().startsWith(QStringLiteral("rilegora.catalogues: catalogo ") +
                                                m_folder->file(QStringLiteral("Narrativa.cat non eliminato: "))),
                 qPrintable(log.lines().first()));
        QVERIFY(!log.lines().first().endsWith(QStringLiteral(" non eliminato: ") + QFile().errorString()));
        QCOMPARE(messages.texts().size(), 2);
        QCOMPARE(messages.texts().last(),
                 QStringLiteral("Attenzione: non è stato possibile eliminare il catalogo selezionato.\r\n\r\nIl file "
                                "potrebbe essere in uso da parte di un altro programma: chiudere il programma e "
                                "riprovare."));
        QCOMPARE(messages.seen().last().icon, QMessageBox::Critical);
        QVERIFY(QFileInfo(m_folder->file(QStringLiteral("Narrativa.cat/dentro"))).isDir());
        QCOMPARE(apri.entries(), QStringList{QStringLiteral("Poesia.cat")}); // what the folder holds
        QCOMPARE(control<QLabel>(apri, "lblCreati")->text(), QStringLiteral("Sono stati creati 1 cataloghi."));

        // A catalogue already gone counts as deleted.
        apri.selectEntry(QStringLiteral("Poesia.cat"));
        QVERIFY(QFile::remove(m_folder->file(QStringLiteral("Poesia.cat"))));
        messages.clear();
        apri.btnEliminaClick();
        QCOMPARE(messages.texts().last(), kDeleted);
        QVERIFY(apri.entries().isEmpty());
    }

    void catalogueHeldOpenIsNotDeleted()
    {
        // Another program (a viewer, a backup) has the catalogue open.
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Narrativa.cat")), "pagine"));
        HeldOpen other(m_folder->file(QStringLiteral("Narrativa.cat")));
        if (!other.held())
            QSKIP(HELD_OPEN_REASON);
        TfrmApriCatalogo &apri = openList();
        apri.selectEntry(QStringLiteral("Narrativa.cat"));
        MessageCatcher messages;
        apri.btnEliminaClick();
        QCOMPARE(messages.texts().size(), 2);
        QVERIFY2(messages.texts().last().startsWith(
                     QStringLiteral("Attenzione: non è stato possibile eliminare il catalogo selezionato.")),
                 qPrintable(messages.texts().last()));
        QCOMPARE(messages.seen().last().icon, QMessageBox::Critical);
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Narrativa.cat"))), QByteArray("pagine"));
        QCOMPARE(apri.entries(), QStringList{QStringLiteral("Narrativa.cat")});
    }

    void entryNamesTheFileExactly()
    {
        // Copied in by hand with a blank in front: deleting and opening it
        // act on that file, never on its neighbour without the blank.
        QVERIFY(writeFile(m_folder->file(QStringLiteral(" Poesia.cat")), "uno"));
        QVERIFY(writeFile(m_folder->file(QStringLiteral("Poesia.cat")), "due"));
        TfrmApriCatalogo &apri = openList();
        QCOMPARE(apri.entries(), QStringList({QStringLiteral(" Poesia.cat"), QStringLiteral("Poesia.cat")}));
        apri.selectEntry(QStringLiteral(" Poesia.cat"));
        apri.btnApriClick();
        QCOMPARE(control<QLabel>(m_screens->frmListinoPrezzi, "lblFile")->text(),
                 m_folder->file(QStringLiteral(" Poesia.cat")));
        m_screens->frmListinoPrezzi->close();
        openList();
        apri.selectEntry(QStringLiteral(" Poesia.cat"));
        MessageCatcher messages;
        apri.btnEliminaClick();
        QCOMPARE(messages.texts().last(), kDeleted);
        QVERIFY(!QFile::exists(m_folder->file(QStringLiteral(" Poesia.cat"))));
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Poesia.cat"))), QByteArray("due"));
    }

    void helpTopic_data()
    {
        QTest::addColumn<bool>("create");
        QTest::newRow("create") << true;
        QTest::newRow("list") << false;
    }
    void helpTopic()
    {
        QFETCH(bool, create);
        QString title, body;
        whenOpen<TfrmGuida>([&](TfrmGuida *help) {
            title = control<QLabel>(help, "lblTitolo")->text();
            body = control<QPlainTextEdit>(help, "txtGuida")->toPlainText();
            help->close();
        });
        if (create)
            QTest::mouseClick(control<PictureButton>(openCreate(), "imgGuida"), Qt::LeftButton);
        else
            QTest::mouseClick(control<PictureButton>(openList(), "imgGuida"), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Creazione e apertura cataloghi"));
        QCOMPARE(body, HelpTopics::cataloghi().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

private:
    TfrmCreaCatalogo &openCreate()
    {
        QTest::mouseClick(control<PictureButton>(m_screens->frmAvvio, "btnApp02"), Qt::LeftButton);
        if (!QTest::qWaitForWindowActive(m_screens->frmCreaCatalogo))
            qWarning("screen not active");
        return *m_screens->frmCreaCatalogo;
    }
    TfrmApriCatalogo &openList()
    {
        if (!m_screens->frmAvvio->isVisible())
            Screens::present(m_screens->frmAvvio);
        QTest::mouseClick(control<PictureButton>(m_screens->frmAvvio, "btnApp03"), Qt::LeftButton);
        if (!QTest::qWaitForWindowActive(m_screens->frmApriCatalogo))
            qWarning("screen not active");
        return *m_screens->frmApriCatalogo;
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<ScreenSet> m_screens;
};

QTEST_MAIN(TestCatalogueScreens)
#include "tst_cataloguescreens.moc"
