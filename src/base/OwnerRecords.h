#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"
#include "db/Sql.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

// A table of records that belong to one owner and are edited as plain column
// values, one editor per column: the owner's cars and parking places.
struct OwnerRecordTable
{
    // Column and value pairs of one record; an empty text is stored as null.
    using Values = sql::Fields;

    QString table;        // car
    QString key;          // car_id
    QString required;     // the column a record must have (car_no)
    QString requiredText; // the refusal when it is empty
    // Refuses values about to be stored, inside the storing transaction. May be
    // empty.
    std::function<Checked<>(const QSqlDatabase&, const Values& values, qlonglong id)> refuse;

    static OwnerRecordTable cars();
    // A parking number belongs to one parking place, of any owner.
    static OwnerRecordTable parkingPlaces();
};

// Reading and writing an owner's records. Every function throws DbError.
namespace owner_records {

// The owner's records in the order they were entered, every column.
ListQuery list(const OwnerRecordTable& table, qlonglong ownerId);

// Stores the values as a new record of the owner (id 0) or over record `id` and
// returns the record's number, unless the required column is empty or the
// table's rule refuses them.
Checked<qlonglong> store(const QSqlDatabase& db, const OwnerRecordTable& table, qlonglong ownerId,
                         qlonglong id, const OwnerRecordTable::Values& values);
void remove(const QSqlDatabase& db, const OwnerRecordTable& table, qlonglong id);

} // namespace owner_records
