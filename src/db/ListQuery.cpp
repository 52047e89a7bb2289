#include "db/ListQuery.h"

#include "db/Schema.h"

#include <QRegularExpression>
#include <QSet>

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

QStringList ListQuery::tables() const
{
    static const QSet<QString> known = [] {
        QSet<QString> names;
        for (const schema::Table& t : schema::tables())
            names.insert(QString::fromLatin1(t.name).toLower());
        return names;
    }();
    static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    QStringList found;
    for (const QString& text : {from, where}) {
        for (const QRegularExpressionMatch& m : word.globalMatch(text)) {
            const QString name = m.captured().toLower();
            if (known.contains(name) && !found.contains(name))
                found << name;
        }
    }
    return found;
}
