#include "report.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

constexpr qreal Epsilon = 1e-6;

/// Splits a template line into words; a word in double quotes may hold
/// blanks, and inside it \" and \\ stand for " and \. A line that starts
/// with # is a comment.
QStringList tokenize(const QString &line, bool *ok)
{
    QStringList tokens;
    *ok = true;
    int i = 0;
    const int n = int(line.size());
    while (i < n) {
        const QChar c = line.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('#') && tokens.isEmpty())
            break; // a comment line
        QString word;
        if (c == QLatin1Char('"')) {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar d = line.at(i++);
                if (d == QLatin1Char('\\') && i < n) {
                    word += line.at(i++);
                } else if (d == QLatin1Char('"')) {
                    closed = true;
                    break;
                } else {
                    word += d;
                }
            }
            if (!closed)
                *ok = false;
            // A quoted word is marked so that "bold" in quotes stays text.
            tokens.append(QLatin1Char('"') + word);
            continue;
        }
        while (i < n && !line.at(i).isSpace())
            word += line.at(i++);
        tokens.append(word);
    }
    return tokens;
}

QString unquoted(const QString &token)
{
    return token.startsWith(QLatin1Char('"')) ? token.mid(1) : token;
}

/// A length in millimetres; a trailing "u" gives it in template units.
bool readLength(const QString &token, qreal *value)
{
    QString t = unquoted(token);
    qreal factor = 1;
    if (t.endsWith(QLatin1Char('u'))) {
        t.chop(1);
        factor = 1 / Report::UnitsPerMm;
    }
    bool ok = false;
    const qreal v = t.toDouble(&ok);
    if (ok)
        *value = v * factor;
    return ok;
}

bool readColour(const QString &token, QColor *colour)
{
    const QColor c = QColor::fromString(unquoted(token));
    if (c.isValid())
        *colour = c;
    return c.isValid();
}

/// Reads the attributes of one object from tokens[from...].
bool readAttributes(ReportObject &o, const QStringList &tokens, int from, QString *problem)
{
    auto need = [&](int i, int count) {
        if (i + count < tokens.size())
            return true;
        *problem = QStringLiteral("\"%1\" needs %2 value(s)").arg(tokens.at(i)).arg(count);
        return false;
    };
    for (int i = from; i < tokens.size(); ++i) {
        const QString key = tokens.at(i);
        if (key == QLatin1String("font")) {
            if (!need(i, 2))
                return false;
            o.family = unquoted(tokens.at(i + 1));
            bool ok = false;
            o.pointSize = unquoted(tokens.at(i + 2)).toDouble(&ok);
            if (!ok) {
                *problem = QStringLiteral("bad font size \"%1\"").arg(unquoted(tokens.at(i + 2)));
                return false;
            }
            i += 2;
        } else if (key == QLatin1String("bold")) {
            o.bold = true;
        } else if (key == QLatin1String("colour") || key == QLatin1String("fill")) {
            if (!need(i, 1))
                return false;
            if (!readColour(tokens.at(i + 1), key == QLatin1String("fill") ? &o.fill : &o.colour)) {
                *problem = QStringLiteral("bad colour \"%1\"").arg(unquoted(tokens.at(i + 1)));
                return false;
            }
            ++i;
        } else if (key == QLatin1String("outline")) {
            if (!need(i, 1))
                return false;
            if (!readColour(tokens.at(i + 1), &o.outline)) {
                *problem = QStringLiteral("bad colour \"%1\"").arg(unquoted(tokens.at(i + 1)));
                return false;
            }
            ++i;
            qreal width = 0;
            if (i + 1 < tokens.size() && readLength(tokens.at(i + 1), &width)) {
                o.outlineWidth = width;
                ++i;
            }
        } else if (key == QLatin1String("align") || key == QLatin1String("valign")) {
            if (!need(i, 1))
                return false;
            const QString v = unquoted(tokens.at(++i));
            const bool vertical = key == QLatin1String("valign");
            Qt::Alignment a;
            if (v == QLatin1String("centre"))
                a = vertical ? Qt::AlignVCenter : Qt::AlignHCenter;
            else if (!vertical && v == QLatin1String("left"))
                a = Qt::AlignLeft;
            else if (!vertical && v == QLatin1String("right"))
                a = Qt::AlignRight;
            else if (vertical && v == QLatin1String("top"))
                a = Qt::AlignTop;
            else if (vertical && v == QLatin1String("bottom"))
                a = Qt::AlignBottom;
            else {
                *problem = QStringLiteral("bad alignment \"%1\"").arg(v);
                return false;
            }
            o.alignment = (o.alignment & (vertical ? Qt::AlignHorizontal_Mask : Qt::AlignVertical_Mask)) | a;
        } else if (key == QLatin1String("lineheight")) {
            if (!need(i, 1))
                return false;
            if (!readLength(tokens.at(++i), &o.lineHeight)) {
                *problem = QStringLiteral("bad line height");
                return false;
            }
        } else if (key == QLatin1String("text")) {
            if (!need(i, 1))
                return false;
            o.lines = unquoted(tokens.at(++i)).split(QLatin1Char('\n'));
        } else {
            *problem = QStringLiteral("unknown attribute \"%1\"").arg(unquoted(key));
            return false;
        }
    }
    return true;
}

