#include "services/CleaningScreen.h"

#include "db/LabelledColumns.h"
#include "output/ReportPreview.h"
#include "output/ServiceReportLayouts.h"
#include "output/StatementRecordSource.h"

// The key stays hidden; one caption and box a row.
CleaningScreen::CleaningScreen(const ScreenContext& context, QWidget* parent)
    : WorkingCopyForm(
          context,
          {"DBGrid1",
           QList<ListColumn>{{QStringLiteral("cond_id"), QString(), ListColumn::Kind::Number}} +
               labelledColumns("condition", {{"area_name"}}),
           QStringLiteral("cond_id"),
           {"btnPrintDevice", QStringLiteral("预览 &p.")},
           {"btnAdd", QStringLiteral("增加 &a")},
           {"btnDel", QStringLiteral("删除 &d.")},
           {"btnSave", QStringLiteral("保存 &s.")},
           {"BitBtn1", QStringLiteral("退出 &e.")}},
          "condition",
          {cleaning_store::list, cleaning_store::load, cleaning_store::save, cleaning_store::remove}, parent)
{
    setObjectName(QStringLiteral("TcontFrm"));
    setWindowTitle(QStringLiteral("环境保洁"));
    resize(640, 420);

    using F = CleaningArea;
    fields()
        .text("area_name", "edtAreaName", &F::areaName)
        .wide()
        .text("charger", "edtCharger", &F::charger)
        .wide()
        .text("cycle", "edtCycle", &F::cycle)
        .wide()
        .memo("remark", "memRemark", &F::remark)
        .wide();
    begin();
}

void CleaningScreen::print()
{
    run([&] {
        // Every area, whatever the list shows.
        const ReportStatement s = reports::conditionStatement();
        StatementRecordSource rows(db(), s.text, s.values);
        context().reports->preview(reports::rptConnt(), rows, this);
    });
}
