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

// How opening treats a database of an older schema version.
struct SchemaPolicy
{
    bool upgradeOlder = true;    // bring it up to date in place; false: refuse it (`pelm upgrade` does it)
    int* versionFound = nullptr; // receives the version the database had when it was opened
};

// The refusal of a database of an older version when `upgradeOlder` is false.
QString olderText(const QString& what, int version);

// Opens an existing pelm database under `connectionName`: WAL journal, a busy
// timeout so that several copies can share the file. A missing file is never
// created. The file must be readable and writable, and so must its folder (the
// WAL journal keeps two files beside it); it must carry pelm's mark, be of this
// release's schema version or an older one (upgraded in place, all steps in one
// transaction, schema_upgrade), and hold every table and column of the schema.
// On failure the connection is left closed and `error` gets a Chinese message
// that names the file and says what to do; nothing is written to a file that is
// refused.
QSqlDatabase open(const QString& path, const QString& connectionName, QString* error,
                  int busyTimeoutMs = kBusyTimeoutMs, SchemaPolicy policy = {});

// Makes a new database file with every table and index, readable and writable by
// its owner and group only. Refuses to touch an existing file. Returns an empty
// text on success, else what went wrong. The file is built under another name
// beside `path` and put in place complete: an interrupted run leaves no file at
// `path` (at most the unfinished one under its own name).
QString create(const QString& path);

// Whose file a message is about: the database pelm works on, or a backup that
// is to replace it.
enum class Role { Database, Backup };

// What the file system says about `path` before the engine is asked: a missing
// file, one that is a folder or cannot be read, and for a database to work on
// also a write-protected file or folder (the WAL journal keeps two files
// beside the database). Returns the Chinese message, or an empty text.
QString checkAccess(const QString& path, Role role);

// Reads the mark and the version of the file open on `db`, without writing:
// the message when the file is no database, damaged, locked by another
// program, not pelm's, or of a newer release; an empty text when it may be
// opened.
QString checkMark(const QSqlDatabase& db, const QString& path, Role role);

// Checks the file open on `db` as pelm's, for `role`: its mark, its version (an
// older one is brought up to date in place), and every table and column of the
// schema. A database to work on is switched to the WAL journal on the way, a
// backup is not. Returns the Chinese message naming `path`, or an empty
// text when the file passes.
QString checkContent(const QSqlDatabase& db, const QString& path, Role role, SchemaPolicy policy = {});

// A name beside `path` under which this process may build a file that is to
// become `path`. Whatever lies there already (left by an earlier process of the
// same number) is removed.
QString buildingName(const QString& path);

// Moves the complete file `built` to `target` in one step, and makes the move
// durable. Refuses when `target` exists, also when it appeared a moment ago.
// Returns an empty text, else the Chinese reason.
QString place(const QString& built, const QString& target);

// Removes a database file with the journal files the engine may keep beside it.
void removeWithJournals(const QString& path);

// The permissions every file of the office's data gets: its owner and group may
// read and write it, nobody else may read it.
void restrictToOwnerAndGroup(const QString& path);

} // namespace database_file
