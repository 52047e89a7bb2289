#pragma once

#include "core/Period.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

class DbError;

// Running statements on a connection. Every value reaches SQL as a bound
// parameter: statements hold "?" placeholders and the values come as a list.
// Every function throws DbError when the statement fails (see DbError for what
// the operator is told).
//
// A statement that finds the file locked by another copy is tried again, a few
// times with a short pause, where that is safe: when no Transaction is open on
// the connection (a statement in autocommit changes nothing when it fails) and
// for the BEGIN of the outermost Transaction. Inside a transaction the error
// goes to the caller, whose Transaction then rolls back.
namespace sql {

// Prepares and runs a statement; the query is positioned before its first row.
// A statement that begins with INSERT, REPLACE, UPDATE or DELETE and changed rows
// notes its table as changed (see DataChanges).
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

// "update <table> set <column> = ?, ... where <keyColumn> = ?"; returns how many
// rows it changed.
int update(const QSqlDatabase& db, const QString& table, const Fields& fields, const QString& keyColumn,
           const QVariant& key);

// "delete from <table> where <keyColumn> = ?"; returns how many rows it deleted.
int remove(const QSqlDatabase& db, const QString& table, const QString& keyColumn, const QVariant& key);

// The same for the one record the operator is changing or deleting: a write that
// finds no row (another copy removed the record, or renamed its key) throws
// DbError of kind RecordGone instead of passing for success.
void updateOne(const QSqlDatabase& db, const QString& table, const Fields& fields, const QString& keyColumn,
               const QVariant& key);
void removeOne(const QSqlDatabase& db, const QString& table, const QString& keyColumn, const QVariant& key);
// What they throw: the record of `key` is not there any more.
DbError recordGone(const QString& table, const QString& keyColumn, const QVariant& key);

// Notes a write the engine made in another way than the functions above (a
// statement that does not begin with the table it writes): the record of `key`,
// or rows unknown without one. Announced with the open transaction, or at once.
void touched(const QSqlDatabase& db, const QString& table, const QVariant& key = {});

// The value a date column stores: "yyyy-MM-dd", or null for no date (a null
// QDate). A date outside the years 1 to 9999 has no such form: it throws DbError
// rather than being stored as no date.
QVariant dateValue(const QDate& date);
// A stored date as a date, read from the first ten characters when they are
// exactly "yyyy-MM-dd" and a real calendar date; else an invalid date.
QDate toDate(const QVariant& stored);
// The two ends of a period as date values: records carry their date as
// "yyyy-MM-dd", so the ends are bound as that text.
QVariantList periodValues(const Period& period);

// The pattern for containsCondition() that matches texts containing `fragment`.
QString containsPattern(const QString& fragment);

// "<column> contains ?" without regard to letter case, for the pattern of
// containsPattern(), on either engine ("abc" finds "ABC咨询").
QString containsCondition(const QString& column);

} // namespace sql

// A write transaction that rolls back unless committed:
//
//     Transaction transaction(db);
//     ... writes ...
//     transaction.commit();
//
// Transactions compose. The outermost one on a connection begins the engine's
// write transaction, which takes the write lock at once, so that two copies
// writing one file wait for each other instead of failing halfway. A Transaction
// opened while another is open on the same connection is a savepoint inside it:
// when it is left without commit() (an exception, an early return) only its own
// work is undone, and the outer one may still commit. What an inner one committed
// is undone with the outer one when that does not commit. Inner transactions end
// before the outer ones, as scopes do.
//
// Finish or destroy every QSqlQuery of the transaction before commit().
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

    // How many Transactions are open on the connection (0 in autocommit).
    static int depth(const QSqlDatabase& db);

private:
    QSqlDatabase m_db;
    int m_level = 0; // 0 for the outermost transaction, 1 for the first savepoint ...
    bool m_open = false;
};
