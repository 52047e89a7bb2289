#include "app/FunctionTable.h"

#include "admin/AdminFunctions.h"
#include "app/OperatorsScreen.h"
#include "base/BaseFunctions.h"
#include "charging/ChargingFunctions.h"
#include "queries/QueryFunctions.h"
#include "services/ServiceFunctions.h"

#include <algorithm>
#include <vector>

namespace {

using G = RightsGroup;

// The function the main window itself holds: operators and their rights.
constexpr FunctionRow kShellFunctions[] = {
    {G::Base, 5, "labOper", "操作员信息", "cbxOperR", "cbxOperW", makeScreen<OperatorsScreen>, true},
};

constexpr FunctionGroup kGroups[] = {
    {G::Base, "spbBaseInfo", "pBaseInfo", "基本资料"}, {G::Admin, "spbAdmin", "pAdmin", "行政管理"},
    {G::Charge, "spbCharge", "pCharge", "收费中心"},   {G::Manage, "spbManage", "pManage", "物业管理"},
    {G::Query, "spbQuery", "pQuery", "查询统计"},      {G::Para, "spbPara", "pPara", "参数设置"},
};

std::vector<FunctionRow> collect()
{
    std::vector<FunctionRow> rows;
    for (const std::span<const FunctionRow> part :
         {baseFunctions(), std::span<const FunctionRow>(kShellFunctions), adminFunctions(),
          chargingFunctions(), serviceFunctions(), queryFunctions()})
        rows.insert(rows.end(), part.begin(), part.end());
    std::stable_sort(rows.begin(), rows.end(), [](const FunctionRow& a, const FunctionRow& b) {
        return a.group != b.group ? a.group < b.group : a.position < b.position;
    });
    return rows;
}

} // namespace

std::span<const FunctionRow> functionTable()
{
    static const std::vector<FunctionRow> rows = collect();
    return rows;
}

std::span<const FunctionGroup> functionGroups()
{
    return kGroups;
}

const FunctionRow* findFunction(const QString& objectName)
{
    for (const FunctionRow& entry : functionTable()) {
        if (objectName == QLatin1StringView(entry.objectName))
            return &entry;
    }
    return nullptr;
}
