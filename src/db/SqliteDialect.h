#pragma once

#include "db/SqlDialect.h"

// The embedded database file, through Qt's QSQLITE driver (which uses the
// system's libsqlite3).
class SqliteDialect final : public SqlDialect
{
public:
    Engine engine() const override { return Engine::Sqlite; }
    QString driverName() const override;

    // Points `db` (not yet open) at the database file `path`, with a busy timeout in
    // milliseconds. With `mayCreate` false a missing file is an error when opening.
    static void setConnection(QSqlDatabase& db, const QString& path, bool mayCreate, int busyTimeoutMs);

    // A journal that lets several copies read while one writes.
    void configureConnection(const QSqlDatabase& db) const override;
    void beginWriteTransaction(const QSqlDatabase& db) const override;
    void checkCommittable(const QSqlDatabase&) const override {}
    bool lonelyWritesNeedTheLock() const override { return false; }

    int schemaVersion(const QSqlDatabase& db) const override;
    void setSchemaVersion(const QSqlDatabase& db, int version) const override;
    int applicationId(const QSqlDatabase& db) const override;
    QStringList integrityProblems(const QSqlDatabase& db) const override;
    qlonglong lastAutoNumber(const QSqlDatabase& db, const QString& table,
                             const QString& keyColumn) const override;
    void setLastAutoNumber(const QSqlDatabase& db, const QString& table, const QString& keyColumn,
                           qlonglong number) const override;

    Refusal classify(const QSqlError& error) const override;
    QString unindexed(const QString& column) const override;

protected:
    QStringList preamble() const override { return {}; }
    QString columnDefinition(const QString& table, const schema::Column& column) const override;
    QStringList afterTable(const schema::Table&) const override { return {}; }
    QStringList markStatements(int applicationId, int version) const override;
};