qreal dotsPerMm(const QPaintDevice *device, bool vertical)
{
    // A picture's resolution is kept in dots per metre; its whole dots per
    // inch would shift a page drawn at a few dots per millimetre.
    if (device->devType() == QInternal::Image) {
        const auto *image = static_cast<const QImage *>(device);
        return (vertical ? image->dotsPerMeterY() : image->dotsPerMeterX()) / 1000.0;
    }
    return (vertical ? device->logicalDpiY() : device->logicalDpiX()) / 25.4;
}

} // namespace

Report::Report()
{
    installFontFallbacks();
}

Report::~Report() = default;

void Report::installFontFallbacks()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList installed = QFontDatabase::families();
    const struct
    {
        const char *family;
        QStringList replacements;
    } fallbacks[] = {
        {"Arial", {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")}},
        {"Courier New",
         {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"), QStringLiteral("DejaVu Sans Mono")}},
        {"Verdana", {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}},
        {"Tahoma", {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}},
    };
    for (const auto &f : fallbacks) {
        const QString family = QString::fromLatin1(f.family);
        if (!installed.contains(family, Qt::CaseInsensitive))
            QFont::insertSubstitutions(family, f.replacements);
    }
}

bool Report::load(const QString &path, const QMap<QString, QString> &parameters)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    if (!parse(QString::fromUtf8(file.readAll()), parameters)) {
        m_error = path + QStringLiteral(": ") + m_error;
        return false;
    }
    return true;
}

bool Report::parse(const QString &text, const QMap<QString, QString> &parameters)
{
    m_name.clear();
    m_error.clear();
    m_orientation = QPageLayout::Portrait;
    m_margin = 10;
    m_pageObjects.clear();
    m_bands.clear();
    m_pages.clear();

    QMap<QString, QString> values = parameters;
    QMap<QString, QStringList> styles;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        bool ok = true;
        QStringList tokens = tokenize(lines.at(n), &ok);
        QString problem;
        if (!ok)
            problem = QStringLiteral("unclosed quote");
        // Parameters and styles are expanded before the line is read.
        if (problem.isEmpty() && !tokens.isEmpty() && tokens.first() == QLatin1String("param")) {
            if (tokens.size() != 3)
                problem = QStringLiteral("param needs a name and a default");
            else if (!values.contains(tokens.at(1)))
                values.insert(tokens.at(1), unquoted(tokens.at(2)));
            tokens.clear();
        }
        for (int i = 0; problem.isEmpty() && i < tokens.size(); ++i) {
            if (tokens.at(i).startsWith(QLatin1Char('$'))) {
                const QString key = tokens.at(i).mid(1);
                if (!values.contains(key))
                    problem = QStringLiteral("no parameter \"%1\"").arg(key);
                else
                    tokens[i] = values.value(key);
            }
        }
        if (problem.isEmpty() && !tokens.isEmpty() && tokens.first() == QLatin1String("style")) {
            if (tokens.size() < 2)
                problem = QStringLiteral("style needs a name");
            else
                styles.insert(tokens.at(1), tokens.mid(2));
            tokens.clear();
        }
        for (int i = 0; problem.isEmpty() && i + 1 < tokens.size(); ++i) {
            if (tokens.at(i) == QLatin1String("use")) {
                if (!styles.contains(tokens.at(i + 1))) {
                    problem = QStringLiteral("no style \"%1\"").arg(tokens.at(i + 1));
                    break;
                }
                const QStringList style = styles.value(tokens.at(i + 1));
                tokens.erase(tokens.begin() + i, tokens.begin() + i + 2);
                for (int k = 0; k < style.size(); ++k)
                    tokens.insert(i + k, style.at(k));
                i += int(style.size()) - 1;
            }
        }
        if (problem.isEmpty() && !tokens.isEmpty())
            parseLine(tokens, &problem);
        if (!problem.isEmpty()) {
            m_error = QStringLiteral("line %1: %2").arg(n + 1).arg(problem);
            m_pageObjects.clear();
            m_bands.clear();
            return false;
        }
    }
    prepare();
    return true;
}

bool Report::parseLine(const QStringList &tokens, QString *problem)
{
    const QString &keyword = tokens.first();
    if (keyword == QLatin1String("report")) {
        if (tokens.size() != 2) {
            *problem = QStringLiteral("report needs one name");
            return false;
        }
        m_name = unquoted(tokens.at(1));
        return true;
    }
    if (keyword == QLatin1String("page")) {
        // page A4 portrait|landscape margin N
        if (tokens.size() != 5 || tokens.at(1) != QLatin1String("A4") || tokens.at(3) != QLatin1String("margin") ||
            !readLength(tokens.at(4), &m_margin)) {
            *problem = QStringLiteral("expected: page A4 portrait|landscape margin N");
            return false;
        }
        if (tokens.at(2) == QLatin1String("landscape"))
            m_orientation = QPageLayout::Landscape;
        else if (tokens.at(2) == QLatin1String("portrait"))
            m_orientation = QPageLayout::Portrait;
        else {
            *problem = QStringLiteral("bad orientation \"%1\"").arg(tokens.at(2));
            return false;
        }
        return true;
    }
    if (keyword == QLatin1String("band")) {
        // band title|data|footer NAME HEIGHT [split]
        auto band = std::make_unique<ReportBand>();
        const QString kind = tokens.value(1);
        if (kind == QLatin1String("title"))
            band->kind = ReportBand::Title;
        else if (kind == QLatin1String("data"))
            band->kind = ReportBand::Data;
        else if (kind == QLatin1String("footer"))
            band->kind = ReportBand::Footer;
        else {
            *problem = QStringLiteral("expected: band title|data|footer NAME HEIGHT [split]");
            return false;
        }
        band->name = unquoted(tokens.value(2));
        band->canSplit = tokens.size() == 5 && tokens.at(4) == QLatin1String("split");
        if (band->name.isEmpty() || tokens.size() < 4 || tokens.size() > 5 ||
            !readLength(tokens.at(3), &band->height) || (tokens.size() == 5 && !band->canSplit)) {
            *problem = QStringLiteral("expected: band title|data|footer NAME HEIGHT [split]");
            return false;
        }
        if (object(band->name) || this->band(band->name)) {
            *problem = QStringLiteral("\"%1\" is named twice").arg(band->name);
            return false;
        }
        m_bands.push_back(std::move(band));
        return true;
    }
    ReportObject::Kind kind;
    if (keyword == QLatin1String("text"))
        kind = ReportObject::Text;
    else if (keyword == QLatin1String("picture"))
        kind = ReportObject::Picture;
    else if (keyword == QLatin1String("rect"))
        kind = ReportObject::Rectangle;
    else {
        *problem = QStringLiteral("unknown line \"%1\"").arg(unquoted(keyword));
        return false;
    }
    // KIND NAME X Y W H attributes...
    auto o = std::make_unique<ReportObject>();
    o->kind = kind;
    o->name = unquoted(tokens.value(1));
    qreal g[4];
    for (int i = 0; i < 4; ++i) {
        if (i + 2 >= tokens.size() || !readLength(tokens.at(i + 2), &g[i])) {
            *problem = QStringLiteral("expected: %1 NAME X Y WIDTH HEIGHT ...").arg(keyword);
            return false;
        }
    }
    o->rect = QRectF(g[0], g[1], g[2], g[3]);
    if (o->name.isEmpty() || object(o->name) || band(o->name)) {
        *problem = QStringLiteral("\"%1\" is unnamed or named twice").arg(o->name);
        return false;
    }
    if (!readAttributes(*o, tokens, 6, problem))
        return false;
    if (m_bands.empty())
        m_pageObjects.push_back(std::move(o));
    else
        m_bands.back()->objects.push_back(std::move(o));
    return true;
}

QPageLayout Report::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), m_orientation, QMarginsF(m_margin, m_margin, m_margin, m_margin),
                       QPageLayout::Millimeter);
}

