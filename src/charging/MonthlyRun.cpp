#include "charging/MonthlyRun.h"

#include "charging/ChargeType.h"
#include "charging/FeeRules.h"
#include "db/Sql.h"

#include <QSqlQuery>

namespace monthly_run {

Outcome run(const QSqlDatabase& db, const QDate& first, const QDate& last, const QDate& today)
{
    if (last < first)
        return {Outcome::Kind::MonthsReversed, 0, {}};

    Transaction transaction(db);
    QSqlQuery type = sql::exec(
        db,
        QStringLiteral(
            "select unit_price, type_id from charge_type where take_type = ? order by type_id limit 1"),
        {ChargeType::kAreaMonthsRule});
    if (!type.next())
        return {Outcome::Kind::NoPropertyFee, 0, {}};
    const qlonglong unitPrice = type.value(0).toLongLong(); // hundredths
    const qlonglong typeId = type.value(1).toLongLong();
    type.finish();

    // Read inside the run's own write transaction, so that two copies cannot both
    // pass it. Dates are "yyyy-MM-dd": text order is date order.
    const QString firstMonth = first.toString(QStringLiteral("yyyy-MM"));
    const QVariant latest =
        sql::scalar(db,
                    QStringLiteral("select max(end_num) from charge_take "
                                   "where type_id = ? and end_num is not null and end_num <> ''"),
                    {typeId});
    if (latest.isValid() && !latest.isNull() && firstMonth <= latest.toString().trimmed().left(7))
        return {Outcome::Kind::AlreadyBilled, 0, firstMonth};

    // One statement bills every owner: the owner's floor area (each linked room
    // once, rooms that do not exist count nothing) × unit price × months, in
    // hundredths × hundredths, rounded once to one decimal, halves away from zero.
    const int months = fee_rules::months(first, last);
    const QSqlQuery insert = sql::exec(
        db,
        QStringLiteral(
            "insert into charge_take (owner_id, type_id, should_pay, derate, payment_real, start_num, "
            "end_num, take_date) "
            "select o.owner_id, ?, "
            "case when o.amount >= 0 then (o.amount + 500) / 1000 * 10 "
            "else -((500 - o.amount) / 1000) * 10 end, 0, 0, ?, ?, ? "
            "from (select l.owner_id, ? * ? * coalesce(sum(r.build_area), 0) as amount "
            "      from (select distinct owner_id, room_id from owner_rooms where owner_id is not null) l "
            "      left join rooms_info r on r.room_id = l.room_id "
            "      group by l.owner_id) o "
            "order by o.owner_id"),
        {typeId, sql::dateValue(first), sql::dateValue(last), sql::dateValue(today), months, unitPrice});
    const int bills = insert.numRowsAffected();
    transaction.commit();
    return {Outcome::Kind::Billed, bills, {}};
}

QString refusalText(const Outcome& outcome)
{
    switch (outcome.kind) {
    case Outcome::Kind::MonthsReversed:
        return QStringLiteral("起始月份不能大于截止月份！");
    case Outcome::Kind::NoPropertyFee:
        return QStringLiteral("还未设置物业费参数！");
    case Outcome::Kind::AlreadyBilled:
        return outcome.refusedMonth + QStringLiteral("月份已经对一部分住户收过物管费了，为了不覆盖这些住户的"
                                                     "收款记录，不能自动生成全部住户的物管费。");
    case Outcome::Kind::Billed:
        break;
    }
    return {};
}

} // namespace monthly_run
