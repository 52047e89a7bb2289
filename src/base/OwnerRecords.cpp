#include "base/OwnerRecords.h"

OwnerRecordTable OwnerRecordTable::cars()
{
    return {QStringLiteral("car"), QStringLiteral("car_id"), {}};
}

OwnerRecordTable OwnerRecordTable::parkingPlaces()
{
    return {QStringLiteral("park"), QStringLiteral("park_id"),
            [](const QSqlDatabase& db, const Values& values, qlonglong id) {
                QString number;
                for (const auto& [column, value] : values) {
                    if (column == u"park_no")
                        number = value.toString();
                }
                const bool taken = sql::exists(
                    db, QStringLiteral("select park_id from park where park_no = ? and park_id <> ?"),
                    {number, id});
                return taken ? u"车位号" + number + u"已经存在!" : QString();
            }};
}

namespace owner_records {

ListQuery list(const OwnerRecordTable& table, qlonglong ownerId)
{
    return {u'"' + table.table + u'"', QStringLiteral("owner_id = ?"), {ownerId}, {table.key}};
}

Stored store(const QSqlDatabase& db, const OwnerRecordTable& table, qlonglong ownerId, qlonglong id,
             const OwnerRecordTable::Values& values)
{
    Transaction transaction(db);
    if (table.refuse) {
        const QString refusal = table.refuse(db, values, id);
        if (!refusal.isEmpty())
            return {0, refusal};
    }
    if (id == 0) {
        OwnerRecordTable::Values withOwner = values;
        withOwner.prepend({QStringLiteral("owner_id"), ownerId});
        id = sql::insert(db, table.table, withOwner);
    } else {
        sql::updateOne(db, table.table, values, table.key, id);
    }
    transaction.commit();
    return {id, {}};
}

void remove(const QSqlDatabase& db, const OwnerRecordTable& table, qlonglong id)
{
    sql::removeOne(db, table.table, table.key, id);
}

} // namespace owner_records
