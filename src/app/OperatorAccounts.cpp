#include "app/OperatorAccounts.h"

#include "app/PasswordHash.h"
#include "db/Sql.h"

#include <QSqlQuery>

namespace operator_accounts {

bool ensureDefaultAdministrator(const QSqlDatabase& db)
{
    const QString anyOperator = QStringLiteral("select op_code from operator limit 1");
    if (sql::exists(db, anyOperator))
        return false;
    // Several copies may start on a new file at once. The hash takes a while, so
    // it is made before the write lock is taken; under the lock the table is
    // looked at again, and only the first copy there inserts.
    const QString hash = password_hash::hash(QString());
    Transaction transaction(db);
    if (sql::exists(db, anyOperator))
        return false;
    sql::exec(
        db, QStringLiteral("insert into operator (op_code, op_name, password, popebase) values (?, ?, ?, ?)"),
        {QStringLiteral("admin"), QStringLiteral("管理员"), hash, QStringLiteral("22222222222")});
    transaction.commit();
    return true;
}

std::optional<Login> verify(const QSqlDatabase& db, const QString& code, const QString& password)
{
    QSqlQuery query =
        sql::exec(db,
                  QStringLiteral("select op_name, password, popebase, popeadmin, popecharge, "
                                 "PopeManage, PopeQuery, popepara from operator where op_code = ?"),
                  {code});
    if (!query.next())
        return std::nullopt;
    if (!password_hash::verify(query.value(1).toString(), password))
        return std::nullopt;

    std::array<QString, kRightsGroupCount> strings;
    for (int i = 0; i < kRightsGroupCount; ++i)
        strings[static_cast<std::size_t>(i)] = query.value(2 + i).toString();
    return Login{{code, query.value(0).toString().trimmed()}, OperatorRights(strings)};
}

void setPassword(const QSqlDatabase& db, const QString& code, const QString& password)
{
    sql::updateOne(db, QStringLiteral("operator"),
                   {{QStringLiteral("password"), password_hash::hash(password)}}, QStringLiteral("op_code"),
                   code);
}

namespace {

const QString kMismatch = QStringLiteral("用户名密码不一致，请重新输入！！");

} // namespace

Checked<Login> logIn(const QSqlDatabase& db, const QString& code, const QString& password)
{
    std::optional<Login> login = verify(db, code.trimmed(), password.trimmed());
    if (!login)
        return Refusal{kMismatch};
    return *login;
}

Checked<> mayChangePassword(const QSqlDatabase& db, const QString& typedCode, const QString& typedPassword)
{
    const QString code = typedCode.trimmed();
    const QString password = typedPassword.trimmed();
    if (code.isEmpty() || (password.isEmpty() && !verify(db, code, QString())))
        return Refusal{QStringLiteral("请输入用户代码和密码！")};
    if (!verify(db, code, password))
        return Refusal{kMismatch};
    return Done{};
}

Checked<QString> checkNewPassword(const QString& first, const QString& second)
{
    const QString password = first.trimmed();
    if (password != second.trimmed())
        return Refusal{kPasswordsDiffer};
    if (password.size() > kMaxPasswordLength)
        return Refusal{QStringLiteral("密码最多6个字符，请重新输入！")};
    return password;
}

} // namespace operator_accounts
