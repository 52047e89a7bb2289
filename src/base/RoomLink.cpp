#include "base/RoomLink.h"

#include "base/Owner.h"
#include "db/RecordMap.h"

namespace room_link_store {
namespace {

const RecordMap<RoomLink>& map()
{
    using M = RecordMap<RoomLink>;
    static const M m = M(QStringLiteral("owner_rooms"), "ownerroom_id", &RoomLink::id)
                           .field("owner_id", &RoomLink::ownerId, M::Write::OnInsert)
                           .field("room_id", &RoomLink::roomId)
                           .field("relation_desc", &RoomLink::remark);
    return m;
}

} // namespace

ListQuery list(qlonglong ownerId)
{
    return {QStringLiteral("owner_rooms"),
            QStringLiteral("owner_id = ?"),
            {ownerId},
            {QStringLiteral("ownerroom_id")}};
}

ListQuery allWithOccupantNames()
{
    return {
        QStringLiteral("owner_rooms r left join owner_info o on o.owner_id = r.owner_id and o.in_out = ?"),
        {},
        {Owner::kLiving},
        {QStringLiteral("r.ownerroom_id")}};
}

QStringList store(const QSqlDatabase& db, qlonglong ownerId, const QList<RoomLink>& links)
{
    QStringList stored;
    Transaction transaction(db);
    for (RoomLink link : links) {
        if (link.id == 0) {
            link.ownerId = ownerId;
            map().insert(db, link);
        } else {
            map().update(db, link);
        }
        stored << link.roomId;
    }
    transaction.commit();
    QStringList notices;
    for (const QString& roomId : std::as_const(stored)) {
        if (!sql::exists(db, QStringLiteral("select room_id from rooms_info where room_id = ?"), {roomId}))
            notices << u"房号" + roomId + u"不存在，请确认!";
    }
    return notices;
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

} // namespace room_link_store
