#include "services/Security.h"

#include "db/RecordMap.h"

namespace event_store {
namespace {

const RecordMap<SecurityEvent>& map()
{
    using M = RecordMap<SecurityEvent>;
    static const M m = M(QStringLiteral("event"), "event_id", &SecurityEvent::id)
                           .field("event_name", &SecurityEvent::name)
                           .field("event_type", &SecurityEvent::type)
                           .field("deal_man", &SecurityEvent::dealMan)
                           .field("take_time", &SecurityEvent::takeTime)
                           .field("take_address", &SecurityEvent::address)
                           .memo("detail", &SecurityEvent::detail)
                           .memo("deal_result", &SecurityEvent::dealResult);
    return m;
}

} // namespace

ListQuery list()
{
    return {QStringLiteral("event"), {}, {}, {QStringLiteral("event_id")}};
}

std::optional<SecurityEvent> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, SecurityEvent event)
{
    return map().insert(db, event).toLongLong();
}

void update(const QSqlDatabase& db, const SecurityEvent& event)
{
    map().update(db, event);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

Checked<qlonglong> save(const QSqlDatabase& db, SecurityEvent event)
{
    for (QString* text : {&event.name, &event.type, &event.dealMan, &event.address})
        *text = text->trimmed();
    if (event.name.isEmpty())
        return Refusal{QStringLiteral("请输入事件名称！"), QStringLiteral("event_name")};
    if (event.id == 0)
        return insert(db, event);
    update(db, event);
    return event.id;
}

} // namespace event_store

namespace fire_zone_store {
namespace {

const RecordMap<FireZone>& map()
{
    using M = RecordMap<FireZone>;
    static const M m = M(QStringLiteral("fire_area"), "fire_id", &FireZone::id)
                           .field("area_name", &FireZone::areaName)
                           .field("grade", &FireZone::grade)
                           .field("address", &FireZone::address)
                           .field("fire_area", &FireZone::fireArea)
                           .field("checker", &FireZone::checker)
                           .field("cycle", &FireZone::cycle)
                           .field("fireman", &FireZone::fireman)
                           .field("equipment", &FireZone::equipment)
                           .memo("remark", &FireZone::remark);
    return m;
}

} // namespace

ListQuery list()
{
    return {QStringLiteral("fire_area"), {}, {}, {QStringLiteral("fire_id")}};
}

std::optional<FireZone> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, FireZone zone)
{
    return map().insert(db, zone).toLongLong();
}

void update(const QSqlDatabase& db, const FireZone& zone)
{
    map().update(db, zone);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

Checked<qlonglong> save(const QSqlDatabase& db, FireZone zone)
{
    for (QString* text : {&zone.areaName, &zone.grade, &zone.address, &zone.fireArea, &zone.checker,
                          &zone.cycle, &zone.fireman, &zone.equipment})
        *text = text->trimmed();
    if (zone.areaName.isEmpty())
        return Refusal{QStringLiteral("请输入片区名称！"), QStringLiteral("area_name")};
    if (zone.id == 0)
        return insert(db, zone);
    update(db, zone);
    return zone.id;
}

} // namespace fire_zone_store
