#include "charging/ChargeType.h"

#include "db/NumberInput.h"
#include "db/RecordMap.h"

namespace {

const RecordMap<ChargeType>& map()
{
    static const RecordMap<ChargeType> m =
        RecordMap<ChargeType>(QStringLiteral("charge_type"), "type_id", &ChargeType::id)
            .field("type_name", &ChargeType::name)
            .field("unit_price", &ChargeType::unitPrice)
            .field("take_type", &ChargeType::takeType);
    return m;
}

} // namespace

BillingRule billingRuleOf(const QString& takeType)
{
    const QString rule = takeType.trimmed();
    if (rule == ChargeType::kMeterRule)
        return BillingRule::Meter;
    if (rule == ChargeType::kAreaMonthsRule)
        return BillingRule::AreaMonths;
    if (rule == ChargeType::kPriceMonthsRule)
        return BillingRule::PriceMonths;
    return BillingRule::Typed;
}

BillingRule ChargeType::rule() const
{
    return billingRuleOf(takeType);
}

bool ChargeType::isProtectedName(const QString& name)
{
    const QString n = name.trimmed();
    return n == u"电费" || n == u"物管费" || n == u"服务费";
}

namespace charge_type_store {

ListQuery list()
{
    return {QStringLiteral("charge_type"), {}, {}, {QStringLiteral("type_id")}};
}

QList<NamedKey> names(const QSqlDatabase& db)
{
    QList<NamedKey> result;
    QSqlQuery q =
        sql::exec(db, QStringLiteral("select type_id, type_name from charge_type order by type_id"));
    while (q.next())
        result.append({q.value(0).toLongLong(), q.value(1).toString().trimmed()});
    return result;
}

std::optional<ChargeType> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

std::optional<ChargeType> findByName(const QSqlDatabase& db, const QString& name)
{
    const QList<ChargeType> found = map().loadWhere(db, QStringLiteral("type_name = ?"), {name.trimmed()},
                                                    QStringLiteral("type_id limit 1"));
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

void store(const QSqlDatabase& db, const QList<ChargeType>& types)
{
    Transaction transaction(db);
    for (ChargeType type : types) {
        if (type.id == 0) {
            map().insert(db, type);
            continue;
        }
        if (const std::optional<ChargeType> stored = map().load(db, type.id);
            stored && stored->isProtected()) {
            type.name = stored->name;
            type.takeType = stored->takeType;
        }
        map().update(db, type);
    }
    transaction.commit();
}

void store(const QSqlDatabase& db, const QList<ChargeTypeInput>& rows)
{
    QList<ChargeType> types;
    for (const ChargeTypeInput& row : rows) {
        ChargeType type;
        type.id = row.id;
        type.name = row.name;
        type.unitPrice = number_input::optionalDecimal(row.unitPrice, "charge_type", "unit_price");
        type.takeType = row.takeType;
        types << type;
    }
    store(db, types);
}

Checked<> removeUnlessInUse(const QSqlDatabase& db, qlonglong id)
{
    Transaction transaction(db);
    const std::optional<ChargeType> type = map().load(db, id);
    if (type && type->isProtected())
        return Refusal{QStringLiteral("电费、物管费和服务费是系统必需的费用类别，不能删除！")};
    if (sql::exists(db, QStringLiteral("select take_id from charge_take where type_id = ? limit 1"), {id}))
        return Refusal{
            QStringLiteral("此费用类别已有收费记录，不能删除！如确需删除，请先删除此类别的所有收费记录。")};
    map().remove(db, id);
    transaction.commit();
    return Done{};
}

} // namespace charge_type_store
