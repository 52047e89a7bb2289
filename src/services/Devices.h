#pragma once

#include "core/Checked.h"
#include "core/Decimal2.h"
#include "db/ListQuery.h"
#include "db/NamedKey.h"
#include "output/ExportDescription.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The register of the building's engineering devices, grouped by device kind
// (dev_type), and each device's faults and repairs. A device keeps the kind it was
// entered under, a repair its device. Every function throws DbError.

// A device (table device).
struct Device
{
    qlonglong id = 0;
    qlonglong typeId = 0; // kept by a change
    QString devNo = {};
    QString name = {};
    QDate useDate = {};
    QString factory = {};
    QString linkTel = {};
    QString voltage = {};
    QDate factoryDate = {};
    QString power = {};
    QString curr = {};
    std::optional<int> oldYear = {}; // whole years
    QString palace = {};
    QString remark = {}; // as typed
};

// What the operator typed into the device's boxes.
struct DeviceInput
{
    qlonglong id = 0;     // the device shown; 0 for a new one
    qlonglong typeId = 0; // the kind a new device is entered under
    QString devNo = {};
    QString name = {};
    QDate useDate = {};
    QString factory = {};
    QString linkTel = {};
    QString voltage = {};
    QDate factoryDate = {};
    QString power = {};
    QString curr = {};
    QString oldYear = {};
    QString palace = {};
    QString remark = {};
};

namespace device_store {

// The device kinds in the order of their numbers, for the kind box.
QList<NamedKey> kinds(const QSqlDatabase& db);
// The first kind of that name (trimmed), in the order of their numbers.
std::optional<qlonglong> kindByName(const QSqlDatabase& db, const QString& name);

// The devices of one kind in the order they were entered, every column; nothing
// for no kind (0).
ListQuery ofKind(qlonglong typeId);
// How the device list's "Excel" button and `pelm export devices` write it.
ExportDescription exported();
std::optional<Device> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, Device device);
void update(const QSqlDatabase& db, const Device& device);
// Deletes the device; its repairs stay in their table.
void remove(const QSqlDatabase& db, qlonglong id);

// The device as its boxes show it.
DeviceInput typed(const Device& device);

// Checks the boxes (number, name, then the years) and stores them as a new device
// of the kind or over the device shown. Two devices may share a number.
Checked<qlonglong> save(const QSqlDatabase& db, const DeviceInput& input);

} // namespace device_store

// A fault of a device and its repair (table repair).
struct Repair
{
    qlonglong id = 0;
    qlonglong devId = 0;    // kept by a change
    QString faultTime = {}; // "yyyy-MM-dd HH:mm:ss", or empty
    QString faultDesc = {};
    QString cause = {};
    QString result = {};
    QString repairer = {}; // the column "repair"
    QString repairTime = {};
    std::optional<Money> money = {};
    QString desc = {}; // repair_desc, as typed
    QString finishTime = {};
};

// What the operator entered for a repair: the times from the date and time
// pickers (an invalid date for none), the rest as typed.
struct RepairInput
{
    qlonglong id = 0;    // the repair shown; 0 for a new one
    qlonglong devId = 0; // the device a new repair is entered for
    QDate faultDate = {};
    QTime faultClock = {};
    QString faultDesc = {};
    QString cause = {};
    QString result = {};
    QString repairer = {};
    QString money = {};
    QString desc = {};
    QDate finishDate = {};
    QTime finishClock = {};
};

namespace repair_store {

// The repairs of one device in the order they were entered; nothing for no
// device (0).
ListQuery ofDevice(qlonglong devId);
std::optional<Repair> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, Repair repair);
void update(const QSqlDatabase& db, const Repair& repair);
void remove(const QSqlDatabase& db, qlonglong id);

// The repair as its boxes and pickers show it: a time the pickers' day (invalid
// for none) and their hour and minute.
RepairInput typed(const Repair& repair);

// Checks the boxes (the fault description, then the cost) and stores them as a
// new repair of the device or over the repair shown; the times are the days of
// the date pickers at the hour and minute of the time pickers.
Checked<qlonglong> save(const QSqlDatabase& db, const RepairInput& input);

// A stored date and time as a QDateTime; invalid for none.
QDateTime toDateTime(const QString& stored);

} // namespace repair_store
