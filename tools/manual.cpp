// Writes the manual Guida.pdf from the program's help topics:
//   rilegora-manual out.pdf
// Run at build time on the offscreen platform; the manual goes beside the
// program, where the help window's link opens it.
#include "core/helptopics.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

QString page(const QString &html, bool breakBefore)
{
    return QStringLiteral("<div%1>%2</div>")
        .arg(breakBefore ? QStringLiteral(" style=\"page-break-before: always\"") : QString(), html);
}

QString manualHtml()
{
    QString html = QStringLiteral("<html><body style=\"font-family: 'Verdana', 'DejaVu Sans', sans-serif;\">");
    // The title page: blank space above the name, the maker at the foot.
    const QString spacer = QStringLiteral("<p style=\"font-size: 90pt;\">&nbsp;</p>");
    html += page(spacer +
                     QStringLiteral("<p align=\"center\"><span style=\"font-size: 40pt; "
                                    "font-weight: bold; color: #c62828;\">Rilegora</span></p>"
                                    "<p align=\"center\"><span style=\"font-size: 18pt; color: #1f4e8c;\">Guida "
                                    "all'utilizzo del software</span></p>"
                                    "<p align=\"center\" style=\"margin-top: 40px;\"><span style=\"font-size: 11pt; "
                                    "color: #444444;\">Schedario libri e cataloghi bibliografici per librerie e "
                                    "biblioteche<br/>Versione 1.0</span></p>") +
                     spacer + spacer +
                     QStringLiteral("<p align=\"center\"><span style=\"font-size: 10pt; "
                                    "color: #444444;\">Rilegora Software &middot; www.rilegora.it &middot; "
                                    "info@rilegora.it</span></p>"),
                 false);
    int number = 1;
    for (const HelpTopics::Topic &topic : HelpTopics::all()) {
        QString section = QStringLiteral("<h1 style=\"color: #dc143c; font-size: 20pt;\">%1. %2</h1>")
                              .arg(number++)
                              .arg(topic.title.toHtmlEscaped());
        for (const QString &paragraph : HelpTopics::paragraphs(topic.body))
            section += QStringLiteral("<p style=\"font-size: 11pt; margin-bottom: 8px;\" align=\"justify\">%1</p>")
                           .arg(paragraph.toHtmlEscaped());
        html += page(section, true);
    }
    return html + QStringLiteral("</body></html>");
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rilegora-manual out.pdf\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QPdfWriter writer(out);
    writer.setTitle(QStringLiteral("Rilegora - Guida all'utilizzo del software"));
    writer.setCreator(QStringLiteral("Rilegora Software"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                     QPageLayout::Millimeter));

    QTextDocument document;
    document.setHtml(manualHtml());
    // Lay the text out on the printable area of an A4 page, in points.
    document.setPageSize(writer.pageLayout().paintRect(QPageLayout::Point).size());
    document.print(&writer);
    return 0;
}
