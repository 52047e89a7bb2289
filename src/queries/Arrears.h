#pragma once

#include "core/Decimal2.h"
#include "core/Period.h"
#include "db/ListQuery.h"
#include "output/ExportDescription.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// What an owner still owes per charge type: the sums of what was due and what
// was paid over the owner's records of the period. Derived, never stored.
namespace arrears {

struct Row
{
    QString ownerName;
    QString typeName;
    Money sumShould;
    Money sumPayment;
    Money oweMoney; // due − paid
    Money sumOwe;   // paid − due: negative while anything is owed
};

QList<ListColumn> columns();
// The owner's debts per type over the period, only those still owed; without a
// period every total over all dates, settled ones included (before a query).
ListQuery list(qlonglong ownerId, const std::optional<Period>& period);
// How the list's "Excel" button and `pelm export arrears` write it, and the
// columns it reads; the columns the printed list reads.
ExportDescription exported();
QStringList exportedColumns();
QStringList printedColumns();
// The same for every owner, by owner name (`pelm export arrears` without an owner).
ListQuery everyOwner(const std::optional<Period>& period);
QList<Row> rows(const QSqlDatabase& db, qlonglong ownerId, const std::optional<Period>& period);

} // namespace arrears
