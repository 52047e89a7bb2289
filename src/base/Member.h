#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"

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

// Reading and writing an owner's members. Every function throws DbError.
namespace member_store {

// The owner's members in the order they were entered.
ListQuery list(qlonglong ownerId);
std::optional<Member> load(const QSqlDatabase& db, qlonglong id);
// The member as typed, texts trimmed, or the first check it fails: a name.
Checked<Member> check(const Member& member);
// Checks the member, then inserts one without a number (for its owner) or updates
// one with a number (its owner stays); returns the number.
Checked<qlonglong> save(const QSqlDatabase& db, const Member& member);
void remove(const QSqlDatabase& db, qlonglong id);

} // namespace member_store
