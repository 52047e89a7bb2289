#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

// A kind of engineering device (table dev_type).
struct DeviceType
{
    qlonglong id = 0;
    QString name;
};

// Reading and writing device kinds. Every function throws DbError.
namespace device_type_store {

// Every kind in the order of their numbers.
ListQuery list();
// The kind as typed, its name trimmed, or the first check it fails: a name.
Checked<DeviceType> check(const DeviceType& type);
// Stores new kinds (number 0) and changed ones in one transaction, or refuses
// them all when one fails its check.
Checked<> store(const QSqlDatabase& db, const QList<DeviceType>& types);
// Deletes a kind, or refuses while a device is of it.
Checked<> removeUnlessUsed(const QSqlDatabase& db, qlonglong id);

} // namespace device_type_store
