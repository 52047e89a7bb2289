#include "services/SecurityPages.h"

#include "db/LabelledColumns.h"
#include "output/ReportPreview.h"
#include "output/ServiceReportLayouts.h"
#include "output/StatementRecordSource.h"

namespace {

void showPrinted(const ScreenContext& context, const ReportLayout& layout, const ReportStatement& s,
                 QWidget* parent)
{
    runAction(*context.messages, [&] {
        StatementRecordSource rows(context.db, s.text, s.values);
        context.reports->preview(layout, rows, parent);
    });
}

} // namespace

// One caption and box a row.
SecurityEventsPage::SecurityEventsPage(const ScreenContext& context, QWidget* parent)
    : WorkingCopyForm(context,
                      {"DBGrid1",
                       labelledColumns("event", {{"event_id"}, {"event_name"}}),
                       QStringLiteral("event_id"),
                       {"btnPrintEvent", QStringLiteral("预览 &p.")},
                       {"btnAdd", QStringLiteral("增加 &a")},
                       {"btnDel", QStringLiteral("删除 &d.")},
                       {"btnSave", QStringLiteral("保存 &s.")},
                       {"btnCancel2", QStringLiteral("退出 &e.")}},
                      "event", {event_store::list, event_store::load, event_store::save, event_store::remove},
                      parent)
{
    using F = SecurityEvent;
    fields()
        .text("event_name", "edtEventName", &F::name)
        .wide()
        .text("event_type", "edtEventType", &F::type)
        .wide()
        .text("deal_man", "edtDealMan", &F::dealMan)
        .wide()
        .date("take_time", "dtpTakeTime", &F::takeTime)
        .wide()
        .text("take_address", "edtAddress", &F::address)
        .wide()
        .memo("detail", "memDetail", &F::detail)
        .wide()
        .memo("deal_result", "memDealResult", &F::dealResult)
        .wide();
    buildFields();
    form_fields::setDate(fields().box("take_time"), context.clock->today());
    begin();
}

void SecurityEventsPage::clearForNew()
{
    // A new event happened today.
    WorkingCopyForm::clearForNew();
    form_fields::setDate(fields().box("take_time"), context().clock->today());
}

void SecurityEventsPage::print()
{
    showPrinted(context(), reports::rptEvent(), reports::eventStatement(), this);
}

// One caption and box a row.
FireZonesPage::FireZonesPage(const ScreenContext& context, QWidget* parent)
    : WorkingCopyForm(
          context,
          {"DBGrid2",
           labelledColumns("fire_area", {{"fire_id"}, {"area_name", {}, QStringLiteral("区域名称")}}),
           QStringLiteral("fire_id"),
           {"btnPrintArea", QStringLiteral("预览 &p.")},
           {"btnAddFire", QStringLiteral("增加 &a")},
           {"btnDelFire", QStringLiteral("删除 &d.")},
           {"btnSaveFire", QStringLiteral("保存 &s.")},
           {"BitBtn1", QStringLiteral("退出 &e.")}},
          "fire_area",
          {fire_zone_store::list, fire_zone_store::load, fire_zone_store::save, fire_zone_store::remove},
          parent)
{
    using F = FireZone;
    fields()
        .text("area_name", "edtAreaName", &F::areaName)
        .wide()
        .text("grade", "edtGrade", &F::grade)
        .wide()
        .text("address", "edtAddressFire", &F::address)
        .wide()
        .text("fire_area", "edtFireArea", &F::fireArea)
        .wide()
        .text("checker", "edtChecker", &F::checker)
        .wide()
        .text("cycle", "edtCycle", &F::cycle)
        .wide()
        .text("fireman", "edtFireMan", &F::fireman)
        .wide()
        .text("equipment", "edtEquipment", &F::equipment)
        .wide()
        .memo("remark", "memRemark", &F::remark)
        .wide();
    begin();
}

void FireZonesPage::print()
{
    showPrinted(context(), reports::rptFire(), reports::fireStatement(), this);
}
