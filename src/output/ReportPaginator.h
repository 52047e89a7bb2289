#pragma once

#include "output/PlacedReport.h"
#include "output/RecordSource.h"
#include "output/ReportLayout.h"

#include <QDate>

// Lays a report out on pages without painting: the title band at the top of page
// 1; per record the group header (when the group value changes, never repeated
// after a page break) and the detail band, starting a new page when a band no
// longer fits above the page footer; the summary after the last record; the page
// footer at the bottom of every page. An empty source still gives one page with
// the title, the summary (zero count and sums) and the footer.
//
// Sums over decimal fields are exact (Decimal2). Texts are measured at print
// resolution; a value longer than the room its item has is cut short with "…".
class ReportPaginator
{
public:
    explicit ReportPaginator(const ReportLayout& layout) : m_layout(layout) {}

    // Reads `source` from its first record. Throws DbError when the source does.
    PlacedReport paginate(RecordSource& source, const QDate& printDate) const;

private:
    const ReportLayout& m_layout;
};
