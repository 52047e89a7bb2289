#include "db/SqlDialect.h"

#include "db/Sql.h"

#include <QFileInfo>
#include <QUrl>

namespace sql_dialect {
namespace {

// SQLite's primary result codes; the driver gives the code as text in
// QSqlError::nativeErrorCode(). Extended codes keep the primary one in their
// low byte.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteConstraint = 19;

int primaryCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

// "UNIQUE constraint failed: rooms_info.room_id" -> {"rooms_info.room_id"}
QStringList failedColumns(const QString& list)
{
    QStringList columns;
    for (const QString& column : list.split(u',', Qt::SkipEmptyParts))
        columns << column.trimmed();
    return columns;
}

} // namespace

QString driverName()
{
    return QStringLiteral("QSQLITE");
}

void setConnection(QSqlDatabase& db, const QString& path, bool mayCreate, int busyTimeoutMs)
{
    // A URI, so that the open mode can say whether a missing file may be made.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(mayCreate ? QStringLiteral("mode=rwc") : QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(u"QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=" + QString::number(busyTimeoutMs));
}

void configureConnection(const QSqlDatabase& db)
{
    sql::exec(db, QStringLiteral("PRAGMA journal_mode = WAL"));
}

QString beginWriteTransaction()
{
    // A deferred BEGIN would fail at once with SQLITE_BUSY_SNAPSHOT when another
    // copy wrote in the meantime, without waiting for the busy timeout.
    return QStringLiteral("BEGIN IMMEDIATE");
}

int schemaVersion(const QSqlDatabase& db)
{
    return sql::scalar(db, QStringLiteral("PRAGMA user_version")).toInt();
}

void setSchemaVersion(const QSqlDatabase& db, int version)
{
    // A PRAGMA takes no bound values; the version is a number of ours.
    sql::exec(db, u"PRAGMA user_version = " + QString::number(version));
}

int applicationId(const QSqlDatabase& db)
{
    return sql::scalar(db, QStringLiteral("PRAGMA application_id")).toInt();
}

qlonglong lastAutoNumber(const QSqlDatabase& db, const QString& table)
{
    // sqlite_sequence exists once any auto-numbered table of the file has a row.
    if (!sql::exists(db, QStringLiteral("select name from sqlite_master where type = 'table' and name = ?"),
                     {QStringLiteral("sqlite_sequence")}))
        return 0;
    return sql::scalar(db, QStringLiteral("select seq from sqlite_sequence where name = ?"), {table})
        .toLongLong();
}

void setLastAutoNumber(const QSqlDatabase& db, const QString& table, qlonglong number)
{
    if (sql::update(db, QStringLiteral("sqlite_sequence"), {{QStringLiteral("seq"), number}},
                    QStringLiteral("name"), table) == 0)
        sql::insert(db, QStringLiteral("sqlite_sequence"),
                    {{QStringLiteral("name"), table}, {QStringLiteral("seq"), number}});
}

Refusal classify(const QSqlError& error)
{
    Refusal refusal;
    const int code = primaryCode(error);
    if (code == kSqliteBusy || code == kSqliteLocked) {
        refusal.failure = Failure::Busy;
        return refusal;
    }
    if (code != kSqliteConstraint)
        return refusal;

    // The engine names what failed after a fixed prefix.
    const QString text = error.databaseText().trimmed();
    struct Prefix
    {
        QLatin1StringView text;
        Failure failure;
    };
    static constexpr Prefix prefixes[] = {
        {QLatin1StringView("UNIQUE constraint failed: "), Failure::Unique},
        {QLatin1StringView("PRIMARY KEY constraint failed: "), Failure::Unique},
        {QLatin1StringView("NOT NULL constraint failed: "), Failure::NotNull},
        {QLatin1StringView("CHECK constraint failed: "), Failure::Check},
    };
    for (const Prefix& prefix : prefixes) {
        if (!text.startsWith(prefix.text))
            continue;
        const QString rest = text.mid(prefix.text.size()).trimmed();
        refusal.failure = prefix.failure;
        if (prefix.failure == Failure::Check)
            refusal.constraint = rest;
        else
            refusal.columns = failedColumns(rest);
        break;
    }
    return refusal;
}

} // namespace sql_dialect
