#pragma once

#include <QSqlDatabase>
#include <QString>

// Opening and creating the SQLite file that holds all of pelm's data.
namespace database_file {

// Name of the connection that every screen shares.
inline constexpr char kSharedConnection[] = "adocnPelm";

// The file name looked for in the working directory when no path is given.
inline constexpr char kDefaultFileName[] = "pelm.mdb";

// How long a statement waits for another copy's lock before it counts as busy.
inline constexpr int kBusyTimeoutMs = 5000;

// Opens an existing pelm database under `connectionName`: WAL journal, a busy
// timeout so that several copies can share the file. A missing file is never
// created. A file of an older schema version is upgraded in place, all steps in
// one transaction (schema_upgrade); a file of a newer version is refused. On
// failure the connection is left closed and `error` gets a clear Chinese message
// (with the engine's text on a second line where there is one).
QSqlDatabase open(const QString& path, const QString& connectionName, QString* error,
                  int busyTimeoutMs = kBusyTimeoutMs);

// Makes a new database file with every table and index, readable and writable by
// its owner and group only. Refuses to touch an existing file. Returns an empty
// text on success, else what went wrong; a half-made file is removed.
QString create(const QString& path);

} // namespace database_file
