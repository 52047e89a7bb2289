#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// A family member or staff member of an owner (table member).
struct Member
{
    qlonglong id = 0;
    qlonglong ownerId = 0;
    QString name;
    QString sex;
    QString duty;
    QString connectTel;
    QDate birthday;
    QString degree;
    QString polity;
};

// What hangs off an owner: room links, members, and the parking-number check.
// Every function throws DbError.
namespace owner_details {

qlonglong addRoomLink(const QSqlDatabase& db, qlonglong ownerId, const QString& roomId,
                      const QString& remark);
void updateRoomLink(const QSqlDatabase& db, qlonglong linkId, const QString& roomId, const QString& remark);
bool roomExists(const QSqlDatabase& db, const QString& roomId);

std::optional<Member> loadMember(const QSqlDatabase& db, qlonglong id);
// Inserts a member without a number, updates one with a number; returns the number.
qlonglong saveMember(const QSqlDatabase& db, const Member& member);

// Whether another parking place than `exceptParkId` has that number.
bool parkNumberTaken(const QSqlDatabase& db, const QString& number, qlonglong exceptParkId);

} // namespace owner_details
