#include "charging/Deposit.h"

#include "db/NumberInput.h"
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

Checked<std::optional<Money>> check(const QString& amount)
{
    const number_input::Decimal typed = number_input::decimal(amount, "owner_info", "bail_money");
    switch (typed.result) {
    case number_input::Result::NotANumber:
        return Refusal{QStringLiteral("装修押金不是有效的金额，请填写金额（最多两位小数）！"),
                       QStringLiteral("bail_money")};
    case number_input::Result::Number:
        return std::optional<Money>(typed.value);
    case number_input::Result::Empty:
        break;
    }
    return std::optional<Money>();
}

Checked<> save(const QSqlDatabase& db, qlonglong ownerId, const QString& amount)
{
    const Checked<std::optional<Money>> checked = check(amount);
    if (!checked.ok())
        return checked.refusal();
    save(db, ownerId, checked.value());
    return Done{};
}

} // namespace deposit_store
