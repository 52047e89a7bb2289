#include "admin/WorkPlan.h"

#include "db/PinyinCollation.h"
#include "db/RecordMap.h"

namespace work_plan_store {
namespace {

const RecordMap<WorkPlan>& map()
{
    static const RecordMap<WorkPlan> m =
        RecordMap<WorkPlan>(QStringLiteral("work_plan"), "plan_id", &WorkPlan::id)
            .field("op_code", &WorkPlan::opCode)
            .field("title", &WorkPlan::title)
            .field("plan_type", &WorkPlan::planType)
            .field("state", &WorkPlan::state)
            .field("awoke_date", &WorkPlan::awokeDate)
            .field("start_end", &WorkPlan::startEnd)
            .field("manager", &WorkPlan::manager)
            .memo("contents", &WorkPlan::contents);
    return m;
}

} // namespace

QString awokeText(const QDate& date, const QTime& time)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")) + u' ' + time.toString(QStringLiteral("HH:mm"));
}

ListQuery list(const QString& opCode)
{
    return {
        QStringLiteral("work_plan"), QStringLiteral("op_code = ?"), {opCode}, {QStringLiteral("plan_id")}};
}

std::optional<WorkPlan> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, WorkPlan plan)
{
    return map().insert(db, plan).toLongLong();
}

void update(const QSqlDatabase& db, const WorkPlan& plan)
{
    map().update(db, plan);
}

Checked<WorkPlan> check(const WorkPlan& input)
{
    const QString type = input.planType.trimmed();
    if (type != u"工作" && type != u"私人")
        return Refusal{QStringLiteral("请正确填写计划类别！"), QStringLiteral("plan_type")};
    WorkPlan plan = input;
    plan.title = input.title.trimmed();
    plan.startEnd = input.startEnd.trimmed();
    return plan;
}

Checked<qlonglong> save(const QSqlDatabase& db, const WorkPlan& input)
{
    Checked<WorkPlan> checked = check(input);
    if (!checked.ok())
        return checked.refusal();
    WorkPlan& plan = checked.value();
    if (plan.id == 0)
        plan.id = insert(db, plan);
    else
        update(db, plan);
    return plan.id;
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

QList<PlanOperator> operators(const QSqlDatabase& db)
{
    QList<PlanOperator> result;
    QSqlQuery q = sql::exec(db, QStringLiteral("select op_code, op_name from operator order by ") +
                                    pinyin::byName(QStringLiteral("op_name")) + QStringLiteral(", op_code"));
    while (q.next())
        result.append({q.value(0).toString().trimmed(), q.value(1).toString().trimmed()});
    return result;
}

} // namespace work_plan_store
