#include "db/DatabaseBackup.h"

#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/ServerBackup.h"
#include "db/ServerDatabase.h"
#include "db/SqliteDialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

#include <sys/stat.h>
#include <unistd.h>

namespace database_backup {
namespace {

using database_file::Role;
using Outcome = Result::Outcome;

// How long a restore waits for the database's exclusive lock. Every copy of pelm
// that has the file open holds its shared lock for as long as it runs, so
// waiting long would not help; a short wait rides over a copy that is just
// looking at the file.
constexpr int kLockTimeoutMs = 1000;

// A connection of its own, gone with the object.
class Connection
{
public:
    explicit Connection(const QString& name)
        : m_name(name),
          m_db(QSqlDatabase::addDatabase(SqlDialect::of(SqlDialect::Engine::Sqlite).driverName(), name))
    {
    }
    Connection(const QSqlDatabase& like, const QString& name)
        : m_name(name), m_db(QSqlDatabase::cloneDatabase(like, name))
    {
    }
    ~Connection()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase& db() { return m_db; }
    QString openError() const { return m_db.lastError().text().trimmed(); }

private:
    QString m_name;
    QSqlDatabase m_db;
};

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

Result refused(QString message)
{
    return {Outcome::Refused, std::move(message)};
}

QString withDetail(const QString& text, const DbError& e)
{
    return e.detail().isEmpty() ? text : text + u'\n' + e.detail();
}

// The folder a new file goes into must be there and take new files.
QString folderProblem(const QString& path, const QString& what)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.isDir())
        return QStringLiteral("文件夹%1不存在，%2").arg(QDir::toNativeSeparators(folder.filePath()), what);
    if (!folder.isWritable())
        return QStringLiteral("文件夹%1是只读的，%2").arg(QDir::toNativeSeparators(folder.filePath()), what);
    return {};
}

// Gives the file that replaces `kept` the permissions and, where this user may,
// the owner and group that the office gave the old one.
void takeOverAccess(const QString& kept, const QString& replacement)
{
    QFile::setPermissions(replacement, QFile::permissions(kept));
    struct stat old
    {
    };
    if (::stat(QFile::encodeName(kept).constData(), &old) == 0) {
        if (::chown(QFile::encodeName(replacement).constData(), old.st_uid, old.st_gid) != 0) {
            // Not this user's to give away: at least the group, when it is one of ours.
            [[maybe_unused]] const int ignored =
                ::chown(QFile::encodeName(replacement).constData(), static_cast<uid_t>(-1), old.st_gid);
        }
    }
}

// Copies the backup into `built` and checks the copy. Returns the refusal, or
// an empty text when `built` holds a sound database of this release.
QString makeCheckedCopy(const QString& backupFile, const QString& built)
{
    Connection source(QStringLiteral("pelm-restore-source"));
    sqlite_file::setReadOnlyConnection(source.db(), backupFile, database_file::kBusyTimeoutMs);
    if (!source.db().open())
        return QStringLiteral("无法打开备份文件%1，未做任何改动。").arg(shown(backupFile)) + u'\n' +
               source.openError();
    // Mark and version before anything is copied.
    if (QString problem = database_file::checkMark(source.db(), backupFile, Role::Backup); !problem.isEmpty())
        return problem;

    Connection copy(QStringLiteral("pelm-restore-copy"));
    SqliteDialect::setConnection(copy.db(), built, true, database_file::kBusyTimeoutMs);
    if (!copy.db().open())
        return QStringLiteral("无法建立文件%1，未做任何改动。").arg(shown(built)) + u'\n' + copy.openError();
    try {
        sqlite_file::copy(source.db(), copy.db());
    } catch (const DbError& e) {
        return withDetail(
            QStringLiteral("无法读取备份文件%1，不能用它恢复，未做任何改动。").arg(shown(backupFile)), e);
    }
    // The copy is one file in the rollback journal; an older version is brought
    // up to date on it, then it must hold every table and pass the full check.
    if (const sqlite_file::Outcome journal = sqlite_file::useRollbackJournal(copy.db()); !journal.ok())
        return QStringLiteral("无法整理备份文件的副本，未做任何改动。") + u'\n' + journal.engineText;
    if (QString problem = database_file::checkContent(copy.db(), backupFile, Role::Backup);
        !problem.isEmpty())
        return problem;
    const QStringList damage = sqlite_file::integrityProblems(copy.db());
    if (!damage.isEmpty())
        return QStringLiteral("备份文件%1已损坏（完整性检查未通过），不能用它恢复，未做任何改动。")
                   .arg(shown(backupFile)) +
               u'\n' + damage.mid(0, 5).join(u'\n');
    return {};
}

