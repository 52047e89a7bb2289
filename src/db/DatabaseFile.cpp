#include "db/DatabaseFile.h"

#include "db/DbError.h"
#include "db/PinyinCollation.h"
#include "db/Schema.h"
#include "db/SchemaUpgrade.h"
#include "db/SqliteDialect.h"
#include "db/SqliteFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace database_file {
namespace {

// What can be wrong with a file that pelm is to open, or to restore from.
enum class Problem {
    None,
    Missing,
    NotAFile,
    Unreadable,
    ReadOnlyFile,
    ReadOnlyFolder,
    NotADatabase,
    Corrupt,
    Busy,
    CannotOpen,
    Foreign,
    Newer,
    MissingTable,
    MissingColumn,
    Other,
};

struct Finding
{
    Finding(Problem p = Problem::None, QString t = {}, QString c = {})
        : problem(p), table(std::move(t)), column(std::move(c))
    {
    }

    Problem problem;
    QString table;      // MissingTable, MissingColumn
    QString column;     // MissingColumn
    int version = 0;    // Newer
    QString engineText; // CannotOpen, Other
};

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString noun(Role role)
{
    return role == Role::Database ? QStringLiteral("数据库文件") : QStringLiteral("备份文件");
}

QString whatHappened(const Finding& f, Role role, const QString& path)
{
    const QString file = noun(role) + shown(path);
    switch (f.problem) {
    case Problem::None:
        return {};
    case Problem::Missing:
        return QStringLiteral("找不到%1。").arg(file);
    case Problem::NotAFile:
        return QStringLiteral("%1是一个文件夹，不是文件。").arg(file);
    case Problem::Unreadable:
        return QStringLiteral("无法读取%1：没有读取权限。").arg(file);
    case Problem::ReadOnlyFile:
        return QStringLiteral("%1是只读的，程序无法在其中保存数据。").arg(file);
    case Problem::ReadOnlyFolder: {
        const QFileInfo info(path);
        return QStringLiteral(
                   "%1所在的文件夹%2是只读的：程序工作时要在这个文件夹里建立辅助文件（%3-wal、%3-shm）。")
            .arg(file, QDir::toNativeSeparators(info.absolutePath()), info.fileName());
    }
    case Problem::NotADatabase:
        return QStringLiteral("文件%1不是数据库文件（可能是别的文件，或已严重损坏）。").arg(shown(path));
    case Problem::Corrupt:
        return QStringLiteral("%1已损坏（文件不完整或内容有误）。").arg(file);
    case Problem::Busy:
        return QStringLiteral("%1正被其他程序独占（例如正在恢复数据）。").arg(file);
    case Problem::CannotOpen:
    case Problem::Other:
        return QStringLiteral("无法打开%1。").arg(file);
    case Problem::Foreign:
        return QStringLiteral("文件%1不是物业管理系统的数据库。").arg(shown(path));
    case Problem::Newer:
        return QStringLiteral("%1来自更新的版本（版本%2，本程序为版本%3）。")
            .arg(file)
            .arg(f.version)
            .arg(schema::kVersion);
    case Problem::MissingTable:
        return QStringLiteral("%1已损坏：缺少表%2。").arg(file, f.table);
    case Problem::MissingColumn:
        return QStringLiteral("%1已损坏：表%2缺少字段%3。").arg(file, f.table, f.column);
    }
    return {};
}

QString whatToDo(Problem problem, Role role)
{
    const QString restore = QStringLiteral("请从备份恢复（pelm --restore 备份文件）。");
    const QString elsewhere = QStringLiteral("请检查文件位置（可用 --database 指定）");
    if (role == Role::Backup) {
        switch (problem) {
        case Problem::Missing:
        case Problem::NotAFile:
        case Problem::Unreadable:
            return QStringLiteral("未做任何改动。");
        case Problem::Busy:
            return QStringLiteral("请稍后再试。未做任何改动。");
        case Problem::Newer:
            return QStringLiteral("请使用新版程序恢复。未做任何改动。");
        default:
            return QStringLiteral("不能用它恢复，未做任何改动。");
        }
    }
    switch (problem) {
    case Problem::Missing:
        return elsewhere + QStringLiteral("，或用 pelm --init-db 创建新的数据库。");
    case Problem::NotAFile:
        return QStringLiteral("请用 --database 指定数据库文件。");
    case Problem::Unreadable:
    case Problem::ReadOnlyFile:
        return QStringLiteral("请让管理员给予这个文件读写权限后再启动。");
    case Problem::ReadOnlyFolder:
        return QStringLiteral("请让管理员给予这个文件夹写权限后再启动。");
    case Problem::NotADatabase:
        return elsewhere + QStringLiteral("，或") + restore.mid(1);
    case Problem::Corrupt:
    case Problem::MissingTable:
    case Problem::MissingColumn:
        return restore;
    case Problem::Busy:
        return QStringLiteral("请稍后再启动。");
    case Problem::Foreign:
        return elsewhere + u'。';
    case Problem::Newer:
        return QStringLiteral("请使用新版程序打开。");
    case Problem::CannotOpen:
    case Problem::Other:
        return QStringLiteral("请检查这个文件和所在文件夹的权限。");
    case Problem::None:
        break;
    }
    return {};
}

QString explain(const Finding& f, Role role, const QString& path)
{
    if (f.problem == Problem::None)
        return {};
    QString text = whatHappened(f, role, path) + whatToDo(f.problem, role);
    if ((f.problem == Problem::CannotOpen || f.problem == Problem::Other) && !f.engineText.isEmpty())
        text += u'\n' + f.engineText;
    return text;
}

Finding fromEngine(const sqlite_file::Outcome& outcome)
{
    using F = sqlite_file::Failure;
    Finding f;
    f.engineText = outcome.engineText;
    switch (outcome.failure) {
    case F::None:
        f.problem = Problem::None;
        break;
    case F::NotADatabase:
        f.problem = Problem::NotADatabase;
        break;
    case F::Corrupt:
        f.problem = Problem::Corrupt;
        break;
    case F::Busy:
        f.problem = Problem::Busy;
        break;
    case F::ReadOnly:
        f.problem = Problem::ReadOnlyFile;
        break;
    case F::CannotOpen:
        f.problem = Problem::CannotOpen;
        break;
    case F::Other:
        f.problem = Problem::Other;
        break;
    }
    return f;
}

Finding accessFinding(const QString& path, Role role)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {Problem::Missing};
    if (!info.isFile())
        return {Problem::NotAFile};
    if (!info.isReadable())
        return {Problem::Unreadable};
    if (role == Role::Database) {
        if (!info.isWritable())
            return {Problem::ReadOnlyFile};
        if (!QFileInfo(info.absolutePath()).isWritable())
            return {Problem::ReadOnlyFolder};
    }
    return {};
}

