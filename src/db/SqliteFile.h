#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

#include <functional>

// What pelm does with the engine's file itself, beyond statements: reading the
// file's mark and its tables as the first thing after opening, telling why the
// engine refused a file, the integrity check, the engine's online backup (a
// page-by-page copy from one open connection to another), and the exclusive lock
// that keeps every other copy out. Like SqlDialect this is SQLite's; the C API
// is reached through the handle that Qt's driver gives (QSqlDriver::handle()).
namespace sqlite_file {

// Points `db` (not yet open) at the file `path` for reading only: nothing is
// ever written to it.
void setReadOnlyConnection(QSqlDatabase& db, const QString& path, int busyTimeoutMs);

// Why the engine refused to open or read a file.
enum class Failure {
    None,
    NotADatabase, // the file is no database at all ("file is not a database")
    Corrupt,      // a database whose content is damaged or cut short ("malformed")
    Busy,         // another connection holds a lock that keeps this one out
    ReadOnly,     // the file, or what the engine must write beside it, cannot be written
    CannotOpen,   // the file or a file beside it cannot be opened
    Other,
};

// What a refused call or statement means.
Failure classify(const QSqlError& error);

// The result of a read of the file: why it failed (None when it did not), with
// the engine's own text.
struct Outcome
{
    Outcome(Failure f = Failure::None, QString text = {}) : failure(f), engineText(std::move(text)) {}

    Failure failure;
    QString engineText;

    bool ok() const { return failure == Failure::None; }
};

// The mark and the schema version in the file's header. Read as the first
// statement after opening, this is what finds a file that is no database, a
// damaged one and one that another connection keeps locked.
struct Mark
{
    int applicationId = 0;
    int version = 0;
};
Outcome readMark(const QSqlDatabase& db, Mark* mark);

// Every table of the file with its columns, names in lower case (the engine
// compares them without regard to case).
Outcome readTables(const QSqlDatabase& db, QHash<QString, QStringList>* tables);

// The file open on `db`, as an absolute path; empty for a database in memory.
QString fileName(const QSqlDatabase& db);

// Whether the engine opened the file read-only although it was asked for
// reading and writing (it does so when the file is write-protected).
bool isReadOnly(const QSqlDatabase& db);

// What the engine's full integrity check finds wrong; nothing when the file is
// sound. A file too damaged to be checked gives its failure as the one problem.
QStringList integrityProblems(const QSqlDatabase& db);

// Copies the whole database on `source` into the database on `target` with the
// engine's online backup, a number of pages at a time. The copy is one snapshot
// of `source`, also while other connections and other copies keep writing it:
// `source` holds one read transaction from the first page to the last (`source`
// must have no transaction of its own open). `target`'s content is replaced in
// one write transaction: interrupted, it keeps what it had. `progress` is called
// after each part with the pages copied and the pages in all; when it returns
// false the copy stops and `target` is left as it was. Returns whether the copy
// ran to its end; throws DbError when it fails.
using Progress = std::function<bool(qint64 copied, qint64 total)>;
bool copy(const QSqlDatabase& source, const QSqlDatabase& target, const Progress& progress = {});

// Takes the file's exclusive lock and keeps it until `db` is closed: no other
// connection, in this process or another, can read or write the file meanwhile.
// Must be the first thing done on a freshly opened connection. Every copy of pelm
// that has the file open holds a shared lock on it, so this fails with Busy while
// any other copy has the file open.
Outcome lockExclusively(const QSqlDatabase& db);

// Folds the write-ahead log into the file and leaves WAL for a rollback journal,
// so that the file alone holds every committed change and nothing lies beside
// it. On a file in use by others it needs lockExclusively() first.
Outcome useRollbackJournal(const QSqlDatabase& db);

} // namespace sqlite_file
