#include "services/ActivitiesScreen.h"

#include "db/LabelledColumns.h"
#include "output/ReportPreview.h"
#include "output/ServiceReportLayouts.h"
#include "output/StatementRecordSource.h"

namespace {

using K = ListColumn::Kind;

QList<ListColumn> columns()
{
    return labelledColumns("community", {{"ploy_id"},
                                         {"ploy_name"},
                                         {"main_dept"},
                                         {"second_dept"},
                                         // The office's grid titles this column with the column's own name.
                                         {"affiche", {}, QStringLiteral("affiche")},
                                         {"start_date", K::Date},
                                         {"end_date", K::Date},
                                         {"charge_man"},
                                         {"ploy_money"},
                                         {"money_take"},
                                         {"take_people"}});
}

} // namespace

ActivitiesScreen::ActivitiesScreen(const ScreenContext& context, QWidget* parent)
    : WorkingCopyForm(
          context,
          {"dbgPloy",
           columns(),
           QStringLiteral("ploy_id"),
           {"btnPrintcomm", QStringLiteral("预览 &p.")},
           {"btnAdd", QStringLiteral("增加 &a")},
           {"btnDel", QStringLiteral("删除 &d.")},
           {"btnSave", QStringLiteral("保存 &s.")},
           {"btnClose", QStringLiteral("退出 &e.")},
           Arrangement::GridBelow},
          "community",
          {activity_store::list, activity_store::load, activity_store::save, activity_store::remove}, parent)
{
    setObjectName(QStringLiteral("TcommuFrm"));
    setWindowTitle(QStringLiteral("社区活动"));
    resize(900, 600);

    // Two pairs a row, the long texts across the whole width. A new activity
    // starts with the days last shown.
    using F = CommunityActivity;
    fields()
        .text("ploy_name", "edtPloyName", &F::name)
        .text("charge_man", "edtChargeMan", &F::chargeMan)
        .text("main_dept", "edtMainDept", &F::mainDept)
        .text("second_dept", "edtSecondDept", &F::secondDept)
        .date("start_date", "dtpStartDate", &F::startDate)
        .caption(QStringLiteral("起始日期"))
        .keptOnClear()
        .date("end_date", "dtpEndDate", &F::endDate)
        .keptOnClear()
        .text("affiche", "edtAffiche", &F::affiche)
        .text("ploy_money", "edtPloyMoney", &F::ployMoney)
        .text("money_take", "edtMoneyTake", &F::moneyTake)
        .caption(QStringLiteral("经费凑措"))
        .wide()
        .text("take_people", "edtTakePeople", &F::takePeople)
        .wide()
        .memo("circs", "memCircs", &F::circs)
        .wide()
        .height(56)
        .memo("remark", "memRemark", &F::remark)
        .wide()
        .height(56);
    buildFields();
    for (const char* date : {"start_date", "end_date"})
        form_fields::setDate(fields().box(date), context.clock->today());
    begin();
}

void ActivitiesScreen::print()
{
    run([&] {
        // Every activity, whatever the list shows.
        const ReportStatement s = reports::communityStatement();
        StatementRecordSource rows(db(), s.text, s.values);
        context().reports->preview(reports::rptPloy(), rows, this);
    });
}