// The schema's tables and columns that the file lacks: the first one found.
Finding checkTables(const QSqlDatabase& db)
{
    QHash<QString, QStringList> found;
    if (const sqlite_file::Outcome read = sqlite_file::readTables(db, &found); !read.ok())
        return fromEngine(read);
    for (const schema::Table& table : schema::tables()) {
        const QString name = QString::fromLatin1(table.name);
        const auto columns = found.constFind(name.toLower());
        if (columns == found.constEnd())
            return {Problem::MissingTable, name};
        for (const schema::Column& column : table.columns) {
            const QString columnName = QString::fromLatin1(column.name);
            if (!columns->contains(columnName.toLower()))
                return {Problem::MissingColumn, name, columnName};
        }
    }
    return {};
}

QString dbErrorText(const DbError& e, Role role, const QString& path)
{
    if (e.kind() == DbError::Kind::Busy)
        return explain({Problem::Busy}, role, path);
    QString text = noun(role) + shown(path) + u'：' + e.text();
    if (!e.detail().isEmpty())
        text += u'\n' + e.detail();
    return text;
}

QSqlDatabase connection(const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? QSqlDatabase::database(connectionName, false)
                          : QSqlDatabase::addDatabase(SqlDialect::of(SqlDialect::Engine::Sqlite).driverName(),
                                                      connectionName);
    db.close();
    return db;
}

// Makes a rename or a new name in `folder` survive a power cut.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Renames `from` to `to` unless `to` exists, as one step of the file system.
// Returns 0 or the error number.
int renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    // A file system that cannot rename without replacing: a second hard link
    // is refused as well when the name is taken, and the first one then goes.
    if (::link(from.constData(), to.constData()) != 0)
        return errno;
    ::unlink(from.constData());
    return 0;
}

QString checkMark(const QSqlDatabase& db, const QString& path, Role role, int* version)
{
    // The first read also finds a file that is no database at all, a damaged
    // one and one that another program keeps locked.
    sqlite_file::Mark mark;
    if (const sqlite_file::Outcome read = sqlite_file::readMark(db, &mark); !read.ok())
        return explain(fromEngine(read), role, path);
    if (mark.applicationId != schema::kApplicationId)
        return explain({Problem::Foreign}, role, path);
    if (mark.version > schema::kVersion) {
        Finding newer{Problem::Newer};
        newer.version = mark.version;
        return explain(newer, role, path);
    }
    *version = mark.version;
    return {};
}

} // namespace

QString olderText(const QString& what, int version)
{
    return QStringLiteral(
               "%1是旧版本（版本%2，本程序为版本%3）。请先运行 pelm upgrade 升级，升级前可先备份。")
        .arg(what)
        .arg(version)
        .arg(schema::kVersion);
}

