#pragma once

#include "db/SqliteFile.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

// Backing the office's database up while it is in use, and putting a backup
// back in its place.
namespace database_backup {

struct Result
{
    enum class Outcome { Done, Cancelled, Refused };
    Outcome outcome = Outcome::Refused;
    // What the operator reads: what was done, or why nothing was (Chinese).
    QString message;

    bool done() const { return outcome == Outcome::Done; }
};

// Copies the database open on `db` into the new file `target` with the engine's
// online backup, on a connection of its own, so that other screens and other
// copies go on working meanwhile; the copy is the database as it stood at one
// moment. `progress` (pages copied, pages in all) may cancel. The backup is one
// file, made readable and writable by its owner and group only, and appears
// complete or not at all. An existing `target` is never touched. A database on a
// server is dumped by the server's pg_dump (custom format; no progress).
Result backup(const QSqlDatabase& db, const QString& target, const sqlite_file::Progress& progress = {});

// Replaces the database at `databasePath` by the backup `backupFile`, which is
// first checked on a copy: pelm's mark, a version this release can open (an
// older one is upgraded on the copy), every table and column, and the engine's
// integrity check. Refused while any other copy of pelm (or anything else) has
// the database open: the database's exclusive lock is taken first, which every
// open connection keeps out. The replaced file stays beside the database as
// "<name>.<yyyyMMdd-HHmmss>.bak" (time `now`); a missing database is simply
// made from the backup. Nothing changes when anything is refused. A database on a
// server (`databasePath` a connection) is restored by pg_restore in one
// transaction, refused while any workstation has it open (server_backup).
Result restore(const QString& backupFile, const QString& databasePath, const QDateTime& now);

// Where a backup of the database open on `db` goes unless the operator says
// otherwise: beside the database, named after it and the time `now`
// ("pelm-备份-20261210-093000.mdb"); for a server's database, in the working
// folder ("pelm-备份-20261210-093000.backup").
QString suggestedName(const QSqlDatabase& db, const QDateTime& now);

// The name under which restore() keeps the file it replaced.
QString keptName(const QString& databasePath, const QDateTime& now);

} // namespace database_backup
