#pragma once

#include "app/Rights.h"
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

enum class Making { Made, CodeEmpty, CodeTooLong, CodeTaken };
// Makes an operator of an employee: the code as typed (trimmed), the default
// password (stored hashed), no rights. The check and the insert are one
// transaction.
Making make(const QSqlDatabase& db, const QString& code, const QString& employeeName);
void remove(const QSqlDatabase& db, const QString& code);

OperatorRights rights(const QSqlDatabase& db, const QString& code);
// Stores the six strings, each at the length the editor writes.
void saveRights(const QSqlDatabase& db, const QString& code,
                const std::array<QString, kRightsGroupCount>& strings);

} // namespace operator_register
