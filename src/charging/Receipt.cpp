#include "charging/Receipt.h"

#include "db/DbError.h"
#include "db/Sql.h"

#include <QSet>
#include <QSqlQuery>

namespace receipt_store {
namespace {

constexpr char kColumns[] =
    "receipt_id, receipt_no, receipt_year, receipt_seq, owner_id, issued_at, op_code, "
    "pay_way, total, voids_id, reprints, remark";

QString stamp(const QDateTime& at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

Receipt fromRow(const QSqlQuery& q)
{
    Receipt r;
    r.id = q.value(0).toLongLong();
    r.number = q.value(1).toString().trimmed();
    r.year = q.value(2).toInt();
    r.seq = q.value(3).toInt();
    r.ownerId = q.value(4).toLongLong();
    r.issuedAt =
        QDateTime::fromString(q.value(5).toString().trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    r.opCode = q.value(6).toString().trimmed();
    r.payWay = q.value(7).toString().trimmed();
    r.total = Decimal2::fromDb(q.value(8)).value_or(Money());
    r.voidsId = q.value(9).toLongLong();
    r.reprints = q.value(10).toInt();
    r.remark = q.value(11).toString().trimmed();
    return r;
}

// Writes a receipt of the year of `now` with the next number of that year, its
// lines, and adds each line's amount to its fee record. Under the write lock of
// the caller's transaction: the number read and the number written are one.
Receipt write(const QSqlDatabase& db, Receipt receipt, const QList<ReceiptLine>& lines, const QDateTime& now)
{
    receipt.year = now.date().year();
    receipt.seq = sql::scalar(db,
                              QStringLiteral("select coalesce(max(receipt_seq), 0) + 1 from receipt "
                                             "where receipt_year = ?"),
                              {receipt.year})
                      .toInt();
    receipt.number = numberText(receipt.year, receipt.seq);
    receipt.issuedAt = now;
    receipt.total = Money();
    for (const ReceiptLine& line : lines)
        receipt.total += line.amount;
    receipt.id =
        sql::insert(db, QStringLiteral("receipt"),
                    {{QStringLiteral("receipt_no"), receipt.number},
                     {QStringLiteral("receipt_year"), receipt.year},
                     {QStringLiteral("receipt_seq"), receipt.seq},
                     {QStringLiteral("owner_id"), receipt.ownerId},
                     {QStringLiteral("issued_at"), stamp(now)},
                     {QStringLiteral("op_code"), receipt.opCode},
                     {QStringLiteral("pay_way"), receipt.payWay},
                     {QStringLiteral("total"), receipt.total.toDb()},
                     {QStringLiteral("voids_id"), receipt.voidsId ? QVariant(receipt.voidsId) : QVariant()},
                     {QStringLiteral("reprints"), 0},
                     {QStringLiteral("remark"), receipt.remark}});
    for (const ReceiptLine& line : lines) {
        sql::insert(db, QStringLiteral("receipt_line"),
                    {{QStringLiteral("receipt_id"), receipt.id},
                     {QStringLiteral("take_id"), line.takeId},
                     {QStringLiteral("amount"), line.amount.toDb()}});
        sql::exec(db,
                  QStringLiteral("update charge_take set payment_real = coalesce(payment_real, 0) + ? "
                                 "where take_id = ?"),
                  {line.amount.toDb(), line.takeId});
    }
    return receipt;
}

} // namespace

QStringList payWays()
{
    return {QStringLiteral("现金"), QStringLiteral("微信"), QStringLiteral("支付宝"),
            QStringLiteral("银行转账"), QStringLiteral("其他")};
}

QString numberText(int year, int seq)
{
    return QStringLiteral("%1-%2").arg(year).arg(seq, 6, 10, QLatin1Char('0'));
}

Checked<Receipt> issue(const QSqlDatabase& db, const Payment& payment, const QDateTime& now)
{
    if (payment.ownerId == 0)
        return Refusal{QStringLiteral("请先选择一个住户！"), QStringLiteral("owner_id")};
    if (!payWays().contains(payment.payWay))
        return Refusal{QStringLiteral("请选择付款方式！"), QStringLiteral("pay_way")};
    if (payment.lines.isEmpty())
        return Refusal{QStringLiteral("请选择要付款的费用！")};
    QSet<qlonglong> seen;
    for (const ReceiptLine& line : payment.lines) {
        if (line.amount.hundredths() <= 0)
            return Refusal{QStringLiteral("收款金额须大于零！"), QStringLiteral("payment_real")};
        if (seen.contains(line.takeId))
            return Refusal{QStringLiteral("同一笔费用在一张收据上只能出现一次！")};
        seen.insert(line.takeId);
    }

    Transaction transaction(db);
    // Read under the write lock: what is due cannot change before the receipt is written.
    for (const ReceiptLine& line : payment.lines) {
        QSqlQuery record = sql::exec(
            db,
            QStringLiteral("select owner_id, should_pay, payment_real from charge_take where take_id = ?"),
            {line.takeId});
        if (!record.next())
            throw sql::recordGone(QStringLiteral("charge_take"), QStringLiteral("take_id"), line.takeId);
        if (record.value(0).toLongLong() != payment.ownerId)
            return Refusal{QStringLiteral("这笔费用不是这个住户的！")};
        const Money due = Decimal2::fromDb(record.value(1)).value_or(Money());
        const Money paid = Decimal2::fromDb(record.value(2)).value_or(Money());
        if (paid + line.amount > due)
            return Refusal{QStringLiteral("实付款不需要付这么多！"), QStringLiteral("payment_real")};
    }
    Receipt receipt;
    receipt.ownerId = payment.ownerId;
    receipt.opCode = payment.opCode;
    receipt.payWay = payment.payWay;
    receipt.remark = payment.remark.trimmed();
    receipt = write(db, receipt, payment.lines, now);
    transaction.commit();
    return receipt;
}

Checked<Receipt> voidReceipt(const QSqlDatabase& db, const Voiding& voiding, const QDateTime& now)
{
    if (voiding.reason.trimmed().isEmpty())
        return Refusal{QStringLiteral("请填写作废原因！"), QStringLiteral("remark")};
    Transaction transaction(db);
    const std::optional<Receipt> voided = load(db, voiding.receiptId);
    if (!voided)
        throw sql::recordGone(QStringLiteral("receipt"), QStringLiteral("receipt_id"), voiding.receiptId);
    if (voided->isHistorical())
        return Refusal{QStringLiteral("启用收据以前的付款不能作废！")};
    if (voided->isVoid())
        return Refusal{QStringLiteral("冲红收据不能再作废！")};
    if (voidOf(db, voided->id) != 0)
        return Refusal{QStringLiteral("收据%1已经作废！").arg(voided->number)};
    if (!voiding.mayVoidAny &&
        (voided->opCode != voiding.opCode || isClosed(db, voided->opCode, voided->issuedAt.date())))
        return Refusal{
            QStringLiteral("没有作废这张收据的权限：别人的收据和已日结的收据只能由有作废权限的操作员作废！")};

    QList<ReceiptLine> back;
    for (const ReceiptLine& line : lines(db, voided->id))
        back.append({line.takeId, -line.amount});
    Receipt reversal;
    reversal.ownerId = voided->ownerId;
    reversal.opCode = voiding.opCode;
    reversal.payWay = voided->payWay;
    reversal.voidsId = voided->id;
    reversal.remark = voiding.reason.trimmed();
    reversal = write(db, reversal, back, now);
    transaction.commit();
    return reversal;
}

int reprint(const QSqlDatabase& db, qlonglong receiptId)
{
    Transaction transaction(db);
    {
        const QSqlQuery counted = sql::exec(
            db,
            QStringLiteral("update receipt set reprints = coalesce(reprints, 0) + 1 where receipt_id = ?"),
            {receiptId});
        if (counted.numRowsAffected() != 1)
            throw sql::recordGone(QStringLiteral("receipt"), QStringLiteral("receipt_id"), receiptId);
    }
    const int count =
        sql::scalar(db, QStringLiteral("select reprints from receipt where receipt_id = ?"), {receiptId})
            .toInt();
    transaction.commit();
    return count;
}

QList<ListColumn> columns()
{
    using K = ListColumn::Kind;
    return {
        {QStringLiteral("receipt_id"), QString(), K::Number},
        {QStringLiteral("receipt_no"), QStringLiteral("收据号"), K::Code},
        {QStringLiteral("issued_at"), QStringLiteral("开票时间"), K::Code},
        {QStringLiteral("owner_name"), QStringLiteral("住户名称")},
        {QStringLiteral("pay_way"), QStringLiteral("付款方式"), K::Code},
        {QStringLiteral("total"), QStringLiteral("金额"), K::Decimal},
        {QStringLiteral("state"), QStringLiteral("状态"), K::Code},
        {QStringLiteral("op_code"), QStringLiteral("操作员"), K::Code},
        {QStringLiteral("reprints"), QStringLiteral("补打次数"), K::Number},
        {QStringLiteral("remark"), QStringLiteral("备注")},
    };
}

ListQuery list(const ReceiptFilter& filter)
{
    QStringList where;
    QVariantList values;
    if (filter.day) {
        where << QStringLiteral("r.issued_at >= ? and r.issued_at < ?");
        values << filter.day->toString(Qt::ISODate) << filter.day->addDays(1).toString(Qt::ISODate);
    }
    if (!filter.number.trimmed().isEmpty()) {
        where << sql::containsCondition(QStringLiteral("r.receipt_no"));
        values << sql::containsPattern(filter.number.trimmed());
    }
    if (!filter.owner.trimmed().isEmpty()) {
        where << sql::containsCondition(QStringLiteral("o.owner_name"));
        values << sql::containsPattern(filter.owner.trimmed());
    }
    if (!filter.opCode.trimmed().isEmpty()) {
        where << QStringLiteral("r.op_code = ?");
        values << filter.opCode.trimmed();
    }
    return {
        QStringLiteral("(select r.*, o.owner_name, case when r.voids_id is not null then '冲红' "
                       "when exists (select 1 from receipt v where v.voids_id = r.receipt_id) then '已作废' "
                       "else '有效' end as state from receipt r "
                       "left join owner_info o on o.owner_id = r.owner_id") +
            (where.isEmpty() ? QString() : u" where " + where.join(QStringLiteral(" and "))) +
            QStringLiteral(") l"),
        {},
        values,
        {QStringLiteral("l.receipt_year"), QStringLiteral("l.receipt_seq"), QStringLiteral("l.receipt_id")}};
}

ExportDescription exported()
{
    ExportDescription d;
    d.title = QStringLiteral("收据登记");
    d.columnWidths = {{1, 14}, {2, 20}, {3, 24}};
    d.columns = ExportColumn::listed(columns());
    return d;
}

std::optional<Receipt> load(const QSqlDatabase& db, qlonglong id)
{
    QSqlQuery q =
        sql::exec(db, u"select " + QLatin1StringView(kColumns) + u" from receipt where receipt_id = ?", {id});
    if (!q.next())
        return std::nullopt;
    return fromRow(q);
}

QList<ReceiptLine> lines(const QSqlDatabase& db, qlonglong receiptId)
{
    QList<ReceiptLine> result;
    QSqlQuery q = sql::exec(
        db, QStringLiteral("select take_id, amount from receipt_line where receipt_id = ? order by line_id"),
        {receiptId});
    while (q.next())
        result.append({q.value(0).toLongLong(), Decimal2::fromDb(q.value(1)).value_or(Money())});
    return result;
}

qlonglong voidOf(const QSqlDatabase& db, qlonglong receiptId)
{
    return sql::scalar(db, QStringLiteral("select receipt_id from receipt where voids_id = ?"), {receiptId})
        .toLongLong();
}

QList<qlonglong> unbalancedRecords(const QSqlDatabase& db)
{
    QList<qlonglong> result;
    QSqlQuery q =
        sql::exec(db, QStringLiteral("select c.take_id from charge_take c "
                                     "left join (select take_id, cast(sum(amount) as bigint) as paid "
                                     "from receipt_line group by take_id) l on l.take_id = c.take_id "
                                     "where coalesce(c.payment_real, 0) <> coalesce(l.paid, 0) "
                                     "order by c.take_id"));
    while (q.next())
        result << q.value(0).toLongLong();
    return result;
}

DayTotals dayTotals(const QSqlDatabase& db, const QString& opCode, const QDate& day)
{
    DayTotals totals;
    const QString from = day.toString(Qt::ISODate);
    const QString to = day.addDays(1).toString(Qt::ISODate);
    QSqlQuery q = sql::exec(
        db,
        QStringLiteral("select pay_way, voids_id is not null, count(*), "
                       "cast(coalesce(sum(total), 0) as bigint), "
                       "cast(coalesce(sum(reprints), 0) as bigint) from receipt "
                       "where op_code = ? and issued_at >= ? and issued_at < ? and receipt_year > 0 "
                       "group by pay_way, voids_id is not null order by pay_way"),
        {opCode, from, to});
    while (q.next()) {
        const Money sum = Decimal2::fromDb(q.value(3)).value_or(Money());
        if (q.value(1).toBool())
            totals.voids += q.value(2).toInt();
        else
            totals.receipts += q.value(2).toInt();
        totals.reprints += q.value(4).toInt();
        totals.byWay[q.value(0).toString().trimmed()] += sum;
        totals.total += sum;
    }
    return totals;
}

bool isClosed(const QSqlDatabase& db, const QString& opCode, const QDate& day)
{
    return sql::exists(db, QStringLiteral("select 1 from cashier_day where op_code = ? and work_day = ?"),
                       {opCode, day.toString(Qt::ISODate)});
}

Checked<> closeDay(const QSqlDatabase& db, const QString& opCode, const QDate& day, const QString& closedBy,
                   const QDateTime& now)
{
    Transaction transaction(db);
    if (isClosed(db, opCode, day))
        return Refusal{QStringLiteral("%1的%2已经日结！").arg(opCode, day.toString(Qt::ISODate))};
    const DayTotals totals = dayTotals(db, opCode, day);
    sql::insert(db, QStringLiteral("cashier_day"),
                {{QStringLiteral("op_code"), opCode},
                 {QStringLiteral("work_day"), day.toString(Qt::ISODate)},
                 {QStringLiteral("closed_at"), stamp(now)},
                 {QStringLiteral("closed_by"), closedBy},
                 {QStringLiteral("receipts"), totals.receipts},
                 {QStringLiteral("voids"), totals.voids},
                 {QStringLiteral("total"), totals.total.toDb()}});
    transaction.commit();
    return Done{};
}

} // namespace receipt_store
