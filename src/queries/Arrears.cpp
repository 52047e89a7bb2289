#include "queries/Arrears.h"

#include "db/Sql.h"
#include "output/StatementRecordSource.h"

namespace arrears {

QList<ListColumn> columns()
{
    using K = ListColumn::Kind;
    return {
        {QStringLiteral("owner_name"), QStringLiteral("住户名称")},
        {QStringLiteral("type_name"), QStringLiteral("费用名")},
        {QStringLiteral("sum_should"), QStringLiteral("应付款"), K::Decimal},
        {QStringLiteral("sum_payment"), QStringLiteral("实付款"), K::Decimal},
        {QStringLiteral("owe_money"), QStringLiteral("欠款金额"), K::Decimal},
    };
}

namespace {

ListQuery owed(const std::optional<qlonglong>& ownerId, const std::optional<Period>& period)
{
    // Sums of whole fen: exact over any number of records.
    QString totals =
        QStringLiteral("(select owner_id, type_id, cast(sum(should_pay) as bigint) as sum_should, "
                       "cast(sum(payment_real) as bigint) as sum_payment, "
                       "cast(sum(payment_real) as bigint) - cast(sum(should_pay) as bigint) as sum_owe, "
                       "cast(sum(should_pay) as bigint) - cast(sum(payment_real) as bigint) as owe_money "
                       "from charge_take where 1 = 1");
    QVariantList values;
    if (ownerId) {
        totals += QStringLiteral(" and owner_id = ?");
        values << *ownerId;
    }
    if (period) {
        totals += QStringLiteral(" and take_date >= ? and take_date <= ?");
        values << sql::periodValues(*period);
    }
    totals += QStringLiteral(" group by type_id, owner_id");
    if (period)
        totals +=
            QStringLiteral(" having cast(sum(payment_real) as bigint) - cast(sum(should_pay) as bigint) < 0");
    totals += QStringLiteral(") a left join charge_type t on t.type_id = a.type_id "
                             "left join owner_info o on o.owner_id = a.owner_id");
    if (ownerId)
        return {totals, {}, values, {QStringLiteral("a.type_id")}};
    return {totals,
            {},
            values,
            {QStringLiteral("o.owner_name"), QStringLiteral("a.owner_id"), QStringLiteral("a.type_id")}};
}

} // namespace

ListQuery list(qlonglong ownerId, const std::optional<Period>& period)
{
    return owed(ownerId, period);
}

ListQuery everyOwner(const std::optional<Period>& period)
{
    return owed(std::nullopt, period);
}

QList<Row> rows(const QSqlDatabase& db, qlonglong ownerId, const std::optional<Period>& period)
{
    QList<Row> result;
    StatementRecordSource source(db, list(ownerId, period),
                                 {QStringLiteral("o.owner_name"), QStringLiteral("t.type_name"),
                                  QStringLiteral("a.sum_should"), QStringLiteral("a.sum_payment"),
                                  QStringLiteral("a.owe_money"), QStringLiteral("a.sum_owe")});
    for (bool more = source.first(); more; more = source.next()) {
        const auto money = [&](const char* field) {
            return Decimal2::fromDb(source.fieldValue(QString::fromLatin1(field))).value_or(Money());
        };
        result.append({source.fieldValue(QStringLiteral("owner_name")).toString().trimmed(),
                       source.fieldValue(QStringLiteral("type_name")).toString().trimmed(),
                       money("sum_should"), money("sum_payment"), money("owe_money"), money("sum_owe")});
    }
    return result;
}

} // namespace arrears

ExportDescription arrears::exported()
{
    ExportDescription d;
    d.title = QStringLiteral("业主欠费清单");
    d.columnWidths = {{1, 6}, {2, 10}};
    using C = ExportColumn;
    const FieldFormat money = FieldFormat::Decimal;
    d.columns = {
        C::text(QStringLiteral("业主名称"), QStringLiteral("owner_name")),
        C::text(QStringLiteral("费用名"), QStringLiteral("type_name")),
        C::text(QStringLiteral("应付款"), QStringLiteral("sum_should"), money),
        C::text(QStringLiteral("实付款"), QStringLiteral("sum_payment"), money),
        // Paid − due: a debt is negative.
        C::text(QStringLiteral("欠款金额"), QStringLiteral("sum_owe"), money),
    };
    return d;
}

QStringList arrears::exportedColumns()
{
    return {QStringLiteral("o.owner_name"), QStringLiteral("t.type_name"), QStringLiteral("a.sum_should"),
            QStringLiteral("a.sum_payment"), QStringLiteral("a.sum_owe")};
}

QStringList arrears::printedColumns()
{
    // The dunning list; its reduction column has no value here.
    return {QStringLiteral("o.owner_name"), QStringLiteral("a.sum_should"), QStringLiteral("a.sum_payment"),
            QStringLiteral("a.owe_money")};
}
