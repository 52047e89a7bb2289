#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

// Everything the data layer does differently on one database engine than on
// another lives here, so that moving to another engine is this file and the
// schema text, not a hunt through the stores. Today the engine is SQLite (Qt's
// QSQLITE driver). Statements that every engine understands the same way
// (SAVEPOINT, RELEASE SAVEPOINT, ROLLBACK TO SAVEPOINT, COMMIT, ROLLBACK) stay
// with their callers.
namespace sql_dialect {

// The Qt driver of the engine.
QString driverName();

// Points `db` (not yet open) at the database file `path`, with a busy timeout in
// milliseconds. With `mayCreate` false a missing file is an error when opening.
void setConnection(QSqlDatabase& db, const QString& path, bool mayCreate, int busyTimeoutMs);

// What every connection sets once it is open: a journal that lets several
// copies read while one writes. Throws DbError.
void configureConnection(const QSqlDatabase& db);

// The statement that begins a write transaction. It takes the write lock at
// once, so that two copies writing one file wait for each other (within the
// busy timeout) instead of one failing when it first writes.
QString beginWriteTransaction();

// The schema version kept in the file, and the mark that makes the file ours.
// Throw DbError.
int schemaVersion(const QSqlDatabase& db);
void setSchemaVersion(const QSqlDatabase& db, int version);
int applicationId(const QSqlDatabase& db);

// The highest number an auto-numbered table has handed out (0 when none), and
// setting it: a table rebuilt from its rows carries it over, so that a number of
// a removed row is never handed out again. Throw DbError.
qlonglong lastAutoNumber(const QSqlDatabase& db, const QString& table);
void setLastAutoNumber(const QSqlDatabase& db, const QString& table, qlonglong number);

// What a refused statement means, read from the engine's error.
enum class Failure {
    Other,   // anything else: the engine's text is all there is
    Busy,    // another connection holds the lock; trying again later may work
    Unique,  // a duplicate key or unique value
    NotNull, // a null where the column needs a value
    Check,   // a CHECK constraint refused the value
};

struct Refusal
{
    Failure failure = Failure::Other;
    // Unique and NotNull: the columns concerned, as "table.column".
    QStringList columns;
    // Check: the constraint's name.
    QString constraint;
};

Refusal classify(const QSqlError& error);

inline bool isBusy(const QSqlError& error)
{
    return classify(error).failure == Failure::Busy;
}

} // namespace sql_dialect
