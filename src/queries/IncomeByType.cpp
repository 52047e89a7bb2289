#include "queries/IncomeByType.h"

#include "db/Sql.h"
#include "db/SqlDialect.h"
#include "output/StatementRecordSource.h"

namespace income_by_type {

QList<ListColumn> columns()
{
    using K = ListColumn::Kind;
    return {
        {QStringLiteral("type_id"), QString(), K::Number},
        {QStringLiteral("type_name"), QStringLiteral("费用名")},
        {QStringLiteral("sum_should"), QStringLiteral("应付款"), K::Decimal},
        {QStringLiteral("sum_real"), QStringLiteral("实付款"), K::Decimal},
        {QStringLiteral("sum_owe"), QStringLiteral("欠费金额"), K::Decimal},
    };
}

ListQuery list(const QSqlDatabase& db, const Period& period)
{
    const QString day = SqlDialect::of(db).unindexed(QStringLiteral("take_date"));
    // The sums are read from the index on (type_id, take_date, should_pay,
    // payment_real), one charge type after another with no sorting: the day
    // unindexed keeps the file's engine from choosing the index on the day alone, which would read
    // every record of a long period from the table and sort them by type.
    return {
        QStringLiteral(
            "(select type_id as kind, cast(sum(should_pay) as bigint) as sum_should, cast(sum(payment_real) "
            "as bigint) as sum_real, "
            "cast(sum(payment_real) as bigint) - cast(sum(should_pay) as bigint) as sum_owe from charge_take "
            "where ") +
            day + u" >= ? and " + day +
            QStringLiteral(" <= ? group by type_id) a "
                           "left join charge_type t on t.type_id = a.kind"),
        {},
        sql::periodValues(period),
        {QStringLiteral("a.kind")}};
}

QList<Row> rows(const QSqlDatabase& db, const Period& period)
{
    QList<Row> result;
    StatementRecordSource source(db, list(db, period),
                                 {QStringLiteral("a.kind as type_id"), QStringLiteral("t.type_name"),
                                  QStringLiteral("a.sum_should"), QStringLiteral("a.sum_real"),
                                  QStringLiteral("a.sum_owe")});
    for (bool more = source.first(); more; more = source.next()) {
        const auto money = [&](const char* field) {
            return Decimal2::fromDb(source.fieldValue(QString::fromLatin1(field))).value_or(Money());
        };
        result.append({source.fieldValue(QStringLiteral("type_id")).toLongLong(),
                       source.fieldValue(QStringLiteral("type_name")).toString().trimmed(),
                       money("sum_should"), money("sum_real"), money("sum_owe")});
    }
    return result;
}

} // namespace income_by_type

ExportDescription income_by_type::exported()
{
    ExportDescription d;
    d.title = QStringLiteral("各类费用收入");
    d.columnWidths = {{1, 6}, {2, 10}};
    using C = ExportColumn;
    const FieldFormat money = FieldFormat::Decimal;
    d.columns = {
        C::text(QStringLiteral("费用名"), QStringLiteral("type_name")),
        C::text(QStringLiteral("应付款"), QStringLiteral("sum_should"), money),
        C::text(QStringLiteral("实付款"), QStringLiteral("sum_real"), money),
        C::text(QStringLiteral("欠款金额"), QStringLiteral("sum_owe"), money),
    };
    return d;
}
