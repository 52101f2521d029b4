// Prints the program's reports to PDF files with sample data, through the
// same windows and code as the program, for looking at the printed pages:
//   QT_QPA_PLATFORM=offscreen rilegora-print card|list|page out.pdf [rows]
// card: a book card with long values and brackets; list: a search list of
// rows rows (default 100); page: a catalogue page with eight boxes and photos.
//   rilegora-print preview out.png    the preview window of the sample card, as a PNG
//   rilegora-print catalogue out.pdf FOLDER NAME.cat [page]
//                  page (default 1) of catalogue NAME.cat of program folder
//                  FOLDER, printed from the page editor as the user prints it
// out may be "printer:NAME" instead of a PDF file: the pages then go to the
// system printer NAME through the system's own print path (on Windows GDI
// and the spooler), as after the print dialog, which is not shown.
#include "books/tfrmlibri.h"
#include "catalogues/tfrmlistinoprezzi.h"
#include "catalogues/tfrmstampaprodotto.h"
#include "core/programfolder.h"
#include "kit/controls.h"
#include "kit/picturewidgets.h"
#include "kit/regional.h"
#include "output/listreport.h"
#include "output/tfrmanteprimalibri.h"
#include "output/tfrmstampalibri.h"
#include "report/reportprinting.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QTimer>

#include <cstdio>

namespace {

QImage samplePhoto(const QSize &size, const QColor &colour, const QString &text)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QPainter p(&image);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), size.height() / 12, QFont::Bold));
    p.drawRect(image.rect().adjusted(8, 8, -9, -9));
    p.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

QString padded(const QString &text, int width)
{
    return (text + QString(width, QLatin1Char(' '))).left(width);
}

void fillCard(TfrmLibri &libri)
{
    const QStringList values = {QStringLiteral("Il nome della rosa [edizione illustrata] con un titolo lunghissimo che "
                                               "non entra nella barra del titolo della scheda"),
                                QStringLiteral("Umberto Eco [a cura di Mario Rossi]"),
                                QStringLiteral("Italia"),
                                QStringLiteral("1980"),
                                QStringLiteral("Bompiani"),
                                QStringLiteral("Milano"),
                                QStringLiteral("853"),
                                QStringLiteral("Romanzo storico"),
                                QStringLiteral("978-88-452-1234-5"),
                                QStringLiteral("Italiano"),
                                QStringLiteral("[nessuno]"),
                                QStringLiteral(""),
                                QStringLiteral("I grandi tascabili"),
                                QStringLiteral("Mario Rossi"),
                                QStringLiteral("Scaffale 3, ripiano B"),
                                QStringLiteral("NAR-0042"),
                                QStringLiteral("Tascabile 12 x 19 cm"),
                                QStringLiteral("1"),
                                QStringLiteral("503"),
                                QStringLiteral("12,50"),
                                QStringLiteral("Ottimo [*****]"),
                                QString(QStringLiteral("Nota lunga: ")).append(QString(238, QLatin1Char('x')))};
    TSchedaLibro card;
    for (int i = 0; i < values.size(); ++i)
        card.setText(i, values.at(i));
    libri.showCard(card);
    control<PictureBox>(libri, "imgFoto")
        ->setImage(samplePhoto(QSize(307, 409), QColor(0x8B, 0x1A, 0x1A), QStringLiteral("Copertina")));
}

void printCard()
{
    TfrmLibri libri;
    fillCard(libri);
    TfrmStampaLibri window(&libri);
    window.setCard(libri.printedCard());
    window.show();
    window.btnStampaClick();
}

void printPage()
{
    CataloguePageWindow::Page page;
    page.name = QStringLiteral("Narrativa italiana del Novecento");
    page.position = QStringLiteral("3");
    const QColor colours[] = {0x8B1A1A, 0x1F5FA8, 0x2E7D32, 0x6A1B9A, 0xEF6C00, 0x00695C, 0x4E342E, 0x283593};
    for (char letter = 'A'; letter <= 'H'; ++letter) {
        const int k = letter - 'A';
        const QStringList texts = {
            QStringLiteral("Titolo del libro %1 [nuova edizione]").arg(QLatin1Char(letter)),
            QStringLiteral("Brossura, 320 pagine"), QStringLiteral("Autore %1 - Editore - 19%2").arg(k + 1).arg(70 + k),
            QStringLiteral("978-88-00-0000%1-%2").arg(k).arg(k), QStringLiteral("%1,90").arg(10 + k)};
        for (int f = 0; f < 5; ++f)
            page.texts[size_t(k)][size_t(f)] = texts.at(f);
        page.photos[size_t(k)] = samplePhoto(QSize(282, 366), colours[k], QString(QLatin1Char(letter)));
    }
    TfrmStampaProdotto window;
    window.setPage(page);
    window.show();
    window.btnStampaClick();
}

