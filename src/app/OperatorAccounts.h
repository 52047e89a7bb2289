#pragma once

#include "app/Rights.h"
#include "core/ScreenContext.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// Logging in and changing passwords against the operator table.
namespace operator_accounts {

// Codes and passwords hold at most six characters.
inline constexpr int kMaxCodeLength = 6;
inline constexpr int kMaxPasswordLength = 6;

struct Login
{
    OperatorIdentity identity;
    OperatorRights rights;
};

// An empty operator table receives the default administrator: code "admin", name
// "管理员", empty password, edit rights on the base-information group only.
// Returns whether it was inserted. Throws DbError.
bool ensureDefaultAdministrator(const QSqlDatabase& db);

// The operator whose code and password these are; nothing when either is wrong.
// Both are compared as given (the caller trims). Throws DbError.
std::optional<Login> verify(const QSqlDatabase& db, const QString& code, const QString& password);

// Stores the hash of a new password for the operator. An operator another copy
// removed meanwhile throws DbError of kind RecordGone.
void setPassword(const QSqlDatabase& db, const QString& code, const QString& password);

} // namespace operator_accounts
