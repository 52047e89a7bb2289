#pragma once

#include "app/Rights.h"
#include "core/Checked.h"
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

// The login of the code and password as typed (trimmed), or the refusal of a
// wrong code or password. Throws DbError.
Checked<Login> logIn(const QSqlDatabase& db, const QString& code, const QString& password);

// Whether the operator may go on to choose a new password, the code and the old
// password as typed (trimmed): a code, and a password that is the operator's. An
// empty old password is taken only from an operator whose password is empty (the
// default administrator), who could never set one otherwise. Throws DbError.
Checked<> mayChangePassword(const QSqlDatabase& db, const QString& code, const QString& password);

// The refusal of a new password typed twice differently.
inline const QString kPasswordsDiffer = QStringLiteral("两次密码输入不一致!");
// The new password as typed twice (trimmed), or the first check it fails: both
// the same (kPasswordsDiffer), at most six characters (refused, never cut).
Checked<QString> checkNewPassword(const QString& first, const QString& second);

// Stores the hash of a new password for the operator. An operator another copy
// removed meanwhile throws DbError of kind RecordGone.
void setPassword(const QSqlDatabase& db, const QString& code, const QString& password);

} // namespace operator_accounts
