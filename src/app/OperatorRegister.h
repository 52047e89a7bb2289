#pragma once

#include "app/Rights.h"
#include "core/Checked.h"
#include "db/NamedKey.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>

// An operator as the operators' lists show it: code and name.
struct OperatorEntry
{
    QString code;
    QString name;
};

// Who may log in: operators made from employees, removed again, and their rights.
// Every function throws DbError.
namespace operator_register {

// New operators log in with this password until they change it.
inline constexpr char16_t kDefaultPassword[] = u"123";

// Every operator in the order of their names.
QList<OperatorEntry> operators(const QSqlDatabase& db);
// The employees who are not operators (an operator and an employee of one name
// are one person), in the order of their names.
QList<NamedKey> employeesNotOperators(const QSqlDatabase& db);
// The first employee of that name, or 0.
qlonglong employeeIdByName(const QSqlDatabase& db, const QString& name);

// The code as typed (trimmed), or the first check it fails: a code, of at most
// six characters (refused, never cut).
Checked<QString> checkCode(const QString& typedCode);
// Makes an operator of an employee: the code as typed (checked), the default
// password (stored hashed), no rights. A code another operator has is refused;
// the check and the insert are one transaction.
Checked<> make(const QSqlDatabase& db, const QString& code, const QString& employeeName);

// Some operator must always be left who may edit operators: without one nobody
// could grant a right again, and with no operator at all the next login would
// make an administrator without a password for whoever sits at the keyboard.
// Removing that last one, or taking its right away, is refused. The check and
// the write are one transaction.
Checked<> remove(const QSqlDatabase& db, const QString& code);

OperatorRights rights(const QSqlDatabase& db, const QString& code);
// Stores the six strings, each at the length the editor writes.
Checked<> saveRights(const QSqlDatabase& db, const QString& code,
                     const std::array<QString, kRightsGroupCount>& strings);

} // namespace operator_register
