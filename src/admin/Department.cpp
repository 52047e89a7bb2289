#include "admin/Department.h"

#include "db/PinyinCollation.h"
#include "db/RecordMap.h"

namespace department_store {
namespace {

const RecordMap<Department>& map()
{
    static const RecordMap<Department> m =
        RecordMap<Department>(QStringLiteral("department"), "dept_id", &Department::id)
            .field("dept_name", &Department::name)
            .field("manager", &Department::manager)
            .memo("duty_desc", &Department::dutyDesc);
    return m;
}

} // namespace

ListQuery list()
{
    // By name in pinyin order, in the grid and in every department chooser alike.
    return {QStringLiteral("department"),
            {},
            {},
            {pinyin::byName(QStringLiteral("dept_name")), QStringLiteral("dept_id")}};
}

QList<NamedKey> names(const QSqlDatabase& db)
{
    QList<NamedKey> result;
    QSqlQuery q = sql::exec(db, list().statement({QStringLiteral("dept_id"), QStringLiteral("dept_name")}));
    while (q.next())
        result.append({q.value(0).toLongLong(), q.value(1).toString().trimmed()});
    return result;
}

std::optional<Department> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

std::optional<qlonglong> idByName(const QSqlDatabase& db, const QString& name)
{
    const QVariant id = sql::scalar(
        db, QStringLiteral("select dept_id from department where dept_name = ? order by dept_id limit 1"),
        {name});
    if (!id.isValid())
        return std::nullopt;
    return id.toLongLong();
}

bool nameExists(const QSqlDatabase& db, const QString& name)
{
    return idByName(db, name).has_value();
}

qlonglong insert(const QSqlDatabase& db, Department department)
{
    return map().insert(db, department).toLongLong();
}

void update(const QSqlDatabase& db, const Department& department)
{
    map().update(db, department);
}

Checked<Department> check(const Department& input)
{
    Department department = input;
    department.name = input.name.trimmed();
    department.manager = input.manager.trimmed();
    if (department.name.isEmpty())
        return Refusal{QStringLiteral("请填写部门名称！"), QStringLiteral("dept_name")};
    return department;
}

Checked<qlonglong> save(const QSqlDatabase& db, const Department& input)
{
    Checked<Department> checked = check(input);
    if (!checked.ok())
        return checked.refusal();
    Department& department = checked.value();
    // The name is looked up under the insert's write lock: no copy can take it in between.
    Transaction transaction(db);
    if (department.id == 0) {
        if (nameExists(db, department.name))
            return Refusal{QStringLiteral("部门名称不能重复！"), QStringLiteral("dept_name")};
        department.id = insert(db, department);
    } else {
        update(db, department);
    }
    transaction.commit();
    return department.id;
}

Checked<> removeUnlessUsed(const QSqlDatabase& db, qlonglong id)
{
    // The checks and the delete in one transaction: nothing can join the
    // department in between.
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select emp_id from employee where dept_id = ? limit 1"), {id}))
        return Refusal{QStringLiteral("此部门有存在员工记录，不能删除！")};
    if (sql::exists(db, QStringLiteral("select id from take_goods where dept_id = ? limit 1"), {id}) ||
        sql::exists(db, QStringLiteral("select id from dept_goods where dept_id = ? limit 1"), {id}))
        return Refusal{QStringLiteral("此部门有存在办公用品领用或登记记录，不能删除！")};
    map().remove(db, id);
    transaction.commit();
    return Done{};
}

} // namespace department_store
