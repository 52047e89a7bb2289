#include "services/ServiceOrders.h"

#include "db/NumberInput.h"
#include "db/RecordMap.h"

namespace service_order_store {
namespace {

const RecordMap<ServiceOrder>& map()
{
    using O = ServiceOrder;
    using M = RecordMap<O>;
    static const M m = M(QStringLiteral("serveorder"), "id", &O::id)
                           .field("owner_id", &O::ownerId, M::Write::OnInsert)
                           .field("record_date", &O::recordDate)
                           .field("send_dept", &O::sendDept)
                           .field("rece_dept", &O::receDept)
                           .field("order_time", &O::orderTime)
                           .field("cust_write", &O::custWrite)
                           .field("link_tel", &O::linkTel)
                           .field("recorder", &O::recorder)
                           .field("take_money", &O::takeMoney)
                           .field("take_stand", &O::takeStand)
                           .memo("server_item", &O::serverItem)
                           .memo("remark", &O::remark);
    return m;
}

} // namespace

ListQuery ofOwner(qlonglong ownerId)
{
    // No owner chosen lists nothing, not the orders stored without an owner.
    if (ownerId == 0)
        return {QStringLiteral("serveorder"), QStringLiteral("1 = 0"), {}, {QStringLiteral("id")}};
    return {QStringLiteral("serveorder"), QStringLiteral("owner_id = ?"), {ownerId}, {QStringLiteral("id")}};
}

qlonglong latestOf(const QSqlDatabase& db, qlonglong ownerId)
{
    return sql::scalar(db, QStringLiteral("select max(id) from serveorder where owner_id = ?"), {ownerId})
        .toLongLong();
}

std::optional<ServiceOrder> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, ServiceOrder order)
{
    return map().insert(db, order).toLongLong();
}

void update(const QSqlDatabase& db, const ServiceOrder& order)
{
    map().update(db, order);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

ServiceOrderInput typed(const ServiceOrder& order)
{
    return {order.id,         order.ownerId,
            order.recordDate, order.sendDept,
            order.receDept,   order.orderTime,
            order.custWrite,  order.linkTel,
            order.recorder,   order.takeMoney ? order.takeMoney->toString(2) : QString(),
            order.takeStand,  order.serverItem,
            order.remark};
}

Checked<qlonglong> save(const QSqlDatabase& db, const ServiceOrderInput& input)
{
    ServiceOrder order;
    order.id = input.id;
    order.ownerId = input.ownerId;
    order.recordDate = input.recordDate;
    order.sendDept = input.sendDept.trimmed();
    order.receDept = input.receDept.trimmed();
    order.orderTime = input.orderTime.trimmed();
    order.custWrite = input.custWrite.trimmed();
    order.linkTel = input.linkTel.trimmed();
    order.recorder = input.recorder.trimmed();
    order.takeStand = input.takeStand.trimmed();
    order.serverItem = input.serverItem;
    order.remark = input.remark;
    order.takeMoney = number_input::optionalDecimal(input.takeMoney, "serveorder", "take_money");
    if (order.id == 0) {
        // Every order belongs to an owner.
        if (order.ownerId == 0)
            return Refusal{QStringLiteral("请先增加业主!")};
        return insert(db, order);
    }
    update(db, order);
    return order.id;
}

} // namespace service_order_store