QSizeF Report::printableSize() const
{
    return pageLayout().paintRect(QPageLayout::Millimeter).size();
}

ReportObject *Report::object(const QString &name) const
{
    for (const auto &o : m_pageObjects)
        if (o->name == name)
            return o.get();
    for (const auto &b : m_bands)
        for (const auto &o : b->objects)
            if (o->name == name)
                return o.get();
    return nullptr;
}

ReportBand *Report::band(const QString &name) const
{
    for (const auto &b : m_bands)
        if (b->name == name)
            return b.get();
    return nullptr;
}

namespace {
ReportObject *textObject(const Report &report, const QString &name)
{
    ReportObject *o = report.object(name);
    return o && o->kind == ReportObject::Text ? o : nullptr;
}
} // namespace

bool Report::setText(const QString &name, const QString &text)
{
    ReportObject *o = textObject(*this, name);
    if (!o)
        return false;
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    o->lines = t.split(QLatin1Char('\n'));
    return true;
}

bool Report::setPicture(const QString &name, const QImage &image)
{
    ReportObject *o = object(name);
    if (!o || o->kind != ReportObject::Picture)
        return false;
    o->picture = image.copy();
    return true;
}

bool Report::clearLines(const QString &name)
{
    ReportObject *o = textObject(*this, name);
    if (o)
        o->lines.clear();
    return o;
}

