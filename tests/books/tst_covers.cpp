// Cover photos on the card screen: naming, fitting, loading, saving,
// exporting, the file choosers and the zoom window.
#include "books/fullscreenpicture.h"
#include "books/tfrmlibri.h"
#include "books/tfrmzoom.h"
#include "common/hostilefiles.h"
#include "common/picturefixtures.h"
#include "common/testsupport.h"
#include "core/bookarchive.h"
#include "kit/covers.h"
#include "kit/filechooser.h"
#include "kit/picturewidgets.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>

#include <functional>

namespace {
/// A picture with enough detail that a second JPEG encoding changes its bytes.
QImage detailed(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, int(random.bounded(256))));
    return image;
}

QByteArray encoded(const QImage &image, const char *format, int quality = -1)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return out;
}

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

bool isJpeg(const QByteArray &bytes)
{
    return bytes.startsWith(QByteArrayLiteral("\xFF\xD8\xFF"));
}

void addCards(int count)
{
    BookArchive archive;
    QVERIFY(archive.open());
    for (int i = 1; i <= count; ++i) {
        TSchedaLibro card;
        card.setText(TSchedaLibro::Titolo, QStringLiteral("Titolo %1").arg(i));
        card.setText(TSchedaLibro::Autore, QStringLiteral("Autore"));
        card.setText(TSchedaLibro::Anno, QStringLiteral("1999"));
        card.setText(TSchedaLibro::Editore, QStringLiteral("Editore"));
        QCOMPARE(archive.append(card), i);
    }
    QVERIFY(archive.close());
}

} // namespace

