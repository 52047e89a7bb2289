#include "charging/FeeRecord.h"

#include "db/RecordMap.h"

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

qlonglong insert(const QSqlDatabase& db, FeeRecord record)
{
    return map().insert(db, record).toLongLong();
}

void update(const QSqlDatabase& db, const FeeRecord& record)
{
    map().update(db, record);
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
