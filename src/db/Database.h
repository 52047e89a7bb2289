#pragma once

#include "db/DatabaseFile.h"

#include <QSqlDatabase>
#include <QString>

// Where the office's data is: the place of the database as the program is told
// it (--database, PELM_DATABASE, the settings), a file or a server connection,
// and opening or making it on the engine that place names. The only place that
// chooses the engine.
namespace database {

// The database file, or the PostgreSQL connection (see ServerDatabase.h).
bool isServer(const QString& place);

// Opens the pelm database at `place` under `connectionName` (see
// database_file::open and server_database::open); `error` gets the Chinese
// reason when it cannot be used. A write waits up to `busyTimeoutMs` for another
// copy's lock before it counts as busy.
QSqlDatabase open(const QString& place, const QString& connectionName, QString* error,
                  int busyTimeoutMs = database_file::kBusyTimeoutMs, database_file::SchemaPolicy policy = {});

// Makes a new pelm database at `place`: a new file, or the tables in an empty
// database on the server. Returns an empty text, else what went wrong.
QString create(const QString& place);

// The place chosen: `given` on the command line when set, else the environment's
// PELM_DATABASE, else the "database" setting of the settings file named by
// PELM_SETTINGS (a file every workstation can share; absent: the user's own
// settings), else pelm.mdb in the working directory.
QString chosen(const QString& given);

} // namespace database
