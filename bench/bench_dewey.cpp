// The fill of the Dewey table's list, run by hand (see docs/PERFORMANCE.md):
//   QT_QPA_PLATFORM=offscreen build/bench/bench_dewey [--entries N] [--runs R]
// Fills the list of a shown TfrmCodici_Dewey with N entries (default 3721:
// the compiled table, repeated when it is shorter) as its timer does, and
// times, as the median of R runs (default 7), each in a fresh window:
// - the baseline: appending the same strings to a QStringList;
// - the fill: TfrmCodici_Dewey::fillList, every item made with its font,
//   colour and size inside one update of the list;
// - the first paint: laying the list out and painting it once after the fill;
// - a find that walks the whole list without a match ("Trova" on a text no
//   entry holds).
#include "kit/controls.h"
#include "search/deweytable.h"
#include "search/tfrmcodici_dewey.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double ms(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int count = 3721;
    int runs = 7;
    for (int i = 1; i + 1 < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--entries"))
            count = QString::fromLocal8Bit(argv[++i]).toInt();
        else if (arg == QLatin1String("--runs"))
            runs = std::max(1, QString::fromLocal8Bit(argv[++i]).toInt());
    }
    const QStringList &table = DeweyTable::entries();
    if (table.isEmpty())
        return 1;
    QStringList entries;
    while (entries.size() < count)
        entries << table.mid(0, count - entries.size());

    QList<double> baseline, fill, paint, find;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        QStringList copy;
        for (const QString &e : std::as_const(entries))
            copy.append(e);
        baseline << ms(t);

        TfrmCodici_Dewey dewey;
        dewey.show();
        QApplication::processEvents();
        control<QTimer>(dewey, "timCarica")->stop();
        t.restart();
        dewey.fillList(entries);
        fill << ms(t);
        t.restart();
        control<QListWidget>(dewey, "lstRecords")->doItemsLayout();
        control<QListWidget>(dewey, "lstRecords")->viewport()->repaint();
        paint << ms(t);
        if (control<QListWidget>(dewey, "lstRecords")->count() != count)
            return 1;

        control<QLineEdit>(dewey, "txtTrova")->setText(QStringLiteral("nessuna voce contiene questo"));
        t.restart();
        dewey.btnTrovaClick();
        find << ms(t);
    }
    const double base = median(baseline);
    std::printf("%d entries (compiled table: %lld), median of %d runs\n", count, static_cast<long long>(table.size()),
                runs);
    std::printf("%-34s %10.3f ms  %8.1f x\n", "QStringList append (baseline)", base, 1.0);
    std::printf("%-34s %10.3f ms  %8.1f x\n", "fillList", median(fill), median(fill) / base);
    std::printf("%-34s %10.3f ms\n", "layout and first paint", median(paint));
    std::printf("%-34s %10.3f ms\n", "Trova, no match (whole walk)", median(find));
    return 0;
}
