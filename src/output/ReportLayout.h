#pragma once

#include "output/FieldText.h"

#include <QFont>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QString>

#include <optional>

// A font of a printed list as the layout names it. "Arial" has no Chinese
// characters; they come from "宋体", as on the office's printers, and emoji from
// the emoji font.
struct ReportFont
{
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;

    QFont toQFont() const;
};

// One thing printed in a band. Positions and sizes are in millimetres: x from the
// left margin, y from the top of the band.
struct ReportItem
{
    enum class Kind {
        Text,       // a fixed text
        Field,      // the text of a field of the current record
        Sum,        // the sum of a field over the records printed so far
        Count,      // the number of records printed so far
        PrintDate,  // `text` followed by the date of printing
        PageNumber, // `text` with %1 the number of the page and %2 the number of pages
    };

    Kind kind = Kind::Text;
    QString text;  // the fixed text, the prefix of a print date, the pattern of a page number
    QString field; // the field of a Field or Sum item
    FieldFormat format = FieldFormat::Plain;
    double x = 0;
    double y = 0;
    // The width of the item's column; 0: up to the right edge of the page. The
    // item is as wide as its text. A longer text is printed a little smaller when
    // that makes it fit, else it wraps within the column and the band grows;
    // it is never cut, and never runs into the next column.
    double width = 0;
    std::optional<ReportFont> font; // none: the report's font
    Qt::Alignment alignment = Qt::AlignLeft;

    static ReportItem fixedText(QString text, double x, double y, std::optional<ReportFont> font = {});
    // A value of the current record: centre-aligned and sized to its text.
    static ReportItem fieldValue(QString field, double x, double y, std::optional<ReportFont> font = {},
                                 FieldFormat format = FieldFormat::Plain);
    static ReportItem sum(QString field, FieldFormat format, double x, double y,
                          std::optional<ReportFont> font = {});
    static ReportItem count(double x, double y, std::optional<ReportFont> font = {});
    static ReportItem printDate(QString prefix, double x, double y, std::optional<ReportFont> font = {});
    // "第 1 页 共 3 页".
    static ReportItem pageNumber(double x, double y, std::optional<ReportFont> font = {},
                                 QString pattern = QStringLiteral("第 %1 页 共 %2 页"));
};

// The edges of a band along which a line is drawn.
enum class BandLine { None = 0, Top = 1, Bottom = 2, Left = 4, Right = 8 };
Q_DECLARE_FLAGS(BandLines, BandLine)
Q_DECLARE_OPERATORS_FOR_FLAGS(BandLines)

inline constexpr BandLines kFrame =
    BandLines(BandLine::Top) | BandLine::Bottom | BandLine::Left | BandLine::Right;
inline constexpr BandLines kOpenTop = BandLines(BandLine::Bottom) | BandLine::Left | BandLine::Right;

// A strip as wide as the printable page; its height in millimetres, which a
// band with a wrapped value exceeds: the band grows by the value's extra lines,
// and the items below that value move down with it.
struct ReportBand
{
    double height = 0;
    BandLines lines = BandLine::None;
    QList<ReportItem> items;

    // Gives every field item of the band the room up to the next item to its right
    // on the same line (less a small gap), or up to `bandWidth` (less the same
    // gap): its column.
    void limitFieldWidths(double bandWidth);
};

// A printed list as data. Bands print in this order: the title band once at the
// top of page 1; for each record the group header (when the report groups and the
// group field's value differs from the previous record's) and the detail band;
// after the last record the summary; the page footer at the bottom of every page.
// A group header stays with its first record, the summary with the last record.
struct ReportLayout
{
    QString name;  // "rptOwner"
    QString title; // the report's title, for the file name and the PDF's title
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins = QMarginsF(10, 10, 10, 10); // millimetres
    ReportFont font;                               // for items that name no font

    ReportBand titleBand;
    QString groupField; // empty: no group header
    ReportBand groupHeader;
    ReportBand detail;
    ReportBand pageFooter;
    std::optional<ReportBand> summary;

    QPageLayout pageLayout() const;
    // The printable width and height in millimetres.
    double printableWidth() const;
    double printableHeight() const;
};
