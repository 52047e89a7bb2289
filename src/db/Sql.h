#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

// Running statements on a connection. Every value reaches SQL as a bound
// parameter: statements hold "?" placeholders and the values come as a list.
// Every function throws DbError with the engine's text when the statement fails.
namespace sql {

// Prepares and runs a statement; the query is positioned before its first row.
QSqlQuery exec(const QSqlDatabase& db, const QString& statement, const QVariantList& values = {});

// The first column of the first row, or an invalid QVariant when there is no row.
QVariant scalar(const QSqlDatabase& db, const QString& statement, const QVariantList& values = {});

// Whether the statement returns at least one row.
bool exists(const QSqlDatabase& db, const QString& statement, const QVariantList& values = {});

} // namespace sql

// A write transaction that rolls back unless committed. It begins with
// BEGIN IMMEDIATE, so that two copies writing one file wait for each other within
// the busy timeout instead of failing at once.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    QSqlDatabase m_db;
    bool m_open = false;
};
