// The list report at library scale: bench_listreport [--rows N]... [--folder DIR]
// For each size (default 1000, 3721 and 100000 search rows): fill and
// prepare the report, render every page to a PDF file, and, as the
// baseline, draw the same lines with a plain QPainter loop onto a PDF
// writer, page by page. Prints times, pages, file sizes and the peak
// resident size of the process.
#include "output/listreport.h"
#include "report/report.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString padded(const QString &text, int width)
{
    return (text + QString(width, QLatin1Char(' '))).left(width);
}

QStringList searchRows(int n)
{
    QStringList rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i)
        rows << padded(QStringLiteral("Titolo del libro numero %1").arg(i + 1), 55) + QStringLiteral("  Autore: ") +
                    padded(QStringLiteral("Autore %1").arg(i % 997), 30) + QStringLiteral("  Editore: ") +
                    padded(QStringLiteral("Editore %1").arg(i % 101), 30) + QStringLiteral("  Anno: ") +
                    QString::number(1900 + i % 120);
    return rows;
}

long peakKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// The same lines in the same font at the same pitch, 56 to a page, with
// no template, bands or clipping.
double plainPdf(const QString &path, const QStringList &rows, int *pages)
{
    QElapsedTimer t;
    t.start();
    QPdfWriter writer(path);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
    QPainter p(&writer);
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(8);
    p.setFont(font);
    const qreal dpm = writer.logicalDpiY() / 25.4;
    const qreal pitch = Report::unitsToMm(ListReport::LineUnits) * dpm;
    const qreal ascent = QFontMetricsF(p.font(), &writer).ascent();
    *pages = 1;
    int onPage = 0;
    for (const QString &row : rows) {
        if (onPage == 56) {
            writer.newPage();
            ++*pages;
            onPage = 0;
        }
        p.drawText(QPointF(3 * dpm, onPage * pitch + ascent), row);
        ++onPage;
    }
    p.end();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QList<int> sizes;
    QString folder;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--rows") && i + 1 < argc)
            sizes << QString::fromLocal8Bit(argv[++i]).toInt();
        else if (arg == QLatin1String("--folder") && i + 1 < argc)
            folder = QString::fromLocal8Bit(argv[++i]);
    }
    if (sizes.isEmpty())
        sizes = {1000, 3721, 100000};
    QTemporaryDir temp;
    if (folder.isEmpty())
        folder = temp.path();
    QDir().mkpath(folder);
    const QDateTime now = QDateTime::currentDateTime();

    std::printf("%8s %10s %10s %10s %10s %7s %7s %10s %10s %10s\n", "rows", "fill ms", "prepare ms", "render ms",
                "plain ms", "ratio", "pages", "PDF MB", "plain MB", "peak MiB");
    for (int n : sizes) {
        const QStringList rows = searchRows(n);
        const QString reportPdf = folder + QStringLiteral("/list_%1.pdf").arg(n);
        const QString plainPath = folder + QStringLiteral("/plain_%1.pdf").arg(n);
        int plainPages = 0;
        plainPdf(plainPath, searchRows(10), &plainPages); // warm the font caches
        const double plain = plainPdf(plainPath, rows, &plainPages);

        QElapsedTimer t;
        t.start();
        Report report;
        if (!ListReport::fill(report, QStringLiteral("Riepilogo libri in archivio"), rows, now))
            return 1;
        const double filled = t.nsecsElapsed() / 1e6;
        t.restart();
        report.prepare();
        const double prepared = t.nsecsElapsed() / 1e6;
        t.restart();
        QPdfWriter writer(reportPdf);
        if (!report.renderAll(&writer))
            return 1;
        const double rendered = t.nsecsElapsed() / 1e6;
        std::printf("%8d %10.1f %10.2f %10.1f %10.1f %7.2f %7d %10.1f %10.1f %10.1f\n", n, filled, prepared, rendered,
                    plain, (filled + prepared + rendered) / plain, report.pageCount(),
                    QFileInfo(reportPdf).size() / 1e6, QFileInfo(plainPath).size() / 1e6, peakKib() / 1024.0);
        std::fflush(stdout);
        QFile::remove(reportPdf);
        QFile::remove(plainPath);
    }
    return 0;
}
