#include "support/Estate.h"

#include "core/Decimal2.h"
#include "db/DbError.h"
#include "db/Sql.h"

#include <stdexcept>

namespace {

// A typed amount as the database keeps it (hundredths); empty text is null.
QVariant hundredths(const QString& text)
{
    if (text.isEmpty())
        return {};
    const std::optional<Decimal2> d = Decimal2::parse(text);
    if (!d)
        throw std::runtime_error("not an amount in a test fact: " + text.toStdString());
    return d->toDb();
}

} // namespace

qlonglong Estate::insert(const QString& table, const QList<std::pair<QString, QVariant>>& values)
{
    try {
        return sql::insert(m_db, table, values);
    } catch (const DbError& e) {
        throw std::runtime_error("test fact refused: " + e.text().toStdString() + " " +
                                 e.detail().toStdString());
    }
}

qlonglong Estate::addBuilding(const QString& name)
{
    return insert(QStringLiteral("garden"), {{QStringLiteral("garden_name"), name}});
}

void Estate::addRoom(const Room& r)
{
    insert(QStringLiteral("rooms_info"), {{QStringLiteral("room_id"), r.id},
                                          {QStringLiteral("garden_id"), r.building},
                                          {QStringLiteral("build_area"), hundredths(r.buildArea)},
                                          {QStringLiteral("use_state"), r.useState},
                                          {QStringLiteral("match"), r.match}});
}

qlonglong Estate::addOwner(const Owner& o)
{
    return insert(QStringLiteral("owner_info"), {{QStringLiteral("owner_name"), o.name},
                                                 {QStringLiteral("in_out"), o.inOut},
                                                 {QStringLiteral("linker"), o.linker},
                                                 {QStringLiteral("link_tel"), o.linkTel},
                                                 {QStringLiteral("in_date"), o.inDate},
                                                 {QStringLiteral("jjlink"), o.jjlink},
                                                 {QStringLiteral("bail_money"), hundredths(o.bailMoney)},
                                                 {QStringLiteral("credit"), o.credit}});
}

qlonglong Estate::linkRoom(qlonglong owner, const QString& room, const QString& remark)
{
    return insert(QStringLiteral("owner_rooms"), {{QStringLiteral("owner_id"), owner},
                                                  {QStringLiteral("room_id"), room},
                                                  {QStringLiteral("relation_desc"), remark}});
}

qlonglong Estate::addMember(qlonglong owner, const QString& name, const QVariant& sex)
{
    return insert(QStringLiteral("member"), {{QStringLiteral("owner_id"), owner},
                                             {QStringLiteral("member_name"), name},
                                             {QStringLiteral("sex"), sex}});
}

qlonglong Estate::addCar(qlonglong owner, const QString& number, const QString& remark)
{
    return insert(QStringLiteral("car"), {{QStringLiteral("owner_id"), owner},
                                          {QStringLiteral("car_no"), number},
                                          {QStringLiteral("remark"), remark}});
}

qlonglong Estate::addParkingPlace(qlonglong owner, const QString& number)
{
    return insert(QStringLiteral("park"),
                  {{QStringLiteral("owner_id"), owner}, {QStringLiteral("park_no"), number}});
}

qlonglong Estate::addChargeType(const QString& name, const QString& unitPrice, const QString& rule)
{
    return insert(QStringLiteral("charge_type"), {{QStringLiteral("type_name"), name},
                                                  {QStringLiteral("unit_price"), hundredths(unitPrice)},
                                                  {QStringLiteral("take_type"), rule}});
}

qlonglong Estate::addFee(const Fee& f)
{
    return insert(QStringLiteral("charge_take"), {{QStringLiteral("owner_id"), f.owner},
                                                  {QStringLiteral("type_id"), f.type},
                                                  {QStringLiteral("should_pay"), hundredths(f.shouldPay)},
                                                  {QStringLiteral("payment_real"), hundredths(f.paid)},
                                                  {QStringLiteral("take_date"), f.date}});
}
