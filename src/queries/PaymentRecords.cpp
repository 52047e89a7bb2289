#include "queries/PaymentRecords.h"

#include "db/Sql.h"
#include "output/StatementRecordSource.h"

namespace payment_records {

QList<ListColumn> columns()
{
    using K = ListColumn::Kind;
    return {
        {QStringLiteral("take_id"), QStringLiteral("序号"), K::Number},
        {QStringLiteral("type_name"), QStringLiteral("费用名")},
        {QStringLiteral("should_pay"), QStringLiteral("应付款"), K::Decimal},
        {QStringLiteral("payment_real"), QStringLiteral("实付款"), K::Decimal},
        {QStringLiteral("end_num"), QStringLiteral("本次抄数")},
        {QStringLiteral("start_num"), QStringLiteral("上次抄数")},
        {QStringLiteral("take_date"), QStringLiteral("付款日期"), K::Date},
        {QStringLiteral("remarks"), QStringLiteral("备注")},
    };
}

ListQuery list(qlonglong ownerId, const Period& period)
{
    QVariantList values{ownerId};
    values << sql::periodValues(period);
    return {QStringLiteral("charge_take c left join charge_type t on t.type_id = c.type_id"),
            QStringLiteral("c.owner_id = ? and c.take_date >= ? and c.take_date <= ?"),
            values,
            {QStringLiteral("c.take_id")}};
}

ListQuery everyOwner(const Period& period)
{
    return {QStringLiteral("charge_take c left join charge_type t on t.type_id = c.type_id "
                           "left join owner_info o on o.owner_id = c.owner_id"),
            QStringLiteral("c.take_date >= ? and c.take_date <= ?"),
            sql::periodValues(period),
            {QStringLiteral("c.take_id")}};
}

QStringList exportedColumns()
{
    return {QStringLiteral("c.take_id"),
            QStringLiteral("t.type_name"),
            QStringLiteral("c.should_pay"),
            QStringLiteral("c.payment_real"),
            QStringLiteral("c.should_pay - c.payment_real as owe_money"),
            QStringLiteral("c.end_num"),
            QStringLiteral("c.start_num"),
            QStringLiteral("c.take_date"),
            QStringLiteral("c.remarks")};
}

QList<Row> rows(const QSqlDatabase& db, qlonglong ownerId, const Period& period)
{
    QList<Row> result;
    StatementRecordSource source(db, list(ownerId, period), exportedColumns());
    for (bool more = source.first(); more; more = source.next()) {
        const auto money = [&](const char* field) {
            return Decimal2::fromDb(source.fieldValue(QString::fromLatin1(field))).value_or(Money());
        };
        result.append({source.fieldValue(QStringLiteral("take_id")).toLongLong(),
                       source.fieldValue(QStringLiteral("type_name")).toString().trimmed(),
                       money("should_pay"), money("payment_real"), money("owe_money"),
                       source.fieldValue(QStringLiteral("end_num")).toString().trimmed(),
                       source.fieldValue(QStringLiteral("start_num")).toString().trimmed(),
                       sql::toDate(source.fieldValue(QStringLiteral("take_date"))),
                       source.fieldValue(QStringLiteral("remarks")).toString().trimmed()});
    }
    return result;
}

} // namespace payment_records

ExportDescription payment_records::exportedEveryOwner(const Period& period)
{
    ExportDescription d = exported(period);
    d.columns.prepend(ExportColumn::text(QStringLiteral("住户名称"), QStringLiteral("owner_name")));
    return d;
}

ExportDescription payment_records::exported(const Period& period)
{
    ExportDescription d;
    d.title = QStringLiteral("缴费记录清单(") + period.first.toString(Qt::ISODate) + QStringLiteral(" - ") +
              period.last.toString(Qt::ISODate) + u')';
    d.columnWidths = {{1, 6}, {2, 10}};
    using C = ExportColumn;
    const FieldFormat money = FieldFormat::Decimal;
    d.columns = {
        C::text(QStringLiteral("序号"), QStringLiteral("take_id")),
        C::text(QStringLiteral("费用名"), QStringLiteral("type_name")),
        C::text(QStringLiteral("应付款"), QStringLiteral("should_pay"), money),
        C::text(QStringLiteral("实付款"), QStringLiteral("payment_real"), money),
        C::text(QStringLiteral("欠款金额"), QStringLiteral("owe_money"), money),
        C::text(QStringLiteral("本次抄数"), QStringLiteral("end_num")),
        C::text(QStringLiteral("上次抄数"), QStringLiteral("start_num")),
        C::date(QStringLiteral("付款日期"), QStringLiteral("take_date")),
        C::text(QStringLiteral("备注"), QStringLiteral("remarks")),
    };
    return d;
}
