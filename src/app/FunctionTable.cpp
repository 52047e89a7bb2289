#include "app/FunctionTable.h"

#include "admin/DeptGoodsScreen.h"
#include "admin/EmployeesScreen.h"
#include "admin/GoodsScreen.h"
#include "admin/MailCentreScreen.h"
#include "admin/MeetingsScreen.h"
#include "admin/PurchasesScreen.h"
#include "admin/RequisitionsScreen.h"
#include "admin/WorkPlansScreen.h"
#include "app/OperatorsScreen.h"
#include "base/BuildingsScreen.h"
#include "base/OwnerDetailScreen.h"
#include "base/OwnersScreen.h"
#include "base/RoomsScreen.h"
#include "charging/ChargeTypesScreen.h"
#include "charging/DepositsScreen.h"
#include "charging/DeviceTypesScreen.h"
#include "charging/FeeCollectionScreen.h"
#include "charging/MonthlyRunScreen.h"
#include "queries/ArrearsScreen.h"
#include "queries/IncomeByTypeScreen.h"
#include "queries/PaymentRecordsScreen.h"
#include "services/ActivitiesScreen.h"
#include "services/CleaningScreen.h"
#include "services/CustomerServiceScreen.h"
#include "services/DevicesScreen.h"
#include "services/SecurityScreen.h"
#include "services/ServiceOrdersScreen.h"

namespace {

using G = RightsGroup;

// Wiring a screen in is one line: put makeScreen<TheScreen> in its row.
constexpr FunctionEntry kFunctions[] = {
    {G::Base, 1, "labBuild", "大楼资料", makeScreen<BuildingsScreen>},
    {G::Base, 2, "labRoom", "房间资料", makeScreen<RoomsScreen>},
    {G::Base, 3, "labOwner", "住户登记", makeScreen<OwnersScreen>},
    {G::Base, 4, "labOwnerRoom", "住户房间资料", makeScreen<OwnerDetailScreen>},
    {G::Base, 5, "labOper", "操作员信息", makeScreen<OperatorsScreen>, true},
    {G::Admin, 1, "labDept", "部门员工", makeScreen<EmployeesScreen>},
    {G::Admin, 2, "labEMail", "邮件中心", makeScreen<MailCentreScreen>},
    {G::Admin, 3, "labPlan", "工作计划", makeScreen<WorkPlansScreen>},
    {G::Admin, 4, "labMeet", "会议记录", makeScreen<MeetingsScreen>},
    {G::Admin, 5, "labBuy", "采购清单", makeScreen<PurchasesScreen>},
    {G::Admin, 6, "labTakeGoods", "领用清单", makeScreen<RequisitionsScreen>},
    {G::Admin, 7, "labDeptGoods", "部门物品", makeScreen<DeptGoodsScreen>},
    {G::Charge, 1, "labManage", "物管费自动生成", makeScreen<MonthlyRunScreen>},
    {G::Charge, 2, "labCharge", "各种费用收取", makeScreen<FeeCollectionScreen>, true},
    {G::Charge, 3, "labBail", "住户保证金", makeScreen<DepositsScreen>},
    {G::Manage, 1, "labServe", "客户服务", makeScreen<CustomerServiceScreen>},
    {G::Manage, 2, "labDevice", "工程设备", makeScreen<DevicesScreen>},
    {G::Manage, 3, "labFire", "保安消防", makeScreen<SecurityScreen>},
    {G::Manage, 4, "labConnt", "环境保洁", makeScreen<CleaningScreen>},
    {G::Manage, 5, "labServeOrder", "有偿服务", makeScreen<ServiceOrdersScreen>},
    {G::Manage, 6, "labSocia", "社区活动", makeScreen<ActivitiesScreen>},
    {G::Query, 1, "labHistory", "缴费记录清单", makeScreen<PaymentRecordsScreen>, false,
     "历史缴费记录查询！"},
    {G::Query, 2, "labMonthTake", "各类费用收入", makeScreen<IncomeByTypeScreen>},
    {G::Query, 3, "labOwe", "欠费清单", makeScreen<ArrearsScreen>},
    {G::Para, 1, "labGoods", "办公用品", makeScreen<GoodsScreen>},
    {G::Para, 2, "labChargeType", "收费类别", makeScreen<ChargeTypesScreen>},
    {G::Para, 3, "labPara", "设备类别", makeScreen<DeviceTypesScreen>},
};

constexpr FunctionGroup kGroups[] = {
    {G::Base, "spbBaseInfo", "pBaseInfo", "基本资料"}, {G::Admin, "spbAdmin", "pAdmin", "行政管理"},
    {G::Charge, "spbCharge", "pCharge", "收费中心"},   {G::Manage, "spbManage", "pManage", "物业管理"},
    {G::Query, "spbQuery", "pQuery", "查询统计"},      {G::Para, "spbPara", "pPara", "参数设置"},
};

} // namespace

std::span<const FunctionEntry> functionTable()
{
    return kFunctions;
}

std::span<const FunctionGroup> functionGroups()
{
    return kGroups;
}

const FunctionEntry* findFunction(const QString& objectName)
{
    for (const FunctionEntry& entry : kFunctions) {
        if (objectName == QLatin1StringView(entry.objectName))
            return &entry;
    }
    return nullptr;
}