bool Report::appendLine(const QString &name, const QString &line)
{
    ReportObject *o = textObject(*this, name);
    if (o)
        o->lines.append(line);
    return o;
}

bool Report::appendLines(const QString &name, const QStringList &lines)
{
    ReportObject *o = textObject(*this, name);
    if (o)
        o->lines.append(lines);
    return o;
}

bool Report::setObjectHeight(const QString &name, qreal height)
{
    ReportObject *o = object(name);
    if (o)
        o->rect.setHeight(height);
    return o;
}

bool Report::setBandHeight(const QString &name, qreal height)
{
    ReportBand *b = band(name);
    if (b)
        b->height = height;
    return b;
}

// ---- layout ----------------------------------------------------------------------

qreal Report::splitPoint(const ReportBand &band, qreal from, qreal limit) const
{
    // The cut moves up to the top of any line it would run through, so that
    // a line is printed whole on one page or the next.
    qreal cut = limit;
    for (int round = 0; round < 4; ++round) {
        const qreal before = cut;
        for (const auto &o : band.objects) {
            if (o->kind != ReportObject::Text)
                continue;
            if (o->lineHeight > 0) {
                const qreal index = std::floor((cut - o->rect.top()) / o->lineHeight + Epsilon);
                if (index < 0 || index >= o->lines.size())
                    continue;
                const qreal top = o->rect.top() + index * o->lineHeight;
                if (top < cut - Epsilon && top > from + Epsilon)
                    cut = top;
            } else if (o->rect.top() < cut - Epsilon && o->rect.bottom() > cut + Epsilon &&
                       o->rect.top() > from + Epsilon) {
                cut = o->rect.top();
            }
        }
        if (cut == before)
            break;
    }
    return cut;
}

void Report::prepare()
{
    m_pages.clear();
    m_pages.emplace_back();
    const qreal pageHeight = printableSize().height();
    qreal y = 0;
    auto newPage = [&] {
        m_pages.emplace_back();
        y = 0;
    };
    for (const auto &b : m_bands) {
        const ReportBand &band = *b;
        if (band.height <= pageHeight - y + Epsilon) {
            m_pages.back().pieces.push_back({&band, y, 0, band.height});
            y += band.height;
            continue;
        }
        if (!band.canSplit) {
            if (y > 0)
                newPage();
            m_pages.back().pieces.push_back({&band, y, 0, band.height});
            y += band.height;
            continue;
        }
        qreal from = 0;
        while (from < band.height - Epsilon) {
            const qreal room = pageHeight - y;
            if (band.height - from <= room + Epsilon) {
                m_pages.back().pieces.push_back({&band, y, from, band.height});
                y += band.height - from;
                break;
            }
            qreal cut = splitPoint(band, from, from + room);
            if (cut <= from + Epsilon) {
                if (y > 0) {
                    newPage();
                    continue;
                }
                cut = from + room; // a line taller than a page is cut
            }
            m_pages.back().pieces.push_back({&band, y, from, cut});
            newPage();
            from = cut;
        }
    }
}

// ---- rendering -------------------------------------------------------------------

