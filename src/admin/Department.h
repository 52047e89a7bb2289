#pragma once

#include "db/ListQuery.h"
#include "db/NamedKey.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// A department of the office (table department); departments form a flat list.
struct Department
{
    qlonglong id = 0;
    QString name;
    QString manager;
    QString dutyDesc; // kept as typed
};

// Reading and writing departments. Every function throws DbError.
namespace department_store {

// Every department in the order of their names.
ListQuery list();
QList<NamedKey> names(const QSqlDatabase& db);
std::optional<Department> load(const QSqlDatabase& db, qlonglong id);
// The first department of that name.
std::optional<qlonglong> idByName(const QSqlDatabase& db, const QString& name);
bool nameExists(const QSqlDatabase& db, const QString& name);
qlonglong insert(const QSqlDatabase& db, Department department);
void update(const QSqlDatabase& db, const Department& department);
enum class Removal {
    Removed,
    HasEmployees,     // an employee belongs to it: kept
    HasOfficeSupplies // requisitions or department goods name it: kept
};
// Deletes the department unless an employee, a requisition or a department-goods
// row belongs to it.
Removal removeUnlessUsed(const QSqlDatabase& db, qlonglong id);

} // namespace department_store
