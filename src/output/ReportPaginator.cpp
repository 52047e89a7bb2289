#include "output/ReportPaginator.h"

#include "core/Decimal2.h"

#include <QFontMetricsF>
#include <QImage>

#include <map>
#include <memory>
#include <vector>

namespace {

// Texts are measured on an image of this resolution, as fine as a PDF page.
constexpr int kMeasureDpi = 1200;
constexpr double kMmPerInch = 25.4;
// Rounding room when deciding whether a band still fits.
constexpr double kFitToleranceMm = 0.01;

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
        const PreparedBand footer = prepare(m_layout.pageFooter);
        const int groupField = m_layout.groupField.isEmpty() ? -1 : m_source.fieldIndex(m_layout.groupField);
        for (const ReportBand* band :
             {&m_layout.titleBand, &m_layout.groupHeader, &m_layout.detail, &m_layout.pageFooter}) {
            registerSums(*band);
        }
        if (m_layout.summary)
            registerSums(*m_layout.summary);
        const bool grouped = !m_layout.groupField.isEmpty();

        startPage();
        place(title, more); // fields of the title band show the first record

        QVariant groupValue;
        bool firstRecord = true;
        while (more) {
            if (grouped) {
                const QVariant value = m_source.value(groupField);
                if (firstRecord || value != groupValue) {
                    // A group header never stands alone at the foot of a page.
                    ensureRoom(group.band->height + detail.band->height, footer);
                    place(group, true);
                    groupValue = value;
                }
            }
            ensureRoom(detail.band->height, footer);
            place(detail, true);
            accumulate();
            firstRecord = false;
            more = m_source.next();
        }

        if (m_layout.summary) {
            const PreparedBand summary = prepare(*m_layout.summary);
            ensureRoom(summary.band->height, footer);
            place(summary, false);
        }
        finishPage(footer);
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
        case ReportItem::Kind::PageNumber:
            return item.text + QString::number(m_report.pages.size());
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
            if (item.kind == ReportItem::Kind::Sum)
                m_sums.try_emplace(sumKey(item), Sum{m_source.fieldIndex(item.field), item.format, {}});
        }
    }

    // The record just printed counts, and its values join the sums.
    void accumulate()
    {
        ++m_count;
        for (auto& [key, sum] : m_sums) {
            const QVariant value = m_source.value(sum.field);
            // Decimal fields hold hundredths; other fields are summed as the numbers they show.
            const std::optional<Decimal2> amount =
                sum.format == FieldFormat::Decimal ? Decimal2::fromDb(value)
                                                   : Decimal2::parse(fieldText(value, FieldFormat::Plain));
            if (amount)
                sum.total += *amount;
        }
    }

    void place(const PreparedBand& band, bool onRecord)
    {
        PlacedPage& page = m_report.pages.last();
        const double top = m_y;
        for (const PreparedItem& p : band.items) {
            QString text = textOf(p, onRecord);
            if (text.isEmpty())
                continue;
            const double room = p.item->width;
            double width = toMm(p.metrics->horizontalAdvance(text));
            if (room > 0 && width > room) {
                text = p.metrics->elidedText(text, Qt::ElideRight, room * kMeasureDpi / kMmPerInch);
                width = toMm(p.metrics->horizontalAdvance(text));
            }
            const QRectF rect(p.item->x, top + p.item->y, width, toMm(p.metrics->height()));
            page.texts.append({rect, text, p.font, p.item->alignment});
        }
        const ReportBand& b = *band.band;
        const double bottom = top + b.height;
        if (b.lines.testFlag(BandLine::Top))
            page.lines.append({QLineF(0, top, m_width, top)});
        if (b.lines.testFlag(BandLine::Bottom))
            page.lines.append({QLineF(0, bottom, m_width, bottom)});
        if (b.lines.testFlag(BandLine::Left))
            page.lines.append({QLineF(0, top, 0, bottom)});
        if (b.lines.testFlag(BandLine::Right))
            page.lines.append({QLineF(m_width, top, m_width, bottom)});
        m_y = bottom;
    }

    void ensureRoom(double height, const PreparedBand& footer)
    {
        const double limit = m_height - footer.band->height;
        // A band taller than a whole page goes on a fresh page all the same.
        if (m_y + height > limit + kFitToleranceMm && m_y > 0) {
            finishPage(footer);
            startPage();
        }
    }

    void startPage()
    {
        m_report.pages.append(PlacedPage());
        m_y = 0;
    }

    void finishPage(const PreparedBand& footer)
    {
        m_y = m_height - footer.band->height;
        place(footer, false);
    }

    const ReportLayout& m_layout;
    RecordSource& m_source;
    const QString m_printDate;
    const double m_width;
    const double m_height;
    QImage m_measure;
    std::map<QString, std::shared_ptr<QFontMetricsF>> m_metrics;
    PlacedReport m_report;
    double m_y = 0;
    qint64 m_count = 0;
    struct Sum
    {
        int field;
        FieldFormat format;
        Decimal2 total;
    };
    std::map<QString, Sum> m_sums; // by field and format
};

} // namespace

PlacedReport ReportPaginator::paginate(RecordSource& source, const QDate& printDate) const
{
    return Pager(m_layout, source, printDate).run();
}
