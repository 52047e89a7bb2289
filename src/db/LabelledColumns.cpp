#include "db/LabelledColumns.h"

#include "db/Schema.h"

namespace {

ListColumn::Kind kindOf(const schema::Column* column)
{
    using T = schema::ColumnType;
    using K = ListColumn::Kind;
    if (!column)
        return K::Text;
    switch (column->type) {
    case T::AutoNumber:
    case T::Integer:
    case T::SmallInteger:
    case T::Byte:
        return K::Number;
    case T::Decimal:
        return K::Decimal;
    default:
        return K::Text;
    }
}

} // namespace

QList<ListColumn> labelledColumns(const char* table, std::initializer_list<LabelledColumn> columns)
{
    const QString tableName = QString::fromLatin1(table);
    QList<ListColumn> list;
    for (const LabelledColumn& c : columns) {
        const QString field = QString::fromLatin1(c.field);
        ListColumn column{field, c.title.isEmpty() ? schema::label(tableName, field) : c.title};
        column.kind = c.kind.value_or(kindOf(schema::findColumn(tableName, field)));
        list.append(column);
    }
    return list;
}
