#include "base/OwnerRecords.h"

OwnerRecordTable OwnerRecordTable::cars()
{
    return {QStringLiteral("car"),
            QStringLiteral("car_id"),
            QStringLiteral("car_no"),
            QStringLiteral("请先填写车牌号!"),
            {}};
}

OwnerRecordTable OwnerRecordTable::parkingPlaces()
{
    return {QStringLiteral("park"), QStringLiteral("park_id"), QStringLiteral("park_no"),
            QStringLiteral("请先填写车位号!"),
            [](const QSqlDatabase& db, const Values& values, qlonglong id) -> Checked<> {
                QString number;
                for (const auto& [column, value] : values) {
                    if (column == u"park_no")
                        number = value.toString();
                }
                const bool taken = sql::exists(
                    db, QStringLiteral("select park_id from park where park_no = ? and park_id <> ?"),
                    {number, id});
                if (taken)
                    return Refusal{u"车位号" + number + u"已经存在!", QStringLiteral("park_no")};
                return Done{};
            }};
}

namespace owner_records {

ListQuery list(const OwnerRecordTable& table, qlonglong ownerId)
{
    return {u'"' + table.table + u'"', QStringLiteral("owner_id = ?"), {ownerId}, {table.key}};
}

Checked<qlonglong> store(const QSqlDatabase& db, const OwnerRecordTable& table, qlonglong ownerId,
                         qlonglong id, const OwnerRecordTable::Values& values)
{
    for (const auto& [column, value] : values) {
        if (column == table.required && value.toString().trimmed().isEmpty())
            return Refusal{table.requiredText, table.required};
    }
    Transaction transaction(db);
    if (table.refuse) {
        const Checked<> allowed = table.refuse(db, values, id);
        if (!allowed.ok())
            return allowed.refusal();
    }
    if (id == 0) {
        OwnerRecordTable::Values withOwner = values;
        withOwner.prepend({QStringLiteral("owner_id"), ownerId});
        id = sql::insert(db, table.table, withOwner);
    } else {
        sql::updateOne(db, table.table, values, table.key, id);
    }
    transaction.commit();
    return id;
}

void remove(const QSqlDatabase& db, const OwnerRecordTable& table, qlonglong id)
{
    sql::removeOne(db, table.table, table.key, id);
}

} // namespace owner_records
