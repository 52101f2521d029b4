// The attachments dialog: layout, copying into Documenti_Allegati with the
// overwrite question, opening, clearing, and the hand-back to the card screen.
#include "books/tfrmallegacartella.h"
#include "books/tfrmlibri.h"
#include "common/hostilefiles.h"
#include "common/testsupport.h"
#include "common/urlrecorder.h"
#include "core/bookarchive.h"
#include "kit/filechooser.h"
#include "kit/picturewidgets.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString questionText =
    QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome.\r\n\r\n"
                   "Si vuole sovrascrivere il file esistente?");

} // namespace

class TestAllegaCartella : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareScreenTests(); }
    void init()
    {
        FileChooser::requests().clear();
        m_folder = std::make_unique<TempProgramFolder>();
        m_dialog = std::make_unique<TfrmAllegaCartella>();
    }
    void cleanup()
    {
        m_dialog.reset();
        m_folder.reset();
    }

    void layoutAndTabOrder()
    {
        TfrmAllegaCartella &d = *m_dialog;
        QCOMPARE(d.objectName(), QStringLiteral("TfrmAllegaCartella"));
        QCOMPARE(d.windowTitle(), QStringLiteral(" Allega file"));
        QCOMPARE(d.size(), QSize(634, 534));
        QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(control<QLabel>(d, "lblMemory")->isHidden());
        QStringList captions;
        for (auto *label : d.findChildren<QLabel *>())
            captions << label->text();
        for (const char *text :
             {"Nome 1° file allegato:", "Nome 2° file allegato:", "Nome 3° file allegato:",
              "Descrizione 1° file allegato:", "Descrizione 2° file allegato:", "Descrizione 3° file allegato:"})
            QVERIFY2(captions.contains(QString::fromUtf8(text)), text);
        QCOMPARE(control<QPushButton>(d, "btnSfoglia02")->text(), QStringLiteral("Sfoglia..."));
        QCOMPARE(control<QPushButton>(d, "btnApri03")->text(), QStringLiteral("Apri"));
        QCOMPARE(control<QPushButton>(d, "btnApplica")->text(), QStringLiteral("Applica e chiudi"));
        QCOMPARE(control<QPushButton>(d, "btnAnnulla")->text(), QStringLiteral("Annulla"));
        for (QPushButton *open : {control<QPushButton>(d, "btnApri01"), control<QPushButton>(d, "btnApri02"),
                                  control<QPushButton>(d, "btnApri03")})
            QVERIFY(!open->isEnabled());
        QVERIFY(control<QLineEdit>(d, "txtFile01")->isReadOnly());
        QVERIFY(control<QPushButton>(d, "btnAnnulla")->geometry().right() <
                control<QPushButton>(d, "btnApplica")->geometry().left());
        QVERIFY(control<PictureButton>(d, "imgCancella01")->geometry().left() >
                control<QLineEdit>(d, "txtFile01")->geometry().right());
        // Everything lies inside the window.
        for (QWidget *w : d.findChildren<QWidget *>())
            QVERIFY2(!w->isVisibleTo(&d) ||
                         QRect(QPoint(), d.size()).contains(QRect(w->mapTo(&d, QPoint()), w->size())),
                     qPrintable(w->objectName()));

        // Tab order: name, Sfoglia, Apri, description per slot, then the exits.
        for (QPushButton *open : {control<QPushButton>(d, "btnApri01"), control<QPushButton>(d, "btnApri02"),
                                  control<QPushButton>(d, "btnApri03")})
            open->setEnabled(true);
        const QList<QWidget *> expected = {
            control<QLineEdit>(d, "txtFile01"),    control<QPushButton>(d, "btnSfoglia01"),
            control<QPushButton>(d, "btnApri01"),  control<QLineEdit>(d, "txtDesc01"),
            control<QLineEdit>(d, "txtFile02"),    control<QPushButton>(d, "btnSfoglia02"),
            control<QPushButton>(d, "btnApri02"),  control<QLineEdit>(d, "txtDesc02"),
            control<QLineEdit>(d, "txtFile03"),    control<QPushButton>(d, "btnSfoglia03"),
            control<QPushButton>(d, "btnApri03"),  control<QLineEdit>(d, "txtDesc03"),
            control<QPushButton>(d, "btnApplica"), control<QPushButton>(d, "btnAnnulla")};
        QWidget *w = expected.first();
        for (int i = 1; i < expected.size(); ++i) {
            do
                w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus));
            QCOMPARE(w->objectName(), expected[i]->objectName());
        }
    }

    void nameEnablesOpen()
    {
        control<QLineEdit>(m_dialog, "txtFile02")->setText(QStringLiteral("  "));
        QVERIFY(!control<QPushButton>(m_dialog, "btnApri02")->isEnabled());
        control<QLineEdit>(m_dialog, "txtFile02")
            ->setText(QStringLiteral("manca.pdf")); // enabled even though no copy exists
        QVERIFY(control<QPushButton>(m_dialog, "btnApri02")->isEnabled());
        m_dialog->imgCancella02Click();
        QVERIFY(control<QLineEdit>(m_dialog, "txtFile02")->text().isEmpty());
        QVERIFY(!control<QPushButton>(m_dialog, "btnApri02")->isEnabled());
    }

    void browseCopiesIntoFolder()
    {
        writeFile(m_folder->file(QStringLiteral("altrove/autore.jpg")), "ritratto");
        FileChooser::answerNext(m_folder->file(QStringLiteral("altrove/autore.jpg")));
        MessageCatcher messages;
        m_dialog->btnSfoglia01Click();
        QCOMPARE(control<QLineEdit>(m_dialog, "txtFile01")->text(), QStringLiteral("autore.jpg"));
        QVERIFY(control<QPushButton>(m_dialog, "btnApri01")->isEnabled());
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Documenti_Allegati/autore.jpg"))), QByteArray("ritratto"));
        QVERIFY(messages.seen().isEmpty());
        const FileChooser::Request &r = FileChooser::requests().first();
        QCOMPARE(r.title, QStringLiteral("Selezionare il file da allegare:"));
        QCOMPARE(r.filters.size(), 1);
        QCOMPARE(r.filters.first().first, QStringLiteral("Tutti i file (*.*)"));
        QCOMPARE(r.filters.first().second, QStringLiteral("*"));

        // Clearing the slot leaves the description and the copy.
        control<QLineEdit>(m_dialog, "txtDesc01")->setText(QStringLiteral("Foto dell'autore"));
        m_dialog->imgCancella01Click();
        QCOMPARE(control<QLineEdit>(m_dialog, "txtDesc01")->text(), QStringLiteral("Foto dell'autore"));
        QVERIFY(QFileInfo::exists(m_folder->file(QStringLiteral("Documenti_Allegati/autore.jpg"))));
    }

    void overwriteQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("kept");
        QTest::newRow("No keeps the existing copy") << int(QMessageBox::No) << QByteArray("vecchio");
        QTest::newRow("Yes replaces it") << int(QMessageBox::Yes) << QByteArray("nuovo");
    }
    void overwriteQuestion()
    {
        QFETCH(int, answer);
        QFETCH(QByteArray, kept);
        writeFile(m_folder->file(QStringLiteral("Documenti_Allegati/libro.pdf")), "vecchio");
        writeFile(m_folder->file(QStringLiteral("scaricati/libro.pdf")), "nuovo");
        FileChooser::answerNext(m_folder->file(QStringLiteral("scaricati/libro.pdf")));
        MessageCatcher messages;
        messages.answerNext(QMessageBox::StandardButton(answer));
        m_dialog->btnSfoglia03Click();
        QCOMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen().first().icon, QMessageBox::Question);
        QCOMPARE(messages.seen().first().text, questionText);
        QCOMPARE(messages.seen().first().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(control<QLineEdit>(m_dialog, "txtFile03")->text(), QStringLiteral("libro.pdf"));
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Documenti_Allegati/libro.pdf"))), kept);
    }

    void choosingTheAttachedCopyItselfKeepsIt()
    {
        writeFile(m_folder->file(QStringLiteral("Documenti_Allegati/libro.pdf")), "allegato");
        FileChooser::answerNext(m_folder->file(QStringLiteral("Documenti_Allegati/libro.pdf")));
        MessageCatcher messages; // Yes to the overwrite question
        m_dialog->btnSfoglia01Click();
        QCOMPARE(messages.texts(), QStringList{questionText});
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Documenti_Allegati/libro.pdf"))), QByteArray("allegato"));
    }

    void cancelledChooserDoesNothing()
    {
        // A same-named file in the current folder must not be copied over the
        // attached one, and no question is asked.
        writeFile(m_folder->file(QStringLiteral("Documenti_Allegati/libro.pdf")), "allegato");
        writeFile(m_folder->file(QStringLiteral("corrente/libro.pdf")), "estraneo");
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_folder->file(QStringLiteral("corrente")));
        control<QLineEdit>(m_dialog, "txtFile01")->setText(QStringLiteral("libro.pdf"));
        FileChooser::answerNext(QString());
        MessageCatcher messages;
        m_dialog->btnSfoglia01Click();
        QDir::setCurrent(previous);
        QVERIFY(messages.seen().isEmpty());
        QCOMPARE(control<QLineEdit>(m_dialog, "txtFile01")->text(), QStringLiteral("libro.pdf"));
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Documenti_Allegati/libro.pdf"))), QByteArray("allegato"));

        // An empty slot stays empty and no folder is made.
        FileChooser::answerNext(QString());
        m_dialog->btnSfoglia02Click();
        QVERIFY(control<QLineEdit>(m_dialog, "txtFile02")->text().isEmpty());
    }

    void copyFailuresAreSilent()
    {
        // The destination is a folder: the question, then nothing.
        QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("Documenti_Allegati/indice.txt"))));
        writeFile(m_folder->file(QStringLiteral("origine/indice.txt")), "indice");
        FileChooser::answerNext(m_folder->file(QStringLiteral("origine/indice.txt")));
        MessageCatcher messages;
        m_dialog->btnSfoglia01Click();
        QCOMPARE(messages.texts(), QStringList{questionText});
        QCOMPARE(control<QLineEdit>(m_dialog, "txtFile01")->text(), QStringLiteral("indice.txt"));
        QVERIFY(QFileInfo(m_folder->file(QStringLiteral("Documenti_Allegati/indice.txt"))).isDir());

        // The source has gone: the slot names it, nothing is copied, no message.
        FileChooser::answerNext(m_folder->file(QStringLiteral("origine/sparito.txt")));
        m_dialog->btnSfoglia02Click();
        QCOMPARE(control<QLineEdit>(m_dialog, "txtFile02")->text(), QStringLiteral("sparito.txt"));
        QVERIFY(!QFileInfo::exists(m_folder->file(QStringLiteral("Documenti_Allegati/sparito.txt"))));
        QCOMPARE(messages.seen().size(), 1);
    }

    void chosenNameThatIsNoFile_data()
    {
        HostileFiles::addRows({HostileFiles::DeviceLink, HostileFiles::Fifo, HostileFiles::FifoLink,
                               HostileFiles::Socket, HostileFiles::Folder});
    }
    void chosenNameThatIsNoFile()
    {
        // A device or a named pipe would be copied for ever, or never start:
        // it is refused at once with a warning, and nothing changes.
        QFETCH(int, kind);
        const QString chosen = m_folder->file(QStringLiteral("altrove/documento"));
        QString why;
        if (!HostileFiles::make(kind, chosen, &why))
            QSKIP(qPrintable(why));
        control<QLineEdit>(m_dialog, "txtFile01")->setText(QStringLiteral("prima.pdf"));
        FileChooser::answerNext(chosen);
        MessageCatcher messages;
        {
            Watchdog watchdog(20, QStringLiteral("attaching something that is no file"));
            m_dialog->btnSfoglia01Click();
        }
        QCOMPARE(messages.texts(), QStringList{TfrmAllegaCartella::notAFileMessage()});
        QCOMPARE(messages.seen().first().icon, QMessageBox::Warning);
        QCOMPARE(control<QLineEdit>(m_dialog, "txtFile01")->text(), QStringLiteral("prima.pdf"));
        QVERIFY(!QFileInfo::exists(TfrmAllegaCartella::folder() + QStringLiteral("documento")));
    }

    void chosenDeviceName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("NUL") << "NUL";
        QTest::newRow("con") << "con";
        QTest::newRow("COM1") << "COM1";
        QTest::newRow("LPT1 with an extension") << "LPT1.txt";
        QTest::newRow("aux with a blank") << "aux ";
    }
    void chosenDeviceName()
    {
        // On Windows these names are devices in every folder: copying from
        // COM1 waits for a port, a copy named NUL goes nowhere. They are
        // refused like any device, and nothing is made.
#ifndef Q_OS_WIN
        QSKIP("device names are plain file names outside Windows");
#endif
        QFETCH(QString, name);
        QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("altrove"))));
        control<QLineEdit>(m_dialog, "txtFile01")->setText(QStringLiteral("prima.pdf"));
        FileChooser::answerNext(m_folder->file(QStringLiteral("altrove/") + name));
        MessageCatcher messages;
        {
            Watchdog watchdog(20, QStringLiteral("attaching a device name"));
            m_dialog->btnSfoglia01Click();
        }
        QCOMPARE(messages.texts(), QStringList{TfrmAllegaCartella::notAFileMessage()});
        QCOMPARE(control<QLineEdit>(m_dialog, "txtFile01")->text(), QStringLiteral("prima.pdf"));
        QCOMPARE(QDir(TfrmAllegaCartella::folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                                                QDir::System),
                 QStringList());
    }

    void openHandsQuotedPathToDesktop()
    {
        UrlRecorder recorder;
        control<QLineEdit>(m_dialog, "txtFile02")->setText(QStringLiteral("  Copia digitale.pdf "));
        QTest::mouseClick(control<QPushButton>(m_dialog, "btnApri02"), Qt::LeftButton);
        QCOMPARE(recorder.opened,
                 {QUrl::fromLocalFile(m_folder->file(QStringLiteral("Documenti_Allegati/Copia digitale.pdf")))});
    }

    void unsafeNameOpensNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent folder") << "..";
        QTest::newRow("this folder") << ".";
        QTest::newRow("climbs out") << "../unins000.dll";
        QTest::newRow("subfolder") << "a/b.pdf";
        QTest::newRow("backslash") << "..\\Archivio_Libri.pro";
    }
    void unsafeNameOpensNothing()
    {
        QFETCH(QString, name);
        UrlRecorder recorder;
        control<QLineEdit>(m_dialog, "txtFile01")->setText(name);
        m_dialog->btnApri01Click();
        QVERIFY(recorder.opened.isEmpty());
        QVERIFY(!TfrmAllegaCartella::isPlainName(name));
    }

    // The copy is made under the name the card will keep, so that the stored
    // name always names the copy: attached, saved, shown again on a fresh
    // card screen and opened.
    void nameTheCardCannotHold_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("kept");
        QTest::newRow("Chinese") << QString::fromUtf8("数据.pdf") << QStringLiteral("__.pdf");
        QTest::newRow("outside the BMP") << QString::fromUtf8("libro 📖.pdf") << QStringLiteral("libro _.pdf");
        QTest::newRow("Greek") << QString::fromUtf8("αβ.txt") << QStringLiteral("__.txt");
        QTest::newRow("Windows-1252 letters kept")
            << QString::fromUtf8("Perché costa 5 €.pdf") << QString::fromUtf8("Perché costa 5 €.pdf");
        QTest::newRow("255 characters") << QString(251, QLatin1Char('a')) + QStringLiteral(".pdf")
                                        << QString(246, QLatin1Char('a')) + QStringLiteral(".pdf");
        QTest::newRow("255 characters, no extension")
            << QString(255, QLatin1Char('b')) << QString(250, QLatin1Char('b'));
    }
    void nameTheCardCannotHold()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, kept);
        QCOMPARE(TfrmAllegaCartella::keptName(chosen), kept);
        QCOMPARE(TfrmAllegaCartella::keptName(kept), kept);

        {
            BookArchive archive;
            TSchedaLibro record;
            record.setText(TSchedaLibro::Titolo, QStringLiteral("Titolo"));
            record.setText(TSchedaLibro::Autore, QStringLiteral("Autore"));
            record.setText(TSchedaLibro::Anno, QStringLiteral("2001"));
            record.setText(TSchedaLibro::Editore, QStringLiteral("Editore"));
            QVERIFY(archive.open() && archive.append(record) == 1 && archive.close());
        }
        const QString source = m_folder->file(QStringLiteral("origine/")) + chosen;
        writeFile(source, "contenuto");
        TfrmLibri card;
        card.cmdPrimoClick();
        QString shown;
        whenOpen<TfrmAllegaCartella>([&](TfrmAllegaCartella *d) {
            FileChooser::answerNext(source);
            d->btnSfoglia01Click();
            shown = control<QLineEdit>(d, "txtFile01")->text();
            QTest::mouseClick(control<QPushButton>(d, "btnApplica"), Qt::LeftButton);
        });
        card.cmdFileClick();
        QCOMPARE(shown, kept);
        QCOMPARE(QDir(m_folder->file(QStringLiteral("Documenti_Allegati"))).entryList(QDir::Files), QStringList{kept});
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Documenti_Allegati/")) + kept), QByteArray("contenuto"));

        // The overwrite question is about that name.
        writeFile(source, "nuovo");
        FileChooser::answerNext(source);
        MessageCatcher messages;
        messages.answerNext(QMessageBox::No);
        m_dialog->btnSfoglia02Click();
        QCOMPARE(messages.texts(), QStringList{questionText});
        QCOMPARE(control<QLineEdit>(m_dialog, "txtFile02")->text(), kept);
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Documenti_Allegati/")) + kept), QByteArray("contenuto"));
        messages.clear();

        card.cmdSalvaClick();
        QCOMPARE(messages.texts().size(), 1);
        {
            BookArchive archive;
            TSchedaLibro record;
            QVERIFY(archive.open() && archive.read(1, record));
            QCOMPARE(record.text(TSchedaLibro::File01), kept);
        }

        TfrmLibri again;
        again.cmdPrimoClick();
        UrlRecorder recorder;
        whenOpen<TfrmAllegaCartella>([&](TfrmAllegaCartella *d) {
            shown = control<QLineEdit>(d, "txtFile01")->text();
            QTest::mouseClick(control<QPushButton>(d, "btnApri01"), Qt::LeftButton);
            QTest::mouseClick(control<QPushButton>(d, "btnAnnulla"), Qt::LeftButton);
        });
        again.cmdFileClick();
        QCOMPARE(shown, kept);
        QCOMPARE(recorder.opened.size(), 1);
        QCOMPARE(readFile(recorder.opened.first().toLocalFile()), QByteArray("contenuto"));
    }

    void cardScreenOpensAndReceivesSlots()
    {
        TfrmLibri card;
        control<QLabel>(card, "lblFile01")->setText(QStringLiteral(" scheda.pdf "));
        control<QLabel>(card, "lblDesc01")->setText(QStringLiteral(" Copia digitale "));
        control<QLabel>(card, "lblFile03")->setText(QStringLiteral("autore.jpg"));
        control<QLabel>(card, "lblDesc03")->setText(QStringLiteral("Ritratto"));
        const QString longText(300, QLatin1Char('d'));

        QStringList seen;
        bool open1 = false, open2 = true, open3 = false;
        whenOpen<TfrmAllegaCartella>([&](TfrmAllegaCartella *d) {
            seen << control<QLabel>(d, "lblMemory")->text() << control<QLineEdit>(d, "txtFile01")->text()
                 << control<QLineEdit>(d, "txtDesc01")->text() << control<QLineEdit>(d, "txtFile02")->text()
                 << control<QLineEdit>(d, "txtDesc02")->text() << control<QLineEdit>(d, "txtFile03")->text()
                 << control<QLineEdit>(d, "txtDesc03")->text();
            open1 = control<QPushButton>(d, "btnApri01")->isEnabled();
            open2 = control<QPushButton>(d, "btnApri02")->isEnabled();
            open3 = control<QPushButton>(d, "btnApri03")->isEnabled();
            control<QLineEdit>(d, "txtDesc02")->setText(QStringLiteral("  ") + longText);
            d->imgCancella03Click();
            QTest::mouseClick(control<QPushButton>(d, "btnApplica"), Qt::LeftButton);
        });
        card.cmdFileClick();
        QCOMPARE(seen, QStringList({QStringLiteral("libri"), QStringLiteral("scheda.pdf"),
                                    QStringLiteral("Copia digitale"), QStringLiteral(""), QStringLiteral(""),
                                    QStringLiteral("autore.jpg"), QStringLiteral("Ritratto")}));
        QVERIFY(open1 && !open2 && open3);
        QCOMPARE(control<QLabel>(card, "lblFile01")->text(), QStringLiteral("scheda.pdf"));
        QCOMPARE(control<QLabel>(card, "lblDesc01")->text(), QStringLiteral("Copia digitale"));
        QCOMPARE(control<QLabel>(card, "lblDesc02")->text(), longText);
        QCOMPARE(control<QLabel>(card, "lblFile03")->text(), QString());
        QCOMPARE(control<QLabel>(card, "lblDesc03")->text(), QStringLiteral("Ritratto"));
        QVERIFY(card.findChildren<TfrmAllegaCartella *>().isEmpty());
        // The card keeps 250 bytes of the long description when it is stored.
        TSchedaLibro record;
        card.fillCard(record);
        QCOMPARE(record.text(TSchedaLibro::Desc02).size(), 250);

        // Annulla writes nothing back.
        whenOpen<TfrmAllegaCartella>([&](TfrmAllegaCartella *d) {
            control<QLineEdit>(d, "txtDesc01")->setText(QStringLiteral("cambiata"));
            QTest::mouseClick(control<QPushButton>(d, "btnAnnulla"), Qt::LeftButton);
        });
        card.cmdFileClick();
        QCOMPARE(control<QLabel>(card, "lblDesc01")->text(), QStringLiteral("Copia digitale"));
    }

    void sameFileForTwoCardsKeepsOneCopy()
    {
        writeFile(m_folder->file(QStringLiteral("origine/comune.pdf")), "comune");
        FileChooser::answerNext(m_folder->file(QStringLiteral("origine/comune.pdf")));
        m_dialog->btnSfoglia01Click();
        TfrmAllegaCartella other;
        FileChooser::answerNext(m_folder->file(QStringLiteral("origine/comune.pdf")));
        MessageCatcher messages; // the second card is asked, and answers Yes
        other.btnSfoglia02Click();
        QCOMPARE(messages.texts(), QStringList{questionText});
        QCOMPARE(QDir(m_folder->file(QStringLiteral("Documenti_Allegati"))).entryList(QDir::Files),
                 {QStringLiteral("comune.pdf")});
        other.imgCancella02Click();
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Documenti_Allegati/comune.pdf"))), QByteArray("comune"));
    }

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TfrmAllegaCartella> m_dialog;
};

QTEST_MAIN(TestAllegaCartella)
#include "tst_tfrmallegacartella.moc"
