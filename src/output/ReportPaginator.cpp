#include "output/ReportPaginator.h"

#include "core/Decimal2.h"
#include "db/DbError.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Texts are measured on an image of this resolution, as fine as a PDF page.
constexpr int kMeasureDpi = 1200;
constexpr double kMmPerInch = 25.4;
// Rounding room when deciding whether a text or a band still fits.
constexpr double kFitToleranceMm = 0.01;
// A text too wide for its column is printed smaller, down to this share of its
// size (a telephone number a few digits too long); a longer one wraps.
constexpr double kSmallestShrink = 0.8;
// Each try at a smaller size takes this share of the one before.
constexpr double kShrinkStep = 0.97;
// A band taller than a page is printed smaller in these steps, down to the
// smallest scale (a value of thousands of characters).
constexpr double kBandShrinkStep = 0.85;
constexpr double kSmallestBandScale = 0.2;
// Items whose tops are this close stand on one line.
constexpr double kSameLineMm = 3.0;

// An item with everything that stays the same from record to record worked out.
struct PreparedItem
{
    const ReportItem* item;
    int field = -1;
    QFont font;
    std::shared_ptr<QFontMetricsF> metrics;
};

struct PreparedBand
{
    const ReportBand* band = nullptr;
    std::vector<PreparedItem> items;
};

// A band laid out for the current record; positions from the top of the band.
struct LaidBand
{
    const ReportBand* band = nullptr;
    double height = 0;
    QList<PlacedText> texts;
    // Page numbers among the texts, written once the number of pages is known.
    std::vector<std::pair<qsizetype, const PreparedItem*>> pageNumbers;
};

// One item's text laid out within its column.
struct ItemText
{
    PlacedText placed;
    double lineHeight = 0; // of one line at the printed size
    double extra = 0;      // height beyond one line
};

class Pager
{
public:
    Pager(const ReportLayout& layout, RecordSource& source, const QDate& printDate)
        : m_layout(layout), m_source(source), m_printDate(printDateText(printDate)),
          m_width(layout.printableWidth()), m_height(layout.printableHeight()),
          m_measure(1, 1, QImage::Format_Mono)
    {
        const int dotsPerMetre = qRound(kMeasureDpi / kMmPerInch * 1000);
        m_measure.setDotsPerMeterX(dotsPerMetre);
        m_measure.setDotsPerMeterY(dotsPerMetre);
        m_report.title = layout.title;
        m_report.pageLayout = layout.pageLayout();
    }

    PlacedReport run()
    {
        bool more = m_source.first();
        const PreparedBand title = prepare(m_layout.titleBand);
        const PreparedBand group = prepare(m_layout.groupHeader);
        const PreparedBand detail = prepare(m_layout.detail);
        m_footer = prepare(m_layout.pageFooter);
        std::optional<PreparedBand> summary;
        if (m_layout.summary)
            summary = prepare(*m_layout.summary);
        const int groupField = m_layout.groupField.isEmpty() ? -1 : m_source.fieldIndex(m_layout.groupField);
        for (const ReportBand* band :
             {&m_layout.titleBand, &m_layout.groupHeader, &m_layout.detail, &m_layout.pageFooter}) {
            registerSums(*band);
        }
        if (m_layout.summary)
            registerSums(*m_layout.summary);
        const bool grouped = !m_layout.groupField.isEmpty();
        m_footerHeight = std::max(m_layout.pageFooter.height, layOut(m_footer, false).height);

        startPage();
        place(layOut(title, more)); // fields of the title band show the first record

        QVariant groupValue;
        bool firstRecord = true;
        bool summaryPlaced = false;
        while (more) {
            std::optional<LaidBand> header;
            if (grouped) {
                const QVariant value = m_source.value(groupField);
                if (firstRecord || value != groupValue) {
                    header = layOut(group, true);
                    groupValue = value;
                }
            }
            const LaidBand row = layOut(detail, true);
            accumulate();
            firstRecord = false;
            more = m_source.next();

            // A group header goes with its first record; the summary with the
            // last record, unless the two together are taller than a page.
            double needed = (header ? header->height : 0) + row.height;
            std::optional<LaidBand> total;
            if (!more && summary) {
                total = layOut(*summary, false);
                if (needed + total->height <= bodyHeight() + kFitToleranceMm)
                    needed += total->height;
            }
            ensureRoom(needed);
            if (header)
                place(*header);
            ensureRoom(row.height); // only a header and row taller than a page part
            place(row);
            if (total) {
                ensureRoom(total->height);
                place(*total);
                summaryPlaced = true;
            }
        }

        if (summary && !summaryPlaced) {
            const LaidBand total = layOut(*summary, false);
            ensureRoom(total.height);
            place(total);
        }
        finishPage();
        writePageNumbers();
        return std::move(m_report);
    }

private:
    PreparedBand prepare(const ReportBand& band)
    {
        PreparedBand prepared;
        prepared.band = &band;
        for (const ReportItem& item : band.items) {
            PreparedItem p{&item, -1, item.font.value_or(m_layout.font).toQFont(), nullptr};
            if (item.kind == ReportItem::Kind::Field || item.kind == ReportItem::Kind::Sum)
                p.field = m_source.fieldIndex(item.field);
            p.metrics = metricsFor(p.font);
            prepared.items.push_back(std::move(p));
        }
        return prepared;
    }

