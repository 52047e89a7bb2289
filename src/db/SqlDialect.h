#pragma once

#include "db/Schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

class QSqlDriver;

// Everything the data layer does differently on one database engine than on
// another: the embedded SQLite file (Qt's QSQLITE driver) and a PostgreSQL server
// that several workstations share (QPSQL). Each connection has the dialect of
// its driver; stores, queries and screens never ask which engine they run on.
// Statements that every engine understands the same way (SAVEPOINT, RELEASE
// SAVEPOINT, ROLLBACK TO SAVEPOINT, COMMIT, ROLLBACK) stay with their callers.
class SqlDialect
{
public:
    enum class Engine { Sqlite, Postgres };

    // The dialect of the connection's driver; SQLite's for any other driver.
    static const SqlDialect& of(const QSqlDatabase& db);
    static const SqlDialect& of(const QSqlDriver* driver);
    static const SqlDialect& of(Engine engine);

    virtual ~SqlDialect() = default;

    virtual Engine engine() const = 0;
    // The Qt driver of the engine.
    virtual QString driverName() const = 0;

    // What every connection sets once it is open. Throws DbError.
    virtual void configureConnection(const QSqlDatabase& db) const = 0;

    // Begins a write transaction that holds the write lock from its start, so that
    // two copies that check and then write (the monthly run's "already billed"
    // guard, the stock, numbers handed out) wait for each other and the second
    // sees what the first committed. Throws DbError.
    virtual void beginWriteTransaction(const QSqlDatabase& db) const = 0;

    // Whether a write outside any transaction must take the write lock itself (on
    // the file it waits for another copy's write transaction by itself). Its
    // result is read after the COMMIT: the engine keeps it.
    virtual bool lonelyWritesNeedTheLock() const = 0;

    // Throws DbError when the open transaction can no longer commit: a server that
    // aborted the transaction on an error would turn the COMMIT into a rollback
    // and still report success.
    virtual void checkCommittable(const QSqlDatabase& db) const = 0;

    // The mark that makes a database ours and its schema version. Throw DbError.
    virtual int schemaVersion(const QSqlDatabase& db) const = 0;
    virtual void setSchemaVersion(const QSqlDatabase& db, int version) const = 0;
    virtual int applicationId(const QSqlDatabase& db) const = 0;

    // What the engine's own check of the stored data finds wrong (the file's
    // integrity check; on a server, a named check not yet proven for the rows it
    // holds); nothing when all is sound. Throws DbError.
    virtual QStringList integrityProblems(const QSqlDatabase& db) const = 0;

    // The highest number an auto-numbered table has handed out (0 when none), and
    // setting it: a table rebuilt or copied from its rows carries it over, so that
    // a number of a removed row is never handed out again. Throw DbError.
    virtual qlonglong lastAutoNumber(const QSqlDatabase& db, const QString& table,
                                     const QString& keyColumn) const = 0;
    virtual void setLastAutoNumber(const QSqlDatabase& db, const QString& table, const QString& keyColumn,
                                   qlonglong number) const = 0;

    // What a refused statement means, read from the engine's error.
    enum class Failure {
        Other,     // anything else: the engine's text is all there is
        Busy,      // another connection holds the lock; trying again later may work
        Unique,    // a duplicate key or unique value
        NotNull,   // a null where the column needs a value
        Check,     // a CHECK constraint refused the value
        Aborted,   // the server had already given up the transaction
        Connection // the connection to the server is lost
    };

    struct Refusal
    {
        Failure failure = Failure::Other;
        // Unique and NotNull: the columns concerned, as "table.column".
        QStringList columns;
        // Check: the constraint's name.
        QString constraint;
    };

    virtual Refusal classify(const QSqlError& error) const = 0;

    bool isBusy(const QSqlError& error) const { return classify(error).failure == Failure::Busy; }

    // `column` in a condition where the engine is to use no index for it (on
    // SQLite a unary plus; the server's planner needs no such hint).
    virtual QString unindexed(const QString& column) const = 0;

    // The statements that make an empty database, rendered from the one schema
    // description: what the engine needs first, every table with its named
    // checks, the indexes, the mark and the version.
    QStringList createStatements() const;
    // The statements that make one table (its columns, named checks and what
    // follows it), and one index.
    QStringList tableStatements(const schema::Table& table) const;
    static QString indexStatement(const schema::Index& index);

protected:
    // What the engine needs before the tables (functions, collations).
    virtual QStringList preamble() const = 0;
    // One column's declaration, with the named checks that hold its type and size.
    virtual QString columnDefinition(const QString& table, const schema::Column& column) const = 0;
    // What follows the table (triggers that keep numbering in step, indexes).
    virtual QStringList afterTable(const schema::Table& table) const = 0;
    // The statements that mark a new database as ours, of `version`.
    virtual QStringList markStatements(int applicationId, int version) const = 0;

    // " CONSTRAINT "<table>.<column>.<rule>" CHECK (<column> IS NULL OR (<condition>))"
    static QString check(const QString& table, const schema::Column& column, schema::Rule rule,
                         const QString& condition);
    static QString quoted(const QString& identifier) { return u'"' + identifier + u'"'; }
};
