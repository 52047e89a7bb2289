#include "db/ServerDatabase.h"

#include "db/DbError.h"
#include "db/Schema.h"
#include "db/SchemaUpgrade.h"
#include "db/Sql.h"
#include "db/SqlDialect.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

namespace server_database {
namespace {

// A value in libpq's key=value form: quoted, with quotes and backslashes escaped.
QString quotedValue(QString value)
{
    value.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + value + u'\'';
}

// The words of a key=value connection, as keys and values.
QList<std::pair<QString, QString>> words(const QString& conninfo)
{
    static const QRegularExpression word(QStringLiteral(R"re((\w+)\s*=\s*('(?:[^'\\]|\\.)*'|\S+))re"));
    QList<std::pair<QString, QString>> found;
    QRegularExpressionMatchIterator it = word.globalMatch(conninfo);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QString value = m.captured(2);
        if (value.startsWith(u'\'')) {
            value = value.mid(1, value.size() - 2);
            value.replace(QStringLiteral("\\'"), QStringLiteral("'"))
                .replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        }
        found.append({m.captured(1).toLower(), value});
    }
    return found;
}

bool isUri(const QString& spec)
{
    return spec.startsWith(u"postgresql://") || spec.startsWith(u"postgres://");
}

// The URI as key=value words.
QList<std::pair<QString, QString>> uriWords(const QString& spec)
{
    const QUrl url(spec);
    QList<std::pair<QString, QString>> found;
    if (!url.host().isEmpty())
        found.append({QStringLiteral("host"), url.host()});
    if (url.port() > 0)
        found.append({QStringLiteral("port"), QString::number(url.port())});
    if (!url.userName().isEmpty())
        found.append({QStringLiteral("user"), url.userName()});
    if (!url.password().isEmpty())
        found.append({QStringLiteral("password"), url.password()});
    const QString name = url.path().mid(1);
    if (!name.isEmpty())
        found.append({QStringLiteral("dbname"), name});
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        found.append({key.toLower(), value});
    return found;
}

QList<std::pair<QString, QString>> parts(const QString& spec)
{
    return isUri(spec) ? uriWords(spec) : words(spec);
}

QString valueOf(const QList<std::pair<QString, QString>>& parts, const QString& key)
{
    for (const auto& [k, v] : parts) {
        if (k == key)
            return v;
    }
    return {};
}

QSqlDatabase connection(const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? QSqlDatabase::database(connectionName, false)
                          : QSqlDatabase::addDatabase(
                                SqlDialect::of(SqlDialect::Engine::Postgres).driverName(), connectionName);
    db.close();
    return db;
}

// Connects `db` to the server; the Chinese reason when that fails.
QString connect(QSqlDatabase& db, const QString& spec)
{
    QString error;
    const QString conninfo = connectionString(spec, &error);
    if (!error.isEmpty())
        return error;
    db.setConnectOptions(conninfo);
    if (db.open())
        return {};
    return QStringLiteral("无法连接%1。请检查服务器是否已启动、连接是否正确，以及是否有登录的权限。")
               .arg(describe(spec)) +
           u'\n' + db.lastError().databaseText().trimmed();
}

// The first table or column of the schema the database lacks, as a message.
QString missingTable(const QSqlDatabase& db, const QString& where)
{
    for (const schema::Table& table : schema::tables()) {
        const QString name = QString::fromLatin1(table.name);
        const QSqlRecord record = db.record(name);
        if (record.isEmpty())
            return QStringLiteral("%1已损坏：缺少表%2。").arg(where, name);
        for (const schema::Column& column : table.columns) {
            const QString columnName = QString::fromLatin1(column.name);
            if (record.indexOf(columnName) < 0)
                return QStringLiteral("%1已损坏：表%2缺少字段%3。").arg(where, name, columnName);
        }
    }
    return {};
}

// The mark and the version, brought up to date; the problem as a message.
QString checkContent(const QSqlDatabase& db, const QString& where, database_file::SchemaPolicy policy)
{
    const SqlDialect& dialect = SqlDialect::of(db);
    try {
        if (dialect.applicationId(db) != schema::kApplicationId)
            return QStringLiteral("%1不是物业管理系统的数据库。请检查连接（可用 --database 指定），"
                                  "或用 pelm --init-db 在空数据库中创建。")
                .arg(where);
        const int version = dialect.schemaVersion(db);
        if (version > schema::kVersion)
            return QStringLiteral("%1的版本（%2）比本程序的版本（%3）新。请使用新版程序打开。")
                .arg(where)
                .arg(version)
                .arg(schema::kVersion);
        if (policy.versionFound)
            *policy.versionFound = version;
        if (version < schema::kVersion && !policy.upgradeOlder)
            return database_file::olderText(where, version);
        dialect.configureConnection(db);
        if (version < schema::kVersion)
            schema_upgrade::upgrade(db, schema_upgrade::steps(), schema::kVersion);
    } catch (const DbError& e) {
        return where + u'：' + e.text() + (e.detail().isEmpty() ? QString() : u'\n' + e.detail());
    }
    return missingTable(db, where);
}

} // namespace

