#include "services/ServiceFunctions.h"

#include "services/ActivitiesScreen.h"
#include "services/CleaningScreen.h"
#include "services/CustomerServiceScreen.h"
#include "services/DevicesScreen.h"
#include "services/SecurityScreen.h"
#include "services/ServiceOrdersScreen.h"

namespace {

using G = RightsGroup;

// group, position, entry, caption, the rights editor's boxes, screen[, modal, title]
constexpr FunctionRow kFunctions[] = {
    {G::Manage, 1, "labServe", "客户服务", "cbxServeR", "cbxServeW", makeScreen<CustomerServiceScreen>},
    {G::Manage, 2, "labDevice", "工程设备", "cbxDeviceR", "cbxDeviceW", makeScreen<DevicesScreen>},
    {G::Manage, 3, "labFire", "保安消防", "cbxFireR", "cbxFireW", makeScreen<SecurityScreen>},
    {G::Manage, 4, "labConnt", "环境保洁", "cbxConntR", "cbxConntW", makeScreen<CleaningScreen>},
    {G::Manage, 5, "labServeOrder", "有偿服务", "cbxServeOrderR", "cbxServeOrderW",
     makeScreen<ServiceOrdersScreen>},
    {G::Manage, 6, "labSocia", "社区活动", "cbxSociaR", "cbxSociaW", makeScreen<ActivitiesScreen>},
};

} // namespace

std::span<const FunctionRow> serviceFunctions()
{
    return kFunctions;
}
