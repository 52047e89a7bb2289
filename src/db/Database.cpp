#include "db/Database.h"

#include "db/DatabaseFile.h"
#include "db/ServerDatabase.h"

#include <QSettings>

namespace database {

bool isServer(const QString& place)
{
    return server_database::isConnection(place);
}

QSqlDatabase open(const QString& place, const QString& connectionName, QString* error, int busyTimeoutMs,
                  database_file::SchemaPolicy policy)
{
    if (isServer(place))
        return server_database::open(place, connectionName, error, busyTimeoutMs, policy);
    return database_file::open(place, connectionName, error, busyTimeoutMs, policy);
}

QString create(const QString& place)
{
    if (isServer(place))
        return server_database::create(place);
    return database_file::create(place);
}

QString chosen(const QString& given)
{
    if (!given.isEmpty())
        return given;
    const QString fromEnvironment = qEnvironmentVariable("PELM_DATABASE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString settingsFile = qEnvironmentVariable("PELM_SETTINGS");
    const QString fromSettings =
        (settingsFile.isEmpty() ? QSettings(QStringLiteral("pelm"), QStringLiteral("pelm"))
                                : QSettings(settingsFile, QSettings::IniFormat))
            .value(QStringLiteral("database"))
            .toString();
    if (!fromSettings.isEmpty())
        return fromSettings;
    return QString::fromLatin1(database_file::kDefaultFileName);
}

} // namespace database
