#include "charging/Deposit.h"

#include "db/RecordMap.h"

namespace deposit_store {
namespace {

const RecordMap<Deposit>& map()
{
    static const RecordMap<Deposit> m =
        RecordMap<Deposit>(QStringLiteral("owner_info"), "owner_id", &Deposit::ownerId)
            .field("owner_name", &Deposit::ownerName)
            .field("linker", &Deposit::linker)
            .field("link_tel", &Deposit::linkTel)
            .field("bail_money", &Deposit::amount);
    return m;
}

} // namespace

std::optional<Deposit> load(const QSqlDatabase& db, qlonglong ownerId)
{
    return map().load(db, ownerId);
}

void save(const QSqlDatabase& db, qlonglong ownerId, const std::optional<Money>& amount)
{
    sql::updateOne(db, QStringLiteral("owner_info"),
                   {{QStringLiteral("bail_money"), record_value::toDb(amount)}}, QStringLiteral("owner_id"),
                   ownerId);
}

} // namespace deposit_store
