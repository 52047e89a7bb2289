#include "db/DatabaseFile.h"

#include "db/DbError.h"
#include "db/Schema.h"
#include "db/SchemaUpgrade.h"
#include "db/Sql.h"
#include "db/SqlDialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

namespace database_file {
namespace {

QSqlDatabase openConnection(const QString& path, bool mayCreate, const QString& connectionName,
                            int busyTimeoutMs, QString* error)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? QSqlDatabase::database(connectionName, false)
                          : QSqlDatabase::addDatabase(sql_dialect::driverName(), connectionName);
    db.close();
    sql_dialect::setConnection(db, path, mayCreate, busyTimeoutMs);
    if (!db.open()) {
        *error = db.lastError().text().trimmed();
        if (error->isEmpty())
            *error = QStringLiteral("无法打开数据库文件。");
        db.close();
    }
    return db;
}

// The error's text, and the engine's on a line of its own.
QString fullText(const DbError& e)
{
    return e.detail().isEmpty() ? e.text() : e.text() + u'\n' + e.detail();
}

} // namespace

QSqlDatabase open(const QString& path, const QString& connectionName, QString* error, int busyTimeoutMs)
{
    error->clear();
    QSqlDatabase db = openConnection(path, false, connectionName, busyTimeoutMs, error);
    if (!error->isEmpty())
        return db;
    try {
        // The first read also finds a file that is no database at all.
        const int applicationId = sql_dialect::applicationId(db);
        const int version = sql_dialect::schemaVersion(db);
        if (applicationId != schema::kApplicationId) {
            *error = QStringLiteral("文件%1不是物业管理系统的数据库。").arg(QDir::toNativeSeparators(path));
        } else if (version > schema::kVersion) {
            *error = QStringLiteral("数据库文件%1来自更新的版本，请使用新版程序打开。")
                         .arg(QDir::toNativeSeparators(path));
        } else {
            sql_dialect::configureConnection(db);
            if (version < schema::kVersion)
                schema_upgrade::upgrade(db, schema_upgrade::steps(), schema::kVersion);
        }
    } catch (const DbError& e) {
        *error = fullText(e);
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
        QSqlDatabase db = openConnection(path, true, connectionName, kBusyTimeoutMs, &error);
        if (error.isEmpty()) {
            try {
                schema::create(db);
                sql_dialect::configureConnection(db);
            } catch (const DbError& e) {
                error = fullText(e);
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