    std::shared_ptr<QFontMetricsF> metricsFor(const QFont& font)
    {
        const QString key = font.key();
        auto found = m_metrics.find(key);
        if (found != m_metrics.end())
            return found->second;
        auto metrics = std::make_shared<QFontMetricsF>(font, &m_measure);
        m_metrics.emplace(key, metrics);
        return metrics;
    }

    double toMm(qreal pixels) const { return pixels * kMmPerInch / kMeasureDpi; }
    double toPixels(double mm) const { return mm * kMeasureDpi / kMmPerInch; }

    // The room below the title of a fresh page, above its footer.
    double bodyHeight() const { return m_height - m_footerHeight; }

    QString textOf(const PreparedItem& p, bool onRecord) const
    {
        const ReportItem& item = *p.item;
        switch (item.kind) {
        case ReportItem::Kind::Text:
            return item.text;
        case ReportItem::Kind::Field:
            return onRecord ? fieldText(m_source.value(p.field), item.format) : QString();
        case ReportItem::Kind::Sum: {
            const auto found = m_sums.find(sumKey(item));
            return sumText(found == m_sums.end() ? Decimal2() : found->second.total, item.format);
        }
        case ReportItem::Kind::Count:
            return QString::number(m_count);
        case ReportItem::Kind::PrintDate:
            return item.text + m_printDate;
        case ReportItem::Kind::PageNumber: {
            // As wide as it will be; the number of pages is written at the end.
            const QString page = QString::number(std::max<qsizetype>(m_report.pages.size(), 1));
            return item.text.arg(page, page);
        }
        }
        return {};
    }

    static QString sumText(Decimal2 sum, FieldFormat format)
    {
        if (format == FieldFormat::Decimal)
            return sum.toString(2);
        // A sum of whole numbers shows whole.
        return sum.rounded(0) == sum ? sum.toString(0) : sum.toString(2);
    }

    static QString sumKey(const ReportItem& item)
    {
        return item.field.toLower() + u'|' + QString::number(int(item.format));
    }

    void registerSums(const ReportBand& band)
    {
        for (const ReportItem& item : band.items) {
            if (item.kind == ReportItem::Kind::Sum) {
                m_sums.try_emplace(sumKey(item),
                                   Sum{item.field, m_source.fieldIndex(item.field), item.format, {}});
            }
        }
    }

    // The record just read counts, and its values join the sums. A value that
    // cannot be added stops the report: a total without it would be wrong.
    void accumulate()
    {
        ++m_count;
        for (auto& [key, sum] : m_sums) {
            if (sum.index < 0) {
                throw DbError(QStringLiteral("打印清单无法合计“%1”：清单中没有这一项。").arg(sum.field));
            }
            const QVariant value = m_source.value(sum.index);
            if (value.isNull() || !value.isValid())
                continue; // no amount
            // Decimal fields hold hundredths; other fields are summed as the numbers they show.
            const std::optional<Decimal2> amount =
                sum.format == FieldFormat::Decimal ? fieldHundredths(value)
                                                   : Decimal2::parse(fieldText(value, FieldFormat::Plain));
            if (!amount) {
                throw DbError(
                    QStringLiteral("打印清单无法合计“%1”：第 %2 行的值“%3”不是金额。")
                        .arg(sum.field, QString::number(m_count), fieldText(value, FieldFormat::Plain)));
            }
            sum.total += *amount;
        }
    }

