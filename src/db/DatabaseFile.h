#pragma once

#include <QSqlDatabase>
#include <QString>

// Opening and creating the SQLite file that holds all of pelm's data.
namespace database_file {

// Name of the connection that every screen shares.
inline constexpr char kSharedConnection[] = "adocnPelm";

// The file name looked for in the working directory when no path is given.
inline constexpr char kDefaultFileName[] = "pelm.mdb";

// Opens an existing pelm database under `connectionName`: WAL journal, a busy
// timeout so that several copies can share the file. A missing file is never
// created. On failure the connection is left closed and `error` gets the
// engine's text (or a clear Chinese message for a file that is not ours).
QSqlDatabase open(const QString& path, const QString& connectionName, QString* error);

// Makes a new database file with every table and index, readable and writable by
// its owner and group only. Refuses to touch an existing file. Returns an empty
// text on success, else what went wrong; a half-made file is removed.
QString create(const QString& path);

} // namespace database_file
