#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QTime>

#include <optional>

// A work plan of one operator (table work_plan).
struct WorkPlan
{
    static inline const QString kRemind = QStringLiteral("提醒");

    qlonglong id = 0;
    QString opCode; // whose plan it is
    QString title;
    QString planType;  // "工作" or "私人"
    QString state;     // "提醒", "开始", "完成", or free text
    QString awokeDate; // "yyyy-MM-dd HH:mm": compared as text with now written alike
    QString startEnd;
    QString manager; // the superior's operator code
    QString contents;
};

// An operator a plan can name as the superior: code and name.
struct PlanOperator
{
    QString code;
    QString name;
};

// Reading and writing work plans. Every function throws DbError.
namespace work_plan_store {

// The reminder time as stored: "2003-05-12 08:05", minutes without seconds.
QString awokeText(const QDate& date, const QTime& time);

// The operator's own plans in the order they were made.
ListQuery list(const QString& opCode);
std::optional<WorkPlan> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, WorkPlan plan);
void update(const QSqlDatabase& db, const WorkPlan& plan);
// The plan as typed (title and start-to-end trimmed), or the first check it
// fails: a type, "工作" or "私人" (blanks around it allowed).
Checked<WorkPlan> check(const WorkPlan& input);
// Checks the plan and stores it, new (number 0) or changed; its number.
Checked<qlonglong> save(const QSqlDatabase& db, const WorkPlan& input);
void remove(const QSqlDatabase& db, qlonglong id);

// The operators a plan can name as the superior, in the order of their names.
QList<PlanOperator> operators(const QSqlDatabase& db);

} // namespace work_plan_store
