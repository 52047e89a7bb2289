#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The two registers of the security office: notable security events (table
// event) and the fire-protection zones (fire_area). Every function throws DbError.

// A security event.
struct SecurityEvent
{
    qlonglong id = 0;
    QString name = {};
    QString type = {};
    QString dealMan = {};
    QDate takeTime = {}; // the day it happened
    QString address = {};
    QString detail = {};     // as typed
    QString dealResult = {}; // as typed
};

namespace event_store {

// Every event in the order they were entered, every column.
ListQuery list();
std::optional<SecurityEvent> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, SecurityEvent event);
void update(const QSqlDatabase& db, const SecurityEvent& event);
void remove(const QSqlDatabase& db, qlonglong id);

// Stores a new event (id 0) or the event shown once it is named; one-line texts
// are stored trimmed, the two memos as typed.
Checked<qlonglong> save(const QSqlDatabase& db, SecurityEvent event);

} // namespace event_store

// A fire-protection zone.
struct FireZone
{
    qlonglong id = 0;
    QString areaName = {};
    QString grade = {};
    QString address = {};
    QString fireArea = {};
    QString checker = {};
    QString cycle = {};
    QString fireman = {};
    QString equipment = {};
    QString remark = {}; // as typed
};

namespace fire_zone_store {

// Every zone in the order they were entered, every column.
ListQuery list();
std::optional<FireZone> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, FireZone zone);
void update(const QSqlDatabase& db, const FireZone& zone);
void remove(const QSqlDatabase& db, qlonglong id);

// Stores a new zone (id 0) or the zone shown once it is named; one-line texts are
// stored trimmed, the remark as typed.
Checked<qlonglong> save(const QSqlDatabase& db, FireZone zone);

} // namespace fire_zone_store
