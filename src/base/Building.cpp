#include "base/Building.h"

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

bool nameExists(const QSqlDatabase& db, const QString& name)
{
    return sql::exists(db, QStringLiteral("select garden_id from garden where garden_name = ?"), {name});
}

qlonglong insert(const QSqlDatabase& db, Building building)
{
    return map().insert(db, building).toLongLong();
}

void update(const QSqlDatabase& db, const Building& building)
{
    map().update(db, building);
}

bool removeUnlessRooms(const QSqlDatabase& db, qlonglong id)
{
    // The check and the delete in one transaction: no room can be added in between.
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select room_id from rooms_info where garden_id = ? limit 1"), {id}))
        return false;
    map().remove(db, id);
    transaction.commit();
    return true;
}

} // namespace building_store
