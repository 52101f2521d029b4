// The catalogue page editor: its layout and conventions, browsing, saving
// pages and their box photos, the preview pictures, photos from files and
// the import of a card from the card index.
#include "common/cardfixtures.h"
#include "common/filefixtures.h"
#include "common/filesizelimit.h"
#include "common/pdftext.h"
#include "common/picturefixtures.h"
#include "common/printrecorder.h"
#include "common/screencontrols.h"
#include "common/testsupport.h"

#include "catalogues/cataloguefile.h"
#include "catalogues/cataloguefolder.h"
#include "catalogues/tfrmanteprimaprodotto.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "catalogues/tfrmstampaprodotto.h"
#include "core/bookarchive.h"
#include "core/helptopics.h"
#include "core/programfolder.h"
#include "kit/conventions.h"
#include "kit/covers.h"
#include "kit/filechooser.h"
#include "kit/picturewidgets.h"
#include "kit/tfrmguida.h"
#include "report/report.h"
#include "report/reportprinting.h"
#include "search/tfrmtrovalibri.h"

#include <QClipboard>
#include <QDir>
#include <QDirIterator>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {
const QString kNoPages = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kAppended = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kRewritten =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kBoxA = QStringLiteral("Attenzione: per salvare la scheda è necessario compilare i campi riguardanti la "
                                     "persona che appare in cima alla pagina.");
const char *const kFieldNames[] = {"Codice", "Nome", "UM", "Caratteristiche", "Prezzo"};

QImage decoded(const QByteArray &bytes)
{
    return QImage::fromData(bytes, "JPG");
}

/// A page whose every text names its page, box and field ("P2 C Nome").
TPaginaCatalogo page(int n)
{
    TPaginaCatalogo p;
    for (int box = 0; box < 8; ++box)
        for (int f = 0; f < TRiquadro::FieldCount; ++f)
            p.setText(box, f,
                      QStringLiteral("P%1 %2 %3").arg(n).arg(QChar(u'A' + box)).arg(QLatin1String(kFieldNames[f])));
    return p;
}

QStringList filesBelow(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next().mid(folder.size());
    out.sort();
    return out;
}
} // namespace

