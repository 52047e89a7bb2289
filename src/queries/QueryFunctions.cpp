#include "queries/QueryFunctions.h"

#include "queries/ArrearsScreen.h"
#include "queries/IncomeByTypeScreen.h"
#include "queries/PaymentRecordsScreen.h"

namespace {

using G = RightsGroup;

// group, position, entry, caption, the rights editor's boxes, screen[, modal, title]
constexpr FunctionRow kFunctions[] = {
    {G::Query, 1, "labHistory", "缴费记录清单", "cbxHistoryR", nullptr, makeScreen<PaymentRecordsScreen>,
     false, "历史缴费记录查询！"},
    {G::Query, 2, "labMonthTake", "各类费用收入", "cbxMonthTakeR", nullptr, makeScreen<IncomeByTypeScreen>},
    {G::Query, 3, "labOwe", "欠费清单", "cbxOweR", nullptr, makeScreen<ArrearsScreen>},
};

} // namespace

std::span<const FunctionRow> queryFunctions()
{
    return kFunctions;
}
