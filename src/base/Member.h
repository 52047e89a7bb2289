#pragma once

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
// Inserts a member without a number (for its owner), updates one with a number
// (its owner stays); returns the number.
qlonglong save(const QSqlDatabase& db, Member member);
void remove(const QSqlDatabase& db, qlonglong id);

} // namespace member_store