// Keeps the bytes of the locked database file `replaced` as `kept`, then writes
// the checked copy `built` into the database on `lock`, in one transaction of
// the file's rollback journal: interrupted, the file keeps its old content.
Result replaceLocked(const QSqlDatabase& lock, QFile& replaced, const QString& built, const QString& kept)
{
    const QString copy = database_file::buildingName(kept);
    {
        QFile out(copy);
        bool copied = replaced.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly);
        while (copied && !replaced.atEnd()) {
            const QByteArray part = replaced.read(1 << 20);
            copied = !part.isEmpty() && out.write(part) == part.size();
        }
        copied = copied && out.flush() && ::fsync(out.handle()) == 0;
        if (!copied) {
            out.remove();
            return refused(QStringLiteral("无法保存原来的数据库文件%1，未做任何改动。").arg(shown(kept)) +
                           u'\n' +
                           (replaced.error() != QFile::NoError ? replaced.errorString() : out.errorString()));
        }
    }
    QFile::setPermissions(copy, QFile::permissions(replaced.fileName()));
    if (const QString placed = database_file::place(copy, kept); !placed.isEmpty()) {
        QFile::remove(copy);
        return refused(placed);
    }

    Connection source(QStringLiteral("pelm-restore-checked"));
    sqlite_file::setReadOnlyConnection(source.db(), built, database_file::kBusyTimeoutMs);
    try {
        if (!source.db().open())
            throw DbError(DbError::Kind::Engine, {}, source.openError());
        sqlite_file::copy(source.db(), lock);
    } catch (const DbError& e) {
        return refused(withDetail(
            QStringLiteral("恢复失败，数据库文件未做改动；原来的文件另存为%1。").arg(shown(kept)), e));
    }
    return {Outcome::Done, {}};
}

// A database file too damaged for the engine to lock: no copy of pelm opens
// it, so it moves aside with its log, if it has one, and the checked copy takes
// its name, permissions and owner.
Result replaceDamaged(const QString& databasePath, const QString& built, const QString& kept)
{
    if (const QString moved = database_file::place(databasePath, kept); !moved.isEmpty())
        return refused(moved);
    if (QFileInfo::exists(databasePath + QStringLiteral("-wal")))
        database_file::place(databasePath + QStringLiteral("-wal"), kept + QStringLiteral("-wal"));
    takeOverAccess(kept, built);
    if (const QString placed = database_file::place(built, databasePath); !placed.isEmpty()) {
        // Something made a new file there meanwhile: the old one goes back.
        database_file::place(kept, databasePath);
        return refused(placed);
    }
    return {Outcome::Done, {}};
}

} // namespace

QString suggestedName(const QSqlDatabase& db, const QDateTime& now)
{
    if (SqlDialect::of(db).engine() == SqlDialect::Engine::Postgres)
        return QDir::current().filePath(QStringLiteral("pelm-备份-") +
                                        now.toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                                        QStringLiteral(".backup"));
    const QFileInfo database(sqlite_file::fileName(db));
    return QDir(database.absolutePath())
        .filePath(database.completeBaseName() + QStringLiteral("-备份-") +
                  now.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".mdb"));
}

QString keptName(const QString& databasePath, const QDateTime& now)
{
    const QString base =
        QFileInfo(databasePath).absoluteFilePath() + u'.' + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = base + u'-' + QString::number(n) + QStringLiteral(".bak");
    return name;
}

Result backup(const QSqlDatabase& db, const QString& target, const sqlite_file::Progress& progress)
{
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink())
        return refused(
            QStringLiteral("备份文件%1已经存在，未做任何改动。请换一个文件名。").arg(shown(target)));
    if (const QString folder = folderProblem(target, QStringLiteral("无法写入备份文件。")); !folder.isEmpty())
        return refused(folder);

    const QString built = database_file::buildingName(target);
    Result result;
    if (SqlDialect::of(db).engine() == SqlDialect::Engine::Postgres) {
        // The server's own dump, of the database as it stood at one moment.
        const QString dumped = server_backup::dump(db.connectOptions(), built);
        result = dumped.isEmpty() ? Result{Outcome::Done, {}}
                                  : refused(QStringLiteral("备份失败，未写入任何文件。") + u'\n' + dumped);
    } else {
        // A connection of its own: the copy's read transaction must not hold the
        // connection the screens write through.
        Connection source(db, QStringLiteral("pelm-backup-source"));
        Connection copy(QStringLiteral("pelm-backup-target"));
        SqliteDialect::setConnection(copy.db(), built, true, database_file::kBusyTimeoutMs);
        if (!source.db().open()) {
            result = refused(QStringLiteral("无法打开数据库，未写入备份。") + u'\n' + source.openError());
        } else if (!copy.db().open()) {
            result =
                refused(QStringLiteral("无法写入备份文件%1。").arg(shown(target)) + u'\n' + copy.openError());
        } else {
            try {
                if (!sqlite_file::copy(source.db(), copy.db(), progress)) {
                    result = {Outcome::Cancelled, QStringLiteral("备份已取消，未写入任何文件。")};
                } else if (const sqlite_file::Outcome journal = sqlite_file::useRollbackJournal(copy.db());
                           !journal.ok()) {
                    result =
                        refused(QStringLiteral("备份失败，未写入任何文件。") + u'\n' + journal.engineText);
                } else {
                    result = {Outcome::Done, {}};
                }
            } catch (const DbError& e) {
                result = refused(withDetail(QStringLiteral("备份失败，未写入任何文件。"), e));
            }
        }
    }
    if (result.done()) {
        database_file::restrictToOwnerAndGroup(built);
        if (const QString placed = database_file::place(built, target); !placed.isEmpty())
            result = refused(placed);
        else
            result.message = QStringLiteral("数据库已备份到%1。").arg(shown(target));
    }
    if (!result.done())
        database_file::removeWithJournals(built);
    return result;
}

