#include "inifile.h"

#include <QList>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

/// One line of the file: [begin, end) is its text, [end, next) its line ending.
struct Line
{
    qsizetype begin;
    qsizetype end;
    qsizetype next;
};

QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype begin = 0;
    // A UTF-8 byte order mark is not part of the first line's text.
    if (content.startsWith("\xEF\xBB\xBF"))
        begin = 3;
    while (begin < content.size()) {
        qsizetype next = content.indexOf('\n', begin);
        next = next < 0 ? content.size() : next + 1;
        qsizetype end = next;
        if (end > begin && content.at(end - 1) == '\n')
            --end;
        if (end > begin && content.at(end - 1) == '\r')
            --end;
        lines.append({begin, end, next});
        begin = next;
    }
    return lines;
}

QByteArray trimmed(const QByteArray &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text.at(start)))
        ++start;
    while (end > start && isBlank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

bool sameName(const QByteArray &a, const QString &b)
{
    return QString::fromLatin1(a).compare(b, Qt::CaseInsensitive) == 0;
}

enum class Kind { Other, Section, Setting };

struct Parsed
{
    Kind kind = Kind::Other;
    QByteArray name;       // section or key name
    qsizetype valueAt = 0; // setting: offset in content just after '='
};

Parsed parse(const QByteArray &content, const Line &line)
{
    Parsed p;
    const QByteArray text = content.mid(line.begin, line.end - line.begin);
    const QByteArray body = trimmed(text);
    if (body.isEmpty() || body.startsWith(';'))
        return p;
    if (body.startsWith('[')) {
        const qsizetype close = body.indexOf(']');
        p.kind = Kind::Section;
        p.name = trimmed(body.mid(1, close < 0 ? -1 : close - 1));
        return p;
    }
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return p;
    p.kind = Kind::Setting;
    p.name = trimmed(text.left(eq));
    p.valueAt = line.begin + eq + 1;
    return p;
}

/// Where key of section lies: the index of its line, or -1, and the index of
/// the section's line (-1 when the section is missing).
struct Found
{
    qsizetype sectionLine = -1;
    qsizetype keyLine = -1;
    qsizetype lastSettingLine = -1; // last non-empty line of the section
};

Found find(const QByteArray &content, const QList<Line> &lines, const QString &section, const QString &key)
{
    Found found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Parsed p = parse(content, lines.at(i));
        if (p.kind == Kind::Section) {
            if (found.sectionLine >= 0)
                break; // only the first section of the name counts
            if (sameName(p.name, section)) {
                found.sectionLine = i;
                found.lastSettingLine = i;
            }
            continue;
        }
        if (found.sectionLine < 0)
            continue;
        if (!trimmed(content.mid(lines.at(i).begin, lines.at(i).end - lines.at(i).begin)).isEmpty())
            found.lastSettingLine = i;
        if (p.kind == Kind::Setting && sameName(p.name, key)) {
            found.keyLine = i;
            break;
        }
    }
    return found;
}

/// The value as written after '=': in quotes where reading would otherwise
/// change it (blanks at either end, or quotes of its own around it).
QByteArray written(const QString &value, bool utf8)
{
    QByteArray bytes = utf8 ? value.toUtf8() : value.toLatin1();
    if (bytes.isEmpty())
        return bytes;
    const bool quoted =
        bytes.size() >= 2 && (bytes.front() == '"' || bytes.front() == '\'') && bytes.back() == bytes.front();
    if (quoted || isBlank(bytes.front()) || isBlank(bytes.back()))
        bytes = '"' + bytes + '"';
    return bytes;
}

QByteArray lineEnding(const QByteArray &content)
{
    const qsizetype lf = content.indexOf('\n');
    if (lf < 0)
        return QByteArrayLiteral("\r\n");
    return lf > 0 && content.at(lf - 1) == '\r' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

/// A file saved as UTF-16 (little-endian, with its byte order mark, as
/// Windows Notepad saves "Unicode") is read as Windows reads it: as text.
/// It is handled here as UTF-8, where every line, name and ending keeps its
/// place, and written back as UTF-16.
bool isUtf16(const QByteArray &content)
{
    return content.size() >= 2 && content.at(0) == '\xFF' && content.at(1) == '\xFE';
}

QByteArray utf16ToUtf8(const QByteArray &content)
{
    const qsizetype units = (content.size() - 2) / 2;
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(content.constData() + 2), units).toUtf8();
}

QByteArray utf8ToUtf16(const QByteArray &text)
{
    const QString unicode = QString::fromUtf8(text);
    QByteArray out("\xFF\xFE", 2);
    for (const QChar c : unicode) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

QString readValueIn(const QByteArray &content, const QString &section, const QString &key, const QString &fallback,
                    bool utf8)
{
    const QList<Line> lines = splitLines(content);
    const Found found = find(content, lines, section, key);
    if (found.keyLine < 0)
        return fallback;
    const Line &line = lines.at(found.keyLine);
    const qsizetype valueAt = parse(content, line).valueAt;
    QByteArray value = trimmed(content.mid(valueAt, line.end - valueAt));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return utf8 ? QString::fromUtf8(value) : QString::fromLatin1(value);
}

QByteArray withValueIn(const QByteArray &content, const QString &section, const QString &key, const QString &value,
                       bool utf8)
{
    const QList<Line> lines = splitLines(content);
    const Found found = find(content, lines, section, key);
    const QByteArray bytes = written(value, utf8);
    QByteArray out = content;
    if (found.keyLine >= 0) {
        const Line &line = lines.at(found.keyLine);
        const qsizetype valueAt = parse(content, line).valueAt;
        return out.replace(valueAt, line.end - valueAt, bytes);
    }
    const QByteArray eol = lineEnding(content);
    const QByteArray setting = key.toLatin1() + '=' + bytes + eol;
    if (found.sectionLine >= 0) {
        const Line &after = lines.at(found.lastSettingLine);
        QByteArray insert = setting;
        // The file's last line may have no line ending, or only a CR, which
        // does not end a line here.
        if (content.at(after.next - 1) != '\n')
            insert.prepend(eol);
        return out.insert(after.next, insert);
    }
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += eol;
    out += '[' + section.toLatin1() + ']' + eol + setting;
    return out;
}

} // namespace

namespace IniFile {

QString readValue(const QByteArray &content, const QString &section, const QString &key, const QString &fallback)
{
    if (isUtf16(content))
        return readValueIn(utf16ToUtf8(content), section, key, fallback, true);
    return readValueIn(content, section, key, fallback, false);
}

QByteArray withValue(const QByteArray &content, const QString &section, const QString &key, const QString &value)
{
    if (isUtf16(content))
        return utf8ToUtf16(withValueIn(utf16ToUtf8(content), section, key, value, true));
    return withValueIn(content, section, key, value, false);
}

} // namespace IniFile
