#include "base/Room.h"

#include "db/NumberInput.h"
#include "db/RecordMap.h"

namespace room_store {
namespace {

const RecordMap<Room>& map()
{
    using M = RecordMap<Room>;
    static const M m = M(QStringLiteral("rooms_info"), "room_id", &Room::id, M::Key::Typed)
                           .field("garden_id", &Room::buildingId)
                           .field("use_state", &Room::useState)
                           .field("build_area", &Room::buildArea)
                           .field("use_area", &Room::useArea)
                           .field("room_type", &Room::roomType)
                           .field("direct", &Room::direct)
                           .field("floor", &Room::floor)
                           .field("fitment", &Room::fitment)
                           .field("match", &Room::match)
                           .field("remarks", &Room::remarks);
    return m;
}

} // namespace

ListQuery list(const RoomScope& scope)
{
    ListQuery q{QStringLiteral("rooms_info"), {}, {}, {QStringLiteral("room_id")}};
    switch (scope.kind) {
    case RoomScope::Kind::All:
        break;
    case RoomScope::Kind::Building:
        q.where = QStringLiteral("garden_id = ?");
        q.values = {scope.buildingId};
        break;
    case RoomScope::Kind::NoBuilding:
        q.where = QStringLiteral("1 = 0"); // a name of no building shows no rooms
        break;
    }
    return q;
}

std::optional<QString> firstStartingWith(const QSqlDatabase& db, const RoomScope& scope,
                                         const QString& prefix)
{
    ListQuery q = list(scope);
    q.where = (q.where.isEmpty() ? QString() : u'(' + q.where + u") and ") + u"substr(room_id, 1, ?) = ?";
    q.values << prefix.size() << prefix;
    const QVariant room = sql::scalar(db, q.statement({QStringLiteral("room_id")}) + u" limit 1", q.values);
    if (!room.isValid())
        return std::nullopt;
    return room.toString().trimmed();
}

Checked<Room> check(const RoomInput& input)
{
    const QString buildingField = QStringLiteral("garden_name");
    if (input.buildingText.trimmed().isEmpty())
        return Refusal{QStringLiteral("请填写大楼名称"), buildingField};
    using number_input::Result;
    const number_input::Decimal buildArea =
        number_input::decimal(input.buildArea, "rooms_info", "build_area");
    if (buildArea.result == Result::Empty)
        return Refusal{QStringLiteral("请填写建筑面积！"), QStringLiteral("build_area")};
    if (buildArea.result == Result::NotANumber)
        return Refusal{QStringLiteral("建筑面积需要填写数字！"), QStringLiteral("build_area")};
    const number_input::Decimal useArea = number_input::decimal(input.useArea, "rooms_info", "use_area");
    if (useArea.result == Result::NotANumber)
        return Refusal{QStringLiteral("使用面积需要填写数字！"), QStringLiteral("use_area")};
    if (!input.buildingId)
        return Refusal{QStringLiteral("还未有大楼记录！"), buildingField};
    Room room;
    room.id = input.id.trimmed();
    room.buildingId = *input.buildingId;
    room.buildArea = buildArea.value;
    if (useArea.result == Result::Number)
        room.useArea = useArea.value;
    room.useState = input.useState.trimmed();
    room.roomType = input.roomType.trimmed();
    room.direct = input.direct.trimmed();
    room.floor = input.floor.trimmed();
    room.fitment = input.fitment.trimmed();
    room.match = input.match.trimmed();
    room.remarks = input.remarks.trimmed();
    return room;
}

std::optional<Room> load(const QSqlDatabase& db, const QString& id)
{
    return map().load(db, id);
}

bool exists(const QSqlDatabase& db, const QString& id)
{
    return sql::exists(db, QStringLiteral("select room_id from rooms_info where room_id = ?"), {id});
}

QStringList numbers(const QSqlDatabase& db)
{
    QStringList result;
    QSqlQuery q = sql::exec(db, QStringLiteral("select room_id from rooms_info order by room_id"));
    while (q.next())
        result << q.value(0).toString().trimmed();
    return result;
}

void insert(const QSqlDatabase& db, Room room)
{
    map().insert(db, room);
}

void update(const QSqlDatabase& db, const QString& oldId, const Room& room)
{
    Transaction transaction(db);
    map().update(db, room, oldId);
    if (room.id != oldId) {
        sql::exec(db, QStringLiteral("update owner_rooms set room_id = ? where room_id = ?"),
                  {room.id, oldId});
    }
    transaction.commit();
}

Checked<> removeUnlessOwned(const QSqlDatabase& db, const QString& id)
{
    Transaction transaction(db);
    const QVariant owner = sql::scalar(db,
                                       QStringLiteral("select b.owner_name from owner_rooms a, owner_info b "
                                                      "where a.room_id = ? and a.owner_id = b.owner_id"),
                                       {id});
    if (owner.isValid()) {
        return Refusal{u"此房间被用户" + owner.toString().trimmed() +
                       u"所拥有，请先此用户的拥有房间里，删除此房间记录！"};
    }
    map().remove(db, id);
    transaction.commit();
    return Done{};
}

QList<NamedKey> buildings(const QSqlDatabase& db)
{
    QList<NamedKey> result;
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

QList<ListColumn> room_store::columns()
{
    using K = ListColumn::Kind;
    return {
        {QStringLiteral("room_id"), QStringLiteral("房号"), K::Code},
        {QStringLiteral("use_state"), QStringLiteral("使用状态")},
        {QStringLiteral("build_area"), QStringLiteral("建筑面积"), K::Decimal},
        {QStringLiteral("use_area"), QStringLiteral("实用面积"), K::Decimal, false, ListColumn::Export::Text,
         QStringLiteral("使用面积")},
        {QStringLiteral("room_type"), QStringLiteral("房屋类型")},
        {QStringLiteral("direct"), QStringLiteral("朝向")},
        {QStringLiteral("floor"), QStringLiteral("楼层"), K::Code},
        {QStringLiteral("fitment"), QStringLiteral("装修情况")},
        {QStringLiteral("match"), QStringLiteral("配套设施")},
    };
}

ExportDescription room_store::exported()
{
    ExportDescription d;
    d.title = QStringLiteral("物业管理系统房间资料");
    d.columnWidths = {{1, 10}};
    d.columns = ExportColumn::listed(columns());
    return d;
}
