#include "base/Building.h"

#include "db/NumberInput.h"
#include "db/RecordMap.h"

namespace building_store {
namespace {

const RecordMap<Building>& map()
{
    static const RecordMap<Building> m =
        RecordMap<Building>(QStringLiteral("garden"), "garden_id", &Building::id)
            .field("garden_name", &Building::name)
            .field("build_high", &Building::height)
            .field("build_floor", &Building::floors)
            .field("structure", &Building::structure)
            .field("build_area", &Building::buildArea)
            .field("use_area", &Building::useArea)
            .field("rooms_num", &Building::roomsNum)
            .field("finish_date", &Building::finishDate)
            .field("builder", &Building::builder)
            .field("developer", &Building::developer)
            .field("remarks", &Building::remarks);
    return m;
}

} // namespace

ListQuery list()
{
    return {QStringLiteral("garden"), {}, {}, {QStringLiteral("garden_id")}};
}

std::optional<Building> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

Checked<Building> check(const BuildingInput& input)
{
    Building b;
    b.id = input.id;
    b.name = input.name.trimmed();
    if (b.name.isEmpty())
        return Refusal{QStringLiteral("请输入大楼名称"), QStringLiteral("garden_name")};
    b.height = input.height.trimmed();
    b.floors = input.floors.trimmed();
    b.structure = input.structure.trimmed();
    b.buildArea = number_input::optionalDecimal(input.buildArea, "garden", "build_area");
    b.useArea = number_input::optionalDecimal(input.useArea, "garden", "use_area");
    b.roomsNum = number_input::optionalWhole(input.roomsNum, "garden", "rooms_num");
    b.finishDate = input.finishDate;
    b.builder = input.builder.trimmed();
    b.developer = input.developer.trimmed();
    b.remarks = input.remarks.trimmed();
    return b;
}

Checked<qlonglong> insert(const QSqlDatabase& db, Building building)
{
    // The name is looked up under the insert's lock: no copy can take it in between.
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select garden_id from garden where garden_name = ?"),
                    {building.name}))
        return Refusal{QStringLiteral("已有此大楼的信息！"), QStringLiteral("garden_name")};
    const qlonglong id = map().insert(db, building).toLongLong();
    transaction.commit();
    return id;
}

void update(const QSqlDatabase& db, const Building& building)
{
    map().update(db, building);
}

Checked<> removeUnlessRooms(const QSqlDatabase& db, qlonglong id)
{
    // The check and the delete in one transaction: no room can be added in between.
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select room_id from rooms_info where garden_id = ? limit 1"), {id}))
        return Refusal{QStringLiteral("此幢大楼拥有房间记录，请先删除房间记录！")};
    map().remove(db, id);
    transaction.commit();
    return Done{};
}

} // namespace building_store
