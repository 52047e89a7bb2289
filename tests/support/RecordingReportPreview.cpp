#include "support/RecordingReportPreview.h"

#include "output/ReportLayout.h"
#include "output/ReportPaginator.h"

#include <stdexcept>

void RecordingReportPreview::preview(const ReportLayout& layout, RecordSource& source, QWidget*)
{
    m_shown.append({layout.name, ReportPaginator(layout).paginate(source, m_clock.today())});
}

const RecordingReportPreview::Shown& RecordingReportPreview::last() const
{
    if (m_shown.isEmpty())
        throw std::runtime_error("no report was shown");
    return m_shown.last();
}

QStringList RecordingReportPreview::pageTexts(int page) const
{
    const PlacedReport& report = last().report;
    if (page < 0 || page >= report.pages.size())
        throw std::runtime_error("the report has no page " + std::to_string(page));
    return report.pages[page].textsInReadingOrder();
}
