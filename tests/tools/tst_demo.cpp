// The demonstration folder written by rilegora-demo: the card screen opens
// it, its cards carry valid ISBN-13s, its catalogue opens in the page
// editor with a photo in every box, and its files are where the program
// looks for them; a folder that already has cards is never touched.
#include "common/screencontrols.h"
#include "common/testsupport.h"

#include "access/passwordstore.h"
#include "books/tfrmallegacartella.h"
#include "books/tfrmlibri.h"
#include "catalogues/cataloguefile.h"
#include "catalogues/cataloguefolder.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "core/bookarchive.h"
#include "kit/covers.h"
#include "kit/picturewidgets.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

int runDemo(const QString &folder)
{
    QProcess demo;
    demo.setProcessChannelMode(QProcess::ForwardedChannels);
    demo.start(QStringLiteral(RILEGORA_DEMO_TOOL), {folder});
    if (!demo.waitForFinished(120000) || demo.exitStatus() != QProcess::NormalExit)
        return -1;
    return demo.exitCode();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool validIsbn13(const QString &isbn)
{
    const QString digits = QString(isbn).remove(QLatin1Char('-'));
    if (!QRegularExpression(QStringLiteral("^97[89]\\d{10}$")).match(digits).hasMatch())
        return false;
    int sum = 0;
    for (int i = 0; i < 13; ++i)
        sum += digits[i].digitValue() * (i % 2 ? 3 : 1);
    return sum % 10 == 0;
}

} // namespace

class TestDemo : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        prepareScreenTests();
        QCOMPARE(runDemo(m_folder.path()), 0);
    }

    void cardScreenOpensTheFolder()
    {
        TfrmLibri form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        MessageCatcher messages;
        form.cmdPrimoClick();
        QCOMPARE(messages.texts(), QStringList());
        QCOMPARE(control<QLabel>(form, "lblPosizione")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLineEdit>(form, "txtTitolo")->text(), QStringLiteral("I promessi sposi"));
        QCOMPARE(control<QLineEdit>(form, "txtAutore")->text(), QStringLiteral("Alessandro Manzoni"));
        QCOMPARE(control<PictureBox>(form, "imgFoto")->image().size(), QSize(320, 480));
        QVERIFY(control<PictureBox>(form, "imgFoto")->image() != form.placeholder());

        // The attachments that card 1 names are in the attachment folder.
        for (QLabel *name : {control<QLabel>(form, "lblFile01"), control<QLabel>(form, "lblFile02")}) {
            QVERIFY(!name->text().isEmpty());
            QVERIFY2(QFile::exists(TfrmAllegaCartella::folder() + name->text()), qPrintable(name->text()));
        }
        QVERIFY(readAll(TfrmAllegaCartella::folder() + control<QLabel>(form, "lblFile01")->text()).startsWith("%PDF-"));
        QVERIFY(control<QLabel>(form, "lblFile03")->text().isEmpty());
    }

    void cardsAreFilledAndRealistic()
    {
        BookArchive archive;
        QVERIFY(archive.openForReading());
        QVERIFY2(archive.count() >= 45 && archive.count() <= 60, QByteArray::number(archive.count()));
        QSet<QString> isbns;
        int covers = 0;
        const QRegularExpression price(QStringLiteral("^\\d{1,3},\\d\\d$"));
        const QRegularExpression dewey(QStringLiteral("^\\d{3}(\\.\\d+)?$"));
        for (int n = 1; n <= archive.count(); ++n) {
            TSchedaLibro card;
            QVERIFY(archive.read(n, card));
            const QString where = QStringLiteral("card %1").arg(n);
            for (int field : {TSchedaLibro::Titolo, TSchedaLibro::Autore, TSchedaLibro::Anno, TSchedaLibro::Editore,
                              TSchedaLibro::Citta, TSchedaLibro::Genere, TSchedaLibro::Lingua, TSchedaLibro::Posizione,
                              TSchedaLibro::Etichetta, TSchedaLibro::Pagine})
                QVERIFY2(!card.text(field).isEmpty(), qPrintable(where + QLatin1Char(' ') + TSchedaLibro::name(field)));
            QVERIFY2(validIsbn13(card.text(TSchedaLibro::ISBN)), qPrintable(where + card.text(TSchedaLibro::ISBN)));
            isbns.insert(card.text(TSchedaLibro::ISBN));
            QVERIFY2(price.match(card.text(TSchedaLibro::Prezzo)).hasMatch(), qPrintable(where));
            QVERIFY2(dewey.match(card.text(TSchedaLibro::Dewey)).hasMatch(), qPrintable(where));
            QImage cover;
            if (Covers::readPicture(Covers::path(QString::number(n)), cover))
                ++covers;
        }
        QCOMPARE(isbns.size(), archive.count());
        // Most cards have a cover; a few show the placeholder.
        QVERIFY(covers >= archive.count() - 5 && covers < archive.count());
        QCOMPARE(readAll(PasswordStore::filePath()), QByteArray("[Accesso]\r\nValore=4EA98ED2022186BA\r\n"));
    }

    void catalogueOpensInThePageEditor()
    {
        const QString name = QStringLiteral("Novità in vetrina");
        QCOMPARE(CatalogueFolder::list(), QStringList(name + QStringLiteral(".cat")));
        CatalogueFile file(CatalogueFolder::path(name));
        QVERIFY(file.open());
        QCOMPARE(file.count(), 3);
        file.close();

        TfrmListinoPrezzi editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        control<QLabel>(editor, "lblFile")->setText(CatalogueFolder::path(name));
        control<QLabel>(editor, "lblNome")->setText(name);
        MessageCatcher messages;
        QSet<QString> titles;
        for (int page = 1; page <= 3; ++page) {
            page == 1 ? editor.cmdPrimoClick() : editor.cmdAvantiClick();
            QCOMPARE(control<QLabel>(editor, "lblPosizione")->text(), QString::number(page));
            for (int box = 0; box < TPaginaCatalogo::BoxCount; ++box) {
                const QString where = QStringLiteral("page %1 box %2").arg(page).arg(CatalogueFolder::boxLetter(box));
                const QString title = boxField(editor, box, TRiquadro::Nome)->text();
                QVERIFY2(!title.isEmpty(), qPrintable(where));
                titles.insert(title);
                QVERIFY2(boxField(editor, box, TRiquadro::Codice)->text().startsWith(QStringLiteral("ISBN: 978-")),
                         qPrintable(where));
                QVERIFY2(boxField(editor, box, TRiquadro::Prezzo)->text().startsWith(QStringLiteral("€ ")),
                         qPrintable(where));
                QVERIFY2(boxField(editor, box, TRiquadro::UM)->text().contains(QStringLiteral("  -  ")),
                         qPrintable(where));
                QCOMPARE(boxPhoto(editor, box)->image().size(), CatalogueFolder::PhotoSize);
                QVERIFY2(boxPhoto(editor, box)->image() != editor.placeholder(), qPrintable(where));
            }
        }
        QCOMPARE(titles.size(), 3 * TPaginaCatalogo::BoxCount);
        QCOMPARE(messages.texts(), QStringList());
    }

    void folderWithCardsIsLeftAlone()
    {
        const QByteArray before = readAll(BookArchive::path());
        QVERIFY(runDemo(m_folder.path()) != 0);
        QCOMPARE(readAll(BookArchive::path()), before);
    }

private:
    TempProgramFolder m_folder;
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"
