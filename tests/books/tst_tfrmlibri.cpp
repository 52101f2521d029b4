#include "common/filesizelimit.h"
#include "common/screencontrols.h"
#include "common/testsupport.h"

#include "books/tfrmlibri.h"
#include "core/bookarchive.h"
#include "kit/conventions.h"
#include "kit/picturewidgets.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {
const QString kNoCards = QStringLiteral("L'archivio non contiene nessuna scheda.");

QByteArray fileBytes()
{
    QFile f(BookArchive::path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TSchedaLibro makeCard(int n)
{
    TSchedaLibro card;
    card.setText(TSchedaLibro::Titolo, QStringLiteral("Titolo %1").arg(n));
    card.setText(TSchedaLibro::Autore, QStringLiteral("Autore %1").arg(n));
    card.setText(TSchedaLibro::Anno, QString::number(1900 + n));
    card.setText(TSchedaLibro::Editore, QStringLiteral("Editore %1").arg(n));
    card.setText(TSchedaLibro::File01, QStringLiteral("allegato%1.pdf").arg(n));
    card.setText(TSchedaLibro::Desc01, QStringLiteral("Descrizione %1").arg(n));
    return card;
}

void writeCards(int count)
{
    BookArchive archive;
    QVERIFY(archive.open());
    for (int i = 1; i <= count; ++i)
        QCOMPARE(archive.append(makeCard(i)), i);
    QVERIFY(archive.close());
}

} // namespace

class TestTfrmLibri : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void init()
    {
        m_folder.reset(new TempProgramFolder);
        m_form.reset(new TfrmLibri);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    void cleanup()
    {
        m_form.reset();
        m_folder.reset();
    }

    void showsBlankCardOnEntry()
    {
        TfrmLibri &f = *m_form;
        for (int i = 0; i < TSchedaLibro::TextFieldCount; ++i) {
            QVERIFY(cardBox(f, i)->text().isEmpty());
            QCOMPARE(cardBox(f, i)->maxLength(), TSchedaLibro::capacity(i));
        }
        QVERIFY(control<QLabel>(f, "lblPosizione")->text().isEmpty());
        QCOMPARE(control<PictureBox>(f, "imgFoto")->image(), f.placeholder());
        QCOMPARE(f.placeholder().size(), QSize(307, 409));
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(f, "txtTitolo"));
        QCOMPARE(control<QLabel>(f, "panInfo")->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
        QCOMPARE(f.windowTitle(), QStringLiteral(" Rilegora - Schedario Libri"));
    }

    void emptyArchiveNavigation_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("position");
        QTest::addColumn<bool>("message");
        QTest::newRow("first") << "cmdPrimo"
                               << "" << true;
        QTest::newRow("last") << "cmdUltimo"
                              << "" << true;
        QTest::newRow("next") << "cmdAvanti"
                              << "" << true;
        QTest::newRow("previous on a new card") << "cmdIndietro"
                                                << "" << true;
        QTest::newRow("previous on card 1") << "cmdIndietro"
                                            << "1" << false;
    }
    void emptyArchiveNavigation()
    {
        QFETCH(QString, command);
        QFETCH(QString, position);
        QFETCH(bool, message);
        QVERIFY(!QFile::exists(BookArchive::path()));
        control<QLabel>(m_form, "lblPosizione")->setText(position);
        MessageCatcher msgs;
        QTest::mouseClick(m_form->findChild<QWidget *>(command), Qt::LeftButton);
        QCOMPARE(msgs.texts(), message ? QStringList{kNoCards} : QStringList{});
        if (message)
            QCOMPARE(msgs.seen().first().icon, QMessageBox::Information);
        // The first action that touches a missing archive leaves it behind, empty.
        QVERIFY(QFile::exists(BookArchive::path()));
        QCOMPARE(QFileInfo(BookArchive::path()).size(), 0);
        QCOMPARE(control<QLabel>(m_form, "lblPosizione")->text(), position);
    }

    void navigatesThreeCards()
    {
        writeCards(3);
        TfrmLibri &f = *m_form;
        MessageCatcher msgs;
        f.cmdAvantiClick(); // from a new card: card 1
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLineEdit>(f, "txtTitolo")->text(), QStringLiteral("Titolo 1"));
        QCOMPARE(control<QLabel>(f, "lblFile01")->text(), QStringLiteral("allegato1.pdf"));
        f.cmdNuovoClick();
        f.cmdIndietroClick(); // from a new card: card 1 as well
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("1"));
        f.cmdIndietroClick(); // on card 1: nothing
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("1"));
        f.cmdUltimoClick();
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("3"));
        QCOMPARE(control<QLineEdit>(f, "txtEditore")->text(), QStringLiteral("Editore 3"));
        f.cmdAvantiClick(); // on the last card: nothing
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("3"));
        f.cmdIndietroClick();
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("2"));
        QCOMPARE(control<QLineEdit>(f, "txtAnno")->text(), QStringLiteral("1902"));
        f.cmdPrimoClick();
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("1"));
        QVERIFY(msgs.texts().isEmpty());
    }

    void longTextShowsFromItsStart()
    {
        TSchedaLibro card = makeCard(1);
        card.setText(TSchedaLibro::Formato, QStringLiteral("Rilegato con sovraccoperta, 15 x 23 cm"));
        m_form->showCard(card);
        QCOMPARE(control<QLineEdit>(m_form, "txtFormato")->cursorPosition(), 0);
    }

    void navigationDiscardsTyping()
    {
        writeCards(3);
        const QByteArray before = fileBytes();
        TfrmLibri &f = *m_form;
        f.cmdPrimoClick();
        f.cmdAvantiClick();
        control<QLineEdit>(f, "txtAutore")->setFocus();
        QTest::keyClicks(control<QLineEdit>(f, "txtAutore"), QStringLiteral(" cambiato"));
        f.cmdAvantiClick();
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("3"));
        f.cmdIndietroClick();
        QCOMPARE(control<QLineEdit>(f, "txtAutore")->text(), QStringLiteral("Autore 2"));
        QCOMPARE(fileBytes(), before);
    }

    void longTitleShownWholeAndTypingStops()
    {
        TSchedaLibro card = makeCard(1);
        card.setText(TSchedaLibro::Titolo, QString(120, QLatin1Char('L')));
        BookArchive archive;
        QVERIFY(archive.open());
        archive.append(card);
        archive.close();
        m_form->cmdPrimoClick();
        QCOMPARE(control<QLineEdit>(m_form, "txtTitolo")->text(), QString(120, QLatin1Char('L')));
        control<QLineEdit>(m_form, "txtTitolo")->setFocus();
        control<QLineEdit>(m_form, "txtTitolo")->end(false);
        QTest::keyClicks(control<QLineEdit>(m_form, "txtTitolo"), QStringLiteral("xyz"));
        QCOMPARE(control<QLineEdit>(m_form, "txtTitolo")->text().size(), 120);
    }

    void saveValidation_data()
    {
        QTest::addColumn<QStringList>("values"); // title, author, year, publisher
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("all empty: title first")
            << QStringList{QStringLiteral(""), QStringLiteral(""), QStringLiteral(""), QStringLiteral("")}
            << "Attenzione: per salvare la scheda è necessario indicare il titolo del libro."
            << "txtTitolo";
        QTest::newRow("author") << QStringList{QStringLiteral("Titolo"), QStringLiteral(" "), QStringLiteral("1980"),
                                               QStringLiteral("Bompiani")}
                                << "Attenzione: per salvare la scheda è necessario indicare l'autore del libro."
                                << "txtAutore";
        QTest::newRow("year of blanks")
            << QStringList{QStringLiteral("Titolo"), QStringLiteral("Eco"), QStringLiteral("   "),
                           QStringLiteral("Bompiani")}
            << "Attenzione: per salvare la scheda è necessario indicare l'anno di pubblicazione del libro."
            << "txtAnno";
        QTest::newRow("publisher")
            << QStringList{QStringLiteral("Titolo"), QStringLiteral("Eco"), QStringLiteral("1980"), QStringLiteral("")}
            << "Attenzione: per salvare la scheda è necessario indicare la casa editrice del libro."
            << "txtEditore";
    }
    void saveValidation()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TfrmLibri &f = *m_form;
        control<QLineEdit>(f, "txtTitolo")->setText(values[0]);
        control<QLineEdit>(f, "txtAutore")->setText(values[1]);
        control<QLineEdit>(f, "txtAnno")->setText(values[2]);
        control<QLineEdit>(f, "txtEditore")->setText(values[3]);
        control<QLineEdit>(f, "txtNote")->setText(QStringLiteral("note tenute"));
        MessageCatcher msgs;
        f.cmdSalvaClick();
        QCOMPARE(msgs.texts(), QStringList{message});
        QCOMPARE(msgs.seen().first().icon, QMessageBox::Warning);
        QCOMPARE(msgs.seen().first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(f.focusWidget());
        QCOMPARE(f.focusWidget()->objectName(), focus);
        QCOMPARE(control<QLineEdit>(f, "txtNote")->text(), QStringLiteral("note tenute"));
        QVERIFY(!QFile::exists(BookArchive::path()));
        QVERIFY(control<QLabel>(f, "lblPosizione")->text().isEmpty());
    }

    void saveNewCardAppends()
    {
        writeCards(7);
        const QByteArray before = fileBytes();
        TfrmLibri &f = *m_form;
        control<QLineEdit>(f, "txtTitolo")->setText(QStringLiteral("  Il nome della rosa  "));
        control<QLineEdit>(f, "txtAutore")->setText(QStringLiteral("  Rossi  "));
        control<QLineEdit>(f, "txtAnno")->setText(QStringLiteral("1980"));
        control<QLineEdit>(f, "txtEditore")->setText(QStringLiteral("Bompiani"));
        control<QLineEdit>(f, "txtPrezzo")->setText(QStringLiteral("€ 12,50"));
        MessageCatcher msgs;
        f.cmdSalvaClick();
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("La scheda corrente è stata inserita in archivio.")});
        QCOMPARE(msgs.seen().first().icon, QMessageBox::Information);
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("8"));
        const QByteArray after = fileBytes();
        QCOMPARE(after.size(), 8 * TSchedaLibro::RecordSize);
        QCOMPARE(after.left(before.size()), before);
        const QByteArray record = after.mid(7 * TSchedaLibro::RecordSize);
        QCOMPARE(record.mid(121, 6), QByteArray("\x05Rossi"));
        QCOMPARE(record.mid(0, 19), QByteArray("\x12Il nome della rosa"));
        QCOMPARE(record.mid(1121, 8), QByteArray("\x07\x80 12,50"));
    }

    void saveStoredCardRewritesOnlyItsBytes()
    {
        writeCards(5);
        const QByteArray before = fileBytes();
        TfrmLibri &f = *m_form;
        f.cmdPrimoClick();
        f.cmdAvantiClick();
        f.cmdAvantiClick();
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("3"));
        control<QLineEdit>(f, "txtAutore")->setText(QStringLiteral("Umberto Eco"));
        MessageCatcher msgs;
        f.cmdSalvaClick();
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral(
                                   "Le modifiche apportate alla scheda corrente sono state salvate in archivio.")});
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("3"));
        const QByteArray after = fileBytes();
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < after.size(); ++i) {
            if (after[i] != before[i])
                QVERIFY2(i >= 6300 && i <= 9449, qPrintable(QString::number(i)));
        }
        QCOMPARE(after.mid(6300 + 121, 12), QByteArray("\x0bUmberto Eco"));
    }

    void duplicateMakesANewCard()
    {
        writeCards(5);
        TfrmLibri &f = *m_form;
        f.cmdUltimoClick();
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("5"));
        MessageCatcher msgs;
        f.cmdDuplicaClick();
        QCOMPARE(msgs.texts(),
                 QStringList{QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente."
                                            "\n\r\n\rAl termine premere Salva per inserire la scheda in archivio.")});
        QVERIFY(control<QLabel>(f, "lblPosizione")->text().isEmpty());
        QVERIFY(control<QLabel>(f, "lblFile01")->text().isEmpty());
        QVERIFY(control<QLabel>(f, "lblDesc01")->text().isEmpty());
        QCOMPARE(control<QLineEdit>(f, "txtTitolo")->text(), QStringLiteral("Titolo 5"));
        QCOMPARE(control<PictureBox>(f, "imgFoto")->image(), f.placeholder());
        QCOMPARE(f.focusWidget(), control<QLineEdit>(f, "txtTitolo"));
        control<QLineEdit>(f, "txtVolumi")->setText(QStringLiteral("Volume 2"));
        msgs.clear();
        f.cmdSalvaClick();
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("La scheda corrente è stata inserita in archivio.")});
        QCOMPARE(control<QLabel>(f, "lblPosizione")->text(), QStringLiteral("6"));

        BookArchive archive;
        QVERIFY(archive.open());
        TSchedaLibro original, copy;
        QVERIFY(archive.read(5, original));
        QVERIFY(archive.read(6, copy));
        QCOMPARE(copy.text(TSchedaLibro::Titolo), QStringLiteral("Titolo 5"));
        QCOMPARE(copy.text(TSchedaLibro::Volumi), QStringLiteral("Volume 2"));
        QVERIFY(copy.text(TSchedaLibro::File01).isEmpty());
        QCOMPARE(original.text(TSchedaLibro::File01), QStringLiteral("allegato5.pdf"));
        QVERIFY(original.text(TSchedaLibro::Volumi).isEmpty());
    }

    void duplicateOfANewCardIsRefused()
    {
        control<QLineEdit>(m_form, "txtTitolo")->setText(QStringLiteral("non salvata"));
        MessageCatcher msgs;
        m_form->cmdDuplicaClick();
        QCOMPARE(msgs.texts(), QStringList{QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire "
                                                          "soltanto dopo che questa è stata inserita in archivio.")});
        QCOMPARE(msgs.seen().first().icon, QMessageBox::Warning);
        QCOMPARE(control<QLineEdit>(m_form, "txtTitolo")->text(), QStringLiteral("non salvata"));
    }

    void enterWalksAllFieldsAndWraps()
    {
        TfrmLibri &f = *m_form;
        control<QLineEdit>(f, "txtTitolo")->setFocus();
        for (int i = 1; i <= TSchedaLibro::TextFieldCount; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), cardBox(f, i % TSchedaLibro::TextFieldCount));
        }
        // The keypad's Enter too, from the last field back to the first.
        control<QLineEdit>(f, "txtNote")->setFocus();
        QTest::keyClick(control<QLineEdit>(f, "txtNote"), Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(f, "txtTitolo"));
    }

    void focusedBoxIsYellow()
    {
        TfrmLibri &f = *m_form;
        QCOMPARE(Look::boxColour(control<QLineEdit>(f, "txtTitolo")), QColor::fromRgba(Look::Yellow));
        QTest::mouseClick(control<QLineEdit>(f, "txtAutore"), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(f, "txtAutore"));
        QCOMPARE(Look::boxColour(control<QLineEdit>(f, "txtAutore")), QColor::fromRgba(Look::Yellow));
        QCOMPARE(Look::boxColour(control<QLineEdit>(f, "txtTitolo")), QColor::fromRgba(Look::White));
        QTest::keyClick(control<QLineEdit>(f, "txtAutore"), Qt::Key_Return);
        QCOMPARE(Look::boxColour(control<QLineEdit>(f, "txtAutore")), QColor::fromRgba(Look::AliceBlue));
        QCOMPARE(Look::boxColour(control<QLineEdit>(f, "txtNazione")), QColor::fromRgba(Look::Yellow));
    }

    void hintBarFollowsThePointer()
    {
        TfrmLibri &f = *m_form;
        QWidget *ground = f.findChild<QWidget *>(QStringLiteral("panContainer"));
        QTest::mouseMove(control<PictureButton>(f, "cmdSalva"), QPoint(10, 10));
        QTRY_COMPARE(control<QLabel>(f, "panInfo")->text(), QStringLiteral("Salva la scheda in archivio."));
        QTest::mouseMove(control<PictureButton>(f, "btnDewey"), QPoint(5, 5));
        QTRY_COMPARE(control<QLabel>(f, "panInfo")->text(), QStringLiteral("Visualizza la Tabella dei Codici Dewey."));
        // A point of the container with nothing on it: between the cover strip and the notes.
        QTest::mouseMove(ground, QPoint(150, 545));
        QTRY_VERIFY(control<QLabel>(f, "panInfo")->text().isEmpty());
        QTest::mouseMove(control<PictureButton>(f, "cmdEsci"), QPoint(10, 10));
        QTRY_COMPARE(control<QLabel>(f, "panInfo")->text(), QStringLiteral("Esci da questa schermata di lavoro."));
        QTest::mouseMove(control<PictureBox>(f, "imgFoto"), QPoint(100, 100));
        QTRY_VERIFY(control<QLabel>(f, "panInfo")->text().isEmpty());
    }

    void archiveThatCannotBeOpened()
    {
        QVERIFY(QDir().mkpath(BookArchive::path()));
        TfrmLibri &f = *m_form;
        control<QLineEdit>(f, "txtTitolo")->setText(QStringLiteral("T"));
        control<QLineEdit>(f, "txtAutore")->setText(QStringLiteral("A"));
        control<QLineEdit>(f, "txtAnno")->setText(QStringLiteral("2000"));
        control<QLineEdit>(f, "txtEditore")->setText(QStringLiteral("E"));
        MessageCatcher msgs;
        f.cmdSalvaClick();
        f.cmdPrimoClick();
        QCOMPARE(msgs.texts(), QStringList(2, BookArchive::accessFailureMessage()));
        QCOMPARE(msgs.seen().first().icon, QMessageBox::Critical);
        QVERIFY(control<QLabel>(f, "lblPosizione")->text().isEmpty());
        QCOMPARE(control<QLineEdit>(f, "txtTitolo")->text(), QStringLiteral("T"));
        QVERIFY(QFileInfo(BookArchive::path()).isDir());
    }

    void failedAppendKeepsOtherCards()
    {
#ifdef Q_OS_WIN
        QSKIP(FILE_SIZE_LIMIT_REASON);
#else
        writeCards(3);
        const QByteArray before = fileBytes();
        TfrmLibri &f = *m_form;
        control<QLineEdit>(f, "txtTitolo")->setText(QStringLiteral("Nuovo"));
        control<QLineEdit>(f, "txtAutore")->setText(QStringLiteral("A"));
        control<QLineEdit>(f, "txtAnno")->setText(QStringLiteral("2000"));
        control<QLineEdit>(f, "txtEditore")->setText(QStringLiteral("E"));
        MessageCatcher msgs;
        {
            FileSizeLimit limit(rlim_t(before.size()));
            f.cmdSalvaClick();
        }
        QCOMPARE(msgs.texts(), QStringList{BookArchive::accessFailureMessage()});
        QVERIFY(control<QLabel>(f, "lblPosizione")->text().isEmpty()); // still a new card
        QCOMPARE(control<QLineEdit>(f, "txtTitolo")->text(), QStringLiteral("Nuovo"));
        QCOMPARE(fileBytes().left(before.size()), before);
        BookArchive archive;
        QVERIFY(archive.open());
        QCOMPARE(archive.count(), 3);
#endif
    }

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TfrmLibri> m_form;
};

QTEST_MAIN(TestTfrmLibri)
#include "tst_tfrmlibri.moc"
