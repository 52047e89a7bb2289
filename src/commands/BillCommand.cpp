#include "commands/BillCommand.h"

#include "charging/MonthlyRun.h"
#include "commands/Invocation.h"
#include "commands/OperatorLogin.h"

#include <QJsonObject>

#include <algorithm>

namespace bill_command {
namespace {

// The screen's month pickers hold today's day in the month chosen, and that day
// is written into the bills' periods; so is it here.
QDate onTodaysDay(const QDate& firstOfMonth, const QDate& today)
{
    return QDate(firstOfMonth.year(), firstOfMonth.month(),
                 std::min(today.day(), firstOfMonth.daysInMonth()));
}

QDate requiredMonth(const Invocation& invocation, const QString& option)
{
    const std::optional<QString> given = invocation.value(option);
    if (!given)
        badUsage(QStringLiteral("bill 需要 --from 和 --to 两个月份，如 --from 2026-01 --to 2026-03。"));
    return Invocation::month(option, *given);
}

} // namespace

int run(Invocation& invocation)
{
    invocation.noArguments();
    const QDate today = QDate::currentDate();
    const QDate first = onTodaysDay(requiredMonth(invocation, QStringLiteral("from")), today);
    const QDate last = onTodaysDay(requiredMonth(invocation, QStringLiteral("to")), today);
    const bool dryRun = invocation.options().isSet(QStringLiteral("dry-run"));

    operator_login::logIn(invocation,
                          {RightsGroup::Charge, 1, QStringLiteral("物管费自动生成"), Access::Edit});
    const QSqlDatabase db = invocation.db();
    const monthly_run::Outcome outcome =
        dryRun ? monthly_run::trial(db, first, last) : monthly_run::run(db, first, last, today);
    if (outcome.kind != monthly_run::Outcome::Kind::Billed) {
        const QString detail = monthly_run::refusalDetail(outcome);
        refuseCommand(monthly_run::refusalText(outcome) + (detail.isEmpty() ? QString() : u'\n' + detail));
    }

    const QString months = first.toString(QStringLiteral("yyyy-MM")) + QStringLiteral(" 至 ") +
                           last.toString(QStringLiteral("yyyy-MM"));
    if (dryRun) {
        invocation.console().say(QStringLiteral("试算（未保存）：%1 将为 %2 户生成物业费，合计 %3 元。")
                                     .arg(months)
                                     .arg(outcome.bills)
                                     .arg(outcome.total.toString()));
    } else {
        invocation.console().say(QStringLiteral("收费完成!"));
        invocation.console().say(QStringLiteral("%1 已为 %2 户生成物业费，合计 %3 元。")
                                     .arg(months)
                                     .arg(outcome.bills)
                                     .arg(outcome.total.toString()));
    }
    invocation.console().summary({{QStringLiteral("command"), QStringLiteral("bill")},
                                  {QStringLiteral("from"), first.toString(QStringLiteral("yyyy-MM"))},
                                  {QStringLiteral("to"), last.toString(QStringLiteral("yyyy-MM"))},
                                  {QStringLiteral("dryRun"), dryRun},
                                  {QStringLiteral("bills"), outcome.bills},
                                  {QStringLiteral("total"), outcome.total.toString()}});
    return exit_status::kDone;
}

} // namespace bill_command
