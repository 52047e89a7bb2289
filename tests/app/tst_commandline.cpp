#include "db/DatabaseFile.h"
#include "db/Schema.h"
#include "db/Sql.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

// The command line as the README tells it: `pelm --init-db` makes pelm.mdb and
// refuses to touch a file that exists; `--backup FILE` copies the database into
// a new file while others work on it; `--restore FILE` checks a backup and puts
// it in the database's place, keeping the replaced file beside it. Every
// refusal is a Chinese message that names the file, and exit status 1.
class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initDbCreatesOnceAndRefusesAfter();
    void initDbAtAnotherPath();
    void initDbRefusals_data();
    void initDbRefusals();
    void backupCopiesTheDatabaseInUse();
    void backupRefusals_data();
    void backupRefusals();
    void restoreReplacesAndKeepsTheReplacedFile();
    void restoreRefusesBadBackups_data();
    void restoreRefusesBadBackups();
    void restoreWaitsUntilNoOtherCopyHasTheFileOpen();
    void restoreMakesAMissingDatabase();
    void restoreReplacesADamagedDatabase();
};

namespace {

// The permissions of owner, group and others, without those of the user asking.
constexpr QFileDevice::Permissions kModeBits = QFileDevice::Permissions(0x7077);

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runPelm(const QString& workingDirectory, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    process.setProcessEnvironment(env);
    process.start(PELM_EXECUTABLE, arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Opens `path` as pelm does and runs `use` on it. Returns what opening said.
QString withDatabase(const QString& path, const std::function<void(const QSqlDatabase&)>& use = {})
{
    static int next = 0;
    const QString name = QStringLiteral("commandline-%1").arg(++next);
    QString error;
    {
        QSqlDatabase db = database_file::open(path, name, &error);
        if (error.isEmpty() && use)
            use(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

// A plain connection of the engine, for making files pelm would not make.
void withPlainConnection(const QString& path, const std::function<void(const QSqlDatabase&)>& use)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        use(db);
        db.close();
    }
    QSqlDatabase::removeDatabase("plain");
}

int tableCount(const QString& path)
{
    int count = -1;
    const QString error = withDatabase(path, [&](const QSqlDatabase& db) {
        count = sql::scalar(db, "select count(*) from sqlite_master where type = 'table' and name not like "
                                "'sqlite%'")
                    .toInt();
    });
    return error.isEmpty() ? count : -1;
}

QStringList ownerNames(const QString& path)
{
    QStringList names;
    const QString error = withDatabase(path, [&](const QSqlDatabase& db) {
        QSqlQuery q = sql::exec(db, "select owner_name from owner_info order by owner_id");
        while (q.next())
            names << q.value(0).toString();
    });
    return error.isEmpty() ? names : QStringList{"cannot open: " + error};
}

void addOwners(const QString& path, const QStringList& names)
{
    const QString error = withDatabase(path, [&](const QSqlDatabase& db) {
        Transaction transaction(db);
        for (const QString& name : names)
            sql::insert(db, "owner_info", sql::Fields{{QString("owner_name"), name}});
        transaction.commit();
    });
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

// The database a test works on: made by --init-db, with owners in it.
QString makeDatabase(const QString& path, const QStringList& owners)
{
    const QString made = database_file::create(path);
    if (made.isEmpty())
        addOwners(path, owners);
    return made;
}

// Files left in `folder` by a run that was refused or has finished: a file being
// built ("*.new"), a kept file ("*.bak").
QStringList leftovers(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden);
}

// Whether the file is a whole database on its own: rollback journal, nothing
// needed beside it (header bytes 18 and 19 say 1 for that, 2 for WAL).
bool isSingleFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = f.read(100);
    return header.size() == 100 && header[18] == 1 && header[19] == 1;
}

} // namespace

void TestCommandLine::initDbCreatesOnceAndRefusesAfter()
{
    QTemporaryDir dir;
    QCOMPARE(runPelm(dir.path(), {"--init-db"}).exitCode, 0);
    const QString path = dir.filePath("pelm.mdb");
    // Made under another name and put in place whole: one file, nothing beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"pelm.mdb"});
    QVERIFY(isSingleFile(path));
    QVERIFY(!(QFile::permissions(path) & QFileDevice::ReadOther));
    QCOMPARE(tableCount(path), int(schema::tables().size()));

    const QByteArray before = digest(path);
    const Run again = runPelm(dir.path(), {"--init-db"});
    QCOMPARE(again.exitCode, 1);
    QVERIFY(again.err.contains(QStringLiteral("已经存在")));
    QCOMPARE(digest(path), before);
}

void TestCommandLine::initDbAtAnotherPath()
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString path = elsewhere.filePath("estate.db");
    QCOMPARE(runPelm(dir.path(), {"--init-db", "--database", path}).exitCode, 0);
    QVERIFY(!QFile::exists(dir.filePath("pelm.mdb")));
    QCOMPARE(tableCount(path), int(schema::tables().size()));
}

void TestCommandLine::initDbRefusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("says");
    QTest::newRow("a database there") << "database"
                                      << "已经存在";
    QTest::newRow("another file there") << "text"
                                        << "已经存在";
    QTest::newRow("no such folder") << "no folder"
                                    << "不存在";
}

