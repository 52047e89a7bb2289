#pragma once

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
// Stores new kinds (number 0) and changed ones in one transaction.
void store(const QSqlDatabase& db, const QList<DeviceType>& types);
// Deletes a kind unless a device is of it; false when refused.
bool removeUnlessUsed(const QSqlDatabase& db, qlonglong id);

} // namespace device_type_store
