#include "db/SqlDialect.h"

#include "db/PostgresDialect.h"
#include "db/SqliteDialect.h"

#include <QSqlDriver>

const SqlDialect& SqlDialect::of(Engine engine)
{
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    if (engine == Engine::Postgres)
        return postgres;
    return sqlite;
}

const SqlDialect& SqlDialect::of(const QSqlDriver* driver)
{
    return of(driver && driver->dbmsType() == QSqlDriver::PostgreSQL ? Engine::Postgres : Engine::Sqlite);
}

const SqlDialect& SqlDialect::of(const QSqlDatabase& db)
{
    return of(db.driverName() == QLatin1StringView("QPSQL") ? Engine::Postgres : Engine::Sqlite);
}

QStringList SqlDialect::createStatements() const
{
    QStringList statements = preamble();
    for (const schema::Table& table : schema::tables()) {
        const QString name = QString::fromLatin1(table.name);
        QStringList columns;
        for (const schema::Column& column : table.columns)
            columns << columnDefinition(name, column);
        statements << u"CREATE TABLE " + quoted(name) + u" (\n    " + columns.join(u",\n    ") + u"\n)";
        statements << afterTable(table);
    }
    for (const schema::Index& index : schema::indexes()) {
        const QStringList columns = QString::fromLatin1(index.columns).split(u',');
        QStringList quotedColumns;
        for (const QString& column : columns)
            quotedColumns << quoted(column);
        const QString name = QString::fromLatin1(index.table) + u'_' + columns.join(u'_');
        statements << u"CREATE INDEX " + quoted(name) + u" ON " + quoted(QString::fromLatin1(index.table)) +
                          u" (" + quotedColumns.join(u", ") + u')';
    }
    statements << markStatements(schema::kApplicationId, schema::kVersion);
    return statements;
}

QString SqlDialect::check(const QString& table, const schema::Column& column, schema::Rule rule,
                          const QString& condition)
{
    const QString c = quoted(QString::fromLatin1(column.name));
    return u" CONSTRAINT " + quoted(schema::checkName(table, QString::fromLatin1(column.name), rule)) +
           u" CHECK (" + c + u" IS NULL OR (" + condition + u"))";
}
