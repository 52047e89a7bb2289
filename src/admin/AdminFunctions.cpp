#include "admin/AdminFunctions.h"

#include "admin/DeptGoodsScreen.h"
#include "admin/EmployeesScreen.h"
#include "admin/GoodsScreen.h"
#include "admin/MailCentreScreen.h"
#include "admin/MeetingsScreen.h"
#include "admin/PurchasesScreen.h"
#include "admin/RequisitionsScreen.h"
#include "admin/WorkPlansScreen.h"

namespace {

using G = RightsGroup;

// group, position, entry, caption, the rights editor's boxes, screen[, modal, title]
constexpr FunctionRow kFunctions[] = {
    {G::Admin, 1, "labDept", "部门员工", "cbxDeptR", "cbxDeptW", makeScreen<EmployeesScreen>},
    {G::Admin, 2, "labEMail", "邮件中心", "cbxEmailR", "cbxEmailW", makeScreen<MailCentreScreen>},
    {G::Admin, 3, "labPlan", "工作计划", "cbxWorkPlanR", "cbxWorkPlanW", makeScreen<WorkPlansScreen>},
    {G::Admin, 4, "labMeet", "会议记录", "cbxMeetR", "cbxMeetW", makeScreen<MeetingsScreen>},
    {G::Admin, 5, "labBuy", "采购清单", "cbxBuyGoodsR", "cbxBuyGoodsW", makeScreen<PurchasesScreen>},
    {G::Admin, 6, "labTakeGoods", "领用清单", "cbxTakeGoodsR", "cbxTakeGoodsW",
     makeScreen<RequisitionsScreen>},
    {G::Admin, 7, "labDeptGoods", "部门物品", "cbxDeptGoodsR", "cbxDeptGoodsW", makeScreen<DeptGoodsScreen>},
    {G::Para, 1, "labGoods", "办公用品", "cbxGoodsR", "cbxGoodsW", makeScreen<GoodsScreen>},
};

} // namespace

std::span<const FunctionRow> adminFunctions()
{
    return kFunctions;
}
