#include "db/ListQuery.h"

QString ListQuery::statement(const QStringList& columns) const
{
    QString s =
        u"select " + (columns.isEmpty() ? QStringLiteral("*") : columns.join(u", ")) + u" from " + from;
    if (!where.isEmpty())
        s += u" where " + where;
    if (!orderBy.isEmpty())
        s += u" order by " + orderBy.join(u", ");
    return s;
}
