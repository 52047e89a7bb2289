#include "output/ReportLayout.h"

#include "output/Fonts.h"

#include <QRectF>
#include <QStringList>

#include <cmath>

namespace {

// Items whose tops are this close stand on one line.
constexpr double kSameLineMm = 3.0;
// Room left free between a value and its right neighbour.
constexpr double kGapMm = 1.0;

} // namespace

QFont ReportFont::toQFont() const
{
    // Where Arial itself is missing, a font of the same widths prints letters and
    // digits, so that values fit the columns as laid out; emoji come from the
    // emoji font (after the letters: it has digits of its own), Chinese characters
    // from "宋体", bold ones from "黑体" (see installFontSubstitutions()).
    QStringList families{family};
    if (family.compare(u"Arial", Qt::CaseInsensitive) == 0)
        families << QStringLiteral("Liberation Sans") << QStringLiteral("Arimo");
    families << emojiFontFamily() << QStringLiteral("DejaVu Sans")
             << (bold ? QStringLiteral("黑体") : QStringLiteral("宋体"));
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // Glyphs of the same widths at every resolution: a text measured for the
    // layout takes the same room on the printer, in the preview and in a PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

ReportItem ReportItem::fixedText(QString text, double x, double y, std::optional<ReportFont> font)
{
    ReportItem item;
    item.kind = Kind::Text;
    item.text = std::move(text);
    item.x = x;
    item.y = y;
    item.font = std::move(font);
    return item;
}

ReportItem ReportItem::fieldValue(QString field, double x, double y, std::optional<ReportFont> font,
                                  FieldFormat format)
{
    ReportItem item;
    item.kind = Kind::Field;
    item.field = std::move(field);
    item.format = format;
    item.x = x;
    item.y = y;
    item.font = std::move(font);
    item.alignment = Qt::AlignHCenter;
    return item;
}

ReportItem ReportItem::sum(QString field, FieldFormat format, double x, double y,
                           std::optional<ReportFont> font)
{
    ReportItem item;
    item.kind = Kind::Sum;
    item.field = std::move(field);
    item.format = format;
    item.x = x;
    item.y = y;
    item.font = std::move(font);
    return item;
}

ReportItem ReportItem::count(double x, double y, std::optional<ReportFont> font)
{
    ReportItem item;
    item.kind = Kind::Count;
    item.x = x;
    item.y = y;
    item.font = std::move(font);
    return item;
}

ReportItem ReportItem::printDate(QString prefix, double x, double y, std::optional<ReportFont> font)
{
    ReportItem item = fixedText(std::move(prefix), x, y, std::move(font));
    item.kind = Kind::PrintDate;
    return item;
}

ReportItem ReportItem::pageNumber(double x, double y, std::optional<ReportFont> font, QString pattern)
{
    ReportItem item = fixedText(std::move(pattern), x, y, std::move(font));
    item.kind = Kind::PageNumber;
    return item;
}

void ReportBand::limitFieldWidths(double bandWidth)
{
    for (ReportItem& item : items) {
        if (item.kind != ReportItem::Kind::Field)
            continue;
        double right = bandWidth - kGapMm; // clear of a frame along the right edge
        for (const ReportItem& other : items) {
            if (&other != &item && other.x > item.x && std::abs(other.y - item.y) < kSameLineMm)
                right = std::min(right, other.x - kGapMm);
        }
        item.width = std::max(0.0, right - item.x);
    }
}

QPageLayout ReportLayout::pageLayout() const
{
    return QPageLayout(pageSize, orientation, margins, QPageLayout::Millimeter);
}

double ReportLayout::printableWidth() const
{
    return pageLayout().paintRect(QPageLayout::Millimeter).width();
}

double ReportLayout::printableHeight() const
{
    return pageLayout().paintRect(QPageLayout::Millimeter).height();
}