bool isConnection(const QString& spec)
{
    static const QRegularExpression keyValue(QStringLiteral(R"re(^\s*\w+\s*=)re"));
    return isUri(spec) || keyValue.match(spec).hasMatch();
}

QString describe(const QString& spec)
{
    const auto p = parts(spec);
    const QString service = valueOf(p, QStringLiteral("service"));
    QString host = valueOf(p, QStringLiteral("host"));
    if (host.isEmpty() || host.startsWith(u'/'))
        host = QStringLiteral("本机");
    QString name = valueOf(p, QStringLiteral("dbname"));
    if (name.isEmpty() && !service.isEmpty())
        return QStringLiteral("数据库服务%1").arg(service);
    if (name.isEmpty())
        name = valueOf(p, QStringLiteral("user"));
    return QStringLiteral("数据库服务器%1上的数据库%2").arg(host, name);
}

QString connectionString(const QString& spec, QString* error)
{
    error->clear();
    const auto p = parts(spec);
    if (p.isEmpty()) {
        *error = QStringLiteral("数据库连接“%1”无法识别。").arg(spec);
        return {};
    }
    QStringList conninfo;
    for (const auto& [key, value] : p) {
        if (key == u"password") {
            *error = QStringLiteral("数据库连接中不能写密码，请把密码放在 ~/.pgpass 或 pg_service.conf 中。");
            return {};
        }
        conninfo << key + u'=' + quotedValue(value);
    }
    return conninfo.join(u' ');
}

QSqlDatabase open(const QString& spec, const QString& connectionName, QString* error, int busyTimeoutMs,
                  database_file::SchemaPolicy policy)
{
    QSqlDatabase db = connection(connectionName);
    *error = connect(db, spec);
    if (error->isEmpty()) {
        // A writer waits for another's lock as long as on the file, then is told
        // that the database is busy.
        QSqlQuery timeout(db);
        if (!timeout.exec(u"SET lock_timeout = " + QString::number(busyTimeoutMs)))
            *error = describe(spec) + u'：' + timeout.lastError().text();
    }
    if (error->isEmpty())
        *error = checkContent(db, describe(spec), policy);
    if (!error->isEmpty())
        db.close();
    return db;
}

QString create(const QString& spec)
{
    const QString connectionName = QStringLiteral("pelm-create");
    QString error;
    {
        QSqlDatabase db = connection(connectionName);
        error = connect(db, spec);
        if (error.isEmpty()) {
            try {
                if (!db.tables().isEmpty())
                    error = QStringLiteral("%1中已经有数据表，未做任何改动。请在空数据库中创建。")
                                .arg(describe(spec));
                else
                    schema::create(db);
            } catch (const DbError& e) {
                error = QStringLiteral("无法在%1中创建数据表。").arg(describe(spec)) + u'\n' + e.text() +
                        (e.detail().isEmpty() ? QString() : u'\n' + e.detail());
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return error;
}

} // namespace server_database
