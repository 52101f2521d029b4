#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>

#include <algorithm>

/// The words of a PDF file with their boxes, read back with Poppler's
/// pdftotext -bbox. Lengths are millimetres from the page's top-left corner.
/// On Linux the file goes to the tool through its standard input. On
/// Windows the tool reads and writes files: the test may run under Wine and
/// the tool be the Linux one (tools/wine-run.sh), whose standard streams
/// Wine does not connect to the test's pipes; its paths are then the Unix
/// names of the files, which Wine's kernel32 gives. A Windows build of
/// Poppler on the PATH takes the Windows names.
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
        QByteArray html;
#ifdef Q_OS_WIN
        file.close();
        QTemporaryDir scratch;
        const QString out = scratch.filePath(QStringLiteral("words.html"));
        // No pipes: Wine neither connects them to a Linux program nor always
        // reports its end, so the output's closing tag says it is whole.
        QProcess tool;
        tool.setStandardInputFile(QProcess::nullDevice());
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.setStandardErrorFile(QProcess::nullDevice());
        tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), toolPath(pdf), toolPath(out)});
        if (!tool.waitForStarted(60000)) {
            result.error = QStringLiteral("pdftotext did not start: ") + tool.errorString();
            return result;
        }
        QFile words(out);
        QDeadlineTimer deadline(60000);
        while (!(words.open(QIODevice::ReadOnly) && (html = words.readAll()).trimmed().endsWith("</html>"))) {
            words.close();
            if (deadline.hasExpired()) {
                result.error = QStringLiteral("pdftotext wrote no whole %1").arg(out);
                return result;
            }
            QThread::msleep(20);
        }
        tool.waitForFinished(5000);
#else
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
        html = tool.readAllStandardOutput();
#endif
        constexpr qreal mmPerPoint = 25.4 / 72;
        QXmlStreamReader xml(html);
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

#ifdef Q_OS_WIN
    /// The name the tool understands: the Unix one under Wine, else the
    /// Windows one.
    static QString toolPath(const QString &path)
    {
        // x86-64 Windows has one calling convention; the name is left to
        // the process heap (a few bytes a test).
        using UnixName = char *(*)(const wchar_t *);
        const auto unixName = reinterpret_cast<UnixName>(
                QLibrary::resolve(QStringLiteral("kernel32"), "wine_get_unix_file_name"));
        const QString native = QDir::toNativeSeparators(path);
        const char *name = unixName ? unixName(reinterpret_cast<const wchar_t *>(native.utf16())) : nullptr;
        return name ? QString::fromUtf8(name) : native;
    }
#endif
};