void TestCommandLine::initDbRefusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, says);
    QTemporaryDir dir;
    QString path = dir.filePath("pelm.mdb");
    if (kind == "database")
        QCOMPARE(database_file::create(path), QString());
    else if (kind == "text")
        writeFile(path, "keep me");
    else
        path = dir.filePath("no/such/folder/pelm.mdb");
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs);
    const QByteArray content = digest(path);

    const Run run = runPelm(dir.path(), {"--init-db", "--database", path});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(says), qPrintable(run.err));
    QCOMPARE(digest(path), content);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs), before);
}

void TestCommandLine::backupCopiesTheDatabaseInUse()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QCOMPARE(makeDatabase(path, {"甲公司", "乙公司"}), QString());

    // Another copy has the file open, and has written to it.
    QString error;
    QSqlDatabase inUse = database_file::open(path, "in use", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    sql::insert(inUse, "owner_info", sql::Fields{{QString("owner_name"), QString("丙公司")}});

    const QString backup = dir.filePath("backups/pelm-备份.mdb");
    QVERIFY(QDir().mkpath(dir.filePath("backups")));
    const Run run = runPelm(dir.path(), {"--backup", backup});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.err.contains(shown(backup)), qPrintable(run.err)); // messages go to standard error

    // One file holding everything, for the office's eyes only, and nothing else left.
    QVERIFY(isSingleFile(backup));
    QVERIFY(!(QFile::permissions(backup) & QFileDevice::ReadOther));
    QCOMPARE(leftovers(dir.filePath("backups"), "*"), QStringList{"pelm-备份.mdb"});
    inUse.close();
    inUse = QSqlDatabase();
    QSqlDatabase::removeDatabase("in use");
    QCOMPARE(ownerNames(backup), (QStringList{"甲公司", "乙公司", "丙公司"}));
}

void TestCommandLine::backupRefusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("names"); // "backup" or "database": the file the message names
    QTest::newRow("the backup exists") << "exists"
                                       << "已经存在"
                                       << "backup";
    QTest::newRow("no such folder") << "no folder"
                                    << "不存在"
                                    << "folder";
    QTest::newRow("no database") << "no database"
                                 << "找不到数据库文件"
                                 << "database";
}

void TestCommandLine::backupRefusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, says);
    QFETCH(QString, names);
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    if (kind != "no database")
        QCOMPARE(makeDatabase(path, {"甲公司"}), QString());
    QString backup = dir.filePath("backup.mdb");
    if (kind == "exists")
        writeFile(backup, "an older backup");
    if (kind == "no folder")
        backup = dir.filePath("missing/backup.mdb");
    const QByteArray before = digest(backup);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

    const Run run = runPelm(dir.path(), {"--backup", backup});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(says), qPrintable(run.err));
    const QString named = names == "backup"     ? shown(backup)
                          : names == "database" ? shown(path)
                                                : QDir::toNativeSeparators(QFileInfo(backup).absolutePath());
    QVERIFY2(run.err.contains(named), qPrintable(run.err));
    QCOMPARE(digest(backup), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
}

