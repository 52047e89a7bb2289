#pragma once

#include <QString>

// Backups of a database on a PostgreSQL server, through the server's own tools
// (pg_dump and pg_restore of the postgresql-client package), in their custom
// format. database_backup decides where the file goes and how it is put in
// place; these only run the tools.
namespace server_backup {

// Dumps the database of `connection` (libpq key=value words) into the new file
// `file`. Returns an empty text, else the Chinese reason.
QString dump(const QString& connection, const QString& file);

// Replaces everything in the database of `connection` by the backup `file`, in
// one transaction: all of it or, when anything fails, nothing. Refused when the
// file is no pelm backup, or while any other session (a workstation) has the
// database open. Returns an empty text, else the Chinese reason.
QString restore(const QString& file, const QString& connection);

} // namespace server_backup
