#include "base/Building.h"

#include "db/Sql.h"

#include <QSqlQuery>

namespace building_store {
namespace {

QVariant decimalValue(const std::optional<Decimal2>& d)
{
    return d ? d->toDb() : QVariant();
}

sql::Fields fieldsOf(const Building& b)
{
    return {
        {QStringLiteral("garden_name"), b.name},
        {QStringLiteral("build_high"), b.height},
        {QStringLiteral("build_floor"), b.floors},
        {QStringLiteral("structure"), b.structure},
        {QStringLiteral("build_area"), decimalValue(b.buildArea)},
        {QStringLiteral("use_area"), decimalValue(b.useArea)},
        {QStringLiteral("rooms_num"), b.roomsNum ? QVariant(*b.roomsNum) : QVariant()},
        {QStringLiteral("finish_date"), sql::dateValue(b.finishDate)},
        {QStringLiteral("builder"), b.builder},
        {QStringLiteral("developer"), b.developer},
        {QStringLiteral("remarks"), b.remarks},
    };
}

} // namespace

std::optional<Building> load(const QSqlDatabase& db, qlonglong id)
{
    QSqlQuery q =
        sql::exec(db,
                  QStringLiteral("select garden_id, garden_name, build_high, build_floor, structure, "
                                 "build_area, use_area, rooms_num, finish_date, builder, developer, "
                                 "remarks from garden where garden_id = ?"),
                  {id});
    if (!q.next())
        return std::nullopt;
    Building b;
    b.id = q.value(0).toLongLong();
    b.name = q.value(1).toString().trimmed();
    b.height = q.value(2).toString().trimmed();
    b.floors = q.value(3).toString().trimmed();
    b.structure = q.value(4).toString().trimmed();
    b.buildArea = Decimal2::fromDb(q.value(5));
    b.useArea = Decimal2::fromDb(q.value(6));
    if (!q.value(7).isNull())
        b.roomsNum = q.value(7).toInt();
    b.finishDate = sql::toDate(q.value(8));
    b.builder = q.value(9).toString().trimmed();
    b.developer = q.value(10).toString().trimmed();
    b.remarks = q.value(11).toString().trimmed();
    return b;
}

bool nameExists(const QSqlDatabase& db, const QString& name)
{
    return sql::exists(db, QStringLiteral("select garden_id from garden where garden_name = ?"), {name});
}

qlonglong insert(const QSqlDatabase& db, const Building& building)
{
    return sql::insert(db, QStringLiteral("garden"), fieldsOf(building));
}

void update(const QSqlDatabase& db, const Building& building)
{
    sql::update(db, QStringLiteral("garden"), fieldsOf(building), QStringLiteral("garden_id"), building.id);
}

bool removeUnlessRooms(const QSqlDatabase& db, qlonglong id)
{
    // The check and the delete in one transaction: no room can be added in between.
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select room_id from rooms_info where garden_id = ? limit 1"), {id}))
        return false;
    sql::remove(db, QStringLiteral("garden"), QStringLiteral("garden_id"), id);
    transaction.commit();
    return true;
}

} // namespace building_store
