#include "base/BaseFunctions.h"

#include "base/BuildingsScreen.h"
#include "base/OwnerDetailScreen.h"
#include "base/OwnersScreen.h"
#include "base/RoomsScreen.h"

namespace {

using G = RightsGroup;

// group, position, entry, caption, the rights editor's boxes, screen[, modal, title]
constexpr FunctionRow kFunctions[] = {
    {G::Base, 1, "labBuild", "大楼资料", "cbxBuildR", "cbxBuildW", makeScreen<BuildingsScreen>},
    {G::Base, 2, "labRoom", "房间资料", "cbxRoomR", "cbxRoomW", makeScreen<RoomsScreen>},
    {G::Base, 3, "labOwner", "住户登记", "cbxOwnerR", "cbxOwnerW", makeScreen<OwnersScreen>},
    {G::Base, 4, "labOwnerRoom", "住户房间资料", "cbxOwnerRoomR", "cbxOwnerRoomW",
     makeScreen<OwnerDetailScreen>},
};

} // namespace

std::span<const FunctionRow> baseFunctions()
{
    return kFunctions;
}