// The editor shows the page as the open-catalogue screen and the browsing
// commands leave it; the print window then takes the page it shows.
bool printCatalogue(const QString &folder, const QString &file, int page)
{
    ProgramFolder::setPath(folder);
    TfrmListinoPrezzi editor;
    editor.show();
    control<QLabel>(editor, "lblFile")->setText(ProgramFolder::file(file));
    control<QLabel>(editor, "lblNome")->setText(file.chopped(4));
    editor.cmdPrimoClick();
    for (int n = 1; n < page; ++n)
        editor.cmdAvantiClick();
    if (control<QLabel>(editor, "lblPosizione")->text() != QString::number(page))
        return false;
    editor.writePreviewPictures();
    TfrmStampaProdotto window(&editor);
    window.setPage(editor.printedPage());
    window.show();
    window.btnStampaClick();
    return true;
}

void printList(int rows)
{
    QStringList lines;
    for (int i = 0; i < rows; ++i)
        lines << padded(QStringLiteral("Titolo numero %1 [serie %2]").arg(i + 1, 4, 10, QLatin1Char('0')).arg(i % 7),
                        55) +
                     QStringLiteral("  Autore: ") + padded(QStringLiteral("Autore %1").arg(i % 37), 30) +
                     QStringLiteral("  Editore: ") + padded(QStringLiteral("Editore %1").arg(i % 11), 30) +
                     QStringLiteral("  Anno: ") + QString::number(1950 + i % 70);
    ListReport::print(nullptr, QStringLiteral("Riepilogo libri in archivio"), lines);
}

// Grabs the preview window once it is painted, then closes it.
bool grabPreview(const QString &out)
{
    TfrmLibri libri;
    fillCard(libri);
    TfrmAnteprimaLibri window(&libri);
    window.setCard(libri.printedCard());
    window.show();
    bool saved = false;
    QTimer::singleShot(800, [&] {
        if (auto *preview = qobject_cast<ReportPreview *>(QApplication::activeModalWidget())) {
            saved = preview->grab().save(out);
            preview->accept();
        }
    });
    window.btnStampaClick();
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Regional::installTranslation(&app);
    if (argc < 3) {
        std::fprintf(stderr, "usage: rilegora-print card|list|page out.pdf [rows] | preview out.png | "
                             "catalogue out.pdf FOLDER NAME.cat [page]\n");
        return 2;
    }
    const QString what = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    bool printed = false;
    ReportPrinting::setDialogRunner([&](QPrinter &printer, QWidget *) {
        if (out.startsWith(QLatin1String("printer:"))) {
            printer.setOutputFormat(QPrinter::NativeFormat);
            printer.setPrinterName(out.mid(8));
            if (printer.printerName() != out.mid(8)) {
                std::fprintf(stderr, "no printer named %s\n", qUtf8Printable(out.mid(8)));
                return ReportPrinting::Answer::Cancel;
            }
        } else {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out);
        }
        printed = true;
        return ReportPrinting::Answer::Print;
    });
    if (what == QLatin1String("preview"))
        return grabPreview(out) ? 0 : 1;
    if (what == QLatin1String("card"))
        printCard();
    else if (what == QLatin1String("page"))
        printPage();
    else if (what == QLatin1String("catalogue") && argc > 4) {
        if (!printCatalogue(QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]),
                            argc > 5 ? QString::fromLocal8Bit(argv[5]).toInt() : 1))
            return 1;
    } else if (what == QLatin1String("list"))
        printList(argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 100);
    else {
        std::fprintf(stderr, "unknown report %s\n", argv[1]);
        return 2;
    }
    return printed ? 0 : 1;
}
