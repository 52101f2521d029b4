#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

/// One named object of a report: a text, a picture or a rectangle, placed in
/// millimetres from the top-left corner of its band (or of the printable
/// area, for an object that stands on the page).
struct ReportObject
{
    enum Kind { Text, Picture, Rectangle };

    Kind kind = Text;
    QString name;
    QRectF rect; ///< millimetres

    // Look.
    QColor fill;    ///< invalid: no fill
    QColor outline; ///< invalid: no outline
    qreal outlineWidth = 0.26;

    // Text objects. Lines never wrap; each is cut at the object's edges.
    QStringList lines;
    QString family = QStringLiteral("Arial");
    qreal pointSize = 10;
    bool bold = false;
    QColor colour = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    /// Height of one line, in millimetres; 0 gives the object's height to
    /// its one line.
    qreal lineHeight = 0;

    // Picture objects: scaled to fit the object, proportions kept, centred.
    QImage picture;

    QString text() const { return lines.join(QLatin1Char('\n')); }
};

/// A horizontal band of the page: the title (once, at the top of the first
/// page), the data (after the title; when splittable it continues on the
/// following pages) and the footer (once, after the data).
struct ReportBand
{
    enum Kind { Title, Data, Footer };

    Kind kind = Data;
    QString name;
    qreal height = 0; ///< millimetres
    bool canSplit = false;
    std::vector<std::unique_ptr<ReportObject>> objects;
};

/// A report of one page template: paper, orientation and margins, objects
/// standing on the page and optional bands. It is read from a template file,
/// filled by object name, prepared into pages and rendered page by page onto
/// any paint device. Prepared pages hold only where each band starts and
/// which part of it they show, so a report of thousands of lines costs no
/// more memory than its lines.
class Report
{
public:
    Report();
    ~Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    /// Template units (1/96 inch) per millimetre.
    static constexpr qreal UnitsPerMm = 96.0 / 25.4;
    static qreal unitsToMm(qreal units) { return units / UnitsPerMm; }

    /// Reads a template from a file (a resource path such as
    /// ":/assets/scheda_libro.report" or any path). A "$name" in the file
    /// stands for a parameter: its value from parameters, or else its
    /// "param" line's default. Returns false and sets errorString() when
    /// the file cannot be read or a line is not understood.
    bool load(const QString &path, const QMap<QString, QString> &parameters = {});
    /// The same from text already in memory.
    bool parse(const QString &text, const QMap<QString, QString> &parameters = {});
    QString errorString() const { return m_error; }

    /// The report's name, as its template gives it ("Scheda Libro").
    QString name() const { return m_name; }

    // The page.
    QPageLayout::Orientation orientation() const { return m_orientation; }
    void setOrientation(QPageLayout::Orientation orientation) { m_orientation = orientation; }
    qreal margin() const { return m_margin; }
    /// The paper, A4, turned to the orientation, with the margins.
    QPageLayout pageLayout() const;
    /// The printable area in millimetres (inside the margins).
    QSizeF printableSize() const;

    /// The object named name on the page or in any band, or nullptr.
    ReportObject *object(const QString &name) const;
    ReportBand *band(const QString &name) const;
    const std::vector<std::unique_ptr<ReportObject>> &pageObjects() const { return m_pageObjects; }

    /// Sets the text of a text object (a "\n" starts a new line). Returns
    /// false when there is no such text object.
    bool setText(const QString &name, const QString &text);
    /// Sets the picture of a picture object to a copy of image.
    bool setPicture(const QString &name, const QImage &image);
    bool clearLines(const QString &name);
    bool appendLine(const QString &name, const QString &line);
    /// Appends many lines at once (a list of thousands of rows).
    bool appendLines(const QString &name, const QStringList &lines);
    /// Heights in millimetres.
    bool setObjectHeight(const QString &name, qreal height);
    bool setBandHeight(const QString &name, qreal height);

    /// Lays the filled template out into pages. Call it again after a change.
    void prepare();
    /// Number of prepared pages (1 for a page without bands).
    int pageCount() const { return int(m_pages.size()); }

    /// Draws prepared page index (from 0) with the painter, whose origin is
    /// the top-left corner of the printable area; the scale is taken from
    /// the painter's device resolution, so the same call serves a printer,
    /// a PDF writer and a picture.
    void renderPage(QPainter *painter, int index) const;
    /// Sets the device's page layout to the report's and renders every
    /// prepared page onto it. Returns false when the device cannot be
    /// painted on or reports an error.
    bool renderAll(QPagedPaintDevice *device) const;
    /// Draws page index into a picture at dotsPerMm, on white, whole page
    /// with margins included (for thumbnails and tests).
    QImage pageImage(int index, qreal dotsPerMm) const;

    /// Replaces missing Arial, Verdana, Tahoma and Courier New with fonts of
    /// the same metrics, so that every report keeps its layout on a machine
    /// without them. Done once; called by the constructor.
    static void installFontFallbacks();

private:
    struct Piece
    {
        const ReportBand *band;
        qreal top;  ///< where the piece stands on the page, mm
        qreal from; ///< the part of the band shown: [from, to), mm in band coordinates
        qreal to;
    };
    struct Page
    {
        std::vector<Piece> pieces;
    };

    bool parseLine(const QStringList &tokens, QString *problem);
    void drawObject(QPainter *painter, const ReportObject &object, qreal dy, qreal from, qreal to) const;
    qreal splitPoint(const ReportBand &band, qreal from, qreal limit) const;

    QString m_name;
    QString m_error;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    qreal m_margin = 10;
    std::vector<std::unique_ptr<ReportObject>> m_pageObjects;
    std::vector<std::unique_ptr<ReportBand>> m_bands;
    std::vector<Page> m_pages;
};
