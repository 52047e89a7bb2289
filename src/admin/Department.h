#pragma once

#include "core/Checked.h"
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

// The department as typed (name and leader trimmed, the duties as they are), or
// the first check it fails: a name.
Checked<Department> check(const Department& input);
// Checks the department and stores it, new (number 0) or changed; its number. A
// new department whose name another already has is refused, checked in the
// insert's transaction; a renamed one is not checked.
Checked<qlonglong> save(const QSqlDatabase& db, const Department& input);
// Deletes the department unless an employee, a requisition or a department-goods
// row belongs to it; the check runs in the delete's transaction.
Checked<> removeUnlessUsed(const QSqlDatabase& db, qlonglong id);

} // namespace department_store
