#pragma once

#include "core/Checked.h"
#include "core/Decimal2.h"
#include "db/ListQuery.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// Orders for chargeable services an owner asks the office for (table
// serveorder): who issued and who received the order, the appointment, the
// service, the tariff and the fee, the customer's signature and who recorded it.
// An order belongs to the owner it was entered for. Every function throws
// DbError.
struct ServiceOrder
{
    qlonglong id = 0;
    qlonglong ownerId = 0; // kept by a change
    QDate recordDate = {};
    QString sendDept = {};
    QString receDept = {};
    QString orderTime = {}; // the appointment, free text
    QString custWrite = {}; // the customer's signature
    QString linkTel = {};
    QString recorder = {};
    std::optional<Money> takeMoney = {};
    QString takeStand = {};  // the tariff
    QString serverItem = {}; // the service, as typed
    QString remark = {};     // as typed
};

// What the operator typed into the boxes of an order.
struct ServiceOrderInput
{
    qlonglong id = 0;      // the order shown; 0 for a new one
    qlonglong ownerId = 0; // the owner a new order is entered for
    QDate recordDate = {};
    QString sendDept = {};
    QString receDept = {};
    QString orderTime = {};
    QString custWrite = {};
    QString linkTel = {};
    QString recorder = {};
    QString takeMoney = {};
    QString takeStand = {};
    QString serverItem = {};
    QString remark = {};
};

namespace service_order_store {

// The owner's orders in the order they were entered, every column; nothing for
// no owner (0).
ListQuery ofOwner(qlonglong ownerId);
// The owner's latest order (the last entered), or 0 when the owner has none.
qlonglong latestOf(const QSqlDatabase& db, qlonglong ownerId);
std::optional<ServiceOrder> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, ServiceOrder order);
void update(const QSqlDatabase& db, const ServiceOrder& order);
void remove(const QSqlDatabase& db, qlonglong id);

// The order as its boxes show it.
ServiceOrderInput typed(const ServiceOrder& order);

// Stores the typed boxes as a new order of the owner or over the order shown
// (which keeps its own owner). One-line texts are stored trimmed, the service and
// the remark as typed. A fee that is no amount is refused with the general
// conversion error (a DbError); an order without an owner is refused.
Checked<qlonglong> save(const QSqlDatabase& db, const ServiceOrderInput& input);

} // namespace service_order_store
