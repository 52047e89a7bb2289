#include "charging/DeviceType.h"

#include "db/RecordMap.h"

namespace device_type_store {
namespace {

const RecordMap<DeviceType>& map()
{
    static const RecordMap<DeviceType> m =
        RecordMap<DeviceType>(QStringLiteral("dev_type"), "type_id", &DeviceType::id)
            .field("type_name", &DeviceType::name);
    return m;
}

} // namespace

ListQuery list()
{
    return {QStringLiteral("dev_type"), {}, {}, {QStringLiteral("type_id")}};
}

void store(const QSqlDatabase& db, const QList<DeviceType>& types)
{
    Transaction transaction(db);
    for (DeviceType type : types) {
        if (type.id == 0)
            map().insert(db, type);
        else
            map().update(db, type);
    }
    transaction.commit();
}

bool removeUnlessUsed(const QSqlDatabase& db, qlonglong id)
{
    // The check and the delete in one transaction: no device can be added in between.
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select dev_id from device where type_id = ? limit 1"), {id}))
        return false;
    map().remove(db, id);
    transaction.commit();
    return true;
}

} // namespace device_type_store
