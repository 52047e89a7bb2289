#include "db/Sql.h"

#include "db/DbError.h"

#include <QSqlError>
#include <QStringList>

namespace sql {

namespace {

QSqlQuery run(const QSqlDatabase& db, const QString& statement, const QVariantList& values, bool forwardOnly)
{
    if (!db.isOpen())
        throw DbError(QStringLiteral("数据库连接没有打开。"));
    QSqlQuery query(db);
    query.setForwardOnly(forwardOnly);
    if (!query.prepare(statement))
        throw DbError(query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw DbError(query.lastError());
    return query;
}

} // namespace

QSqlQuery exec(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    return run(db, statement, values, true);
}

QSqlQuery select(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    return run(db, statement, values, false);
}

QVariant scalar(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    QSqlQuery query = exec(db, statement, values);
    if (!query.next()) {
        if (query.lastError().isValid())
            throw DbError(query.lastError());
        return {};
    }
    return query.value(0);
}

bool exists(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    QSqlQuery query = exec(db, statement, values);
    const bool found = query.next();
    if (!found && query.lastError().isValid())
        throw DbError(query.lastError());
    return found;
}

namespace {

QString quoted(const QString& identifier)
{
    return u'"' + identifier + u'"';
}

// One rule for every write: an empty text is stored as null.
QVariant stored(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
        return QVariant(QMetaType(QMetaType::QString));
    return value;
}

} // namespace

qlonglong insert(const QSqlDatabase& db, const QString& table, const Fields& fields)
{
    QStringList columns;
    QStringList marks;
    QVariantList values;
    for (const auto& [column, value] : fields) {
        columns << quoted(column);
        marks << QStringLiteral("?");
        values << stored(value);
    }
    const QString statement = u"insert into " + quoted(table) + u" (" + columns.join(u", ") + u") values (" +
                              marks.join(u", ") + u')';
    return exec(db, statement, values).lastInsertId().toLongLong();
}

void update(const QSqlDatabase& db, const QString& table, const Fields& fields, const QString& keyColumn,
            const QVariant& key)
{
    QStringList assignments;
    QVariantList values;
    for (const auto& [column, value] : fields) {
        assignments << quoted(column) + u" = ?";
        values << stored(value);
    }
    values << key;
    exec(db,
         u"update " + quoted(table) + u" set " + assignments.join(u", ") + u" where " + quoted(keyColumn) +
             u" = ?",
         values);
}

void remove(const QSqlDatabase& db, const QString& table, const QString& keyColumn, const QVariant& key)
{
    exec(db, u"delete from " + quoted(table) + u" where " + quoted(keyColumn) + u" = ?", {key});
}

QVariant dateValue(const QDate& date)
{
    return date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant();
}

QDate toDate(const QVariant& stored)
{
    return QDate::fromString(stored.toString().left(10), Qt::ISODate);
}

} // namespace sql

Transaction::Transaction(QSqlDatabase db) : m_db(std::move(db))
{
    sql::exec(m_db, QStringLiteral("BEGIN IMMEDIATE"));
    m_open = true;
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    QSqlQuery rollback(m_db);
    rollback.exec(QStringLiteral("ROLLBACK"));
}

void Transaction::commit()
{
    sql::exec(m_db, QStringLiteral("COMMIT"));
    m_open = false;
}