void Report::drawObject(QPainter *painter, const ReportObject &o, qreal dy, qreal from, qreal to) const
{
    const qreal sx = dotsPerMm(painter->device(), false);
    const qreal sy = dotsPerMm(painter->device(), true);
    auto toDevice = [&](const QRectF &mm) {
        return QRectF(mm.left() * sx, (mm.top() + dy) * sy, mm.width() * sx, mm.height() * sy);
    };
    // The part of the object inside the shown part of its band.
    QRectF visible = o.rect;
    visible.setTop(std::max(visible.top(), from));
    visible.setBottom(std::min(visible.bottom(), to));
    if (visible.height() <= Epsilon && o.rect.height() > Epsilon)
        return;
    const QRectF box = toDevice(o.rect);
    const QRectF clip = toDevice(visible);

    painter->save();
    // The outline is drawn whole, except where a split band cuts the object.
    const qreal ox = o.outlineWidth * sx, oy = o.outlineWidth * sy;
    painter->setClipRect(clip.adjusted(-ox, visible.top() > o.rect.top() + Epsilon ? 0 : -oy, ox,
                                       visible.bottom() < o.rect.bottom() - Epsilon ? 0 : oy));
    if (o.fill.isValid() || o.outline.isValid()) {
        painter->setBrush(o.fill.isValid() ? QBrush(o.fill) : QBrush(Qt::NoBrush));
        if (o.outline.isValid()) {
            QPen pen(o.outline);
            pen.setWidthF(o.outlineWidth * sx);
            pen.setJoinStyle(Qt::MiterJoin);
            painter->setPen(pen);
        } else {
            painter->setPen(Qt::NoPen);
        }
        painter->drawRect(box);
    }
    painter->setClipRect(clip);

    if (o.kind == ReportObject::Picture && !o.picture.isNull()) {
        const QSizeF fitted = QSizeF(o.picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
        const QRectF target(box.center().x() - fitted.width() / 2, box.center().y() - fitted.height() / 2,
                            fitted.width(), fitted.height());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        if (o.picture.hasAlphaChannel())
            painter->fillRect(target, Qt::white);
        painter->drawImage(target, o.picture);
    } else if (o.kind == ReportObject::Text && !o.lines.isEmpty()) {
        QFont font(o.family);
        font.setPointSizeF(o.pointSize);
        font.setBold(o.bold);
        font.setStyleStrategy(QFont::PreferOutline);
        painter->setFont(font);
        painter->setPen(o.colour);
        const QFontMetricsF metrics(painter->font(), painter->device());
        const qreal lineHeight = o.lineHeight > 0 ? o.lineHeight : o.rect.height();
        // Only the lines inside the shown part are drawn: a line belongs to
        // the piece that holds its top.
        qsizetype first = 0;
        if (o.lineHeight > 0)
            first = std::max<qsizetype>(0, qsizetype(std::ceil((from - o.rect.top()) / lineHeight - Epsilon)));
        for (qsizetype i = first; i < o.lines.size(); ++i) {
            const qreal top = o.rect.top() + qreal(i) * lineHeight;
            if (top >= std::min(to, o.rect.bottom()) - Epsilon && i > 0)
                break;
            const QString &line = o.lines.at(i);
            if (line.isEmpty())
                continue;
            const qreal lineTop = (top + dy) * sy;
            const qreal h = lineHeight * sy;
            qreal baseline;
            if (o.alignment & Qt::AlignVCenter)
                baseline = lineTop + (h - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
            else if (o.alignment & Qt::AlignBottom)
                baseline = lineTop + h - metrics.descent();
            else
                baseline = lineTop + metrics.ascent();
            qreal x = box.left();
            if (o.alignment & (Qt::AlignHCenter | Qt::AlignRight)) {
                // A text wider than its object keeps its start and is cut at the right edge.
                const qreal advance = metrics.horizontalAdvance(line);
                if (advance < box.width())
                    x = (o.alignment & Qt::AlignRight) ? box.right() - advance
                                                       : box.left() + (box.width() - advance) / 2;
            }
            painter->drawText(QPointF(x, baseline), line);
        }
    }
    painter->restore();
}

void Report::renderPage(QPainter *painter, int index) const
{
    if (index < 0 || index >= pageCount())
        return;
    constexpr qreal Unbounded = 1e9;
    for (const auto &o : m_pageObjects)
        drawObject(painter, *o, 0, -Unbounded, Unbounded);
    for (const Piece &piece : m_pages[size_t(index)].pieces) {
        for (const auto &o : piece.band->objects)
            drawObject(painter, *o, piece.top - piece.from, piece.from, piece.to);
    }
}

bool Report::renderAll(QPagedPaintDevice *device) const
{
    if (!device->setPageLayout(pageLayout()))
        return false;
    QPainter painter;
    if (!painter.begin(device))
        return false;
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0 && !device->newPage()) {
            painter.end();
            return false;
        }
        renderPage(&painter, i);
    }
    return painter.end();
}

QImage Report::pageImage(int index, qreal dotsPerMm) const
{
    const QSizeF paper = pageLayout().fullRect(QPageLayout::Millimeter).size();
    QImage image(QSize(qRound(paper.width() * dotsPerMm), qRound(paper.height() * dotsPerMm)), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(m_margin * dotsPerMm, m_margin * dotsPerMm);
    renderPage(&painter, index);
    return image;
}
