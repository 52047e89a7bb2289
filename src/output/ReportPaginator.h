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
// Pages a reader can follow: a group header never stands at the foot of a page
// without its first record, nor the summary at the top of a page without the
// last record; a framed row at the top of a page has its top rule; page numbers
// ("第 1 页 共 3 页") count the pages of the whole report.
//
// No value loses characters. Texts are measured at print resolution; a value
// wider than its column is printed a little smaller when that makes it fit, else
// it wraps within its column and its band grows; it wraps between words, a word
// a little too wide for the column (a telephone number) printed a little smaller
// rather than split. A band taller than a whole page is printed smaller until it
// fits one.
//
// Sums over decimal fields are exact (Decimal2). A value a sum cannot add (a text
// in a decimal field, a fraction of a hundredth, a field the list lacks) is
// refused with DbError, never left out of the total.
class ReportPaginator
{
public:
    explicit ReportPaginator(const ReportLayout& layout) : m_layout(layout) {}

    // Reads `source` from its first record. Throws DbError when the source does,
    // or when a summed value cannot be added.
    PlacedReport paginate(RecordSource& source, const QDate& printDate) const;

private:
    const ReportLayout& m_layout;
};
