#include "commands/ListCatalogue.h"

#include "admin/Employee.h"
#include "admin/Goods.h"
#include "admin/Meeting.h"
#include "admin/Purchase.h"
#include "admin/Requisition.h"
#include "base/Owner.h"
#include "base/Room.h"
#include "output/ListReportLayouts.h"
#include "output/ServiceReportLayouts.h"
#include "queries/Arrears.h"
#include "queries/IncomeByType.h"
#include "queries/PaymentRecords.h"
#include "services/CustomerService.h"
#include "services/Devices.h"

namespace list_catalogue {
namespace {

using G = RightsGroup;

ListOutput exported(ExportDescription description, const ListQuery& list, const QStringList& columns = {})
{
    return {std::move(description), {}, list.statement(columns), list.values};
}

ListOutput printed(ReportLayout layout, const ListQuery& list, const QStringList& columns = {})
{
    return {{}, std::move(layout), list.statement(columns), list.values};
}

ListOutput printed(ReportLayout layout, const ReportStatement& statement)
{
    return {{}, std::move(layout), statement.text, statement.values};
}

ListQuery owners(const ListRequest& r)
{
    using namespace owner_store;
    return list(r.all ? Occupants::All : Occupants::Current, OwnerOrder::ByName);
}

RoomScope rooms(const ListRequest& r)
{
    return r.buildingId ? RoomScope::of(r.buildingId) : RoomScope::all();
}

employee_store::Scope staff(const ListRequest& r)
{
    return r.departmentId ? employee_store::Scope{false, r.departmentId} : employee_store::Scope{};
}

ListQuery payments(const ListRequest& r)
{
    return r.ownerId ? payment_records::list(*r.ownerId, *r.period) : payment_records::everyOwner(*r.period);
}

QStringList paymentColumns(const ListRequest& r)
{
    QStringList columns = payment_records::exportedColumns();
    if (!r.ownerId)
        columns << QStringLiteral("o.owner_name");
    return columns;
}

ListQuery arrearsOf(const ListRequest& r)
{
    return r.ownerId ? arrears::list(*r.ownerId, r.period) : arrears::everyOwner(r.period);
}

const ListEntry kExports[] = {
    {"owners", "住户资料", G::Base, 3, "住户登记", kAllFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest& r) { return exported(owner_store::exported(), owners(r)); }},
    {"rooms", "房间资料", G::Base, 2, "房间资料", kBuildingFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return exported(room_store::exported(), room_store::list(rooms(r)));
     }},
    {"payments", "缴费记录清单", G::Query, 1, "缴费记录清单", kOwnerFilter | kPeriodFilter, kPeriodFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return exported(r.ownerId ? payment_records::exported(*r.period)
                                   : payment_records::exportedEveryOwner(*r.period),
                         payments(r), paymentColumns(r));
     }},
    {"arrears", "业主欠费清单", G::Query, 3, "欠费清单", kOwnerFilter | kPeriodFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return exported(arrears::exported(), arrearsOf(r), arrears::exportedColumns());
     }},
    {"income", "各类费用收入", G::Query, 2, "各类费用收入", kPeriodFilter, kPeriodFilter,
     [](const QSqlDatabase& db, const ListRequest& r) {
         return exported(income_by_type::exported(), income_by_type::list(db, *r.period));
     }},
    {"staff", "部门员工资料", G::Admin, 1, "部门员工", kDepartmentFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return exported(employee_store::exported(), employee_store::list(staff(r)),
                         employee_store::listedColumns());
     }},
    {"meetings", "会议资料", G::Admin, 4, "会议记录", kNoFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest&) {
         return exported(meeting_store::exported(), meeting_store::list());
     }},
    {"purchases", "办公用品采购清单", G::Admin, 5, "采购清单", kPeriodFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         PurchaseFilter filter;
         filter.period = r.period;
         return exported(purchase_store::exported(), purchase_store::list(filter, {}));
     }},
    {"requisitions", "办公用品领用清单", G::Admin, 6, "领用清单", kPeriodFilter | kDepartmentFilter,
     kNoFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         RequisitionFilter filter;
         filter.deptId = r.departmentId;
         filter.period = r.period;
         return exported(requisition_store::exported(), requisition_store::list(filter, {}));
     }},
    {"supplies", "办公用品", G::Para, 1, "办公用品", kNoFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest&) {
         return exported(goods_store::exported(), goods_store::list(std::nullopt));
     }},
    {"devices", "工程设备一览表", G::Manage, 2, "工程设备", kKindFilter, kKindFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return exported(device_store::exported(), device_store::ofKind(*r.kindId));
     }},
    {"services", "住户服务信息", G::Manage, 1, "客户服务", kOwnerFilter, kOwnerFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return exported(service_store::exported(r.ownerName), service_store::ofOwner(*r.ownerId));
     }},
};

const ListEntry kReports[] = {
    {"owners", "住户信息一览表", G::Base, 3, "住户登记", kAllFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest& r) { return printed(reports::rptOwner(), owners(r)); }},
    {"payments", "缴费记录清单", G::Query, 1, "缴费记录清单", kOwnerFilter | kPeriodFilter, kPeriodFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return printed(reports::rptTake(), payments(r), paymentColumns(r));
     }},
    {"arrears", "住户欠费信息", G::Query, 3, "欠费清单", kOwnerFilter | kPeriodFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return printed(reports::rptOwe(), arrearsOf(r), arrears::printedColumns());
     }},
    {"staff", "员工信息一览表", G::Admin, 1, "部门员工", kDepartmentFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return printed(reports::rptEmp(), employee_store::list(staff(r)), employee_store::listedColumns());
     }},
    {"services", "住户服务资料", G::Manage, 1, "客户服务", kNoFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest&) {
         return printed(reports::rptServe(), reports::serveStatement());
     }},
    {"complaints", "客户投诉信息", G::Manage, 1, "客户服务", kNoFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest&) {
         return printed(reports::rptAdvice(), reports::adviceStatement());
     }},
    {"fitments", "二次装修信息", G::Manage, 1, "客户服务", kNoFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest&) {
         return printed(reports::rptFitMent(), reports::fitmentStatement());
     }},
    {"devices", "工程设备一览表", G::Manage, 2, "工程设备", kKindFilter, kKindFilter,
     [](const QSqlDatabase&, const ListRequest& r) {
         return printed(reports::rptDevice(), reports::deviceStatement(*r.kindId));
     }},
    {"events", "重大事件一览表", G::Manage, 3, "保安消防", kNoFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest&) {
         return printed(reports::rptEvent(), reports::eventStatement());
     }},
    {"fire", "消防片区资料", G::Manage, 3, "保安消防", kNoFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest&) {
         return printed(reports::rptFire(), reports::fireStatement());
     }},
    {"cleaning", "环境保洁", G::Manage, 4, "环境保洁", kNoFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest&) {
         return printed(reports::rptConnt(), reports::conditionStatement());
     }},
    {"activities", "社区活动信息", G::Manage, 6, "社区活动", kNoFilter, kNoFilter,
     [](const QSqlDatabase&, const ListRequest&) {
         return printed(reports::rptPloy(), reports::communityStatement());
     }},
};

} // namespace

std::span<const ListEntry> exports()
{
    return kExports;
}

std::span<const ListEntry> reports()
{
    return kReports;
}

const ListEntry* find(std::span<const ListEntry> entries, const QString& name)
{
    for (const ListEntry& entry : entries) {
        if (name == QLatin1StringView(entry.name))
            return &entry;
    }
    return nullptr;
}

} // namespace list_catalogue
