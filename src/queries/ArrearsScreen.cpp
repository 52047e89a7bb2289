#include "queries/ArrearsScreen.h"

#include "output/ListReportLayouts.h"
#include "output/ReportPreview.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"
#include "queries/Arrears.h"

ArrearsScreen::ArrearsScreen(const ScreenContext& context, QWidget* parent)
    : PeriodQueryScreen(context, {arrears::columns(), true, false, true}, parent)
{
    setObjectName(QStringLiteral("ToweMonthFrm"));
    setWindowTitle(QStringLiteral("业主欠费清单"));
    resize(900, 520);
    // Before the first query: the owner's totals over all dates, settled ones too.
    showResult();
}

std::optional<ListQuery> ArrearsScreen::result(qlonglong ownerId, const std::optional<Period>& period) const
{
    return arrears::list(ownerId, period);
}

void ArrearsScreen::print()
{
    run([&] {
        // The dunning list as shown; its reduction column has no value here.
        StatementRecordSource rows(db(), arrears::list(ownerId(), period()), arrears::printedColumns());
        context().reports->preview(reports::rptOwe(), rows, this);
    });
}

void ArrearsScreen::exportResult()
{
    StatementRecordSource rows(db(), arrears::list(ownerId(), period()), arrears::exportedColumns());
    if (exportList(context(), arrears::exported(), rows, this))
        backToFirstRow();
}
