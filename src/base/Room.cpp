#include "base/Room.h"

#include "db/Sql.h"

#include <QSqlQuery>

namespace room_store {
namespace {

sql::Fields fieldsOf(const Room& r)
{
    return {
        {QStringLiteral("room_id"), r.id},
        {QStringLiteral("garden_id"), r.buildingId},
        {QStringLiteral("use_state"), r.useState},
        {QStringLiteral("build_area"), r.buildArea.toDb()},
        {QStringLiteral("use_area"), r.useArea ? r.useArea->toDb() : QVariant()},
        {QStringLiteral("room_type"), r.roomType},
        {QStringLiteral("direct"), r.direct},
        {QStringLiteral("floor"), r.floor},
        {QStringLiteral("fitment"), r.fitment},
        {QStringLiteral("match"), r.match},
        {QStringLiteral("remarks"), r.remarks},
    };
}

} // namespace

std::optional<Room> load(const QSqlDatabase& db, const QString& id)
{
    QSqlQuery q =
        sql::exec(db,
                  QStringLiteral("select room_id, garden_id, use_state, build_area, use_area, room_type, "
                                 "direct, floor, fitment, \"match\", remarks from rooms_info "
                                 "where room_id = ?"),
                  {id});
    if (!q.next())
        return std::nullopt;
    Room r;
    r.id = q.value(0).toString().trimmed();
    r.buildingId = q.value(1).toLongLong();
    r.useState = q.value(2).toString().trimmed();
    r.buildArea = Decimal2::fromDb(q.value(3)).value_or(Area());
    r.useArea = Decimal2::fromDb(q.value(4));
    r.roomType = q.value(5).toString().trimmed();
    r.direct = q.value(6).toString().trimmed();
    r.floor = q.value(7).toString().trimmed();
    r.fitment = q.value(8).toString().trimmed();
    r.match = q.value(9).toString().trimmed();
    r.remarks = q.value(10).toString().trimmed();
    return r;
}

void insert(const QSqlDatabase& db, const Room& room)
{
    sql::insert(db, QStringLiteral("rooms_info"), fieldsOf(room));
}

void update(const QSqlDatabase& db, const QString& oldId, const Room& room)
{
    Transaction transaction(db);
    sql::update(db, QStringLiteral("rooms_info"), fieldsOf(room), QStringLiteral("room_id"), oldId);
    if (room.id != oldId) {
        sql::exec(db, QStringLiteral("update owner_rooms set room_id = ? where room_id = ?"),
                  {room.id, oldId});
    }
    transaction.commit();
}

std::optional<QString> removeUnlessOwned(const QSqlDatabase& db, const QString& id)
{
    Transaction transaction(db);
    const QVariant owner = sql::scalar(db,
                                       QStringLiteral("select b.owner_name from owner_rooms a, owner_info b "
                                                      "where a.room_id = ? and a.owner_id = b.owner_id"),
                                       {id});
    if (owner.isValid())
        return owner.toString().trimmed();
    sql::remove(db, QStringLiteral("rooms_info"), QStringLiteral("room_id"), id);
    transaction.commit();
    return std::nullopt;
}

QList<BuildingName> buildings(const QSqlDatabase& db)
{
    QList<BuildingName> result;
    QSqlQuery q =
        sql::exec(db, QStringLiteral("select garden_id, garden_name from garden order by garden_id"));
    while (q.next())
        result.append({q.value(0).toLongLong(), q.value(1).toString().trimmed()});
    return result;
}

std::optional<qlonglong> buildingIdByName(const QSqlDatabase& db, const QString& name)
{
    const QVariant id = sql::scalar(
        db, QStringLiteral("select garden_id from garden where garden_name = ? order by garden_id limit 1"),
        {name});
    if (!id.isValid())
        return std::nullopt;
    return id.toLongLong();
}

std::optional<QString> buildingName(const QSqlDatabase& db, qlonglong id)
{
    const QVariant name =
        sql::scalar(db, QStringLiteral("select garden_name from garden where garden_id = ?"), {id});
    if (!name.isValid())
        return std::nullopt;
    return name.toString().trimmed();
}

} // namespace room_store
