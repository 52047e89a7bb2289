#pragma once

#include "db/DatabaseFile.h"

#include <QSqlDatabase>
#include <QString>

// A pelm database on a PostgreSQL server that the workstations of an office
// share. The connection is named the way libpq names one: a URI
// ("postgresql:///pelm?host=/run/postgresql", "postgresql://server/pelm") or
// key=value words ("service=pelm", "host=server dbname=pelm"). Passwords stay
// where libpq keeps them (~/.pgpass, pg_service.conf): a connection that
// carries one is refused, so that none ends up in pelm's settings or on a
// command line.
namespace server_database {

// Whether `spec` names a server connection rather than a database file.
bool isConnection(const QString& spec);

// "数据库服务器<host>上的数据库<name>", for messages.
QString describe(const QString& spec);

// libpq's key=value form of `spec`; an empty text, with `error` set, for a
// connection that is malformed or carries a password.
QString connectionString(const QString& spec, QString* error);

// Opens the pelm database of `spec` under `connectionName`: it must carry pelm's
// mark, be of this release's schema version or an older one (brought up to
// date, all steps in one transaction), and hold every table and column of the
// schema. On failure the connection is left closed and `error` gets a Chinese
// message that names the server and the database. A statement waits up to
// `busyTimeoutMs` for another workstation's lock before it counts as busy.
QSqlDatabase open(const QString& spec, const QString& connectionName, QString* error, int busyTimeoutMs,
                  database_file::SchemaPolicy policy = {});

// Makes every table of pelm in the empty database of `spec` (the database itself
// is made by the server's administrator). Refuses a database that holds tables
// already. Returns an empty text on success, else what went wrong.
QString create(const QString& spec);

} // namespace server_database