class TestListinoPrezzi : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void init()
    {
        FileChooser::requests().clear();
        m_folder = std::make_unique<TempProgramFolder>();
        m_editor = std::make_unique<TfrmListinoPrezzi>();
        control<QLabel>(m_editor, "lblFile")->setText(catalogue());
        control<QLabel>(m_editor, "lblNome")->setText(QStringLiteral("Narrativa"));
        m_editor->show();
        QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    }
    void cleanup()
    {
        m_editor.reset();
        m_folder.reset();
    }

    void layout()
    {
        TfrmListinoPrezzi &e = *m_editor;
        QCOMPARE(e.windowTitle(), QStringLiteral(" Rilegora - Catalogo Libri"));
        auto *pan = e.findChild<QWidget *>(QStringLiteral("panContainer"));
        QCOMPARE(pan->size(), QSize(994, 692));
        const struct
        {
            const char *name;
            QRect at;
        } placed[] = {
            {"cmdNuovo", {24, 26, 37, 39}},           {"cmdSalva", {81, 26, 37, 39}},
            {"cmdAnteprima", {137, 26, 148, 32}},     {"cmdStampa", {304, 26, 148, 32}},
            {"cmdPrimo", {472, 26, 37, 39}},          {"cmdIndietro", {514, 26, 37, 39}},
            {"cmdAvanti", {778, 26, 37, 39}},         {"cmdUltimo", {820, 26, 37, 39}},
            {"cmdGuida", {877, 26, 37, 39}},          {"cmdEsci", {934, 26, 37, 39}},
            {"lblPosizione", {550, 33, 226, 24}},     {"bkgTitolo", {24, 88, 946, 24}},
            {"shpBody", {16, 80, 962, 554}},          {"shpInfo", {16, 642, 962, 32}},
            {"bkgProdotto_01", {24, 120, 468, 120}},  {"bkgProdotto_02", {24, 248, 468, 120}},
            {"bkgProdotto_03", {24, 376, 468, 120}},  {"bkgProdotto_04", {24, 504, 468, 120}},
            {"bkgProdotto_05", {502, 120, 468, 120}}, {"bkgProdotto_06", {502, 248, 468, 120}},
            {"bkgProdotto_07", {502, 376, 468, 120}}, {"bkgProdotto_08", {502, 504, 468, 120}},
        };
        for (const auto &p : placed) {
            auto *w = e.findChild<QWidget *>(QString::fromLatin1(p.name));
            QVERIFY2(w, p.name);
            QCOMPARE(QRect(w->mapTo(pan, QPoint(0, 0)), w->size()), p.at);
        }
        for (int i = 1; i <= 7; ++i)
            QVERIFY(e.findChild<QWidget *>(QStringLiteral("shpPulsanti0%1").arg(i)));
        QVERIFY(e.findChild<QWidget *>(QStringLiteral("shpContainer")));
        QCOMPARE(control<QLabel>(e, "lblNome")->width(), 930);
        QCOMPARE(control<QLabel>(e, "lblNome")->text(), QStringLiteral("Narrativa"));
        QCOMPARE(control<QLabel>(e, "panInfo")->mapTo(pan, QPoint(0, 0)).x(), 24);
        QCOMPARE(control<QLabel>(e, "panInfo")->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
        for (QLabel *hidden : {control<QLabel>(e, "lblFile"), control<QLabel>(e, "lblRecord")})
            QVERIFY(hidden->isHidden());
        QVERIFY(control<PictureBox>(e, "imgBianco")->isHidden());
        QCOMPARE(e.placeholder().size(), QSize(80, 104));

        // Every box alike, relative to its background; the names carry the letter.
        const struct
        {
            const char *name;
            QRect at;
            int maxLength;
        } inBox[] = {{"txtNome", {104, 8, 326, 22}, 50},
                     {"txtUM", {104, 35, 354, 22}, 250},
                     {"txtCaratteristiche", {104, 62, 354, 22}, 250},
                     {"txtCodice", {104, 90, 204, 22}, 40},
                     {"txtPrezzo", {330, 90, 128, 22}, 30},
                     {"imgFoto", {10, 8, 80, 104}, 0},
                     {"impProdotto", {436, 8, 22, 22}, 0}};
        for (int box = 0; box < 8; ++box) {
            auto *ground = e.findChild<QWidget *>(QStringLiteral("bkgProdotto_0%1").arg(box + 1));
            const QString letter = QStringLiteral("_") + QChar(u'A' + box);
            for (const auto &c : inBox) {
                auto *w = e.findChild<QWidget *>(QString::fromLatin1(c.name) + letter);
                QVERIFY2(w, c.name);
                QCOMPARE(QRect(w->mapTo(ground, QPoint(0, 0)), w->size()), c.at);
                if (auto *edit = qobject_cast<QLineEdit *>(w)) {
                    QCOMPARE(Look::typingLimit(edit), c.maxLength);
                    QCOMPARE(edit->font().family(), QStringLiteral("Verdana"));
                    QCOMPARE(edit->font().pointSize(), 12);
                    QVERIFY(edit->font().bold());
                    QCOMPARE(bool(edit->alignment() & Qt::AlignRight), QByteArray(c.name) == "txtPrezzo");
                }
            }
            QCOMPARE(boxPhoto(e, box)->cursor().shape(), Qt::PointingHandCursor);
        }
        QCOMPARE(control<QLineEdit>(e, "txtPrezzo_H"), boxField(e, 7, TRiquadro::Prezzo));
        QCOMPARE(control<PictureBox>(e, "imgFoto_D"), boxPhoto(e, 3));
    }

    void blankPageOnEveryShowAndNuovo()
    {
        TfrmListinoPrezzi &e = *m_editor;
        for (int pass = 0; pass < 2; ++pass) {
            for (int box = 0; box < 8; ++box) {
                for (int f = 0; f < TRiquadro::FieldCount; ++f)
                    boxField(e, box, f)->setText(QStringLiteral("testo"));
                boxPhoto(e, box)->setImage(detailedPicture(QSize(20, 20)));
            }
            control<QLabel>(e, "lblPosizione")->setText(QStringLiteral("3"));
            control<QLineEdit>(e, "txtCodice_G")->setFocus();
            if (pass == 0) {
                e.hide();
                e.show();
            } else {
                e.cmdNuovoClick();
            }
            for (int box = 0; box < 8; ++box) {
                for (int f = 0; f < TRiquadro::FieldCount; ++f)
                    QVERIFY(boxField(e, box, f)->text().isEmpty());
                QCOMPARE(boxPhoto(e, box)->image(), e.placeholder());
            }
            QVERIFY(control<QLabel>(e, "lblPosizione")->text().isEmpty());
            QCOMPARE(e.focusWidget(), control<QLineEdit>(e, "txtNome_A"));
        }
        QVERIFY(!QFile::exists(catalogue())); // nothing touched the file
    }

    void enterWalksFortyFieldsAndWraps()
    {
        TfrmListinoPrezzi &e = *m_editor;
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(e, "txtNome_A"));
        QCOMPARE(Look::boxColour(control<QLineEdit>(e, "txtNome_A")), QColor::fromRgba(Look::Yellow));
        const TRiquadro::Field order[] = {TRiquadro::Nome, TRiquadro::UM, TRiquadro::Caratteristiche, TRiquadro::Codice,
                                          TRiquadro::Prezzo};
        for (int step = 1; step <= 40; ++step) {
            QWidget *before = QApplication::focusWidget();
            QTest::keyClick(before, Qt::Key_Return);
            QLineEdit *expected = boxField(e, step / 5 % 8, order[step % 5]);
            QCOMPARE(QApplication::focusWidget(), expected);
            QCOMPARE(Look::boxColour(expected), QColor::fromRgba(Look::Yellow));
            QCOMPARE(Look::boxColour(static_cast<QLineEdit *>(before)), QColor::fromRgba(Look::White));
        }
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(e, "txtNome_A")); // txtPrezzo_H wrapped round
        // The tab order is the same chain.
        control<QLineEdit>(e, "txtPrezzo_A")->setFocus();
        QTest::keyClick(control<QLineEdit>(e, "txtPrezzo_A"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(e, "txtNome_B"));
    }

    void typingStopsAtTheFieldsCapacity()
    {
        TfrmListinoPrezzi &e = *m_editor;
        control<QLineEdit>(e, "txtCodice_E")->setFocus();
        QTest::keyClicks(control<QLineEdit>(e, "txtCodice_E"), QString(45, QLatin1Char('9')));
        QCOMPARE(control<QLineEdit>(e, "txtCodice_E")->text(), QString(40, QLatin1Char('9')));
        // Pasted with the keyboard: only what fits goes in.
        control<QLineEdit>(e, "txtPrezzo_E")->setText(QString(25, QLatin1Char('1')));
        control<QLineEdit>(e, "txtPrezzo_E")->setFocus();
        control<QLineEdit>(e, "txtPrezzo_E")->end(false);
        QGuiApplication::clipboard()->setText(QStringLiteral("abcdefgh"));
        QTest::keyClick(control<QLineEdit>(e, "txtPrezzo_E"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(control<QLineEdit>(e, "txtPrezzo_E")->text(), QString(25, QLatin1Char('1')) + QStringLiteral("abcde"));
        // Pasted from the context menu (no key comes with it) or dropped:
        // the same.
        control<QLineEdit>(e, "txtPrezzo_E")->setText(QString(25, QLatin1Char('2')));
        control<QLineEdit>(e, "txtPrezzo_E")->setCursorPosition(10);
        control<QLineEdit>(e, "txtPrezzo_E")->paste();
        QCOMPARE(control<QLineEdit>(e, "txtPrezzo_E")->text(),
                 QString(10, QLatin1Char('2')) + QStringLiteral("abcde") + QString(15, QLatin1Char('2')));
        QCOMPARE(control<QLineEdit>(e, "txtPrezzo_E")->cursorPosition(), 15);
        // A longer text put there by the program is shown whole; typing
        // cannot make it longer, deleting works as usual.
        const QString long60 = QString(60, QLatin1Char('T'));
        control<QLineEdit>(e, "txtNome_E")->setText(long60);
        QCOMPARE(control<QLineEdit>(e, "txtNome_E")->text(), long60);
        control<QLineEdit>(e, "txtNome_E")->setFocus();
        control<QLineEdit>(e, "txtNome_E")->end(false);
        QTest::keyClick(control<QLineEdit>(e, "txtNome_E"), Qt::Key_X);
        QCOMPARE(control<QLineEdit>(e, "txtNome_E")->text(), long60);
        control<QLineEdit>(e, "txtNome_E")->paste();
        QCOMPARE(control<QLineEdit>(e, "txtNome_E")->text(), long60);
        QTest::keyClick(control<QLineEdit>(e, "txtNome_E"), Qt::Key_Backspace);
        QCOMPARE(control<QLineEdit>(e, "txtNome_E")->text().size(), 59);
    }

    void hintBarFollowsThePointer()
    {
        TfrmListinoPrezzi &e = *m_editor;
        const struct
        {
            QWidget *over;
            const char *hint;
        } steps[] = {
            {control<PictureButton>(e, "cmdSalva"), "Salva la scheda corrente."},
            {e.findChild<QWidget *>(QStringLiteral("bkgProdotto_03")), ""},
            {control<PictureBox>(e, "imgFoto_C"), "Carica la foto della persona."},
            {control<PictureButton>(e, "impProdotto_H"), "Importa i dati dallo schedario dei libri."},
            {control<QLabel>(e, "lblNome"), ""},
            {control<PictureButton>(e, "cmdIndietro"), "Visualizza la scheda precedente in archivio."},
            {e.findChild<QWidget *>(QStringLiteral("shpPulsanti07")), ""},
            {control<PictureButton>(e, "cmdAnteprima"), "Visualizza l'anteprima di stampa della scheda corrente."},
            {e.findChild<QWidget *>(QStringLiteral("shpBody")), ""},
        };
        for (const auto &s : steps) {
            QTest::mouseMove(s.over, QPoint(3, 3));
            QTRY_COMPARE(control<QLabel>(e, "panInfo")->text(), QString::fromUtf8(s.hint));
        }
        // An edit box sets no hint.
        QTest::mouseMove(control<PictureButton>(e, "cmdEsci"), QPoint(5, 5));
        QTRY_COMPARE(control<QLabel>(e, "panInfo")->text(), QStringLiteral("Esci da questa schermata di lavoro."));
        QTest::mouseMove(control<QLineEdit>(e, "txtUM_B"), QPoint(5, 5));
        QTest::qWait(20);
        QCOMPARE(control<QLabel>(e, "panInfo")->text(), QStringLiteral("Esci da questa schermata di lavoro."));
    }

    void emptyCatalogue_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("position");
        QTest::addColumn<bool>("message");
        QTest::addColumn<QString>("after");
        QTest::newRow("first") << "cmdPrimo"
                               << "" << true << "";
        QTest::newRow("previous") << "cmdIndietro"
                                  << "" << true << "";
        QTest::newRow("next") << "cmdAvanti"
                              << "" << true << "";
        QTest::newRow("last") << "cmdUltimo"
                              << "" << true << "";
        // A page number left over from a file that was deleted meanwhile.
        QTest::newRow("next, file gone") << "cmdAvanti"
                                         << "4" << true << "";
        QTest::newRow("last, file gone") << "cmdUltimo"
                                         << "4" << true << "4";
        QTest::newRow("previous on page 1") << "cmdIndietro"
                                            << "1" << false << "1";
    }
    void emptyCatalogue()
    {
        QFETCH(QString, command);
        QFETCH(QString, position);
        QFETCH(bool, message);
        QFETCH(QString, after);
        control<QLabel>(m_editor, "lblPosizione")->setText(position);
        MessageCatcher messages;
        QTest::mouseClick(m_editor->findChild<QWidget *>(command), Qt::LeftButton);
        QCOMPARE(messages.texts(), message ? QStringList{kNoPages} : QStringList{});
        if (message)
            QCOMPARE(messages.seen().first().icon, QMessageBox::Information);
        QCOMPARE(control<QLabel>(m_editor, "lblPosizione")->text(), after);
        QVERIFY(QFile::exists(catalogue())); // re-created, empty
        QCOMPARE(QFileInfo(catalogue()).size(), 0);
    }

    void browsingAFullCatalogue()
    {
        writePages(3);
        QVERIFY(writeFile(photoFile(2, 1), encodedPicture(detailedPicture(QSize(282, 366), 2), "jpg", 90)));
        TfrmListinoPrezzi &e = *m_editor;
        MessageCatcher messages;
        e.cmdAvantiClick(); // from a new page: page 1
        QCOMPARE(control<QLabel>(e, "lblPosizione")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLineEdit>(e, "txtNome_A")->text(), QStringLiteral("P1 A Nome"));
        QCOMPARE(control<QLineEdit>(e, "txtPrezzo_H")->text(), QStringLiteral("P1 H Prezzo"));
        e.cmdNuovoClick();
        e.cmdIndietroClick(); // from a new page: page 1 as well
        QCOMPARE(control<QLabel>(e, "lblPosizione")->text(), QStringLiteral("1"));
        e.cmdIndietroClick(); // on page 1: nothing
        QCOMPARE(control<QLabel>(e, "lblPosizione")->text(), QStringLiteral("1"));
        control<QLineEdit>(e, "txtUM_C")->setText(QStringLiteral("scritto e non salvato"));
        e.cmdUltimoClick();
        QCOMPARE(control<QLabel>(e, "lblPosizione")->text(), QStringLiteral("3"));
        e.cmdAvantiClick(); // on the last page: nothing
        QCOMPARE(control<QLabel>(e, "lblPosizione")->text(), QStringLiteral("3"));
        e.cmdIndietroClick();
        QCOMPARE(control<QLabel>(e, "lblPosizione")->text(), QStringLiteral("2"));
        QCOMPARE(control<QLineEdit>(e, "txtCaratteristiche_E")->text(), QStringLiteral("P2 E Caratteristiche"));
        // Page 2 has a photo in box B only; the rest show the placeholder.
        QCOMPARE(boxPhoto(e, 1)->sourceJpeg(), readFile(photoFile(2, 1)));
        QCOMPARE(boxPhoto(e, 1)->image().size(), QSize(282, 366));
        QCOMPARE(boxPhoto(e, 0)->image(), e.placeholder());
        e.cmdPrimoClick();
        QCOMPARE(control<QLineEdit>(e, "txtUM_C")->text(), QStringLiteral("P1 C UM")); // what was typed is gone
        QCOMPARE(boxPhoto(e, 1)->image(), e.placeholder());
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(readFile(catalogue()).size(), 15000); // browsing writes nothing
    }

    void saveAppendsThenRewrites()
    {
        writePages(7);
        const QByteArray before = readFile(catalogue());
        TfrmListinoPrezzi &e = *m_editor;
        fillBoxA();
        control<QLineEdit>(e, "txtNome_D")->setText(QStringLiteral("  Solo il titolo  "));
        MessageCatcher messages;
        e.cmdSalvaClick();
        QCOMPARE(messages.texts(), QStringList{kAppended});
        QCOMPARE(messages.seen().first().icon, QMessageBox::Information);
        QCOMPARE(control<QLabel>(e, "lblPosizione")->text(), QStringLiteral("8"));
        QByteArray after = readFile(catalogue());
        QCOMPARE(after.size(), 40000);
        QCOMPARE(after.left(35000), before);
        TPaginaCatalogo expected;
        expected.setText(0, TRiquadro::Nome, QStringLiteral("Il nome della rosa"));
        expected.setText(0, TRiquadro::UM, QStringLiteral("Umberto Eco  -  Bompiani (1980)"));
        expected.setText(0, TRiquadro::Caratteristiche, QStringLiteral("Prima edizione"));
        expected.setText(0, TRiquadro::Codice, QStringLiteral("ISBN: 88-452-0621-4"));
        expected.setText(0, TRiquadro::Prezzo, QStringLiteral("€ 18,50"));
        expected.setText(3, TRiquadro::Nome, QStringLiteral("Solo il titolo"));
        QCOMPARE(after.mid(35000), QByteArray(expected.data(), 5000));

        control<QLineEdit>(e, "txtPrezzo_A")->setText(QStringLiteral("€ 15,00"));
        messages.clear();
        e.cmdSalvaClick();
        QCOMPARE(messages.texts(), QStringList{kRewritten});
        QCOMPARE(control<QLabel>(e, "lblPosizione")->text(), QStringLiteral("8"));
        const QByteArray rewritten = readFile(catalogue());
        QCOMPARE(rewritten.size(), 40000);
        QCOMPARE(rewritten.left(35000), before);
        QCOMPARE(rewritten.mid(35000 + 594, 8), QByteArray("\x07\x80 15,00"));

        // Nuovo, then the same texts again: always a new page.
        e.cmdNuovoClick();
        fillBoxA();
        messages.clear();
        e.cmdSalvaClick();
        QCOMPARE(messages.texts(), QStringList{kAppended});
        QCOMPARE(control<QLabel>(e, "lblPosizione")->text(), QStringLiteral("9"));
        QCOMPARE(readFile(catalogue()).size(), 45000);
    }

    void boxAIsRequired_data()
    {
        QTest::addColumn<QStringList>("values"); // Nome, UM, Caratteristiche, Codice, Prezzo
        QTest::addColumn<QString>("focus");
        QTest::newRow("all empty") << QStringList{QStringLiteral(""), QStringLiteral(""), QStringLiteral(""),
                                                  QStringLiteral(""), QStringLiteral("")}
                                   << QStringLiteral("txtNome_A");
        QTest::newRow("UM") << QStringList{QStringLiteral("T"), QStringLiteral(""), QStringLiteral("C"),
                                           QStringLiteral("I"), QStringLiteral("P")}
                            << QStringLiteral("txtUM_A");
        QTest::newRow("Caratteristiche of blanks")
            << QStringList{QStringLiteral("T"), QStringLiteral("U"), QStringLiteral(" \t "), QStringLiteral("I"),
                           QStringLiteral("P")}
            << QStringLiteral("txtCaratteristiche_A");
        QTest::newRow("Codice") << QStringList{QStringLiteral("T"), QStringLiteral("U"), QStringLiteral("C"),
                                               QStringLiteral(""), QStringLiteral("")}
                                << QStringLiteral("txtCodice_A");
        QTest::newRow("only Prezzo") << QStringList{QStringLiteral("T"), QStringLiteral("U"), QStringLiteral("C"),
                                                    QStringLiteral("I"), QStringLiteral("")}
                                     << QStringLiteral("txtPrezzo_A");
        QTest::newRow("Prezzo of blanks") << QStringList{QStringLiteral("T"), QStringLiteral("U"), QStringLiteral("C"),
                                                         QStringLiteral("I"), QStringLiteral("   ")}
                                          << QStringLiteral("txtPrezzo_A");
    }
    void boxAIsRequired()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, focus);
        TfrmListinoPrezzi &e = *m_editor;
        const TRiquadro::Field order[] = {TRiquadro::Nome, TRiquadro::UM, TRiquadro::Caratteristiche, TRiquadro::Codice,
                                          TRiquadro::Prezzo};
        for (int i = 0; i < 5; ++i)
            boxField(e, 0, order[i])->setText(values[i]);
        control<QLineEdit>(e, "txtNome_B")->setText(QStringLiteral("tenuto"));
        control<QLineEdit>(e, "txtNome_B")->setFocus();
        MessageCatcher messages;
        QTest::mouseClick(control<PictureButton>(e, "cmdSalva"), Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{kBoxA});
        QCOMPARE(messages.seen().first().icon, QMessageBox::Warning);
        QVERIFY(e.focusWidget());
        QCOMPARE(e.focusWidget()->objectName(), focus);
        QCOMPARE(control<QLineEdit>(e, "txtNome_B")->text(), QStringLiteral("tenuto"));
        QVERIFY(control<QLabel>(e, "lblPosizione")->text().isEmpty());
        QVERIFY(filesBelow(m_folder->path()).isEmpty()); // nothing written, not even the file
    }

    void saveWritesEightPhotosAndThePreviews()
    {
        TfrmListinoPrezzi &e = *m_editor;
        fillBoxA(); // no photo loaded, boxes B to H empty
        MessageCatcher messages;
        e.cmdSalvaClick();
        QCOMPARE(messages.texts(), QStringList{kAppended});
        QStringList expected{QStringLiteral("Narrativa.cat")};
        for (int box = 0; box < 8; ++box) {
            const QChar x(u'A' + box);
            expected << QStringLiteral("Foto_Gruppo/Narrativa_Anteprima_%1.jpg").arg(x)
                     << QStringLiteral("Foto_Gruppo/Narrativa_Foto_%1_1.jpg").arg(x);
        }
        expected.sort();
        QCOMPARE(filesBelow(m_folder->path()), expected);
        for (int box = 0; box < 8; ++box) {
            const QByteArray stored = readFile(photoFile(1, box));
            QVERIFY(stored.startsWith("\xFF\xD8\xFF"));
            QCOMPARE(decoded(stored).size(), QSize(282, 366));
            // The screen now shows the stored picture, and the preview is the same file.
            QCOMPARE(boxPhoto(e, box)->sourceJpeg(), stored);
            QCOMPARE(readFile(previewFile(box)), stored);
        }
        // Browsing back shows the stored placeholder in every box.
        e.cmdNuovoClick();
        e.cmdPrimoClick();
        for (int box = 0; box < 8; ++box) {
            QCOMPARE(boxPhoto(e, box)->image().size(), QSize(282, 366));
            QCOMPARE(boxPhoto(e, box)->sourceJpeg(), readFile(photoFile(1, box)));
        }
    }

    void photoFromFileIsStretchedOnceAndShownAsStored()
    {
        TfrmListinoPrezzi &e = *m_editor;
        const QString big = m_folder->file(QStringLiteral("grande.jpg"));
        QVERIFY(writeFile(big, encodedPicture(detailedPicture(QSize(1000, 1000), 3), "jpg", 95)));
        // Typed without its extension: the dialog's default extension finds it.
        FileChooser::answerNext(m_folder->file(QStringLiteral("grande")));
        QTest::mouseClick(control<PictureBox>(e, "imgFoto_B"), Qt::LeftButton, {}, QPoint(40, 50));
        QCOMPARE(FileChooser::requests().size(), 1);
        const FileChooser::Request &request = FileChooser::requests().first();
        QCOMPARE(request.name, QStringLiteral("dlgFile"));
        QCOMPARE(request.kind, FileChooser::Request::Open);
        QCOMPARE(request.title, QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."));
        QCOMPARE(FileChooser::qtFilters(request),
                 QStringList({QStringLiteral("Immagine JPEG (*.jpg; *.jpeg) (*.jpg *.jpeg)"),
                              QStringLiteral("Immagine Bitmap (*.bmp) (*.bmp)")}));
        QCOMPARE(request.defaultSuffix, QStringLiteral("jpg"));
        QCOMPARE(boxPhoto(e, 1)->image().size(), QSize(1000, 1000)); // its own size until saved
        QVERIFY(!QDir(CatalogueFolder::photoFolder()).exists());     // and nothing on disk yet

        fillBoxA();
        MessageCatcher messages;
        e.cmdSalvaClick();
        const QByteArray stored = readFile(photoFile(1, 1));
        const QImage expected = detailedPicture(QSize(1000, 1000), 3);
        QCOMPARE(decoded(stored).size(), QSize(282, 366));
        QCOMPARE(readFile(previewFile(1)), stored); // encoded once, the same bytes twice
        QCOMPARE(boxPhoto(e, 1)->sourceJpeg(), stored);
        QCOMPARE(boxPhoto(e, 1)->image(), decoded(stored));
        QVERIFY(expected.size() != boxPhoto(e, 1)->image().size());
    }

    void unchangedPhotosAreWrittenBackByteForByte()
    {
        // Photos of page 1 made by an earlier save at another quality: saving,
        // previewing and saving again must never re-encode them.
        writePages(1);
        QList<QByteArray> originals;
        for (int box = 0; box < 8; ++box) {
            originals << encodedPicture(detailedPicture(QSize(282, 366), quint32(10 + box)), "jpg", 92);
            QVERIFY(writeFile(photoFile(1, box), originals.last()));
        }
        TfrmListinoPrezzi &e = *m_editor;
        e.cmdPrimoClick();
        MessageCatcher messages;
        for (int round = 0; round < 3; ++round) {
            e.cmdSalvaClick();
            e.writePreviewPictures();
            for (int box = 0; box < 8; ++box) {
                QCOMPARE(readFile(photoFile(1, box)), originals[box]);
                QCOMPARE(readFile(previewFile(box)), originals[box]);
                QCOMPARE(boxPhoto(e, box)->sourceJpeg(), originals[box]);
            }
            e.cmdNuovoClick();
            e.cmdPrimoClick();
        }
        QCOMPARE(messages.texts(), QStringList(3, kRewritten));
    }

    void previewPicturesNormaliseWhatIsShown()
    {
        TfrmListinoPrezzi &e = *m_editor;
        const QImage bitmap = detailedPicture(QSize(200, 100), 4);
        boxPhoto(e, 4)->setImage(bitmap);
        e.writePreviewPictures(); // before a preview or print: nothing but the pictures
        const QByteArray preview = readFile(previewFile(4));
        QCOMPARE(decoded(preview).size(), QSize(282, 366));
        QCOMPARE(boxPhoto(e, 4)->sourceJpeg(), preview);
        QVERIFY(!QFile::exists(catalogue()));
        QVERIFY(!QFile::exists(photoFile(1, 4)));
        // A preview picture that cannot be written leaves that box, and every
        // box after it, as it was: an older file is never loaded in its place.
        QVERIFY(writeFile(previewFile(6),
                          encodedPicture(detailedPicture(QSize(282, 366), 99), "jpg", 90))); // from another page
        QFile::remove(previewFile(5));
        QVERIFY(QDir().mkpath(previewFile(5))); // a folder where the picture goes
        const QImage shown = detailedPicture(QSize(30, 30), 5);
        boxPhoto(e, 6)->setImage(shown);
        e.writePreviewPictures();
        QCOMPARE(boxPhoto(e, 6)->image(), shown);
        QCOMPARE(boxPhoto(e, 4)->sourceJpeg(), preview);
    }

    // Anteprima and Stampa print what the screen shows, saved or not, after
    // making every photo the stored 282 x 366 picture; Annulla prints nothing
    // but has already written the preview pictures.
    void previewAndPrintThePageOnScreen()
    {
        TfrmListinoPrezzi &e = *m_editor;
        fillBoxA();
        boxPhoto(e, 1)->setImage(detailedPicture(QSize(1000, 1000), 7));
        PrintRecorder printer(m_folder->file(QStringLiteral("page.pdf")));
        MessageCatcher messages;

        whenOpen<TfrmStampaProdotto>([](TfrmStampaProdotto *w) { control<QPushButton>(w, "btnAnnulla")->click(); });
        e.cmdStampaClick();
        QCOMPARE(printer.dialogs, 0);
        QCOMPARE(decoded(readFile(previewFile(1))).size(), QSize(282, 366));
        QCOMPARE(boxPhoto(e, 1)->sourceJpeg(), readFile(previewFile(1)));

        whenOpen<TfrmStampaProdotto>([](TfrmStampaProdotto *w) { control<QPushButton>(w, "btnStampa")->click(); });
        e.cmdStampaClick();
        QCOMPARE(printer.dialogs, 1);
        const PdfText pdf = PdfText::read(printer.pdf());
        QCOMPARE(pdf.pages.size(), 1);
        QVERIFY(!pdf.pages[0].find(QStringLiteral("Narrativa")).text.isEmpty());
        QVERIFY(!pdf.pages[0].find(QStringLiteral("rosa")).text.isEmpty());
        QVERIFY(!QFile::exists(catalogue())); // printing never saves

        bool previewShown = false;
        whenOpen<TfrmAnteprimaProdotto>([&previewShown](TfrmAnteprimaProdotto *w) {
            whenOpen<ReportPreview>([&previewShown](ReportPreview *preview) {
                previewShown = preview->report().object(QStringLiteral("txtNome_A"))->text() ==
                               QStringLiteral("Il nome della rosa");
                preview->close();
            });
            control<QPushButton>(w, "btnStampa")->click();
        });
        e.cmdAnteprimaClick();
        QVERIFY(previewShown);
        QVERIFY(messages.seen().isEmpty());
    }

    void photoFromFileCancelledOrUnreadable()
    {
        TfrmListinoPrezzi &e = *m_editor;
        const QImage kept = detailedPicture(QSize(50, 60));
        boxPhoto(e, 2)->setImage(kept);
        FileChooser::answerNext(QString()); // cancelled
        e.imgFoto_CClick();
        QCOMPARE(boxPhoto(e, 2)->image(), kept);
        const QString text = m_folder->file(QStringLiteral("non_una_foto.jpg"));
        QVERIFY(writeFile(text, "testo, non una foto"));
        FileChooser::answerNext(text);
        MessageCatcher messages;
        e.imgFoto_CClick();
        QCOMPARE(boxPhoto(e, 2)->image(), e.placeholder());
        QVERIFY(messages.texts().isEmpty());
    }

    void abandonedPhotoIsNotStored()
    {
        writePages(2);
        TfrmListinoPrezzi &e = *m_editor;
        e.cmdPrimoClick();
        const QStringList before = filesBelow(m_folder->path());
        const QString picture = m_folder->file(QStringLiteral("foto.jpg"));
        QVERIFY(writeFile(picture, encodedPicture(detailedPicture(QSize(282, 366)), "jpg", 90)));
        FileChooser::answerNext(picture);
        e.imgFoto_AClick();
        e.cmdAvantiClick();
        e.cmdIndietroClick();
        QCOMPARE(boxPhoto(e, 0)->image(), e.placeholder());
        QCOMPARE(filesBelow(m_folder->path()), before + QStringList{QStringLiteral("foto.jpg")});
    }

    void catalogueThatCannotBeWritten_data()
    {
        QTest::addColumn<bool>("folderInPlace"); // otherwise the disk is full
        QTest::newRow("a folder in its place") << true;
        QTest::newRow("no room to append") << false;
    }
    void catalogueThatCannotBeWritten()
    {
        QFETCH(bool, folderInPlace);
#ifdef Q_OS_WIN
        if (!folderInPlace)
            QSKIP(FILE_SIZE_LIMIT_REASON);
#endif
        if (folderInPlace)
            QVERIFY(QDir().mkpath(catalogue()));
        else
            writePages(3);
        const QByteArray before = folderInPlace ? QByteArray() : readFile(catalogue());
        TfrmListinoPrezzi &e = *m_editor;
        fillBoxA();
        boxPhoto(e, 0)->setImage(detailedPicture(QSize(40, 40)));
        const QImage shown = boxPhoto(e, 0)->image();
        MessageCatcher messages;
        {
#ifndef Q_OS_WIN
            FileSizeLimit limit(rlim_t(folderInPlace ? RLIM_INFINITY : 15000));
#endif
            e.cmdSalvaClick();
        }
        QCOMPARE(messages.texts(), QStringList{BookArchive::accessFailureMessage()});
        QCOMPARE(messages.seen().first().icon, QMessageBox::Critical);
        QVERIFY(control<QLabel>(e, "lblPosizione")->text().isEmpty()); // still a new page
        QCOMPARE(control<QLineEdit>(e, "txtNome_A")->text(), QStringLiteral("Il nome della rosa"));
        QCOMPARE(boxPhoto(e, 0)->image(), shown);
        QVERIFY(!QDir(CatalogueFolder::photoFolder()).exists()); // no photo written
        if (!folderInPlace) {
            QCOMPARE(readFile(catalogue()).left(15000), before);
            CatalogueFile file(catalogue());
            QVERIFY(file.open());
            QCOMPARE(file.count(), 3);
            return;
        }
        // Browsing reports the same and leaves the screen as it was.
        messages.clear();
        e.cmdPrimoClick();
        e.cmdAvantiClick();
        QCOMPARE(messages.texts(), QStringList(2, BookArchive::accessFailureMessage()));
        QCOMPARE(control<QLineEdit>(e, "txtNome_A")->text(), QStringLiteral("Il nome della rosa"));
        QVERIFY(QFileInfo(catalogue()).isDir());
    }

    void picturesStayInsideFotoGruppo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent folder") << "../Fuori";
        QTest::newRow("backslashes") << "..\\..\\Fuori";
        QTest::newRow("reserved") << "con.vecchio";
        QTest::newRow("empty") << "";
    }
    void picturesStayInsideFotoGruppo()
    {
        // A catalogue name that would lead out of Foto_Gruppo (a file renamed
        // by hand, a label written by mistake) names no picture file at all,
        // and the user is told why the photos were not saved.
        QFETCH(QString, name);
        const QString root = m_folder->path();
        QVERIFY(QDir().mkpath(root + QStringLiteral("programma")));
        ProgramFolder::setPath(root + QStringLiteral("programma"));
        TfrmListinoPrezzi &e = *m_editor;
        control<QLabel>(e, "lblFile")->setText(catalogue());
        control<QLabel>(e, "lblNome")->setText(name);
        fillBoxA();
        boxPhoto(e, 0)->setImage(detailedPicture(QSize(40, 40)));
        MessageCatcher messages;
        e.cmdSalvaClick();
        QCOMPARE(messages.texts(), QStringList({CatalogueFolder::pictureNameProblem(name), kAppended}));
        QVERIFY(messages.texts().first().startsWith(QStringLiteral("Attenzione: il nome del catalogo non può dare")));
        QCOMPARE(filesBelow(root), QStringList{QStringLiteral("programma/Narrativa.cat")}); // the page itself is saved
        for (int box = 0; box < 8; ++box)
            QCOMPARE(boxPhoto(e, box)->image(), e.placeholder());
        e.cmdPrimoClick();
        QCOMPARE(boxPhoto(e, 0)->image(), e.placeholder());
        ProgramFolder::setPath(root);
    }

    void legalNamesKeepTheirPhotos_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("two dots inside") << "Vol..2";
        QTest::newRow("dots only") << "..";
        QTest::newRow("device name alone") << "con";
        QTest::newRow("231 characters") << QString(231, QLatin1Char('v'));
        QTest::newRow("246 characters, accents") << QString(240, QLatin1Char('v')) + QStringLiteral("àèìòù€");
        QTest::newRow("251 characters") << QString(251, QLatin1Char('v'));
    }
    void legalNamesKeepTheirPhotos()
    {
        // A catalogue file copied in by hand under a name its system allows:
        // its box photos are stored, read back, and stay inside Foto_Gruppo.
        QFETCH(QString, name);
        TfrmListinoPrezzi &e = *m_editor;
        control<QLabel>(e, "lblNome")->setText(name);
        fillBoxA();
        boxPhoto(e, 0)->setImage(detailedPicture(QSize(282, 366), 4));
        boxPhoto(e, 7)->setImage(detailedPicture(QSize(282, 366), 5));
        MessageCatcher messages;
        e.cmdSalvaClick();
        QCOMPARE(messages.texts(), QStringList{kAppended});
        const QByteArray first = readFile(CatalogueFolder::photoPath(name, 0, QStringLiteral("1")));
        const QByteArray last = readFile(CatalogueFolder::photoPath(name, 7, QStringLiteral("1")));
        QVERIFY(!first.isEmpty());
        QVERIFY(!last.isEmpty() && last != first);
        QCOMPARE(readFile(CatalogueFolder::previewPath(name, 7)), last);
        const QStringList files = filesBelow(m_folder->path());
        QCOMPARE(files.size(), 1 + 8 + 8); // the catalogue, 8 photos, 8 preview pictures
        for (const QString &file : files) {
            QVERIFY2(file == QStringLiteral("Narrativa.cat") || file.startsWith(QStringLiteral("Foto_Gruppo/")),
                     qPrintable(file));
            QVERIFY2(QFileInfo(file).fileName().toUtf8().size() <= 255, qPrintable(file));
        }
        e.cmdNuovoClick();
        e.cmdPrimoClick();
        QCOMPARE(boxPhoto(e, 0)->sourceJpeg(), first);
        QCOMPARE(boxPhoto(e, 7)->sourceJpeg(), last);
    }

    void longNamesThatBeginAlikeKeepApart()
    {
        const QString a = QString(250, QLatin1Char('x')) + QLatin1Char('a');
        const QString b = QString(250, QLatin1Char('x')) + QLatin1Char('b');
        QVERIFY(CatalogueFolder::photoPath(a, 0, QStringLiteral("1")) !=
                CatalogueFolder::photoPath(b, 0, QStringLiteral("1")));
        QVERIFY(CatalogueFolder::previewPath(a, 0) != CatalogueFolder::previewPath(b, 0));
        // A name that fits keeps the picture names of every earlier version.
        QCOMPARE(CatalogueFolder::photoPath(QStringLiteral("Vol..2"), 2, QStringLiteral("12")),
                 CatalogueFolder::photoFolder() + QStringLiteral("Vol..2_Foto_C_12.jpg"));
        QCOMPARE(CatalogueFolder::previewPath(QStringLiteral("Narrativa"), 7),
                 CatalogueFolder::photoFolder() + QStringLiteral("Narrativa_Anteprima_H.jpg"));
    }

    void importFillsOnlyTheChosenBox()
    {
        // The card index: an older card of the same title, then the one chosen.
        TSchedaLibro book = card(QStringLiteral("Il nome della rosa, edizione illustrata con note e apparati."),
                                 QStringLiteral("Umberto Eco"), QStringLiteral("Bompiani"), QStringLiteral("1980"));
        book.setText(TSchedaLibro::Note, QStringLiteral("Prima edizione"));
        book.setText(TSchedaLibro::ISBN, QStringLiteral("88-452-0621-4"));
        book.setText(TSchedaLibro::Prezzo, QStringLiteral("18,50"));
        {
            BookArchive archive;
            QVERIFY(archive.open());
            QCOMPARE(archive.append(card(QStringLiteral("Altro"))), 1);
            QCOMPARE(archive.append(book), 2);
            QVERIFY(archive.close());
        }
        const QByteArray cover = encodedPicture(detailedPicture(QSize(307, 409), 8), "jpg", 90);
        QVERIFY(writeFile(Covers::path(QStringLiteral("2")), cover));
        writePages(1);
        TfrmListinoPrezzi &e = *m_editor;
        e.cmdPrimoClick();

        QString tag;
        whenOpen<TfrmTrovaLibri>([&](TfrmTrovaLibri *search) {
            tag = control<QLabel>(search, "lblMemory")->text();
            control<QLineEdit>(search, "txtAutore")->setText(QStringLiteral("eco"));
            search->btnCercaClick();
            search->selectRow(0);
            search->lstRecordsDblClick();
        });
        QTest::mouseClick(control<PictureButton>(e, "impProdotto_C"), Qt::LeftButton);
        QCOMPARE(tag, QStringLiteral("libro_c"));
        QVERIFY(e.findChildren<TfrmTrovaLibri *>().isEmpty()); // gone after its run

        const QString title = QStringLiteral("Il nome della rosa, edizione illustrata con note e apparati.");
        QCOMPARE(control<QLineEdit>(e, "txtNome_C")->text(), title); // shown whole
        QCOMPARE(control<QLineEdit>(e, "txtUM_C")->text(), QStringLiteral("Umberto Eco  -  Bompiani (1980)"));
        QCOMPARE(control<QLineEdit>(e, "txtCaratteristiche_C")->text(), QStringLiteral("Prima edizione"));
        QCOMPARE(control<QLineEdit>(e, "txtCodice_C")->text(), QStringLiteral("ISBN: 88-452-0621-4"));
        QCOMPARE(control<QLineEdit>(e, "txtPrezzo_C")->text(), QStringLiteral("€ 18,50"));
        QCOMPARE(control<QLabel>(e, "lblRecord")->text(), QStringLiteral("2"));
        QCOMPARE(boxPhoto(e, 2)->sourceJpeg(), cover);
        for (int box : {0, 1, 3, 4, 5, 6, 7}) {
            for (int f = 0; f < TRiquadro::FieldCount; ++f)
                QCOMPARE(boxField(e, box, f)->text(),
                         QStringLiteral("P1 %1 %2").arg(QChar(u'A' + box)).arg(QLatin1String(kFieldNames[f])));
            QCOMPARE(boxPhoto(e, box)->image(), e.placeholder());
        }
        QCOMPARE(readFile(catalogue()), QByteArray(page(1).data(), 5000)); // the import writes nothing

        // Saved, the title keeps its first 50 characters and the cover becomes
        // the box photo at the stored size.
        MessageCatcher messages;
        e.cmdSalvaClick();
        e.cmdNuovoClick();
        e.cmdPrimoClick();
        QCOMPARE(control<QLineEdit>(e, "txtNome_C")->text(), title.left(50));
        QCOMPARE(decoded(readFile(photoFile(1, 2))).size(), QSize(282, 366));
        QCOMPARE(boxPhoto(e, 2)->sourceJpeg(), readFile(photoFile(1, 2)));
    }

    void helpTopic()
    {
        QString title, body;
        whenOpen<TfrmGuida>([&](TfrmGuida *help) {
            title = control<QLabel>(help, "lblTitolo")->text();
            body = control<QPlainTextEdit>(help, "txtGuida")->toPlainText();
            help->close();
        });
        QTest::mouseClick(control<PictureButton>(m_editor, "cmdGuida"), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("App Catalogo Libri"));
        QCOMPARE(body, HelpTopics::catalogoLibri().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

private:
    QString catalogue() const
    {
        return m_folder->file(QStringLiteral("Narrativa.cat"));
    }
    static QString photoFile(int page, int box)
    {
        return CatalogueFolder::photoPath(QStringLiteral("Narrativa"), box, QString::number(page));
    }
    static QString previewFile(int box)
    {
        return CatalogueFolder::previewPath(QStringLiteral("Narrativa"), box);
    }
    void writePages(int count)
    {
        CatalogueFile file(catalogue());
        QVERIFY(file.open());
        for (int n = 1; n <= count; ++n)
            QCOMPARE(file.append(page(n)), n);
        QVERIFY(file.close());
    }
    void fillBoxA()
    {
        control<QLineEdit>(m_editor, "txtNome_A")->setText(QStringLiteral("Il nome della rosa"));
        control<QLineEdit>(m_editor, "txtUM_A")->setText(QStringLiteral("Umberto Eco  -  Bompiani (1980)"));
        control<QLineEdit>(m_editor, "txtCaratteristiche_A")->setText(QStringLiteral("Prima edizione"));
        control<QLineEdit>(m_editor, "txtCodice_A")->setText(QStringLiteral("ISBN: 88-452-0621-4"));
        control<QLineEdit>(m_editor, "txtPrezzo_A")->setText(QStringLiteral("€ 18,50"));
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TfrmListinoPrezzi> m_editor;
};

QTEST_MAIN(TestListinoPrezzi)
#include "tst_tfrmlistinoprezzi.moc"
