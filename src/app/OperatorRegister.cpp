#include "app/OperatorRegister.h"

#include "app/OperatorAccounts.h"
#include "app/PasswordHash.h"
#include "db/PinyinCollation.h"
#include "db/Sql.h"

#include <QSqlQuery>

namespace operator_register {

QList<OperatorEntry> operators(const QSqlDatabase& db)
{
    QList<OperatorEntry> result;
    QSqlQuery q = sql::exec(db, QStringLiteral("select op_code, op_name from operator order by ") +
                                    pinyin::byName(QStringLiteral("op_name")) + QStringLiteral(", op_code"));
    while (q.next())
        result.append({q.value(0).toString().trimmed(), q.value(1).toString().trimmed()});
    return result;
}

QList<NamedKey> employeesNotOperators(const QSqlDatabase& db)
{
    QList<NamedKey> result;
    QSqlQuery q =
        sql::exec(db, QStringLiteral("select emp_id, emp_name from employee e where not exists "
                                     "(select op_code from operator o where o.op_name = e.emp_name) "
                                     "order by ") +
                          pinyin::byName(QStringLiteral("emp_name")) + QStringLiteral(", emp_id"));
    while (q.next())
        result.append({q.value(0).toLongLong(), q.value(1).toString().trimmed()});
    return result;
}

qlonglong employeeIdByName(const QSqlDatabase& db, const QString& name)
{
    return sql::scalar(
               db, QStringLiteral("select emp_id from employee where emp_name = ? order by emp_id limit 1"),
               {name})
        .toLongLong();
}

Checked<QString> checkCode(const QString& typedCode)
{
    const QString code = typedCode.trimmed();
    const QString field = QStringLiteral("op_code");
    if (code.isEmpty())
        return Refusal{QStringLiteral("请填写操作员代码!"), field};
    if (code.size() > operator_accounts::kMaxCodeLength)
        return Refusal{QStringLiteral("操作员代码最多6个字符，请另写一个代码！"), field};
    return code;
}

Checked<> make(const QSqlDatabase& db, const QString& typedCode, const QString& employeeName)
{
    const Checked<QString> checked = checkCode(typedCode);
    if (!checked.ok())
        return checked.refusal();
    const QString& code = checked.value();
    const QString hash = password_hash::hash(QString::fromUtf16(kDefaultPassword));
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select op_code from operator where op_code = ?"), {code}))
        return Refusal{QStringLiteral("此操作员代码已经存在了，请另写一个代码！"), QStringLiteral("op_code")};
    sql::insert(db, QStringLiteral("operator"),
                {{QStringLiteral("op_code"), code},
                 {QStringLiteral("op_name"), employeeName.trimmed()},
                 {QStringLiteral("password"), hash}});
    transaction.commit();
    return Done{};
}

namespace {

Refusal lastOperatorEditor()
{
    return {QStringLiteral("至少要保留一个有“操作员信息”编辑权限的操作员，否则以后无人能再管理操作员和权限。"
                           "未做任何改动。")};
}

// Whether an operator other than `code` may edit operators.
bool anotherMayEditOperators(const QSqlDatabase& db, const QString& code)
{
    QSqlQuery q = sql::exec(db,
                            QStringLiteral("select ") + OperatorRights::columnName(RightsGroup::Base) +
                                QStringLiteral(" from operator where op_code <> ?"),
                            {code});
    while (q.next()) {
        std::array<QString, kRightsGroupCount> strings;
        strings[static_cast<std::size_t>(RightsGroup::Base)] = q.value(0).toString();
        if (OperatorRights(strings).mayEditOperators())
            return true;
    }
    return false;
}

} // namespace

Checked<> remove(const QSqlDatabase& db, const QString& code)
{
    Transaction transaction(db);
    if (!anotherMayEditOperators(db, code))
        return lastOperatorEditor();
    sql::removeOne(db, QStringLiteral("operator"), QStringLiteral("op_code"), code);
    transaction.commit();
    return Done{};
}

OperatorRights rights(const QSqlDatabase& db, const QString& code)
{
    std::array<QString, kRightsGroupCount> strings;
    QStringList columns;
    for (int g = 0; g < kRightsGroupCount; ++g)
        columns << OperatorRights::columnName(static_cast<RightsGroup>(g));
    QSqlQuery q =
        sql::exec(db, u"select " + columns.join(u", ") + u" from operator where op_code = ?", {code});
    if (q.next()) {
        for (int g = 0; g < kRightsGroupCount; ++g)
            strings[static_cast<std::size_t>(g)] = q.value(g).toString();
    }
    return OperatorRights(strings);
}

Checked<> saveRights(const QSqlDatabase& db, const QString& code,
                     const std::array<QString, kRightsGroupCount>& strings)
{
    Transaction transaction(db);
    if (!OperatorRights(strings).mayEditOperators() && !anotherMayEditOperators(db, code))
        return lastOperatorEditor();
    sql::Fields fields;
    for (int g = 0; g < kRightsGroupCount; ++g)
        fields.append(
            {OperatorRights::columnName(static_cast<RightsGroup>(g)), strings[static_cast<std::size_t>(g)]});
    sql::updateOne(db, QStringLiteral("operator"), fields, QStringLiteral("op_code"), code);
    transaction.commit();
    return Done{};
}

} // namespace operator_register