Result restore(const QString& backupFile, const QString& databasePath, const QDateTime& now)
{
    if (database::isServer(databasePath)) {
        QString error;
        const QString connection = server_database::connectionString(databasePath, &error);
        if (error.isEmpty())
            error = server_backup::restore(backupFile, connection);
        if (!error.isEmpty())
            return refused(error);
        return {Outcome::Done, QStringLiteral("已用备份文件%1恢复%2。")
                                   .arg(shown(backupFile), server_database::describe(databasePath))};
    }
    const QFileInfo backupInfo(backupFile);
    const QFileInfo databaseInfo(databasePath);
    if (backupInfo.exists() && databaseInfo.exists() &&
        backupInfo.canonicalFilePath() == databaseInfo.canonicalFilePath())
        return refused(QStringLiteral("备份文件和数据库文件是同一个文件（%1），未做任何改动。")
                           .arg(shown(databasePath)));
    if (const QString access = database_file::checkAccess(backupFile, Role::Backup); !access.isEmpty())
        return refused(access);
    if (const QString folder =
            folderProblem(databasePath, QStringLiteral("无法恢复数据库文件，未做任何改动。"));
        !folder.isEmpty())
        return refused(folder);
    const bool replacing = databaseInfo.exists() || databaseInfo.isSymLink();
    if (replacing && !databaseInfo.isFile())
        return refused(database_file::checkAccess(databasePath, Role::Database));

    const QString built = database_file::buildingName(databasePath);
    const QString checked = makeCheckedCopy(backupFile, built);
    if (!checked.isEmpty()) {
        database_file::removeWithJournals(built);
        return refused(checked);
    }
    database_file::restrictToOwnerAndGroup(built);

    if (!replacing) {
        if (const QString placed = database_file::place(built, databasePath); !placed.isEmpty()) {
            database_file::removeWithJournals(built);
            return refused(placed);
        }
        return {
            Outcome::Done,
            QStringLiteral("已用备份文件%1恢复数据库文件%2。").arg(shown(backupFile), shown(databasePath))};
    }

    Result result;
    const QString kept = keptName(databasePath, now);
    // Opened under the lock to keep the replaced file, and closed only after the
    // lock's connection: closing any handle of this process on the file would
    // drop the locks the engine holds on it.
    QFile replaced(databasePath);
    {
        // The exclusive lock keeps out every other connection: it is refused
        // while another copy has the file open, and copies that start meanwhile
        // wait, then read the restored content.
        Connection lock(QStringLiteral("pelm-restore-lock"));
        SqliteDialect::setConnection(lock.db(), databasePath, false, kLockTimeoutMs);
        sqlite_file::Outcome locked{sqlite_file::Failure::CannotOpen};
        if (lock.db().open()) {
            locked = sqlite_file::lockExclusively(lock.db());
            // Everything committed goes into the file itself, so that the kept
            // copy is whole; the restore then writes through a rollback journal.
            if (locked.ok())
                locked = sqlite_file::useRollbackJournal(lock.db());
        } else {
            locked = {sqlite_file::classify(lock.db().lastError()), lock.openError()};
        }
        using F = sqlite_file::Failure;
        if (locked.failure == F::Busy) {
            result = refused(QStringLiteral("数据库文件%1正在被其他程序使用。请先关闭所有使用它的物业管理系统"
                                            "（包括正在进行的备份），再恢复。未做任何改动。")
                                 .arg(shown(databasePath)));
        } else if (locked.ok()) {
            result = replaceLocked(lock.db(), replaced, built, kept);
        } else if (locked.failure == F::NotADatabase || locked.failure == F::Corrupt) {
            lock.db().close();
            result = replaceDamaged(databasePath, built, kept);
        } else {
            result = refused(
                QStringLiteral("无法取得数据库文件%1的独占使用权，未做任何改动。").arg(shown(databasePath)) +
                u'\n' + locked.engineText);
        }
        if (result.done())
            result.message = QStringLiteral("已用备份文件%1恢复数据库文件%2；原来的文件保存为%3。")
                                 .arg(shown(backupFile), shown(databasePath), shown(kept));
    }
    // The checked copy has been written into the database, or has taken its place.
    database_file::removeWithJournals(built);
    return result;
}

} // namespace database_backup