void TestCommandLine::restoreReplacesAndKeepsTheReplacedFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QCOMPARE(makeDatabase(path, {"甲公司", "乙公司"}), QString());
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QString backup = dir.filePath("backup.mdb");
    QCOMPARE(runPelm(dir.path(), {"--backup", backup}).exitCode, 0);
    addOwners(path, {"丙公司"});

    const Run run = runPelm(dir.path(), {"--restore", backup});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(ownerNames(path), (QStringList{"甲公司", "乙公司"}));
    // The office's permissions stay with the file's name.
    QCOMPARE(QFile::permissions(path) & kModeBits, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);

    // The replaced file stays beside it, whole, under a dated name.
    const QStringList kept = leftovers(dir.path(), "pelm.mdb.*.bak");
    QCOMPARE(kept.size(), 1);
    QVERIFY2(QRegularExpression("^pelm\\.mdb\\.\\d{8}-\\d{6}\\.bak$").match(kept[0]).hasMatch(),
             qPrintable(kept[0]));
    QVERIFY2(run.err.contains(shown(dir.filePath(kept[0]))), qPrintable(run.err));
    QCOMPARE(ownerNames(dir.filePath(kept[0])), (QStringList{"甲公司", "乙公司", "丙公司"}));
    QVERIFY(leftovers(dir.path(), "*.new*").isEmpty());
    // The backup itself is left as it was, and serves again.
    QCOMPARE(runPelm(dir.path(), {"--restore", backup}).exitCode, 0);
    QCOMPARE(leftovers(dir.path(), "pelm.mdb.*.bak").size(), 2);
}

void TestCommandLine::restoreRefusesBadBackups_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << "missing"
                             << "找不到备份文件";
    QTest::newRow("text") << "text"
                          << "不是数据库文件";
    QTest::newRow("foreign") << "foreign"
                             << "不是物业管理系统的数据库";
    QTest::newRow("newer version") << "newer"
                                   << "来自更新的版本";
    QTest::newRow("table missing") << "table missing"
                                   << "缺少表meet";
    QTest::newRow("cut short") << "truncated"
                               << "已损坏";
    QTest::newRow("damaged index") << "damaged index"
                                   << "完整性检查未通过";
    QTest::newRow("the database itself") << "same file"
                                         << "同一个文件";
}