QSqlDatabase open(const QString& path, const QString& connectionName, QString* error, int busyTimeoutMs,
                  SchemaPolicy policy)
{
    error->clear();
    QSqlDatabase db = connection(connectionName);
    if (const Finding access = accessFinding(path, Role::Database); access.problem != Problem::None) {
        *error = explain(access, Role::Database, path);
        return db;
    }
    SqliteDialect::setConnection(db, path, false, busyTimeoutMs);
    if (!db.open()) {
        *error = explain(fromEngine({sqlite_file::classify(db.lastError()), db.lastError().text().trimmed()}),
                         Role::Database, path);
    } else if (sqlite_file::isReadOnly(db)) {
        // Write-protected in a way the permissions do not show (a read-only
        // mount, for one): the engine fell back to reading only.
        *error = explain({Problem::ReadOnlyFile}, Role::Database, path);
    } else {
        *error = checkContent(db, path, Role::Database, policy);
    }
    if (error->isEmpty()) {
        // Lists of names sort in pinyin order on this connection.
        try {
            registerPinyinCollation(db);
        } catch (const DbError& e) {
            *error = e.text();
        }
    }
    if (!error->isEmpty())
        db.close();
    return db;
}

QString checkAccess(const QString& path, Role role)
{
    return explain(accessFinding(path, role), role, path);
}

QString checkMark(const QSqlDatabase& db, const QString& path, Role role)
{
    int version = 0;
    return checkMark(db, path, role, &version);
}

QString checkContent(const QSqlDatabase& db, const QString& path, Role role, SchemaPolicy policy)
{
    int version = 0;
    if (QString problem = checkMark(db, path, role, &version); !problem.isEmpty())
        return problem;
    if (policy.versionFound)
        *policy.versionFound = version;
    if (version < schema::kVersion && !policy.upgradeOlder)
        return olderText(noun(role) + shown(path), version);
    // A file of this version is checked before anything is written to it; an
    // older one once it is brought up to date.
    const bool current = version == schema::kVersion;
    if (current) {
        if (QString missing = explain(checkTables(db), role, path); !missing.isEmpty())
            return missing;
    }
    try {
        if (role == Role::Database)
            SqlDialect::of(db).configureConnection(db);
        if (!current)
            schema_upgrade::upgrade(db, schema_upgrade::steps(), schema::kVersion);
    } catch (const DbError& e) {
        return dbErrorText(e, role, path);
    }
    return current ? QString() : explain(checkTables(db), role, path);
}

QString create(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return QStringLiteral("数据库文件%1已经存在，未做任何改动。").arg(shown(path));
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("文件夹%1不存在，未创建数据库文件。")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isWritable())
        return QStringLiteral("文件夹%1是只读的，无法在其中创建数据库文件。")
            .arg(QDir::toNativeSeparators(folder.filePath()));

    // Built under another name in the same folder, in the rollback journal (so
    // that the one file holds everything once it is closed), and put in place
    // only when complete. Opening it switches it to WAL.
    const QString built = buildingName(path);
    const QString connectionName = QStringLiteral("pelm-create");
    QString error;
    {
        QSqlDatabase db = connection(connectionName);
        SqliteDialect::setConnection(db, built, true, kBusyTimeoutMs);
        if (!db.open()) {
            error = db.lastError().text().trimmed();
        } else {
            try {
                schema::create(db);
            } catch (const DbError& e) {
                error = e.detail().isEmpty() ? e.text() : e.text() + u'\n' + e.detail();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!error.isEmpty()) {
        removeWithJournals(built);
        return QStringLiteral("无法创建数据库文件%1。").arg(shown(path)) + u'\n' + error;
    }
    restrictToOwnerAndGroup(built);
    const QString placed = place(built, path);
    if (!placed.isEmpty())
        removeWithJournals(built);
    return placed;
}

QString buildingName(const QString& path)
{
    const QString name = QFileInfo(path).absoluteFilePath() + u'.' +
                         QString::number(QCoreApplication::applicationPid()) + u".new";
    removeWithJournals(name);
    return name;
}

QString place(const QString& built, const QString& target)
{
    const int failed = renameNoReplace(QFile::encodeName(built), QFile::encodeName(target));
    if (failed == EEXIST)
        return QStringLiteral("文件%1已经存在，未做任何改动。").arg(shown(target));
    if (failed != 0)
        return QStringLiteral("无法建立文件%1：%2").arg(shown(target), qt_error_string(failed));
    syncFolder(QFileInfo(target).absolutePath());
    return {};
}

void removeWithJournals(const QString& path)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1StringView(suffix));
}

void restrictToOwnerAndGroup(const QString& path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
}

} // namespace database_file
