#include "charging/ChargingFunctions.h"

#include "charging/ChargeTypesScreen.h"
#include "charging/DepositsScreen.h"
#include "charging/DeviceTypesScreen.h"
#include "charging/FeeCollectionScreen.h"
#include "charging/MonthlyRunScreen.h"
#include "charging/ReceiptsScreen.h"

namespace {

using G = RightsGroup;

// group, position, entry, caption, the rights editor's boxes, screen[, modal, title]
constexpr FunctionRow kFunctions[] = {
    {G::Charge, 1, "labManage", "物管费自动生成", nullptr, "cbxManageW", makeScreen<MonthlyRunScreen>},
    {G::Charge, 2, "labCharge", "各种费用收取", "cbxChargeR", "cbxChargeW", makeScreen<FeeCollectionScreen>,
     true},
    {G::Charge, 3, "labBail", "住户保证金", "cbxBailR", "cbxBailW", makeScreen<DepositsScreen>},
    // Browsing the register; editing it is the right to void any receipt.
    {G::Charge, 4, "labReceipt", "收据登记", "cbxReceiptR", "cbxReceiptW", makeScreen<ReceiptsScreen>},
    {G::Para, 2, "labChargeType", "收费类别", "cbxChargeTypeR", "cbxChargeTypeW",
     makeScreen<ChargeTypesScreen>},
    {G::Para, 3, "labPara", "设备类别", "cbxParaR", "cbxParaW", makeScreen<DeviceTypesScreen>},
};

} // namespace

std::span<const FunctionRow> chargingFunctions()
{
    return kFunctions;
}