class TestCovers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareScreenTests(); }
    void init()
    {
        FileChooser::requests().clear();
        m_folder = std::make_unique<TempProgramFolder>();
        m_screen = std::make_unique<TfrmLibri>();
    }
    void cleanup()
    {
        m_screen.reset();
        m_folder.reset();
    }

    void naming_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("file");
        QTest::newRow("card 12") << "12"
                                 << "Copertine_Libri/Foto_12.jpg";
        QTest::newRow("blanks trimmed") << " 7\t"
                                        << "Copertine_Libri/Foto_7.jpg";
        QTest::newRow("large") << "100000"
                               << "Copertine_Libri/Foto_100000.jpg";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("zero") << "0"
                              << "";
        QTest::newRow("leading zero") << "012"
                                      << "";
        QTest::newRow("not a number") << "1a"
                                      << "";
        QTest::newRow("path") << "../1"
                              << "";
    }
    void naming()
    {
        QFETCH(QString, number);
        QFETCH(QString, file);
        QCOMPARE(Covers::path(number), file.isEmpty() ? QString() : m_folder->file(file));
    }

    void fitting_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QRect>("shown");
        const QSize card(307, 409);
        QTest::newRow("3000x4000 reduced") << QSize(3000, 4000) << card << QRect(0, 0, 306, 409);
        QTest::newRow("100x150 own size, centred") << QSize(100, 150) << card << QRect(103, 129, 100, 150);
        QTest::newRow("exactly the box") << card << card << QRect(0, 0, 307, 409);
        QTest::newRow("wider than tall, larger") << QSize(800, 400) << card << QRect(0, 128, 307, 153);
        QTest::newRow("wider than tall, smaller") << QSize(200, 100) << card << QRect(53, 154, 200, 100);
        QTest::newRow("only wider than the box") << QSize(400, 100) << card << QRect(0, 166, 307, 76);
        const QSize zoom = FullScreenPicture::areaFor(QSize(1920, 1080));
        QTest::newRow("zoom 500x700") << QSize(500, 700) << zoom << QRect(680, 145, 500, 700);
        QTest::newRow("zoom 2000x3000") << QSize(2000, 3000) << zoom << QRect(600, 0, 660, 990);
    }
    void fitting()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, box);
        QFETCH(QRect, shown);
        QCOMPARE(FullScreenPicture::areaFor(QSize(1920, 1080)), QSize(1860, 990));
        QCOMPARE(fitPicture(picture, box), shown);
    }

    void unreadablePictureShowsPlaceholder_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray jpeg = encoded(detailed(QSize(200, 200)), "jpg");
        QTest::newRow("text file") << QByteArray("Questo non è un'immagine.\n");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("truncated JPEG") << jpeg.left(jpeg.size() / 2);
        QTest::newRow("JPEG claiming 30000x30000") << jpegClaiming(30000, 30000);
        QTest::newRow("truncated BMP") << encoded(detailed(QSize(64, 64)), "bmp").left(200);
    }
    void unreadablePictureShowsPlaceholder()
    {
        QFETCH(QByteArray, content);
        writeFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_1.jpg")), content);
        QImage image;
        QVERIFY(!Covers::readPicture(m_folder->file(QStringLiteral("Copertine_Libri/Foto_1.jpg")), image));

        // As the cover of the card on screen...
        control<PictureBox>(m_screen, "imgFoto")->setImage(detailed(QSize(10, 10)));
        control<QLabel>(m_screen, "lblPosizione")->setText(QStringLiteral("1"));
        m_screen->loadCover();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), m_screen->placeholder());

        // ...and as a picture chosen with btnCaricaFoto.
        control<PictureBox>(m_screen, "imgFoto")->setImage(detailed(QSize(10, 10)));
        FileChooser::answerNext(m_folder->file(QStringLiteral("Copertine_Libri/Foto_1.jpg")));
        m_screen->btnCaricaFotoClick();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), m_screen->placeholder());
    }

    // Whatever lies at a cover's name, the card screen answers at once: with
    // the picture when it is a readable picture (a link to one included),
    // otherwise with the placeholder, never waiting or reading on for ever.
    void coverThatIsNoFileAnsweredAtOnce_data() { HostileFiles::addRows(); }
    void coverThatIsNoFileAnsweredAtOnce()
    {
        QFETCH(int, kind);
        addCards(1);
        const QString cover = m_folder->file(QStringLiteral("Copertine_Libri/Foto_1.jpg"));
        QString why;
        if (!HostileFiles::make(kind, cover, &why))
            QSKIP(qPrintable(why));
        // A small limit keeps the file that reads on past its size cheap.
        const int savedLimit = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(16);
        const auto restoreLimit = qScopeGuard([savedLimit] { QImageReader::setAllocationLimit(savedLimit); });
        const bool isPicture = kind == HostileFiles::PictureLink;

        const auto timed = [](const std::function<void()> &action) {
            Watchdog watchdog(5,
                              QStringLiteral("loading the cover %1").arg(QString::fromUtf8(QTest::currentDataTag())));
            QElapsedTimer clock;
            clock.start();
            action();
            return clock.elapsed();
        };
        qint64 ms = timed([this] { m_screen->cmdPrimoClick(); });
        QVERIFY2(ms < 1000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QCOMPARE(control<QLabel>(m_screen, "lblPosizione")->text(), QStringLiteral("1"));
        if (isPicture)
            QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image().size(), QSize(37, 23));
        else
            QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), m_screen->placeholder());

        // The same entry chosen with btnCaricaFoto.
        control<PictureBox>(m_screen, "imgFoto")->setImage(detailed(QSize(10, 10)));
        FileChooser::answerNext(cover);
        ms = timed([this] { m_screen->btnCaricaFotoClick(); });
        QVERIFY2(ms < 1000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        if (isPicture)
            QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image().size(), QSize(37, 23));
        else
            QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), m_screen->placeholder());
    }

    void missingCoverShowsPlaceholderAndMakesFolder()
    {
        QVERIFY(!QFileInfo::exists(m_folder->file(QStringLiteral("Copertine_Libri"))));
        control<QLabel>(m_screen, "lblPosizione")->setText(QStringLiteral("3"));
        m_screen->loadCover();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), m_screen->placeholder());
        QVERIFY(QFileInfo(m_folder->file(QStringLiteral("Copertine_Libri"))).isDir());
        QVERIFY(QDir(m_folder->file(QStringLiteral("Copertine_Libri"))).isEmpty());

        // No card number: the placeholder, and no file is named.
        control<QLabel>(m_screen, "lblPosizione")->clear();
        control<PictureBox>(m_screen, "imgFoto")->setImage(detailed(QSize(5, 5)));
        m_screen->loadCover();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), m_screen->placeholder());
    }

    void bmpLoadedAndSavedAsJpeg()
    {
        addCards(7);
        m_screen->cmdUltimoClick();
        QCOMPARE(control<QLabel>(m_screen, "lblPosizione")->text(), QStringLiteral("7"));
        const QImage picture = detailed(QSize(120, 90));
        writeFile(m_folder->file(QStringLiteral("input/copertina.bmp")), encoded(picture, "bmp"));
        FileChooser::answerNext(m_folder->file(QStringLiteral("input/copertina.bmp")));
        m_screen->btnCaricaFotoClick();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image().convertToFormat(QImage::Format_RGB32), picture);
        QVERIFY(control<PictureBox>(m_screen, "imgFoto")->sourceJpeg().isEmpty());
        QVERIFY(
            !QFileInfo::exists(m_folder->file(QStringLiteral("Copertine_Libri/Foto_7.jpg")))); // nothing written yet

        MessageCatcher messages;
        m_screen->cmdSalvaClick();
        QCOMPARE(messages.texts(),
                 {QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.")});
        const QByteArray saved = readFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_7.jpg")));
        QVERIFY(isJpeg(saved));
        QCOMPARE(QImage::fromData(saved).size(), QSize(120, 90));

        // Encoded once: showing the card again and saving keeps those bytes.
        m_screen->cmdPrimoClick();
        m_screen->cmdUltimoClick();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->sourceJpeg(), saved);
        m_screen->cmdSalvaClick();
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_7.jpg"))), saved);
    }

    void pictureTooLongForJpegSavedReduced()
    {
        // A GIF 65535 pixels wide, one more than JPEG holds.
        addCards(1);
        m_screen->cmdPrimoClick();
        FileChooser::answerNext(QStringLiteral(RILEGORA_TEST_DATA "/wide-65535x1.gif"));
        m_screen->btnCaricaFotoClick();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image().size(), QSize(65535, 1));

        MessageCatcher messages;
        m_screen->cmdSalvaClick();
        QCOMPARE(messages.texts(),
                 {QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.")});
        const QByteArray saved = readFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_1.jpg")));
        QVERIFY(isJpeg(saved));
        QCOMPARE(QImage::fromData(saved).size(), QSize(65500, 1));
    }

    void unchangedCoverWrittenBackByteForByte()
    {
        const QByteArray original = encoded(detailed(QSize(300, 400)), "jpg", 60);
        QImage decoded = QImage::fromData(original);
        QVERIFY(Covers::jpegData(decoded, QByteArray()) != original); // re-encoding would change it

        // A cover file, loaded and saved again and again.
        writeFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_2.jpg")), original);
        control<QLabel>(m_screen, "lblPosizione")->setText(QStringLiteral("2"));
        for (int round = 0; round < 5; ++round) {
            m_screen->loadCover();
            m_screen->saveCover();
            QCOMPARE(readFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_2.jpg"))), original);
        }

        // A JPEG chosen with btnCaricaFoto is stored with that file's own bytes,
        // and its export is a copy of them too.
        writeFile(m_folder->file(QStringLiteral("input/scan.jpeg")), original);
        control<QLabel>(m_screen, "lblPosizione")->setText(QStringLiteral("4"));
        FileChooser::answerNext(m_folder->file(QStringLiteral("input/scan.jpeg")));
        m_screen->btnCaricaFotoClick();
        m_screen->saveCover();
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_4.jpg"))), original);
        FileChooser::answerNext(m_folder->file(QStringLiteral("export/copia.jpg")));
        QDir().mkpath(m_folder->file(QStringLiteral("export")));
        m_screen->btnSalvaFotoClick();
        QCOMPARE(readFile(m_folder->file(QStringLiteral("export/copia.jpg"))), original);

        // A changed picture is encoded afresh.
        m_screen->btnCancFotoClick();
        QVERIFY(control<PictureBox>(m_screen, "imgFoto")->sourceJpeg().isEmpty());
        m_screen->saveCover();
        const QByteArray blank = readFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_4.jpg")));
        QVERIFY(isJpeg(blank));
        QVERIFY(blank != original);
    }

    void cancelledCoverSurvivesNavigationUntilSaved()
    {
        addCards(2);
        const QByteArray original = encoded(detailed(QSize(50, 60)), "jpg");
        writeFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_1.jpg")), original);
        m_screen->cmdPrimoClick();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image().size(), QSize(50, 60));
        m_screen->btnCancFotoClick();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), m_screen->placeholder());
        QCOMPARE(readFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_1.jpg"))), original);
        m_screen->cmdAvantiClick();
        m_screen->cmdIndietroClick();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image().size(), QSize(50, 60));

        m_screen->btnCancFotoClick();
        MessageCatcher messages;
        m_screen->cmdSalvaClick();
        const QImage written = QImage::fromData(readFile(m_folder->file(QStringLiteral("Copertine_Libri/Foto_1.jpg"))));
        QCOMPARE(written.size(), m_screen->placeholder().size());
    }

    void saveFailureShowsPlaceholderAndCardIsSaved_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("cover file is a folder") << "Copertine_Libri/Foto_1.jpg/";
        QTest::newRow("cover folder is a file") << "Copertine_Libri";
    }
    void saveFailureShowsPlaceholderAndCardIsSaved()
    {
        QFETCH(QString, obstacle);
        addCards(1);
        if (obstacle.endsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(m_folder->file(obstacle)));
        else
            writeFile(m_folder->file(obstacle), "x");
        m_screen->cmdPrimoClick();
        control<PictureBox>(m_screen, "imgFoto")->setImage(detailed(QSize(40, 40)));
        control<QLineEdit>(m_screen, "txtTitolo")->setText(QStringLiteral("Nuovo titolo"));
        MessageCatcher messages;
        m_screen->cmdSalvaClick();
        QCOMPARE(messages.texts(),
                 {QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.")});
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), m_screen->placeholder());
        BookArchive archive;
        TSchedaLibro card;
        QVERIFY(archive.open() && archive.read(1, card));
        QCOMPARE(card.text(TSchedaLibro::Titolo), QStringLiteral("Nuovo titolo"));
    }

    void exportAddsDefaultExtension()
    {
        control<PictureBox>(m_screen, "imgFoto")->setImage(detailed(QSize(30, 20)));
        FileChooser::answerNext(m_folder->file(QStringLiteral("Copertina")));
        m_screen->btnSalvaFotoClick();
        const QByteArray written = readFile(m_folder->file(QStringLiteral("Copertina.jpg")));
        QVERIFY(isJpeg(written));
        QCOMPARE(QImage::fromData(written).size(), QSize(30, 20));

        QCOMPARE(FileChooser::requests().size(), 1);
        const FileChooser::Request &r = FileChooser::requests().first();
        QCOMPARE(r.kind, FileChooser::Request::Save);
        QCOMPARE(r.title, QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."));
        QCOMPARE(r.proposedName, QStringLiteral("Foto.jpg"));
        QCOMPARE(r.defaultSuffix, QStringLiteral("jpg"));

        // Cancelling writes nothing; a failed write shows the placeholder.
        FileChooser::answerNext(QString());
        m_screen->btnSalvaFotoClick();
        QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("occupato.jpg"))));
        FileChooser::answerNext(m_folder->file(QStringLiteral("occupato.jpg")));
        m_screen->btnSalvaFotoClick();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), m_screen->placeholder());
    }

    void cancelledLoadKeepsPicture()
    {
        const QImage shown = detailed(QSize(20, 20));
        control<PictureBox>(m_screen, "imgFoto")->setImage(shown);
        FileChooser::answerNext(QString());
        m_screen->btnCaricaFotoClick();
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), shown);
    }

    // The real dialogs behind the seam, with their titles, filters and names.
    void realLoadDialog()
    {
        QStringList filters;
        QString title, name;
        whenOpen<QFileDialog>([&](QFileDialog *dialog) {
            title = dialog->windowTitle();
            name = dialog->objectName();
            auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; combo && i < combo->count(); ++i)
                filters << combo->itemText(i);
            dialog->reject();
        });
        const QImage shown = detailed(QSize(8, 8));
        control<PictureBox>(m_screen, "imgFoto")->setImage(shown);
        m_screen->btnCaricaFotoClick();
        QCOMPARE(name, QStringLiteral("dlgFile"));
        QCOMPARE(title, QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."));
        QCOMPARE(filters, QStringList({QStringLiteral("Immagine JPEG (*.jpg; *.jpeg)"),
                                       QStringLiteral("Immagine Bitmap (*.bmp)")}));
        QCOMPARE(control<PictureBox>(m_screen, "imgFoto")->image(), shown);
    }

    void realSaveDialog()
    {
        QStringList filters, patterns;
        QString title, proposed, suffix;
        bool confirmsOverwrite = false;
        whenOpen<QFileDialog>([&](QFileDialog *dialog) {
            title = dialog->windowTitle();
            auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; combo && i < combo->count(); ++i)
                filters << combo->itemText(i);
            patterns = dialog->nameFilters();
            if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                proposed = edit->text();
            suffix = dialog->defaultSuffix();
            confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            dialog->reject();
        });
        m_screen->btnSalvaFotoClick();
        QCOMPARE(title, QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."));
        QCOMPARE(filters, QStringList({QStringLiteral("File Jpeg (*.jpg)")}));
        QCOMPARE(patterns, QStringList({QStringLiteral("File Jpeg (*.jpg) (*.jpg)")}));
        QCOMPARE(proposed, QStringLiteral("Foto.jpg"));
        QCOMPARE(suffix, QStringLiteral("jpg"));
        QVERIFY(confirmsOverwrite);
    }

    void zoomShowsCoverAndClosesOnClick()
    {
        const QImage cover = detailed(QSize(500, 700));
        control<PictureBox>(m_screen, "imgFoto")->setImage(cover);
        QImage zoomed;
        QSize area, screen;
        QString caption;
        whenOpen<TfrmZoom>([&](TfrmZoom *zoom) {
            zoomed = control<PictureBox>(zoom, "imgFoto")->image();
            area = control<PictureBox>(zoom, "imgFoto")->size();
            screen = zoom->screen()->size();
            caption = zoom->windowTitle();
            QCOMPARE(zoom->findChild<QWidget *>(QStringLiteral("panContainer"))->size(), area);
            QTest::mouseClick(control<PictureBox>(zoom, "imgFoto"), Qt::LeftButton, {}, QPoint(5, 5));
        });
        m_screen->btnZoomFotoClick(); // returns once the click has closed it
        QCOMPARE(zoomed, cover);
        QCOMPARE(screen, QSize(1920, 1080));
        QCOMPARE(area, QSize(1860, 990));
        QCOMPARE(caption, QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
        QVERIFY(m_screen->findChildren<TfrmZoom *>().isEmpty()); // destroyed on return

        // The placeholder is zoomed too; a click on the panel closes as well.
        m_screen->btnCancFotoClick();
        whenOpen<TfrmZoom>([&](TfrmZoom *zoom) {
            zoomed = control<PictureBox>(zoom, "imgFoto")->image();
            auto *pan = zoom->findChild<QWidget *>(QStringLiteral("panContainer"));
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), pan->mapToGlobal(QPointF(1, 1)),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(pan, &release);
        });
        m_screen->btnZoomFotoClick();
        QCOMPARE(zoomed, m_screen->placeholder());
    }

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TfrmLibri> m_screen;
};

QTEST_MAIN(TestCovers)
#include "tst_covers.moc"
