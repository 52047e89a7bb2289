#include "commands/DatabaseCommands.h"

#include "commands/Invocation.h"
#include "db/Database.h"
#include "db/DatabaseBackup.h"
#include "db/DatabaseCopy.h"
#include "db/Schema.h"
#include "db/ServerDatabase.h"
#include "db/SqlDialect.h"

#include <QDateTime>
#include <QJsonObject>

namespace database_commands {
namespace {

QString described(const QString& place)
{
    return database::isServer(place) ? server_database::describe(place)
                                     : QStringLiteral("数据库文件 ") + place;
}

int done(const Invocation& invocation, const QString& message, QJsonObject summary)
{
    invocation.console().say(message);
    invocation.console().summary(summary);
    return exit_status::kDone;
}

} // namespace

int init(Invocation& invocation)
{
    invocation.noArguments();
    const QString place = invocation.databasePlace();
    if (const QString error = database::create(place); !error.isEmpty())
        refuseCommand(error);
    const QString message = database::isServer(place)
                                ? QStringLiteral("已在%1中创建数据表").arg(server_database::describe(place))
                                : QStringLiteral("已创建数据库文件 %1").arg(place);
    return done(invocation, message,
                {{QStringLiteral("command"), QStringLiteral("init")},
                 {QStringLiteral("database"), place},
                 {QStringLiteral("version"), schema::kVersion}});
}

int check(Invocation& invocation)
{
    invocation.noArguments();
    // Opening checks the mark, the version and every table and column, and
    // writes nothing to a database of this version.
    QSqlDatabase db = invocation.db({.upgradeOlder = false});
    const QStringList problems = SqlDialect::of(db).integrityProblems(db);
    if (!problems.isEmpty())
        refuseCommand(QStringLiteral("%1未通过完整性检查，请从备份恢复：\n")
                          .arg(described(invocation.databasePlace())) +
                      problems.join(u'\n'));
    return done(invocation,
                QStringLiteral("%1检查通过：版本%2，所有表和字段齐全，完整性检查无误。")
                    .arg(described(invocation.databasePlace()))
                    .arg(schema::kVersion),
                {{QStringLiteral("command"), QStringLiteral("check")},
                 {QStringLiteral("database"), invocation.databasePlace()},
                 {QStringLiteral("version"), schema::kVersion},
                 {QStringLiteral("ok"), true}});
}

int upgrade(Invocation& invocation)
{
    invocation.noArguments();
    int found = 0;
    invocation.db({.upgradeOlder = true, .versionFound = &found});
    const QString where = described(invocation.databasePlace());
    const QString message =
        found == schema::kVersion
            ? QStringLiteral("%1已是最新版本（版本%2）。").arg(where).arg(found)
            : QStringLiteral("%1已从版本%2升级到版本%3。").arg(where).arg(found).arg(schema::kVersion);
    return done(invocation, message,
                {{QStringLiteral("command"), QStringLiteral("upgrade")},
                 {QStringLiteral("database"), invocation.databasePlace()},
                 {QStringLiteral("from"), found},
                 {QStringLiteral("version"), schema::kVersion}});
}

int backup(Invocation& invocation)
{
    const QString file = invocation.argument(QStringLiteral("备份文件"));
    const database_backup::Result result = database_backup::backup(invocation.db(), file);
    if (!result.done())
        refuseCommand(result.message);
    return done(invocation, result.message,
                {{QStringLiteral("command"), QStringLiteral("backup")}, {QStringLiteral("file"), file}});
}

int restore(Invocation& invocation)
{
    const QString file = invocation.argument(QStringLiteral("备份文件"));
    if (!invocation.confirmedBefore() && !invocation.options().isSet(QStringLiteral("yes")))
        refuseCommand(QStringLiteral("恢复会用备份替换整个数据库：确认时请加 --yes。未做任何改动。"));
    const database_backup::Result result =
        database_backup::restore(file, invocation.databasePlace(), QDateTime::currentDateTime());
    if (!result.done())
        refuseCommand(result.message);
    return done(invocation, result.message,
                {{QStringLiteral("command"), QStringLiteral("restore")}, {QStringLiteral("file"), file}});
}

int copyTo(Invocation& invocation)
{
    const QString target = invocation.argument(QStringLiteral("数据库服务器的连接"));
    if (!database::isServer(target))
        refuseCommand(QStringLiteral(
            "--copy-to 需要数据库服务器的连接，例如 postgresql:///pelm?host=/run/postgresql。"));
    const database_copy::Result result = database_copy::copyTo(invocation.db(), target);
    if (!result.done)
        refuseCommand(result.message);
    return done(invocation, result.message,
                {{QStringLiteral("command"), QStringLiteral("copy-to")}, {QStringLiteral("target"), target}});
}

} // namespace database_commands
