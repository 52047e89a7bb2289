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
    for (const schema::Table& table : schema::tables())
        statements << tableStatements(table);
    for (const schema::Index& index : schema::indexes())
        statements << indexStatement(index);
    statements << markStatements(schema::kApplicationId, schema::kVersion);
    return statements;
}

QStringList SqlDialect::tableStatements(const schema::Table& table) const
{
    const QString name = QString::fromLatin1(table.name);
    QStringList columns;
    for (const schema::Column& column : table.columns)
        columns << columnDefinition(name, column);
    return QStringList{u"CREATE TABLE " + quoted(name) + u" (\n    " + columns.join(u",\n    ") + u"\n)"} +
           afterTable(table);
}

QString SqlDialect::indexStatement(const schema::Index& index)
{
    const QStringList columns = QString::fromLatin1(index.columns).split(u',');
    QStringList quotedColumns;
    for (const QString& column : columns)
        quotedColumns << quoted(column);
    const QString name = QString::fromLatin1(index.table) + u'_' + columns.join(u'_');
    return (index.unique ? QStringLiteral("CREATE UNIQUE INDEX ") : QStringLiteral("CREATE INDEX ")) +
           quoted(name) + u" ON " + quoted(QString::fromLatin1(index.table)) + u" (" +
           quotedColumns.join(u", ") + u')';
}

QString SqlDialect::check(const QString& table, const schema::Column& column, schema::Rule rule,
                          const QString& condition)
{
    const QString c = quoted(QString::fromLatin1(column.name));
    return u" CONSTRAINT " + quoted(schema::checkName(table, QString::fromLatin1(column.name), rule)) +
           u" CHECK (" + c + u" IS NULL OR (" + condition + u"))";
}
