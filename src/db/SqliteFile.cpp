#include "db/SqliteFile.h"

#include "db/DbError.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <sqlite3.h>

#include <chrono>

namespace sqlite_file {
namespace {

// How many pages one step of the online backup copies (1 MB at the usual page
// size): small enough for a smooth progress bar, large enough to be quick.
constexpr int kPagesPerStep = 256;

// How long a part of the copy keeps trying while the target is busy.
constexpr std::chrono::seconds kCopyBusyLimit{10};

Failure fromCode(int code)
{
    switch (code & 0xff) {
    case SQLITE_OK:
        return Failure::None;
    case SQLITE_NOTADB:
        return Failure::NotADatabase;
    case SQLITE_CORRUPT:
        return Failure::Corrupt;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Failure::Busy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return Failure::ReadOnly;
    case SQLITE_CANTOPEN:
        return Failure::CannotOpen;
    default:
        return Failure::Other;
    }
}

Outcome outcomeOf(const QSqlError& error)
{
    return {classify(error), error.text().trimmed()};
}

sqlite3* handleOf(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

sqlite3* requireHandle(const QSqlDatabase& db)
{
    sqlite3* handle = handleOf(db);
    if (!handle)
        throw DbError(QStringLiteral("数据库连接没有打开。"));
    return handle;
}

DbError engineError(sqlite3* handle, const QString& text)
{
    return DbError(DbError::Kind::Engine, text, QString::fromUtf8(sqlite3_errmsg(handle)));
}

// Runs a statement of the engine's own (no values) and hands each row to `row`.
template <class Row> Outcome run(const QSqlDatabase& db, const QString& statement, Row&& row)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(statement))
        return outcomeOf(query.lastError());
    while (query.next())
        row(query);
    if (query.lastError().isValid())
        return outcomeOf(query.lastError());
    return {};
}

Outcome run(const QSqlDatabase& db, const QString& statement)
{
    return run(db, statement, [](const QSqlQuery&) {});
}

} // namespace

void setReadOnlyConnection(QSqlDatabase& db, const QString& path, int busyTimeoutMs)
{
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(QStringLiteral("mode=ro"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(u"QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=" + QString::number(busyTimeoutMs));
}

Failure classify(const QSqlError& error)
{
    if (!error.isValid())
        return Failure::None;
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? fromCode(code) : Failure::Other;
}

Outcome readMark(const QSqlDatabase& db, Mark* mark)
{
    // One statement that reads the header: the engine reads and checks the first
    // page, and takes its shared lock, before it answers.
    return run(db,
               QStringLiteral("SELECT application_id, user_version FROM pragma_application_id, "
                              "pragma_user_version"),
               [mark](const QSqlQuery& row) {
                   mark->applicationId = row.value(0).toInt();
                   mark->version = row.value(1).toInt();
               });
}

Outcome readTables(const QSqlDatabase& db, QHash<QString, QStringList>* tables)
{
    tables->clear();
    return run(db,
               QStringLiteral("SELECT m.name, c.name FROM sqlite_master AS m "
                              "JOIN pragma_table_info(m.name) AS c WHERE m.type = 'table'"),
               [tables](const QSqlQuery& row) {
                   (*tables)[row.value(0).toString().toLower()] << row.value(1).toString().toLower();
               });
}

QString fileName(const QSqlDatabase& db)
{
    sqlite3* handle = handleOf(db);
    const char* name = handle ? sqlite3_db_filename(handle, "main") : nullptr;
    return name ? QFile::decodeName(name) : QString();
}

bool isReadOnly(const QSqlDatabase& db)
{
    sqlite3* handle = handleOf(db);
    return handle && sqlite3_db_readonly(handle, "main") == 1;
}

QStringList integrityProblems(const QSqlDatabase& db)
{
    QStringList found;
    const Outcome outcome = run(db, QStringLiteral("PRAGMA integrity_check"),
                                [&found](const QSqlQuery& row) { found << row.value(0).toString(); });
    if (!outcome.ok())
        return {outcome.engineText};
    if (found == QStringList{QStringLiteral("ok")})
        return {};
    return found;
}

bool copy(const QSqlDatabase& source, const QSqlDatabase& target, const Progress& progress)
{
    sqlite3* from = requireHandle(source);
    sqlite3* to = requireHandle(target);
    const QString failed = QStringLiteral("复制数据库失败。");

    // One read transaction over the whole copy: every page comes from the same
    // snapshot, and writes by other copies (into the log) neither disturb it
    // nor make the copy start again.
    if (!run(source, QStringLiteral("BEGIN")).ok())
        throw engineError(from, failed);
    struct EndRead
    {
        QSqlDatabase db;
        ~EndRead() { run(db, QStringLiteral("ROLLBACK")); }
    } endRead{source};
    if (const Outcome read = run(source, QStringLiteral("SELECT count(*) FROM sqlite_master")); !read.ok())
        throw DbError(DbError::Kind::Engine, failed, read.engineText);

    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throw engineError(to, failed);
    bool finished = false;
    bool cancelled = false;
    auto busySince = std::chrono::steady_clock::now();
    int rc = SQLITE_OK;
    while (!finished && !cancelled) {
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (std::chrono::steady_clock::now() - busySince > kCopyBusyLimit)
                break;
            sqlite3_sleep(20);
            continue;
        }
        busySince = std::chrono::steady_clock::now();
        if (rc == SQLITE_DONE)
            finished = true;
        else if (rc != SQLITE_OK)
            break;
        if (progress) {
            const qint64 total = sqlite3_backup_pagecount(backup);
            if (!progress(total - sqlite3_backup_remaining(backup), total) && !finished)
                cancelled = true;
        }
    }
    // Finishing an unfinished copy rolls the target's write transaction back.
    const int finishRc = sqlite3_backup_finish(backup);
    if (cancelled)
        return false;
    if (!finished || finishRc != SQLITE_OK) {
        const int code = (rc != SQLITE_OK && rc != SQLITE_DONE) ? rc : finishRc;
        throw DbError(code == SQLITE_BUSY || code == SQLITE_LOCKED ? DbError::Kind::Busy
                                                                   : DbError::Kind::Engine,
                      failed, QString::fromUtf8(sqlite3_errstr(code)));
    }
    return true;
}

Outcome lockExclusively(const QSqlDatabase& db)
{
    // In exclusive locking mode the engine keeps every lock it takes; an
    // exclusive transaction then takes the strongest. On a WAL file the first
    // read already asks for the exclusive lock, which waits for (and, past the
    // busy timeout, fails on) the shared lock every other open copy holds.
    if (const Outcome mode = run(db, QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")); !mode.ok())
        return mode;
    if (const Outcome begin = run(db, QStringLiteral("BEGIN EXCLUSIVE")); !begin.ok())
        return begin;
    if (const Outcome read = run(db, QStringLiteral("SELECT count(*) FROM sqlite_master")); !read.ok()) {
        run(db, QStringLiteral("ROLLBACK"));
        return read;
    }
    return run(db, QStringLiteral("COMMIT"));
}

Outcome useRollbackJournal(const QSqlDatabase& db)
{
    QString mode;
    const Outcome outcome = run(db, QStringLiteral("PRAGMA journal_mode = DELETE"),
                                [&mode](const QSqlQuery& row) { mode = row.value(0).toString(); });
    if (!outcome.ok())
        return outcome;
    // The engine answers with the mode it is in; one it could not leave is kept.
    if (mode.compare(QLatin1StringView("delete"), Qt::CaseInsensitive) != 0)
        return {Failure::Busy, QStringLiteral("journal_mode: ") + mode};
    return {};
}

} // namespace sqlite_file
