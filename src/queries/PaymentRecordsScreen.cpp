#include "queries/PaymentRecordsScreen.h"

#include "db/QueryListModel.h"
#include "output/ListReportLayouts.h"
#include "output/MemoryRecordSource.h"
#include "output/ReportPreview.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"
#include "queries/PaymentRecords.h"

#include <QDateEdit>

PaymentRecordsScreen::PaymentRecordsScreen(const ScreenContext& context, QWidget* parent)
    : PeriodQueryScreen(context, {payment_records::columns(), true, true, true}, parent)
{
    setObjectName(QStringLiteral("TmonthTakeFrm"));
    setWindowTitle(QStringLiteral("缴费记录清单"));
    resize(980, 560);
}

std::optional<ListQuery> PaymentRecordsScreen::result(qlonglong ownerId,
                                                      const std::optional<Period>& period) const
{
    // Empty until the first query; then the owner's records of that period.
    if (!period)
        return std::nullopt;
    return payment_records::list(ownerId, *period);
}

void PaymentRecordsScreen::print()
{
    run([&] {
        // The list as shown; before the first query, the title and captions alone.
        if (!period()) {
            MemoryRecordSource nothing({}, {});
            context().reports->preview(reports::rptTake(), nothing, this);
            return;
        }
        QStringList fields;
        for (const ListColumn& c : model()->columns())
            fields << c.field;
        StatementRecordSource rows(db(), model()->query(), fields);
        context().reports->preview(reports::rptTake(), rows, this);
    });
}

void PaymentRecordsScreen::exportResult()
{
    // Titled with the period of the rows shown (the one last queried), not with
    // what the pickers hold since; before the first query there are no rows.
    const Period shown = period().value_or(Period{firstPicker()->date(), lastPicker()->date()});
    const ExportDescription d = payment_records::exported(shown);
    if (!period()) {
        MemoryRecordSource nothing({}, {});
        exportList(context(), d, nothing, this);
        return;
    }
    StatementRecordSource rows(db(), payment_records::list(ownerId(), *period()),
                               payment_records::exportedColumns());
    if (exportList(context(), d, rows, this))
        backToFirstRow();
}
