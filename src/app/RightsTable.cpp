#include "app/RightsTable.h"

namespace rights_table {
namespace {

using G = RightsGroup;

constexpr RightsFunction kFunctions[] = {
    {G::Base, 1, "大楼资料", "cbxBuildR", "cbxBuildW"},
    {G::Base, 2, "房间资料", "cbxRoomR", "cbxRoomW"},
    {G::Base, 3, "住户登记", "cbxOwnerR", "cbxOwnerW"},
    {G::Base, 4, "住户房间资料", "cbxOwnerRoomR", "cbxOwnerRoomW"},
    {G::Base, 5, "操作员信息", "cbxOperR", "cbxOperW"},
    {G::Admin, 1, "部门员工", "cbxDeptR", "cbxDeptW"},
    {G::Admin, 2, "邮件中心", "cbxEmailR", "cbxEmailW"},
    {G::Admin, 3, "工作计划", "cbxWorkPlanR", "cbxWorkPlanW"},
    {G::Admin, 4, "会议记录", "cbxMeetR", "cbxMeetW"},
    {G::Admin, 5, "采购清单", "cbxBuyGoodsR", "cbxBuyGoodsW"},
    {G::Admin, 6, "领用清单", "cbxTakeGoodsR", "cbxTakeGoodsW"},
    {G::Admin, 7, "部门物品", "cbxDeptGoodsR", "cbxDeptGoodsW"},
    {G::Charge, 1, "物管费自动生成", nullptr, "cbxManageW"},
    {G::Charge, 2, "各种费用收取", "cbxChargeR", "cbxChargeW"},
    {G::Charge, 3, "住户保证金", "cbxBailR", "cbxBailW"},
    {G::Manage, 1, "客户服务", "cbxServeR", "cbxServeW"},
    {G::Manage, 2, "工程设备", "cbxDeviceR", "cbxDeviceW"},
    {G::Manage, 3, "保安消防", "cbxFireR", "cbxFireW"},
    {G::Manage, 4, "环境保洁", "cbxConntR", "cbxConntW"},
    {G::Manage, 5, "有偿服务", "cbxServeOrderR", "cbxServeOrderW"},
    {G::Manage, 6, "社区活动", "cbxSociaR", "cbxSociaW"},
    {G::Query, 1, "缴费记录清单", "cbxHistoryR", nullptr},
    {G::Query, 2, "各类费用收入", "cbxMonthTakeR", nullptr},
    {G::Query, 3, "欠费清单", "cbxOweR", nullptr},
    {G::Para, 1, "办公用品", "cbxGoodsR", "cbxGoodsW"},
    {G::Para, 2, "收费类别", "cbxChargeTypeR", "cbxChargeTypeW"},
    {G::Para, 3, "设备类别", "cbxParaR", "cbxParaW"},
};

} // namespace

std::span<const RightsFunction> functions()
{
    return kFunctions;
}

int stringLength(RightsGroup group)
{
    int length = 0;
    for (const RightsFunction& f : kFunctions) {
        if (f.group == group)
            length = std::max(length, f.position);
    }
    return length;
}

RightsTicks ticksOf(QChar character)
{
    if (character == u'2')
        return {true, true};
    if (character == u'1')
        return {true, false};
    return {};
}

QChar characterOf(const RightsTicks& ticks)
{
    if (ticks.edit)
        return u'2';
    return ticks.browse ? u'1' : u'0';
}

std::array<QString, kRightsGroupCount> strings(const std::function<RightsTicks(const RightsFunction&)>& ticks)
{
    std::array<QString, kRightsGroupCount> result;
    for (int g = 0; g < kRightsGroupCount; ++g)
        result[static_cast<std::size_t>(g)] = QString(stringLength(static_cast<RightsGroup>(g)), u'0');
    for (const RightsFunction& f : kFunctions)
        result[static_cast<std::size_t>(f.group)][f.position - 1] = characterOf(ticks(f));
    return result;
}

} // namespace rights_table