    // A piece of a text that a line may break after: a word of letters and
    // digits (a telephone number is one) or a Chinese character, with the blanks
    // that follow it. Positions in the text.
    struct Piece
    {
        qsizetype start;
        qsizetype end;     // after its blanks
        qsizetype printed; // before its blanks
    };

    // A blank is always a place to break: Qt's line breaking finds none between
    // two numbers ("0755-2345678 13900001111").
    static std::vector<Piece> breakPieces(const QString& text)
    {
        std::vector<Piece> pieces;
        const auto add = [&](qsizetype start, qsizetype end) {
            qsizetype printed = end;
            while (printed > start && text[printed - 1].isSpace())
                --printed;
            pieces.push_back({start, end, printed});
        };
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
        qsizetype start = 0;
        for (qsizetype at = breaks.toNextBoundary(); at > 0; at = breaks.toNextBoundary()) {
            for (qsizetype i = start; i + 1 < at; ++i) {
                if (text[i].isSpace() && !text[i + 1].isSpace()) {
                    add(start, i + 1);
                    start = i + 1;
                }
            }
            add(start, at);
            start = at;
        }
        return pieces;
    }

    // Where each position of a text lies from its start, in millimetres, as the
    // text prints on one line in `font`: one shaping of the text for all widths.
    // Glyphs are unhinted, so that the text printed smaller takes its widths
    // times `scale`.
    class Positions
    {
    public:
        Positions(const QString& text, const QFont& font, QPaintDevice* device) : m_layout(text, font, device)
        {
            m_layout.beginLayout();
            m_line = m_layout.createLine();
            m_line.setNumColumns(int(text.size()));
            m_layout.endLayout();
        }
        double at(qsizetype position) const
        {
            return m_line.cursorToX(int(position)) * kMmPerInch / kMeasureDpi * m_scale;
        }
        double width(qsizetype from, qsizetype to) const { return at(to) - at(from); }
        void setScale(double scale) { m_scale = scale; }

    private:
        QTextLayout m_layout;
        QTextLine m_line;
        double m_scale = 1;
    };

    static double widestPiece(const std::vector<Piece>& pieces, const Positions& x)
    {
        double widest = 0;
        for (const Piece& piece : pieces)
            widest = std::max(widest, x.width(piece.start, piece.printed));
        return widest;
    }

    // Fills lines of `room` millimetres with the pieces, breaking a piece
    // between its characters only where it is wider than a whole line. The
    // blanks a line breaks at are not printed. Returns the lines and the width
    // of the widest.
    static std::pair<QStringList, double> wrap(const QString& text, const std::vector<Piece>& pieces,
                                               const Positions& x, double room)
    {
        QStringList lines;
        double widest = 0;
        qsizetype lineStart = 0;
        qsizetype lineEnd = 0; // where its printed text ends
        const auto finishLine = [&] {
            if (lineEnd > lineStart) {
                lines << text.mid(lineStart, lineEnd - lineStart);
                widest = std::max(widest, x.width(lineStart, lineEnd));
            }
        };
        for (const Piece& piece : pieces) {
            if (x.width(lineStart, piece.printed) <= room + kFitToleranceMm) {
                if (piece.printed > piece.start)
                    lineEnd = piece.printed;
                continue;
            }
            finishLine();
            lineStart = lineEnd = piece.start;
            if (x.width(piece.start, piece.printed) <= room + kFitToleranceMm) {
                lineEnd = piece.printed;
                continue;
            }
            QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
            characters.setPosition(piece.start);
            for (qsizetype at = characters.toNextBoundary(); at > 0 && at <= piece.printed;
                 at = characters.toNextBoundary()) {
                if (lineEnd > lineStart && x.width(lineStart, at) > room + kFitToleranceMm) {
                    finishLine();
                    lineStart = lineEnd;
                }
                lineEnd = at;
            }
        }
        finishLine();
        if (lines.isEmpty())
            lines << QString(); // blanks alone
        return {lines, widest};
    }

