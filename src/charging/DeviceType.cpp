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

Checked<DeviceType> check(const DeviceType& type)
{
    DeviceType t = type;
    t.name = t.name.trimmed();
    if (t.name.isEmpty())
        return Refusal{QStringLiteral("请填写名称!"), QStringLiteral("type_name")};
    return t;
}

Checked<> store(const QSqlDatabase& db, const QList<DeviceType>& types)
{
    QList<DeviceType> checked;
    for (const DeviceType& type : types) {
        const Checked<DeviceType> t = check(type);
        if (!t.ok())
            return t.refusal();
        checked << t.value();
    }
    Transaction transaction(db);
    for (DeviceType type : std::as_const(checked)) {
        if (type.id == 0)
            map().insert(db, type);
        else
            map().update(db, type);
    }
    transaction.commit();
    return Done{};
}

Checked<> removeUnlessUsed(const QSqlDatabase& db, qlonglong id)
{
    // The check and the delete in one transaction: no device can be added in between.
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select dev_id from device where type_id = ? limit 1"), {id}))
        return Refusal{
            QStringLiteral("此类型有具体的设备存在，如确定要删除此类型，先要删除此类型下的所有设备！")};
    map().remove(db, id);
    transaction.commit();
    return Done{};
}

} // namespace device_type_store
