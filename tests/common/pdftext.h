#pragma once

#include <QFile>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <algorithm>

/// The words of a PDF file with their boxes, read back with Poppler's
/// pdftotext -bbox. Lengths are millimetres from the page's top-left corner.
/// The file goes to the tool through its standard input, so that no path
/// has to mean the same to the test and to the tool: on Windows the test
/// may run under Wine and the tool be the Linux one (tools/wine-run.sh), or
/// a Windows build of Poppler on the PATH.
struct PdfText
{
    struct Word
    {
        QString text;
        QRectF box;
    };
    struct Page
    {
        QSizeF size;
        QList<Word> words;

        /// The words that stand on one line (same top), joined by one blank, top to bottom.
        QStringList lines() const
        {
            QList<Word> sorted = words;
            std::stable_sort(sorted.begin(), sorted.end(), [](const Word &a, const Word &b) {
                return qAbs(a.box.top() - b.box.top()) > 0.1 ? a.box.top() < b.box.top() : a.box.left() < b.box.left();
            });
            QStringList out;
            qreal top = -1;
            for (const Word &w : sorted) {
                if (out.isEmpty() || qAbs(w.box.top() - top) > 0.1) {
                    out.append(w.text);
                    top = w.box.top();
                } else {
                    out.last() += QLatin1Char(' ') + w.text;
                }
            }
            return out;
        }
        /// The first word that is text, or an empty word.
        Word find(const QString &text) const
        {
            for (const Word &w : words)
                if (w.text == text)
                    return w;
            return {};
        }
        QString all() const { return lines().join(QLatin1Char('\n')); }
    };

    QList<Page> pages;
    QString error;

    static PdfText read(const QString &pdf)
    {
        PdfText result;
        QFile file(pdf);
        if (!file.open(QIODevice::ReadOnly)) {
            result.error = QStringLiteral("cannot read %1: %2").arg(pdf, file.errorString());
            return result;
        }
        QProcess tool;
        tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-"), QStringLiteral("-")});
        if (tool.waitForStarted(60000)) {
            tool.write(file.readAll());
            tool.closeWriteChannel();
        }
        if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
            result.error = QStringLiteral("pdftotext failed: ") + QString::fromLocal8Bit(tool.readAllStandardError());
            return result;
        }
        constexpr qreal mmPerPoint = 25.4 / 72;
        QXmlStreamReader xml(tool.readAllStandardOutput());
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const auto a = xml.attributes();
            auto number = [&a](const char *name) { return a.value(QLatin1String(name)).toDouble() * mmPerPoint; };
            if (xml.name() == QLatin1String("page")) {
                result.pages.append({QSizeF(number("width"), number("height")), {}});
            } else if (xml.name() == QLatin1String("word") && !result.pages.isEmpty()) {
                const QRectF box(QPointF(number("xMin"), number("yMin")), QPointF(number("xMax"), number("yMax")));
                result.pages.last().words.append({xml.readElementText(), box});
            }
        }
        return result;
    }
};
