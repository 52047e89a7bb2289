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
        StatementRecordSource rows(db(), arrears::list(ownerId(), period()),
                                   {QStringLiteral("o.owner_name"), QStringLiteral("a.sum_should"),
                                    QStringLiteral("a.sum_payment"), QStringLiteral("a.owe_money")});
        context().reports->preview(reports::rptOwe(), rows, this);
    });
}

void ArrearsScreen::exportResult()
{
    ExportDescription d;
    d.title = QStringLiteral("业主欠费清单");
    d.columnWidths = {{1, 6}, {2, 10}};
    using C = ExportColumn;
    const FieldFormat money = FieldFormat::Decimal;
    d.columns = {
        C::text(QStringLiteral("业主名称"), QStringLiteral("owner_name")),
        C::text(QStringLiteral("费用名"), QStringLiteral("type_name")),
        C::text(QStringLiteral("应付款"), QStringLiteral("sum_should"), money),
        C::text(QStringLiteral("实付款"), QStringLiteral("sum_payment"), money),
        // Paid − due: a debt is negative.
        C::text(QStringLiteral("欠款金额"), QStringLiteral("sum_owe"), money),
    };
    StatementRecordSource rows(db(), arrears::list(ownerId(), period()),
                               {QStringLiteral("o.owner_name"), QStringLiteral("t.type_name"),
                                QStringLiteral("a.sum_should"), QStringLiteral("a.sum_payment"),
                                QStringLiteral("a.sum_owe")});
    if (exportList(context(), d, rows, this))
        backToFirstRow();
}
