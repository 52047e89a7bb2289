#pragma once

#include "core/Decimal2.h"
#include "core/Period.h"
#include "db/ListQuery.h"
#include "output/ExportDescription.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

// The income of a period per charge type, over all owners: what was due, what
// was paid, and the difference. Records of a deleted type form a row without a name.
namespace income_by_type {

struct Row
{
    qlonglong typeId = 0;
    QString typeName;
    Money sumShould;
    Money sumReal;
    Money sumOwe; // paid − due
};

QList<ListColumn> columns();
// The totals in the order of the types' numbers.
ListQuery list(const QSqlDatabase& db, const Period& period);
// How the list's "Excel" button and `pelm export income` write it.
ExportDescription exported();
QList<Row> rows(const QSqlDatabase& db, const Period& period);

} // namespace income_by_type
