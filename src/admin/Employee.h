#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"
#include "output/ExportDescription.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// An employee of the office (table employee).
struct Employee
{
    qlonglong id = 0;
    std::optional<int> deptId; // none chosen
    QString name;
    QString sex;
    QDate birthday;
    QString marry;
    QString identityCard;
    QString polity;
    QString school;
    QString special;
    QDate graduate;
    QString grade;
    QString linkTel;
    QString post;
    QString position;
    QString oldCompany;
    QString homeAddress;
    QString registAddress;
    QString remarks;
};

// Reading and writing employees. Every function throws DbError.
namespace employee_store {

// Which employees the list shows: every one, or those of one department (a name
// of no department shows none).
struct Scope
{
    bool everyone = true;
    std::optional<qlonglong> deptId;
};

// The employees of the scope in the order they were entered, with the name of
// their department (dept_name) and every column, for the grid, print and export.
ListQuery list(const Scope& scope);
// The columns the printed list and the export read from list().
QStringList listedColumns();
// How the staff list's "Excel" button and `pelm export staff` write it.
ExportDescription exported();
std::optional<Employee> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, Employee employee);
void update(const QSqlDatabase& db, const Employee& employee);
// The employee as typed, its texts trimmed, or the first check it fails: a name.
Checked<Employee> check(const Employee& input);
// Checks the employee and stores it, new (number 0) or changed; its number.
Checked<qlonglong> save(const QSqlDatabase& db, const Employee& input);
void remove(const QSqlDatabase& db, qlonglong id);

} // namespace employee_store
