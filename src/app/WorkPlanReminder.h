#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

// The work-plan reminder of the main window: at most once per run, the first
// time the logged-in operator has a plan in state "提醒" whose reminder time has
// passed, the work-plan screen opens. A change of operator does not re-arm it.
class WorkPlanReminder
{
public:
    // Plans of the operator in state "提醒" whose awoke_date text sorts before
    // `now` written "yyyy-MM-dd HH:mm". The comparison is on text, as stored.
    static int dueCount(const QSqlDatabase& db, const QString& opCode, const QDateTime& now);

    // True exactly once per run: when no reminder was shown yet and the operator
    // has due plans; the reminder then counts as shown. Throws DbError.
    bool takeDue(const QSqlDatabase& db, const QString& opCode, const QDateTime& now);

    bool shown() const { return m_shown; }

private:
    bool m_shown = false;
};
