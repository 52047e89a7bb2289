#include "db/DatabaseCopy.h"

#include "db/DbError.h"
#include "db/Schema.h"
#include "db/ServerDatabase.h"
#include "db/Sql.h"
#include "db/SqlDialect.h"

#include <QSqlQuery>
#include <QStringList>

namespace database_copy {
namespace {

// Rows per insert statement: one round trip to the server carries this many.
constexpr int kRowsPerStatement = 500;

QString quoted(const QString& identifier)
{
    return u'"' + identifier + u'"';
}

QStringList columnsOf(const schema::Table& table)
{
    QStringList columns;
    for (const schema::Column& column : table.columns)
        columns << QString::fromLatin1(column.name);
    return columns;
}

// Copies the rows of one table; returns how many.
qlonglong copyRows(const QSqlDatabase& source, const QSqlDatabase& target, const schema::Table& table)
{
    const QString name = QString::fromLatin1(table.name);
    const QStringList columns = columnsOf(table);
    QStringList quotedColumns;
    for (const QString& column : columns)
        quotedColumns << quoted(column);
    const QString row = u'(' + QStringList(columns.size(), QStringLiteral("?")).join(u", ") + u')';
    const QString head = u"insert into " + quoted(name) + u" (" + quotedColumns.join(u", ") + u") values ";

    QSqlQuery read =
        sql::exec(source, u"select " + quotedColumns.join(u", ") + u" from " + quoted(name) + u" order by 1");
    qlonglong copied = 0;
    QVariantList values;
    int rows = 0;
    const auto flush = [&] {
        if (rows == 0)
            return;
        QStringList marks(rows, row);
        sql::exec(target, head + marks.join(u", "), values);
        values.clear();
        rows = 0;
    };
    while (read.next()) {
        for (int i = 0; i < columns.size(); ++i)
            values << read.value(i);
        ++rows;
        ++copied;
        if (rows == kRowsPerStatement)
            flush();
    }
    flush();
    return copied;
}

// What proves a table copied: its row count and the sum of every money and area
// column, as one line of text.
QString tally(const QSqlDatabase& db, const schema::Table& table)
{
    QStringList measures{QStringLiteral("count(*)")};
    for (const schema::Column& column : table.columns) {
        if (column.type == schema::ColumnType::Decimal)
            measures << u"coalesce(cast(sum(" + quoted(QString::fromLatin1(column.name)) +
                            u") as bigint), 0)";
    }
    QSqlQuery q = sql::exec(db, u"select " + measures.join(u", ") + u" from " +
                                    quoted(QString::fromLatin1(table.name)));
    QStringList values;
    if (q.next()) {
        for (int i = 0; i < measures.size(); ++i)
            values << QString::number(q.value(i).toLongLong());
    }
    return values.join(u' ');
}

} // namespace

Result copyTo(const QSqlDatabase& source, const QString& target)
{
    const QString where = server_database::describe(target);
    const QString connectionName = QStringLiteral("pelm-copy");
    Result result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(SqlDialect::of(SqlDialect::Engine::Postgres).driverName(),
                                                    connectionName);
        QString error;
        db.setConnectOptions(server_database::connectionString(target, &error));
        if (error.isEmpty() && !db.open())
            error =
                QStringLiteral("无法连接%1。").arg(where) + u'\n' + db.lastError().databaseText().trimmed();
        if (error.isEmpty() && !db.tables().isEmpty())
            error = QStringLiteral("%1中已经有数据表，未做任何改动。请复制到空数据库中。").arg(where);
        if (error.isEmpty()) {
            try {
                const SqlDialect& from = SqlDialect::of(source);
                const SqlDialect& to = SqlDialect::of(db);
                Transaction transaction(db);
                schema::create(db);
                qlonglong rows = 0;
                QStringList differences;
                for (const schema::Table& table : schema::tables()) {
                    rows += copyRows(source, db, table);
                    for (const schema::Column& column : table.columns) {
                        if (column.type != schema::ColumnType::AutoNumber)
                            continue;
                        const QString name = QString::fromLatin1(table.name);
                        const QString key = QString::fromLatin1(column.name);
                        to.setLastAutoNumber(db, name, key, from.lastAutoNumber(source, name, key));
                    }
                    if (tally(source, table) != tally(db, table))
                        differences << QString::fromLatin1(table.name);
                }
                if (!differences.isEmpty()) {
                    error = QStringLiteral("复制到%1的数据与原数据不一致（表%2），未保留任何内容。")
                                .arg(where, differences.join(u'、'));
                } else {
                    transaction.commit();
                    result = {true, QStringLiteral("已把%1行数据复制到%2，各表的行数和金额合计都已核对一致。")
                                        .arg(rows)
                                        .arg(where)};
                }
            } catch (const DbError& e) {
                error = QStringLiteral("无法复制到%1，未保留任何内容。").arg(where) + u'\n' + e.text() +
                        (e.detail().isEmpty() ? QString() : u'\n' + e.detail());
            }
        }
        if (!error.isEmpty())
            result = {false, error};
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return result;
}

} // namespace database_copy
