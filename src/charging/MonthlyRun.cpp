#include "charging/MonthlyRun.h"

#include "charging/ChargeType.h"
#include "charging/FeeRules.h"
#include "db/Sql.h"

#include <QSqlQuery>

#include <optional>

namespace monthly_run {
namespace {

// The refusal of a month already billed, with the property-fee records whose
// period reaches it (a "yyyy-MM-dd" end is at or after the month "yyyy-MM"
// exactly when it sorts at or after it).
Outcome alreadyBilled(const QSqlDatabase& db, qlonglong typeId, const QString& firstMonth)
{
    Outcome outcome{.kind = Outcome::Kind::AlreadyBilled, .refusedMonth = firstMonth};
    const QString reaching = QStringLiteral("c.type_id = ? and c.end_num >= ?");
    outcome.blockerCount =
        sql::scalar(db, u"select count(*) from charge_take c where " + reaching, {typeId, firstMonth})
            .toInt();
    QSqlQuery records =
        sql::exec(db,
                  u"select c.take_id, c.owner_id, o.owner_name, c.start_num, c.end_num from charge_take c "
                  u"left join owner_info o on o.owner_id = c.owner_id where " +
                      reaching + u" order by c.owner_id, c.take_id limit ?",
                  {typeId, firstMonth, kMostBlockersListed});
    struct Record
    {
        QString id, owner, start, end;
        qlonglong ownerId;
    };
    QList<Record> found;
    while (records.next())
        found.append({records.value(0).toString(), records.value(2).toString().trimmed(),
                      records.value(3).toString().trimmed(), records.value(4).toString().trimmed(),
                      records.value(1).toLongLong()});
    records.finish();
    for (const Record& r : found) {
        QStringList rooms;
        QSqlQuery q = sql::exec(
            db, QStringLiteral("select room_id from owner_rooms where owner_id = ? order by room_id"),
            {r.ownerId});
        while (q.next())
            rooms << q.value(0).toString().trimmed();
        outcome.blockers << QStringLiteral("%1，房号%2，%3至%4，记录号%5")
                                .arg(r.owner.isEmpty() ? QStringLiteral("（住户已删除）") : r.owner,
                                     rooms.isEmpty() ? QStringLiteral("无") : rooms.join(u'、'), r.start,
                                     r.end, r.id);
    }
    return outcome;
}

// One row per owner with a room link (moved-out owners too): the owner and the
// bill's amount in hundredths. The owner's floor area (each linked room once,
// rooms that do not exist count nothing) × unit price × months, in hundredths ×
// hundredths, rounded once to one decimal, halves away from zero. Binds the
// months and the unit price.
const QString kBills = QStringLiteral(
    "select o.owner_id, "
    "case when o.amount >= 0 then (o.amount + 500) / 1000 * 10 "
    "else -((500 - o.amount) / 1000) * 10 end as should_pay "
    "from (select l.owner_id, cast(? as bigint) * cast(? as bigint) * "
    "cast(coalesce(sum(r.build_area), 0) as bigint) as amount "
    "      from (select distinct owner_id, room_id from owner_rooms where owner_id is not null) l "
    "      left join rooms_info r on r.room_id = l.room_id "
    "      group by l.owner_id) o");

// The property fee, or why the months cannot be billed. Read inside the caller's
// transaction.
struct Billing
{
    std::optional<Outcome> refusal;
    qlonglong typeId = 0;
    qlonglong unitPrice = 0; // hundredths
};

Billing check(const QSqlDatabase& db, const QDate& first, const QDate& last)
{
    if (last < first)
        return {Outcome{.kind = Outcome::Kind::MonthsReversed}};
    QSqlQuery type = sql::exec(
        db,
        QStringLiteral(
            "select unit_price, type_id from charge_type where take_type = ? order by type_id limit 1"),
        {ChargeType::kAreaMonthsRule});
    if (!type.next())
        return {Outcome{.kind = Outcome::Kind::NoPropertyFee}};
    Billing checked{std::nullopt, type.value(1).toLongLong(), type.value(0).toLongLong()};
    type.finish();

    // Dates are "yyyy-MM-dd": text order is date order.
    const QString firstMonth = first.toString(QStringLiteral("yyyy-MM"));
    const QVariant latest =
        sql::scalar(db,
                    QStringLiteral("select max(end_num) from charge_take "
                                   "where type_id = ? and end_num is not null and end_num <> ''"),
                    {checked.typeId});
    if (latest.isValid() && !latest.isNull() && firstMonth <= latest.toString().trimmed().left(7))
        checked.refusal = alreadyBilled(db, checked.typeId, firstMonth);
    return checked;
}

Outcome counted(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    QSqlQuery sums = sql::exec(db, statement, values);
    sums.next();
    return {.kind = Outcome::Kind::Billed,
            .bills = sums.value(0).toInt(),
            .total = Decimal2::fromDb(sums.value(1)).value_or(Money())};
}

} // namespace

Outcome run(const QSqlDatabase& db, const QDate& first, const QDate& last, const QDate& today)
{
    // The check is read inside the run's own write transaction, so that two
    // copies cannot both pass it.
    Transaction transaction(db);
    const Billing checked = check(db, first, last);
    if (checked.refusal)
        return *checked.refusal;

    // One statement bills every owner.
    const QVariant before =
        sql::scalar(db, QStringLiteral("select coalesce(max(take_id), 0) from charge_take"));
    const QSqlQuery insert =
        sql::exec(db,
                  u"insert into charge_take (owner_id, type_id, should_pay, derate, payment_real, start_num, "
                  u"end_num, take_date) "
                  u"select b.owner_id, ?, b.should_pay, 0, 0, ?, ?, ? from (" +
                      kBills + u") b order by b.owner_id",
                  {checked.typeId, sql::dateValue(first), sql::dateValue(last), sql::dateValue(today),
                   fee_rules::months(first, last), checked.unitPrice});
    const int bills = insert.numRowsAffected();
    Outcome outcome = counted(
        db,
        QStringLiteral("select count(*), cast(coalesce(sum(should_pay), 0) as bigint) from charge_take "
                       "where take_id > ?"),
        {before});
    transaction.commit();
    outcome.bills = bills;
    return outcome;
}

Outcome trial(const QSqlDatabase& db, const QDate& first, const QDate& last)
{
    const Billing checked = check(db, first, last);
    if (checked.refusal)
        return *checked.refusal;
    return counted(
        db, u"select count(*), cast(coalesce(sum(b.should_pay), 0) as bigint) from (" + kBills + u") b",
        {fee_rules::months(first, last), checked.unitPrice});
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

QString refusalDetail(const Outcome& outcome)
{
    if (outcome.kind != Outcome::Kind::AlreadyBilled || outcome.blockerCount == 0)
        return {};
    QString detail = QStringLiteral("以下%1条物管费记录的缴费期间已到%2月份或以后：\n")
                         .arg(outcome.blockerCount)
                         .arg(outcome.refusedMonth) +
                     outcome.blockers.join(u'\n');
    if (outcome.blockerCount > outcome.blockers.size())
        detail += QStringLiteral("\n……另有%1条未列出。").arg(outcome.blockerCount - outcome.blockers.size());
    return detail;
}

} // namespace monthly_run