    // Lays one text out in the item's column: as it is when it fits, a little
    // smaller when that is enough, else wrapped over as many lines as it needs,
    // between words where the words fit the column.
    ItemText layOutText(const PreparedItem& p, QString text, double scale)
    {
        const ReportItem& item = *p.item;
        // Line breaks and tabs of a stored value print as blanks.
        if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < u' '; })) {
            text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            text.replace(u'\n', u' ').replace(u'\r', u' ').replace(u'\t', u' ');
        }
        QFont font = p.font;
        std::shared_ptr<QFontMetricsF> metrics = p.metrics;
        if (scale < 1) {
            font.setPointSizeF(font.pointSizeF() * scale);
            metrics = metricsFor(font);
        }
        const double room = item.width > 0 ? item.width : std::max(0.0, m_width - item.x);
        const double width = toMm(metrics->horizontalAdvance(text));
        const double lineHeight = toMm(metrics->height());
        ItemText result{
            {QRectF(item.x, item.y, width, lineHeight), text, font, item.alignment, {}, 0}, lineHeight, 0};
        if (width <= room + kFitToleranceMm)
            return result;

        const double size = font.pointSizeF();
        for (double smaller = size * room / width * 0.999; smaller >= size * kSmallestShrink;
             smaller *= kShrinkStep) {
            QFont shrunk = font;
            shrunk.setPointSizeF(smaller);
            const std::shared_ptr<QFontMetricsF> m = metricsFor(shrunk);
            const double w = toMm(m->horizontalAdvance(text));
            if (w <= room + kFitToleranceMm) {
                result.placed.font = shrunk;
                result.placed.rect.setSize(QSizeF(w, toMm(m->height())));
                result.lineHeight = result.placed.rect.height();
                return result;
            }
        }

        // The text wraps. A word a little wider than the column (a telephone
        // number after a name) prints a little smaller rather than split over
        // two lines; only a word too wide even then is broken.
        const std::vector<Piece> pieces = breakPieces(text);
        Positions x(text, font, &m_measure);
        const double word = widestPiece(pieces, x);
        const double smaller = word > 0 ? room / word * 0.999 : 1;
        if (word > room + kFitToleranceMm && smaller >= kSmallestShrink) {
            font.setPointSizeF(size * smaller);
            metrics = metricsFor(font);
            result.placed.font = font;
            x.setScale(smaller);
        }
        const double firstLine = toMm(metrics->height());
        result.lineHeight = firstLine;
        const auto [lines, widest] = wrap(text, pieces, x, room);
        const double pitch = toMm(metrics->lineSpacing());
        result.placed.lines = lines;
        result.placed.lineHeight = pitch;
        result.placed.rect.setSize(QSizeF(widest, pitch * double(lines.size() - 1) + firstLine));
        result.extra = result.placed.rect.height() - firstLine;
        return result;
    }

    // The band for the current record (`onRecord`), or without one: its texts
    // in their columns, the items below a wrapped value moved down by its extra
    // lines, the band as tall as it needs. A band taller than a page is laid out
    // again smaller.
    LaidBand layOut(const PreparedBand& band, bool onRecord, double scale = 1)
    {
        struct Entry
        {
            ItemText text;
            const PreparedItem* item;
            double room;
            double shift = 0;
        };
        std::vector<Entry> entries;
        for (const PreparedItem& p : band.items) {
            const QString text = textOf(p, onRecord);
            if (text.isEmpty())
                continue;
            const double room = p.item->width > 0 ? p.item->width : std::max(0.0, m_width - p.item->x);
            entries.push_back({layOutText(p, text, scale), &p, room});
        }
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.item->item->y < b.item->item->y; });
        double growth = 0;
        for (std::size_t j = 0; j < entries.size(); ++j) {
            Entry& below = entries[j];
            const ReportItem& b = *below.item->item;
            for (std::size_t i = 0; i < j; ++i) {
                const Entry& above = entries[i];
                const ReportItem& a = *above.item->item;
                const bool under =
                    a.y + std::max(above.text.lineHeight, kSameLineMm) <= b.y + kFitToleranceMm;
                const bool sameColumn = a.x < b.x + below.room && b.x < a.x + above.room;
                if (under && sameColumn)
                    below.shift = std::max(below.shift, above.shift + above.text.extra);
            }
            growth = std::max(growth, below.shift + below.text.extra);
        }

        LaidBand laid;
        laid.band = band.band;
        laid.height = band.band->height + growth;
        if (laid.height > bodyHeight() + kFitToleranceMm && scale > kSmallestBandScale)
            return layOut(band, onRecord, scale * kBandShrinkStep);
        for (Entry& e : entries) {
            e.text.placed.rect.translate(0, e.shift);
            if (e.item->item->kind == ReportItem::Kind::PageNumber)
                laid.pageNumbers.emplace_back(laid.texts.size(), e.item);
            laid.texts.append(std::move(e.text.placed));
        }
        return laid;
    }

    void place(const LaidBand& laid)
    {
        PlacedPage& page = m_report.pages.last();
        const double top = m_y;
        for (const auto& [index, item] : laid.pageNumbers)
            m_pageNumbers.push_back({m_report.pages.size() - 1, page.texts.size() + index, item});
        for (PlacedText text : laid.texts) {
            text.rect.translate(0, top);
            page.texts.append(std::move(text));
        }
        const BandLines lines = laid.band->lines;
        const double bottom = top + laid.height;
        // A framed row at the top of a page is closed above as well.
        const bool framed = lines.testFlag(BandLine::Left) || lines.testFlag(BandLine::Right);
        if (lines.testFlag(BandLine::Top) || (framed && top <= kFitToleranceMm))
            page.lines.append({QLineF(0, top, m_width, top)});
        if (lines.testFlag(BandLine::Bottom))
            page.lines.append({QLineF(0, bottom, m_width, bottom)});
        if (lines.testFlag(BandLine::Left))
            page.lines.append({QLineF(0, top, 0, bottom)});
        if (lines.testFlag(BandLine::Right))
            page.lines.append({QLineF(m_width, top, m_width, bottom)});
        m_y = bottom;
    }

    void ensureRoom(double height)
    {
        // A band taller than a whole page goes on a fresh page all the same.
        if (m_y + height > bodyHeight() + kFitToleranceMm && m_y > 0) {
            finishPage();
            startPage();
        }
    }

    void startPage()
    {
        m_report.pages.append(PlacedPage());
        m_y = 0;
    }

    void finishPage()
    {
        m_y = m_height - m_footerHeight;
        place(layOut(m_footer, false));
    }

    void writePageNumbers()
    {
        const QString pages = QString::number(m_report.pages.size());
        for (const PageNumber& n : m_pageNumbers) {
            PlacedText& placed = m_report.pages[n.page].texts[n.text];
            const ItemText laid =
                layOutText(*n.item, n.item->item->text.arg(QString::number(n.page + 1), pages), 1);
            const QPointF at = placed.rect.topLeft();
            placed = laid.placed;
            placed.rect.moveTopLeft(at);
        }
    }

    const ReportLayout& m_layout;
    RecordSource& m_source;
    const QString m_printDate;
    const double m_width;
    const double m_height;
    QImage m_measure;
    std::map<QString, std::shared_ptr<QFontMetricsF>> m_metrics;
    PreparedBand m_footer;
    double m_footerHeight = 0;
    PlacedReport m_report;
    double m_y = 0;
    qint64 m_count = 0;
    struct Sum
    {
        QString field;
        int index;
        FieldFormat format;
        Decimal2 total;
    };
    std::map<QString, Sum> m_sums; // by field and format
    struct PageNumber
    {
        qsizetype page;
        qsizetype text;
        const PreparedItem* item;
    };
    std::vector<PageNumber> m_pageNumbers;
};

} // namespace

PlacedReport ReportPaginator::paginate(RecordSource& source, const QDate& printDate) const
{
    return Pager(m_layout, source, printDate).run();
}
