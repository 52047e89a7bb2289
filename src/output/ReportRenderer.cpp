#include "output/ReportRenderer.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr double kMmPerInch = 25.4;
// Band lines are drawn this thick.
constexpr double kLineWidthMm = 0.2;
// PDF files are written at this resolution.
constexpr int kPdfDpi = 1200;

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

void paintPage(QPainter& painter, const PlacedPage& page, const DeviceScale& scale)
{
    QPen pen(Qt::black);
    pen.setWidthF(scale.length(kLineWidthMm));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const PlacedLine& line : page.lines)
        painter.drawLine(scale.line(line.line));
    for (const PlacedText& text : page.texts) {
        painter.setFont(text.font);
        painter.drawText(scale.rect(text.rect),
                         int(text.alignment | Qt::AlignTop) | Qt::TextSingleLine | Qt::TextDontClip,
                         text.text);
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
