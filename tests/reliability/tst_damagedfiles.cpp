// Damaged data files read by every screen that reads them: the card index
// and a catalogue cut short, filled with random bytes, with length bytes
// above their capacity, empty; box photos that are not pictures, are cut
// short or claim an enormous size. Nothing crashes or hangs, every text
// stays within its field, and reading never changes a byte.
#include "common/filefixtures.h"
#include "common/picturefixtures.h"
#include "common/screencontrols.h"
#include "common/testsupport.h"
#include "common/watchdog.h"

#include "books/tfrmlibri.h"
#include "catalogues/cataloguefile.h"
#include "catalogues/cataloguefolder.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "core/bookarchive.h"
#include "core/programfolder.h"
#include "kit/filechooser.h"
#include "kit/picturewidgets.h"
#include "output/tfrmexplibri.h"
#include "search/booksearch.h"

#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include <functional>

namespace {

const QString kNoCards = QStringLiteral("L'archivio non contiene nessuna scheda.");

/// Bytes of a damaged record file, made from whole good records of size
/// recordSize (good(n) gives record n).
using Damage = std::function<QByteArray(int recordSize, const std::function<QByteArray(int)> &good)>;

QByteArray randomBytes(int size, quint32 seed)
{
    QByteArray out(size, '\0');
    QRandomGenerator random(seed);
    for (char &c : out)
        c = char(random.bounded(256));
    return out;
}

void addDamageRows()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<int>("records"); // whole records the damaged file holds
    QTest::newRow("0-byte file") << Damage([](int, auto) { return QByteArray(); }) << 0;
    QTest::newRow("one byte") << Damage([](int, auto) { return QByteArray(1, '\x7F'); }) << 0;
    QTest::newRow("cut short in the second record")
        << Damage([](int size, auto good) { return good(1) + good(2).left(size / 3); }) << 1;
    QTest::newRow("length not a multiple of the record")
        << Damage([](int, auto good) { return good(1) + good(2) + good(3) + "coda"; }) << 3;
    QTest::newRow("random bytes") << Damage([](int size, auto) { return randomBytes(3 * size, 11); }) << 3;
    QTest::newRow("random bytes and a tail")
        << Damage([](int size, auto) { return randomBytes(3 * size + 977, 12); }) << 3;
    QTest::newRow("every length byte 255") << Damage([](int size, auto) { return QByteArray(2 * size, '\xFF'); }) << 2;
    QTest::newRow("good records around a damaged one")
        << Damage([](int size, auto good) { return good(1) + randomBytes(size, 13) + good(3); }) << 3;
}

TSchedaLibro goodCard(int n)
{
    TSchedaLibro card;
    for (int f = 0; f < TSchedaLibro::FieldCount; ++f)
        card.setText(f, QStringLiteral("%1 %2").arg(TSchedaLibro::name(f)).arg(n));
    return card;
}

TPaginaCatalogo goodPage(int n)
{
    TPaginaCatalogo page;
    for (int box = 0; box < TPaginaCatalogo::BoxCount; ++box)
        for (int f = 0; f < TRiquadro::FieldCount; ++f)
            page.setText(box, f, QStringLiteral("P%1 %2 %3").arg(n).arg(QChar(u'A' + box)).arg(TRiquadro::name(f)));
    return page;
}

QByteArray cardBytes(int n)
{
    const TSchedaLibro card = goodCard(n);
    return QByteArray(card.data(), TSchedaLibro::RecordSize);
}

QByteArray pageBytes(int n)
{
    const TPaginaCatalogo page = goodPage(n);
    return QByteArray(page.data(), TPaginaCatalogo::RecordSize);
}

} // namespace

class TestDamagedFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void init() { m_folder = std::make_unique<TempProgramFolder>(); }
    void cleanup()
    {
        m_folder.reset();
        ProgramFolder::setPath(QString());
    }

    void damagedCardIndex_data() { addDamageRows(); }
    void damagedCardIndex()
    {
        QFETCH(Damage, damage);
        QFETCH(int, records);
        const QByteArray bytes = damage(TSchedaLibro::RecordSize, cardBytes);
        QVERIFY(writeFile(BookArchive::path(), bytes));
        Watchdog watchdog(60, QStringLiteral("reading a damaged card index"));

        // The card screen shows every whole card, each text within its field.
        TfrmLibri screen;
        screen.show();
        MessageCatcher messages;
        screen.cmdPrimoClick();
        for (int n = 1; n <= records; ++n) {
            QCOMPARE(control<QLabel>(screen, "lblPosizione")->text(), QString::number(n));
            for (int f = 0; f < TSchedaLibro::TextFieldCount; ++f)
                QVERIFY(cardBox(screen, f)->text().size() <= TSchedaLibro::capacity(f));
            screen.cmdAvantiClick();
        }
        QCOMPARE(messages.texts(), records == 0 ? QStringList{kNoCards} : QStringList());
        QCOMPARE(readFile(BookArchive::path()), bytes);

        // The search lists them, the export grid holds them.
        BookSearch::RowList rows;
        QCOMPARE(BookSearch::search(BookArchive::path(), BookSearch::Filters(QStringList(10, QString())), rows),
                 BookSearch::Outcome::Done);
        QCOMPARE(rows.size(), records);
        {
            TfrmExpLibri exportScreen;
            exportScreen.show();
            QCOMPARE(exportScreen.model()->rowCount(), records);
        }
        QCOMPARE(readFile(BookArchive::path()), bytes);

        // A new card goes after the last whole card, over any tail; the
        // cards before it keep every byte.
        messages.clear();
        screen.cmdNuovoClick();
        control<QLineEdit>(screen, "txtTitolo")->setText(QStringLiteral("Nuovo"));
        control<QLineEdit>(screen, "txtAutore")->setText(QStringLiteral("A"));
        control<QLineEdit>(screen, "txtAnno")->setText(QStringLiteral("2000"));
        control<QLineEdit>(screen, "txtEditore")->setText(QStringLiteral("E"));
        screen.cmdSalvaClick();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("La scheda corrente è stata inserita in archivio.")});
        QCOMPARE(control<QLabel>(screen, "lblPosizione")->text(), QString::number(records + 1));
        const QByteArray after = readFile(BookArchive::path());
        QCOMPARE(after.size(), (records + 1) * TSchedaLibro::RecordSize);
        QCOMPARE(after.left(records * TSchedaLibro::RecordSize), bytes.left(records * TSchedaLibro::RecordSize));
    }

    void damagedCatalogue_data() { addDamageRows(); }
    void damagedCatalogue()
    {
        QFETCH(Damage, damage);
        QFETCH(int, records);
        const QString path = m_folder->file(QStringLiteral("Narrativa.cat"));
        const QByteArray bytes = damage(TPaginaCatalogo::RecordSize, pageBytes);
        QVERIFY(writeFile(path, bytes));
        Watchdog watchdog(60, QStringLiteral("reading a damaged catalogue"));

        TfrmListinoPrezzi editor;
        control<QLabel>(editor, "lblFile")->setText(path);
        control<QLabel>(editor, "lblNome")->setText(QStringLiteral("Narrativa"));
        editor.show();
        MessageCatcher messages;
        editor.cmdPrimoClick();
        for (int n = 1; n <= records; ++n) {
            QCOMPARE(control<QLabel>(editor, "lblPosizione")->text(), QString::number(n));
            for (int box = 0; box < TPaginaCatalogo::BoxCount; ++box)
                for (int f = 0; f < TRiquadro::FieldCount; ++f)
                    QVERIFY(boxField(editor, box, f)->text().size() <= TRiquadro::capacity(f));
            editor.cmdAvantiClick();
        }
        QCOMPARE(messages.texts(), records == 0 ? QStringList{kNoCards} : QStringList());
        QCOMPARE(readFile(path), bytes);
    }

    void damagedBoxPhoto_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray jpeg = encodedPicture(detailedPicture(QSize(282, 366)), "jpg");
        QTest::newRow("not a picture") << QByteArray("Questa non è una foto.\n");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("random bytes") << randomBytes(5000, 21);
        QTest::newRow("JPEG cut short") << jpeg.left(jpeg.size() / 2);
        QTest::newRow("JPEG without its end") << jpeg.left(jpeg.size() - 2);
        QTest::newRow("BMP cut short") << encodedPicture(detailedPicture(QSize(64, 64)), "bmp").left(300);
        QTest::newRow("JPEG claiming 60000 x 60000") << jpegClaiming(60000, 60000);
        QTest::newRow("PNG claiming 100000 x 100000") << pngClaiming(100000, 100000);
    }
    void damagedBoxPhoto()
    {
        // As a stored photo of a page, and as a photo chosen for a box: the
        // placeholder, at once, and the other boxes as stored.
        QFETCH(QByteArray, content);
        const QString path = m_folder->file(QStringLiteral("Narrativa.cat"));
        CatalogueFile catalogue(path);
        QVERIFY(catalogue.open());
        QCOMPARE(catalogue.append(goodPage(1)), 1);
        QVERIFY(catalogue.close());
        const QString photoA = CatalogueFolder::photoPath(QStringLiteral("Narrativa"), 0, QStringLiteral("1"));
        const QString photoB = CatalogueFolder::photoPath(QStringLiteral("Narrativa"), 1, QStringLiteral("1"));
        QVERIFY(writeFile(photoA, content));
        const QImage pictureB = detailedPicture(CatalogueFolder::PhotoSize, 5);
        QVERIFY(writeFile(photoB, encodedPicture(pictureB, "jpg")));
        Watchdog watchdog(60, QStringLiteral("reading a damaged box photo"));

        TfrmListinoPrezzi editor;
        control<QLabel>(editor, "lblFile")->setText(path);
        control<QLabel>(editor, "lblNome")->setText(QStringLiteral("Narrativa"));
        editor.show();
        MessageCatcher messages;
        editor.cmdPrimoClick();
        QCOMPARE(control<QLabel>(editor, "lblPosizione")->text(), QStringLiteral("1"));
        QCOMPARE(boxPhoto(editor, 0)->image(), editor.placeholder());
        QCOMPARE(boxPhoto(editor, 1)->image().size(), CatalogueFolder::PhotoSize);

        boxPhoto(editor, 2)->setImage(pictureB);
        FileChooser::answerNext(photoA);
        editor.imgFoto_CClick();
        QCOMPARE(boxPhoto(editor, 2)->image(), editor.placeholder());
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(readFile(photoA), content);
    }

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

QTEST_MAIN(TestDamagedFiles)
#include "tst_damagedfiles.moc"
