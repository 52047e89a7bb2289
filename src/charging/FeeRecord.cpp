#include "charging/FeeRecord.h"

#include "db/DbError.h"
#include "db/RecordMap.h"
#include "db/Sql.h"

namespace fee_store {
namespace {

const RecordMap<FeeRecord>& map()
{
    using M = RecordMap<FeeRecord>;
    static const M m = M(QStringLiteral("charge_take"), "take_id", &FeeRecord::id)
                           .field("owner_id", &FeeRecord::ownerId, M::Write::OnInsert)
                           .field("type_id", &FeeRecord::typeId)
                           .field("should_pay", &FeeRecord::shouldPay)
                           .field("payment_real", &FeeRecord::paymentReal)
                           .field("start_num", &FeeRecord::startNum)
                           .field("end_num", &FeeRecord::endNum)
                           .field("take_date", &FeeRecord::takeDate)
                           .field("remarks", &FeeRecord::remarks);
    return m;
}

ListQuery withTypeNames(QString where, QVariantList values)
{
    return {QStringLiteral("charge_take c left join charge_type t on t.type_id = c.type_id"),
            std::move(where),
            std::move(values),
            {QStringLiteral("c.take_id")}};
}

} // namespace

ListQuery ofOwner(qlonglong ownerId)
{
    return withTypeNames(QStringLiteral("c.owner_id = ?"), {ownerId});
}

ListQuery ofDay(const QDate& day)
{
    return withTypeNames(QStringLiteral("c.take_date = ?"), {sql::dateValue(day)});
}

ListQuery all()
{
    return withTypeNames({}, {});
}

std::optional<FeeRecord> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

Checked<Saved> save(const QSqlDatabase& db, FeeRecord record, const Cashier& cashier, const QDateTime& now)
{
    Transaction transaction(db);
    const Money typedPaid = record.paymentReal;
    Money paidBefore;
    if (record.id == 0) {
        record.paymentReal = Money();
        record.id = insert(db, record);
    } else {
        // Read under the write lock: a payment another workstation took meanwhile counts.
        const std::optional<FeeRecord> stored = load(db, record.id);
        if (!stored)
            throw sql::recordGone(QStringLiteral("charge_take"), QStringLiteral("take_id"), record.id);
        paidBefore = stored->paymentReal;
        record.ownerId = stored->ownerId; // a record never moves to another owner
        if (typedPaid < paidBefore)
            return Refusal{QStringLiteral("实付款不能改小：已收的款项有收据，请在收据登记中作废收据。"),
                           QStringLiteral("payment_real")};
        record.paymentReal = paidBefore;
        update(db, record);
    }
    Saved saved{record.id, std::nullopt};
    if (typedPaid > paidBefore) {
        const Checked<Receipt> receipt = receipt_store::issue(
            db, {record.ownerId, cashier.payWay, cashier.opCode, {{record.id, typedPaid - paidBefore}}}, now);
        if (!receipt.ok())
            return receipt.refusal();
        saved.receipt = receipt.value();
    }
    transaction.commit();
    return saved;
}

qlonglong insert(const QSqlDatabase& db, FeeRecord record)
{
    return map().insert(db, record).toLongLong();
}

void update(const QSqlDatabase& db, const FeeRecord& record)
{
    map().update(db, record);
}

Checked<> removeUnlessReceipted(const QSqlDatabase& db, qlonglong id)
{
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select 1 from receipt_line where take_id = ?"), {id}))
        return Refusal{QStringLiteral("这笔费用已开过收据，不能删除！")};
    remove(db, id);
    transaction.commit();
    return Done{};
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

Checked<std::optional<QDate>> storedMonth(const QString& text, const QString& column)
{
    if (text.isEmpty())
        return std::optional<QDate>();
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (date.isValid())
        return std::optional<QDate>(date);
    if (column == u"end_num")
        return Refusal{QStringLiteral("截止日期数值不正确，请正确填写！"), column};
    return Refusal{QStringLiteral("起始日期数值不正确，请正确填写！"), column};
}

std::optional<Area> billedArea(const QSqlDatabase& db, qlonglong ownerId)
{
    const QVariant sum =
        sql::scalar(db,
                    QStringLiteral("select cast(sum(build_area) as bigint) from rooms_info where room_id in "
                                   "(select room_id from owner_rooms where owner_id = ? and if_manage = ?)"),
                    {ownerId, QStringLiteral("是")});
    return Decimal2::fromDb(sum);
}

} // namespace fee_store
