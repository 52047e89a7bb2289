#include "app/WorkPlanReminder.h"

#include "db/Sql.h"

int WorkPlanReminder::dueCount(const QSqlDatabase& db, const QString& opCode, const QDateTime& now)
{
    return sql::scalar(db,
                       QStringLiteral("select count(*) from work_plan "
                                      "where op_code = ? and ? > awoke_date and state = ?"),
                       {opCode, now.toString(QStringLiteral("yyyy-MM-dd HH:mm")), QStringLiteral("提醒")})
        .toInt();
}

bool WorkPlanReminder::takeDue(const QSqlDatabase& db, const QString& opCode, const QDateTime& now)
{
    if (m_shown || dueCount(db, opCode, now) == 0)
        return false;
    m_shown = true;
    return true;
}
