#include "db/DatabaseFile.h"

#include "db/DbError.h"
#include "db/Schema.h"
#include "db/Sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>

namespace database_file {
namespace {

constexpr int kBusyTimeoutMs = 5000;

// SQLite URI of a local file, with `mode` "rw" (existing file only) or "rwc".
QString sqliteUri(const QString& path, const char* mode)
{
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(u"mode=" + QString::fromLatin1(mode));
    return url.toString(QUrl::FullyEncoded);
}

QSqlDatabase openUri(const QString& uri, const QString& connectionName, QString* error)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? QSqlDatabase::database(connectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.close();
    db.setDatabaseName(uri);
    db.setConnectOptions(u"QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=" + QString::number(kBusyTimeoutMs));
    if (!db.open()) {
        *error = db.lastError().text().trimmed();
        if (error->isEmpty())
            *error = QStringLiteral("无法打开数据库文件。");
        db.close();
    }
    return db;
}

} // namespace

QSqlDatabase open(const QString& path, const QString& connectionName, QString* error)
{
    error->clear();
    QSqlDatabase db = openUri(sqliteUri(path, "rw"), connectionName, error);
    if (!error->isEmpty())
        return db;
    try {
        // The first read also finds a file that is no database at all.
        const int applicationId = sql::scalar(db, QStringLiteral("PRAGMA application_id")).toInt();
        const int version = sql::scalar(db, QStringLiteral("PRAGMA user_version")).toInt();
        if (applicationId != schema::kApplicationId) {
            *error = QStringLiteral("文件%1不是物业管理系统的数据库。").arg(QDir::toNativeSeparators(path));
        } else if (version > schema::kVersion) {
            *error = QStringLiteral("数据库文件%1来自更新的版本，请使用新版程序打开。")
                         .arg(QDir::toNativeSeparators(path));
        } else {
            sql::exec(db, QStringLiteral("PRAGMA journal_mode = WAL"));
        }
    } catch (const DbError& e) {
        *error = e.text();
    }
    if (!error->isEmpty())
        db.close();
    return db;
}

QString create(const QString& path)
{
    if (QFileInfo::exists(path))
        return QStringLiteral("数据库文件%1已经存在，未做任何改动。").arg(QDir::toNativeSeparators(path));

    const QString connectionName = QStringLiteral("pelm-create");
    QString error;
    {
        QSqlDatabase db = openUri(sqliteUri(path, "rwc"), connectionName, &error);
        if (error.isEmpty()) {
            try {
                schema::create(db);
                sql::exec(db, QStringLiteral("PRAGMA journal_mode = WAL"));
            } catch (const DbError& e) {
                error = e.text();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);

    if (!error.isEmpty()) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        return error;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    return {};
}

} // namespace database_file
