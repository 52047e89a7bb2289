#include "admin/Employee.h"

#include "db/RecordMap.h"

namespace employee_store {
namespace {

const RecordMap<Employee>& map()
{
    static const RecordMap<Employee> m =
        RecordMap<Employee>(QStringLiteral("employee"), "emp_id", &Employee::id)
            .field("dept_id", &Employee::deptId)
            .field("emp_name", &Employee::name)
            .field("sextype", &Employee::sex)
            .field("birthday", &Employee::birthday)
            .field("marry", &Employee::marry)
            .field("identity_card", &Employee::identityCard)
            .field("polity", &Employee::polity)
            .field("school", &Employee::school)
            .field("special", &Employee::special)
            .field("graduate", &Employee::graduate)
            .field("grade", &Employee::grade)
            .field("link_tel", &Employee::linkTel)
            .field("post", &Employee::post)
            .field("position", &Employee::position)
            .field("old_company", &Employee::oldCompany)
            .field("home_address", &Employee::homeAddress)
            .field("regist_address", &Employee::registAddress)
            .field("remarks", &Employee::remarks);
    return m;
}

} // namespace

ListQuery list(const Scope& scope)
{
    ListQuery q{QStringLiteral("employee e left join department d on d.dept_id = e.dept_id"),
                {},
                {},
                {QStringLiteral("e.emp_id")}};
    if (!scope.everyone) {
        if (scope.deptId) {
            q.where = QStringLiteral("e.dept_id = ?");
            q.values = {*scope.deptId};
        } else {
            q.where = QStringLiteral("1 = 0");
        }
    }
    return q;
}

std::optional<Employee> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, Employee employee)
{
    return map().insert(db, employee).toLongLong();
}

void update(const QSqlDatabase& db, const Employee& employee)
{
    map().update(db, employee);
}

Checked<Employee> check(const Employee& input)
{
    Employee e = input;
    for (QString* text :
         {&e.name, &e.sex, &e.marry, &e.identityCard, &e.polity, &e.school, &e.special, &e.grade, &e.linkTel,
          &e.post, &e.position, &e.oldCompany, &e.homeAddress, &e.registAddress, &e.remarks})
        *text = text->trimmed();
    if (e.name.isEmpty())
        return Refusal{QStringLiteral("请填写员工姓名！"), QStringLiteral("emp_name")};
    return e;
}

Checked<qlonglong> save(const QSqlDatabase& db, const Employee& input)
{
    Checked<Employee> checked = check(input);
    if (!checked.ok())
        return checked.refusal();
    Employee& e = checked.value();
    if (e.id == 0)
        e.id = insert(db, e);
    else
        update(db, e);
    return e.id;
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

} // namespace employee_store

ExportDescription employee_store::exported()
{
    ExportDescription d;
    d.title = QStringLiteral("部门员工资料");
    d.titleWidth = 11;
    d.columnWidths = {{1, 16}, {2, 6}};
    for (int column = 3; column <= 10; ++column)
        d.columnWidths.append({column, 10});
    using C = ExportColumn;
    d.columns = {
        C::text(QStringLiteral("姓名"), QStringLiteral("emp_name")),
        C::text(QStringLiteral("部门"), QStringLiteral("dept_name")),
        C::text(QStringLiteral("联系电话"), QStringLiteral("link_tel")),
        C::text(QStringLiteral("政治面貌"), QStringLiteral("polity")),
        C::date(QStringLiteral("出生日期"), QStringLiteral("birthday")),
        C::text(QStringLiteral("身份证号码"), QStringLiteral("identity_card")),
        C::text(QStringLiteral("婚姻状况"), QStringLiteral("marry")),
        C::text(QStringLiteral("文化程度"), QStringLiteral("grade")),
        C::text(QStringLiteral("家庭地址"), QStringLiteral("home_address")),
        C::text(QStringLiteral("户口所在地"), QStringLiteral("regist_address")),
        C::text(QStringLiteral("备注"), QStringLiteral("remarks")),
    };
    return d;
}

QStringList employee_store::listedColumns()
{
    return {
        QStringLiteral("e.emp_name"),       QStringLiteral("d.dept_name"), QStringLiteral("e.link_tel"),
        QStringLiteral("e.polity"),         QStringLiteral("e.birthday"),  QStringLiteral("e.identity_card"),
        QStringLiteral("e.marry"),          QStringLiteral("e.grade"),     QStringLiteral("e.home_address"),
        QStringLiteral("e.regist_address"), QStringLiteral("e.remarks"),   QStringLiteral("e.school"),
        QStringLiteral("e.special")};
}
