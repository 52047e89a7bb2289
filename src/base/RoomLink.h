#pragma once

#include "db/ListQuery.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// A room an owner occupies (table owner_rooms): the link by room number that the
// fee screens sum floor areas over.
struct RoomLink
{
    qlonglong id = 0; // 0 for a link not stored yet
    qlonglong ownerId = 0;
    QString roomId;
    QString remark;
};

// Reading and writing room links. Every function throws DbError.
namespace room_link_store {

// The owner's links in the order they were made.
ListQuery list(qlonglong ownerId);
// The links of every owner in the order they were made, with the name of the
// owner when a current occupant holds it (owner_name, room_id, relation_desc).
ListQuery allWithOccupantNames();

// Stores new and changed links of one owner in one transaction: a link without a
// number is added for `ownerId`, one with a number is changed. A link may name a
// room not entered yet; returns what to tell the operator about such links, one
// text for each, in order.
QStringList store(const QSqlDatabase& db, qlonglong ownerId, const QList<RoomLink>& links);
void remove(const QSqlDatabase& db, qlonglong id);

} // namespace room_link_store
