#pragma once

#include "charging/Receipt.h"
#include "core/Checked.h"
#include "core/Decimal2.h"
#include "db/ListQuery.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// A fee billed to an owner (table charge_take): what is due, what was paid, the
// readings or the months it was computed from, the day it was paid.
struct FeeRecord
{
    qlonglong id = 0;
    qlonglong ownerId = 0; // kept by a change: a record never moves to another owner
    qlonglong typeId = 0;
    Money shouldPay;
    Money paymentReal;
    QString startNum; // the previous reading, or the first month as "yyyy-MM-dd"
    QString endNum;   // the current reading, or the last month
    QDate takeDate;
    QString remarks;
};

// Reading and writing fee records. Every function throws DbError.
namespace fee_store {

// The fee records of one owner, of every owner paid on one day, or of everyone,
// in the order of their numbers, with the name of their type (type_name).
ListQuery ofOwner(qlonglong ownerId);
ListQuery ofDay(const QDate& day);
ListQuery all();

std::optional<FeeRecord> load(const QSqlDatabase& db, qlonglong id);

// Who takes the money a record from the fee screen shows as paid, and how.
struct Cashier
{
    QString opCode;
    QString payWay;
};

// A record as the fee screen stored it, and the receipt of what was paid.
struct Saved
{
    qlonglong id = 0;
    std::optional<Receipt> receipt;
};

// Stores a record typed in the fee screen, new (number 0) or changed, in one
// transaction with the receipt of what it shows as paid beyond what was paid
// before. What was paid is never lowered here: money is given back by voiding
// its receipt (refused with the way to do it).
Checked<Saved> save(const QSqlDatabase& db, FeeRecord record, const Cashier& cashier, const QDateTime& now);
// A new record for its owner; returns its number.
qlonglong insert(const QSqlDatabase& db, FeeRecord record);
// Stores a changed record; its owner stays. A record another copy removed is gone.
void update(const QSqlDatabase& db, const FeeRecord& record);
void remove(const QSqlDatabase& db, qlonglong id);
// Deletes a record on which no receipt was ever issued; refuses one that has any.
Checked<> removeUnlessReceipted(const QSqlDatabase& db, qlonglong id);

// The month a reading column (start_num: the first month, end_num: the last)
// holds for a fee billed by months: none when empty, or the refusal of a stored
// text that is no date, naming the column.
Checked<std::optional<QDate>> storedMonth(const QString& text, const QString& column);

// The floor area the owner is billed for: the rooms of the owner's links flagged
// "是", each room once. Nothing when the owner has no such room.
std::optional<Area> billedArea(const QSqlDatabase& db, qlonglong ownerId);

} // namespace fee_store
