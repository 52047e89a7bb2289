#pragma once

#include "core/Decimal2.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The monthly run: bills the property fee of a run of months to every owner with
// a room link (moved-out owners too), one bill each, nothing paid.
namespace monthly_run {

struct Outcome
{
    enum class Kind {
        Billed,         // every owner billed
        MonthsReversed, // the last month is before the first
        NoPropertyFee,  // no charge type bills by floor area
        AlreadyBilled,  // the first month is not after the last month billed
    };
    Kind kind = Kind::Billed;
    int bills = 0;             // Billed: the bills written (or, on a trial, that would be)
    Money total = {};          // Billed: the sum of their amounts
    QString refusedMonth = {}; // AlreadyBilled: the first month, "yyyy-MM"
    // AlreadyBilled: the property-fee records that reach that month, one line
    // each (owner, rooms, period, record number), at most kMostBlockersListed.
    QStringList blockers = {};
    int blockerCount = 0; // how many records reach it in all
};

inline constexpr int kMostBlockersListed = 100;

// Bills the months from `first` to `last` (their days are written into the
// bills' periods as they stand) with `today` as the date of the bills. The check
// against billing a month twice and every bill are one transaction: all owners
// are billed or none, and two copies cannot both pass the check. Property-fee
// records without an end month do not count for the check. Throws DbError, with
// nothing billed.
Outcome run(const QSqlDatabase& db, const QDate& first, const QDate& last, const QDate& today);
// The same checks and the bills the run would write, counted and summed, with
// nothing written (`pelm bill --dry-run`). Throws DbError.
Outcome trial(const QSqlDatabase& db, const QDate& first, const QDate& last);

// The office's text for a refusal ("2003-11月份已经对一部分住户收过物管费了，…").
QString refusalText(const Outcome& outcome);
// What the refusal box shows on request: the records behind an AlreadyBilled
// refusal, so that the office can see which owners to correct; empty otherwise.
QString refusalDetail(const Outcome& outcome);

} // namespace monthly_run
