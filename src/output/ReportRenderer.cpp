#include "output/ReportRenderer.h"

#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTextLayout>

namespace {

constexpr double kMmPerInch = 25.4;
// Band lines are drawn this thick.
constexpr double kLineWidthMm = 0.2;
// PDF files are written at this resolution.
constexpr int kPdfDpi = 1200;
// Colour glyphs are painted as pictures of this many pixels to the em.
constexpr double kColourGlyphPixels = 128;
// Converts millimetres on the printable area into units of one device.
class DeviceScale
{
public:
    explicit DeviceScale(const QPaintDevice& device)
        : m_x(device.logicalDpiX() / kMmPerInch), m_y(device.logicalDpiY() / kMmPerInch)
    {
    }

    double length(double mm) const { return mm * m_x; }
    QPointF point(const QPointF& mm) const { return {mm.x() * m_x, mm.y() * m_y}; }
    QRectF rect(const QRectF& mm) const { return {point(mm.topLeft()), point(mm.bottomRight())}; }
    QLineF line(const QLineF& mm) const { return {point(mm.p1()), point(mm.p2())}; }

private:
    double m_x;
    double m_y;
};

// Whether a font draws its glyphs as colour pictures (the emoji font). A PDF
// holds such glyphs as text without shapes, which nothing shows.
bool isColourFont(const QRawFont& font)
{
    static QMutex mutex;
    static QHash<QString, bool> known;
    const QString key = font.familyName() + u'|' + font.styleName();
    const QMutexLocker lock(&mutex);
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;
    // Bitmap colour glyphs (CBLC, the index of CBDT) or layered ones (COLR).
    const bool colour = !font.fontTable("CBLC").isEmpty() || !font.fontTable("COLR").isEmpty();
    known.insert(key, colour);
    return colour;
}

// Paints colour glyphs as a picture over their place: drawn on an image by the
// raster engine, which paints colour glyphs, then scaled onto the device.
void paintColourGlyphs(QPainter& painter, const QPointF& origin, const QGlyphRun& run)
{
    const QRectF box = run.boundingRect();
    if (box.isEmpty() || run.rawFont().pixelSize() <= 0)
        return;
    const double factor = kColourGlyphPixels / run.rawFont().pixelSize();
    QRawFont large = run.rawFont();
    large.setPixelSize(run.rawFont().pixelSize() * factor);
    QGlyphRun scaled = run;
    scaled.setRawFont(large);
    QList<QPointF> positions;
    for (const QPointF& p : run.positions())
        positions << (p - box.topLeft()) * factor;
    scaled.setPositions(positions);
    QImage picture((box.size() * factor).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter raster(&picture);
        raster.setRenderHint(QPainter::Antialiasing);
        raster.drawGlyphRun(QPointF(0, 0), scaled);
    }
    painter.drawImage(QRectF(origin + box.topLeft(), QSizeF(picture.size()) / factor), picture);
}

// One line of text within `box` (device units), aligned as the text asks.
void paintLine(QPainter& painter, const QString& text, const QFont& font, Qt::Alignment alignment,
               const QRectF& box)
{
    QTextLayout layout(text, font, painter.device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;
    }
    line.setLineWidth(box.width());
    line.setPosition(QPointF(0, 0));
    layout.endLayout();

    double x = box.left();
    const double free = box.width() - line.naturalTextWidth();
    if (alignment.testFlag(Qt::AlignHCenter))
        x += free / 2;
    else if (alignment.testFlag(Qt::AlignRight))
        x += free;
    const QPointF origin(x, box.top());
    for (const QGlyphRun& run : layout.glyphRuns()) {
        if (isColourFont(run.rawFont())) {
            paintColourGlyphs(painter, origin, run);
            continue;
        }
        painter.drawGlyphRun(origin, run);
    }
}

void paintPage(QPainter& painter, const PlacedPage& page, const DeviceScale& scale)
{
    QPen pen(Qt::black);
    pen.setWidthF(scale.length(kLineWidthMm));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const PlacedLine& line : page.lines)
        painter.drawLine(scale.line(line.line));
    for (const PlacedText& text : page.texts) {
        const QStringList lines = text.printedLines();
        const double pitch = text.lines.isEmpty() ? text.rect.height() : text.lineHeight;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QRectF mm(text.rect.left(), text.rect.top() + double(i) * pitch, text.rect.width(), pitch);
            paintLine(painter, lines[i], text.font, text.alignment, scale.rect(mm));
        }
    }
}

} // namespace

bool ReportRenderer::paint(QPagedPaintDevice& device) const
{
    device.setPageLayout(m_report.pageLayout);
    const QPageRanges ranges = device.pageRanges();
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const DeviceScale scale(device);
    bool firstPainted = true;
    for (qsizetype i = 0; i < m_report.pages.size(); ++i) {
        if (!ranges.isEmpty() && !ranges.contains(int(i + 1)))
            continue;
        if (!firstPainted && !device.newPage())
            return false;
        firstPainted = false;
        paintPage(painter, m_report.pages[i], scale);
    }
    return painter.end();
}

bool ReportRenderer::writePdf(const QString& path) const
{
    QPdfWriter writer(path);
    writer.setResolution(kPdfDpi);
    writer.setTitle(m_report.title);
    writer.setCreator(QStringLiteral("pelm"));
    return paint(writer);
}
