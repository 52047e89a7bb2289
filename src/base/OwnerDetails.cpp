#include "base/OwnerDetails.h"

#include "db/Sql.h"

#include <QSqlQuery>

namespace owner_details {

qlonglong addRoomLink(const QSqlDatabase& db, qlonglong ownerId, const QString& roomId, const QString& remark)
{
    return sql::insert(db, QStringLiteral("owner_rooms"),
                       {{QStringLiteral("owner_id"), ownerId},
                        {QStringLiteral("room_id"), roomId},
                        {QStringLiteral("relation_desc"), remark}});
}

void updateRoomLink(const QSqlDatabase& db, qlonglong linkId, const QString& roomId, const QString& remark)
{
    sql::update(db, QStringLiteral("owner_rooms"),
                {{QStringLiteral("room_id"), roomId}, {QStringLiteral("relation_desc"), remark}},
                QStringLiteral("ownerroom_id"), linkId);
}

bool roomExists(const QSqlDatabase& db, const QString& roomId)
{
    return sql::exists(db, QStringLiteral("select room_id from rooms_info where room_id = ?"), {roomId});
}

std::optional<Member> loadMember(const QSqlDatabase& db, qlonglong id)
{
    QSqlQuery q = sql::exec(db,
                            QStringLiteral("select member_id, owner_id, member_name, sex, duty, connect_tel, "
                                           "birthday, degree, polity from member where member_id = ?"),
                            {id});
    if (!q.next())
        return std::nullopt;
    Member m;
    m.id = q.value(0).toLongLong();
    m.ownerId = q.value(1).toLongLong();
    m.name = q.value(2).toString().trimmed();
    m.sex = q.value(3).toString().trimmed();
    m.duty = q.value(4).toString().trimmed();
    m.connectTel = q.value(5).toString().trimmed();
    m.birthday = sql::toDate(q.value(6));
    m.degree = q.value(7).toString().trimmed();
    m.polity = q.value(8).toString().trimmed();
    return m;
}

qlonglong saveMember(const QSqlDatabase& db, const Member& member)
{
    const sql::Fields fields = {
        {QStringLiteral("member_name"), member.name},
        {QStringLiteral("sex"), member.sex},
        {QStringLiteral("duty"), member.duty},
        {QStringLiteral("connect_tel"), member.connectTel},
        {QStringLiteral("degree"), member.degree},
        {QStringLiteral("polity"), member.polity},
        {QStringLiteral("birthday"), sql::dateValue(member.birthday)},
    };
    if (member.id != 0) {
        sql::update(db, QStringLiteral("member"), fields, QStringLiteral("member_id"), member.id);
        return member.id;
    }
    sql::Fields withOwner = fields;
    withOwner.prepend({QStringLiteral("owner_id"), member.ownerId});
    return sql::insert(db, QStringLiteral("member"), withOwner);
}

bool parkNumberTaken(const QSqlDatabase& db, const QString& number, qlonglong exceptParkId)
{
    return sql::exists(db, QStringLiteral("select park_id from park where park_no = ? and park_id <> ?"),
                       {number, exceptParkId});
}

} // namespace owner_details