void TestCommandLine::restoreRefusesBadBackups()
{
    QFETCH(QString, kind);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QCOMPARE(makeDatabase(path, {"甲公司"}), QString());
    QString backup = dir.filePath("backup.mdb");

    auto aBackup = [&](const QStringList& owners) {
        const QString source = dir.filePath("source.mdb");
        QCOMPARE(makeDatabase(source, owners), QString());
        QCOMPARE(runPelm(dir.path(), {"--backup", backup, "--database", source}).exitCode, 0);
        QFile::remove(source);
    };
    if (kind == "text") {
        writeFile(backup, "月报：本月无事。\n");
    } else if (kind == "foreign") {
        withPlainConnection(backup, [](const QSqlDatabase& db) { sql::exec(db, "create table t (x)"); });
    } else if (kind == "newer") {
        aBackup({});
        withPlainConnection(backup, [](const QSqlDatabase& db) {
            sql::exec(db, QStringLiteral("PRAGMA user_version = %1").arg(schema::kVersion + 1));
        });
    } else if (kind == "table missing") {
        aBackup({});
        withPlainConnection(backup, [](const QSqlDatabase& db) { sql::exec(db, "drop table meet"); });
    } else if (kind == "truncated") {
        QStringList many;
        for (int i = 0; i < 3000; ++i)
            many << QStringLiteral("住户%1").arg(i);
        aBackup(many);
        QFile f(backup);
        QVERIFY(f.resize(f.size() / 2));
    } else if (kind == "damaged index") {
        aBackup({"owner-1", "owner-2", "owner-3", "owner-4"});
        // A name in the index on owner names no longer says what the row says:
        // the file reads, and only the full check finds it.
        int pageSize = 0;
        int indexPage = 0;
        withPlainConnection(backup, [&](const QSqlDatabase& db) {
            pageSize = sql::scalar(db, "PRAGMA page_size").toInt();
            indexPage =
                sql::scalar(db, "select rootpage from sqlite_master where name = 'owner_info_owner_name'")
                    .toInt();
        });
        QFile f(backup);
        QVERIFY(pageSize > 0 && indexPage > 0 && f.open(QIODevice::ReadWrite));
        QVERIFY(f.seek(qint64(indexPage - 1) * pageSize));
        QByteArray page = f.read(pageSize);
        const qsizetype at = page.indexOf("owner-3");
        QVERIFY(at >= 0);
        page[at + 6] = '9';
        QVERIFY(f.seek(qint64(indexPage - 1) * pageSize));
        f.write(page);
    } else if (kind == "same file") {
        backup = path;
    } else if (kind != "missing") {
        QFAIL(qPrintable("no such kind of backup: " + kind));
    }
    const QByteArray before = digest(path);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

    const Run run = runPelm(dir.path(), {"--restore", backup});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(says), qPrintable(run.err));
    QVERIFY2(run.err.contains(shown(backup)), qPrintable(run.err));
    QCOMPARE(digest(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
}

void TestCommandLine::restoreWaitsUntilNoOtherCopyHasTheFileOpen()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QCOMPARE(makeDatabase(path, {"甲公司"}), QString());
    const QString backup = dir.filePath("backup.mdb");
    QCOMPARE(runPelm(dir.path(), {"--backup", backup}).exitCode, 0);
    addOwners(path, {"乙公司"});

    // Read before the other copy opens: closing a file of one's own drops every
    // lock this process holds on it, the other copy's too.
    const QByteArray before = digest(path);
    {
        // Another copy of pelm, started and idle.
        QString error;
        QSqlDatabase other = database_file::open(path, "other copy", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const Run refused = runPelm(dir.path(), {"--restore", backup});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("正在被其他程序使用")), qPrintable(refused.err));
        QVERIFY2(refused.err.contains(shown(path)), qPrintable(refused.err));
        QVERIFY(leftovers(dir.path(), "*.bak").isEmpty());
        QVERIFY(leftovers(dir.path(), "*.new*").isEmpty());
        // It works on undisturbed.
        sql::insert(other, "owner_info", sql::Fields{{QString("owner_name"), QString("丙公司")}});
        other.close();
    }
    QSqlDatabase::removeDatabase("other copy");
    QVERIFY(digest(path) != before); // the other copy's write is there

    const Run run = runPelm(dir.path(), {"--restore", backup});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(ownerNames(path), QStringList{"甲公司"});
}

void TestCommandLine::restoreMakesAMissingDatabase()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("old.mdb");
    QCOMPARE(makeDatabase(source, {"甲公司"}), QString());
    const QString backup = dir.filePath("backup.mdb");
    QCOMPARE(runPelm(dir.path(), {"--backup", backup, "--database", source}).exitCode, 0);

    const QString path = dir.filePath("new/pelm.mdb");
    QVERIFY(QDir().mkpath(dir.filePath("new")));
    const Run run = runPelm(dir.path(), {"--restore", backup, "--database", path});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(leftovers(dir.filePath("new"), "*"), QStringList{"pelm.mdb"});
    QVERIFY(!(QFile::permissions(path) & QFileDevice::ReadOther));
    QCOMPARE(ownerNames(path), QStringList{"甲公司"});
}

void TestCommandLine::restoreReplacesADamagedDatabase()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("old.mdb");
    QCOMPARE(makeDatabase(source, {"甲公司"}), QString());
    const QString backup = dir.filePath("backup.mdb");
    QCOMPARE(runPelm(dir.path(), {"--backup", backup, "--database", source}).exitCode, 0);
    // What is left of the database after a disk fault: the start refuses it.
    const QString path = dir.filePath("pelm.mdb");
    writeFile(path, QByteArray(8192, '\x5a'));
    QCOMPARE(runPelm(dir.path(), {"--backup", dir.filePath("b2.mdb")}).exitCode, 1);

    const Run run = runPelm(dir.path(), {"--restore", backup});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(ownerNames(path), QStringList{"甲公司"});
    const QStringList kept = leftovers(dir.path(), "pelm.mdb.*.bak");
    QCOMPARE(kept.size(), 1);
    QCOMPARE(digest(dir.filePath(kept[0])),
             QCryptographicHash::hash(QByteArray(8192, '\x5a'), QCryptographicHash::Sha256));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
