#include "db/ServerBackup.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

namespace server_backup {
namespace {

// Runs one of the server's tools; the Chinese reason when it is missing or fails.
QString run(const QString& tool, const QStringList& arguments, QString* output = nullptr)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QStringLiteral("找不到%1，请安装 postgresql-client。").arg(tool);
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return QStringLiteral("%1失败：").arg(tool) +
               QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput());
    return {};
}

// How many other sessions have the database of `connection` open; -1 when it
// cannot be asked.
int otherSessions(const QString& connection, QString* error)
{
    const QString name = QStringLiteral("pelm-restore-check");
    int sessions = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(connection);
        if (!db.open()) {
            *error = db.lastError().databaseText().trimmed();
        } else {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT count(*) FROM pg_stat_activity "
                                      "WHERE datname = current_database() AND pid <> pg_backend_pid()")) &&
                q.next())
                sessions = q.value(0).toInt();
            else
                *error = q.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return sessions;
}

} // namespace

QString dump(const QString& connection, const QString& file)
{
    return run(QStringLiteral("pg_dump"), {QStringLiteral("--format=custom"), u"--file=" + file,
                                           QStringLiteral("--no-owner"), u"--dbname=" + connection});
}

QString restore(const QString& file, const QString& connection)
{
    // A pelm backup holds the table that marks the database as pelm's.
    QString contents;
    if (run(QStringLiteral("pg_restore"), {QStringLiteral("--list"), file}, &contents).isEmpty() == false ||
        !contents.contains(QStringLiteral("TABLE DATA public pelm_mark")))
        return QStringLiteral("文件%1不是物业管理系统数据库服务器的备份，未做任何改动。").arg(file);
    QString error;
    const int sessions = otherSessions(connection, &error);
    if (sessions < 0)
        return QStringLiteral("无法连接数据库服务器，未做任何改动。") + u'\n' + error;
    if (sessions > 0)
        return QStringLiteral(
                   "还有%1个连接正在使用这个数据库，未做任何改动。请先关闭所有使用该数据库的物业管理系统。")
            .arg(sessions);
    const QString failed = run(QStringLiteral("pg_restore"),
                               {QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                                QStringLiteral("--no-owner"), QStringLiteral("--single-transaction"),
                                QStringLiteral("--exit-on-error"), u"--dbname=" + connection, file});
    if (!failed.isEmpty())
        return QStringLiteral("恢复失败，数据库未做任何改动。") + u'\n' + failed;
    return {};
}

} // namespace server_backup
