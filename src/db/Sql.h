#pragma once

#include <QDate>
#include <QList>
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

// The same for a select whose rows a model reads back and forth (not forward-only).
QSqlQuery select(const QSqlDatabase& db, const QString& statement, const QVariantList& values = {});

// The first column of the first row, or an invalid QVariant when there is no row.
QVariant scalar(const QSqlDatabase& db, const QString& statement, const QVariantList& values = {});

// Whether the statement returns at least one row.
bool exists(const QSqlDatabase& db, const QString& statement, const QVariantList& values = {});

// Column name and value pairs of one row to write. An empty text is written as null.
using Fields = QList<std::pair<QString, QVariant>>;

// "insert into <table> (<columns>) values (?, ...)"; returns the new row's
// auto-number (0 for tables keyed by a typed value).
qlonglong insert(const QSqlDatabase& db, const QString& table, const Fields& fields);

// "update <table> set <column> = ?, ... where <keyColumn> = ?".
void update(const QSqlDatabase& db, const QString& table, const Fields& fields, const QString& keyColumn,
            const QVariant& key);

// "delete from <table> where <keyColumn> = ?".
void remove(const QSqlDatabase& db, const QString& table, const QString& keyColumn, const QVariant& key);

// The value a date column stores: "yyyy-MM-dd", or null for no date.
QVariant dateValue(const QDate& date);
// A stored date (text) as a date; an invalid date for null or unreadable text.
QDate toDate(const QVariant& stored);

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
