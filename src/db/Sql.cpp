#include "db/Sql.h"

#include "db/DbError.h"

#include <QSqlError>

namespace sql {

QSqlQuery exec(const QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    if (!db.isOpen())
        throw DbError(QStringLiteral("数据库连接没有打开。"));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        throw DbError(query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw DbError(query.lastError());
    return query;
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
