#pragma once

#include "db/SqlDialect.h"

// A PostgreSQL server that the workstations of an office share, through Qt's
// QPSQL driver. The schema is the file's, rendered with the server's types:
// whole numbers for money (hundredths) and areas, dates as the same text, and
// the same named checks, so that a refusal reads the same on both engines.
class PostgresDialect final : public SqlDialect
{
public:
    // The key of the advisory lock every write transaction takes: the mark "pelm".
    static constexpr qlonglong kWriteLock = schema::kApplicationId;

    Engine engine() const override { return Engine::Postgres; }
    QString driverName() const override;

    void configureConnection(const QSqlDatabase&) const override;
    // BEGIN, then the advisory lock: a second writer waits for the first to
    // commit, and then sees what it wrote (the transaction reads committed rows).
    void beginWriteTransaction(const QSqlDatabase& db) const override;
    void checkCommittable(const QSqlDatabase& db) const override;
    // A statement in autocommit takes no advisory lock of its own.
    bool lonelyWritesNeedTheLock() const override { return true; }

    int schemaVersion(const QSqlDatabase& db) const override;
    void setSchemaVersion(const QSqlDatabase& db, int version) const override;
    int applicationId(const QSqlDatabase& db) const override;
    QStringList integrityProblems(const QSqlDatabase& db) const override;
    qlonglong lastAutoNumber(const QSqlDatabase& db, const QString& table,
                             const QString& keyColumn) const override;
    void setLastAutoNumber(const QSqlDatabase& db, const QString& table, const QString& keyColumn,
                           qlonglong number) const override;

    // By SQLSTATE; the names of constraints and columns from the server's text,
    // which quotes them the same way in every language.
    Refusal classify(const QSqlError& error) const override;
    QString unindexed(const QString& column) const override { return column; }

protected:
    QStringList preamble() const override;
    QString columnDefinition(const QString& table, const schema::Column& column) const override;
    QStringList afterTable(const schema::Table& table) const override;
    QStringList markStatements(int applicationId, int version) const override;
};
