#pragma once

#include "core/Decimal2.h"
#include "core/Period.h"
#include "db/ListQuery.h"
#include "output/ExportDescription.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

// The fee records of one owner paid in a period, with what each still owes.
namespace payment_records {

struct Row
{
    qlonglong takeId = 0;
    QString typeName;
    Money shouldPay;
    Money paymentReal;
    Money oweMoney; // due − paid
    QString endNum;
    QString startNum;
    QDate takeDate;
    QString remarks;
};

// The list's columns, as the grid shows them.
QList<ListColumn> columns();
// The owner's records of the period in the order of their numbers.
ListQuery list(qlonglong ownerId, const Period& period);
// The columns the export and the printed list read (with owe_money).
QStringList exportedColumns();
// Every owner's records of the period in the order of their numbers, with the
// owner's name (owner_name) besides the exported columns (`pelm export payments`
// without an owner).
ListQuery everyOwner(const Period& period);
// How the list's "Excel" button and `pelm export payments` write the records of
// a period.
ExportDescription exported(const Period& period);
// The same with the owner's name in front, for everyOwner().
ExportDescription exportedEveryOwner(const Period& period);
// The rows of the list. Throws DbError.
QList<Row> rows(const QSqlDatabase& db, qlonglong ownerId, const Period& period);

} // namespace payment_records
