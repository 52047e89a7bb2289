// What only a server has: a commit that the server turned into a rollback, its
// own numbering, and two workstations writing at once. Skipped on the file
// (without PELM_TEST_SERVER); the rest of the suite runs on both engines.
#include "charging/MonthlyRun.h"
#include "db/Database.h"
#include "db/DatabaseBackup.h"
#include "db/DatabaseCopy.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/ServerDatabase.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QMutex>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <vector>

class TestPostgres : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void abortedTransactionNeverCommits();
    void keysOfAFreshSession();
    void twoMonthlyRunsBillOnce();
    void billsAlikeOnBothEngines();
    void copyOfAFileProvesItself();
    void backupAndRestore();
};

namespace {

const QDate kToday{2026, 12, 10};

// Runs `work` on a connection of its own, in a thread of its own: another
// workstation on the same database.
template <class Work> std::thread otherWorkstation(const QString& place, const QString& name, Work work)
{
    return std::thread([place, name, work] {
        {
            QString error;
            QSqlDatabase db = database::open(place, name, &error);
            if (error.isEmpty())
                work(db);
            else
                qWarning() << error;
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    });
}

// A pelm database file beside the server's, for what both engines must agree on.
class FileDatabase
{
public:
    FileDatabase()
    {
        const QString path = m_dir.filePath("pelm.mdb");
        QString error = database_file::create(path);
        if (error.isEmpty())
            m_db = database::open(path, "file", &error);
        if (!error.isEmpty())
            throw std::runtime_error(error.toStdString());
    }
    ~FileDatabase()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase("file");
    }
    QSqlDatabase db() const { return m_db; }

private:
    QTemporaryDir m_dir;
    QSqlDatabase m_db;
};

// An empty database on the test server, dropped at the end.
class EmptyServerDatabase
{
public:
    EmptyServerDatabase() { TestDatabase::administer("CREATE DATABASE " + m_name); }
    ~EmptyServerDatabase()
    {
        try {
            TestDatabase::administer("DROP DATABASE " + m_name + " WITH (FORCE)");
        } catch (const std::runtime_error&) {
            // Left on the run's own server, which goes with the run.
        }
    }
    QString connection() const
    {
        QString error;
        return server_database::connectionString(qEnvironmentVariable("PELM_TEST_SERVER"), &error) +
               " dbname=" + m_name;
    }

private:
    QString m_name = QString("pelm_empty_%1").arg(QCoreApplication::applicationPid());
};

// An estate whose areas and price do not divide evenly: owners with one to three
// rooms, some shared, each billed once per room.
void buildOddEstate(Estate e)
{
    e.addChargeType("物管费", "2.37", "建筑面积*单价*月份");
    const qlonglong tower = e.addBuilding("一号楼");
    for (int r = 0; r < 120; ++r)
        e.addRoom({.id = QString::number(1000 + r),
                   .building = tower,
                   .buildArea = QString::number(17 + r * 7 % 93) + "." + QString::number(r * 37 % 100)});
    for (int o = 0; o < 300; ++o) {
        const qlonglong owner = e.addOwner({.name = QString("户%1").arg(o)});
        for (int k = 0; k <= o % 3; ++k)
            e.linkRoom(owner, QString::number(1000 + (o * 7 + k * 13) % 120));
    }
}

QString bills(const QSqlDatabase& db)
{
    QSqlQuery q = sql::exec(db, "select owner_id, should_pay from charge_take order by owner_id");
    QStringList lines;
    while (q.next())
        lines << q.value(0).toString() + ':' + q.value(1).toString();
    return lines.join(' ');
}

} // namespace

void TestPostgres::init()
{
    if (!TestDatabase::onServer())
        QSKIP("only on a server (PELM_TEST_SERVER)");
}

// A statement refused inside a transaction makes the server give up the whole
// transaction: its COMMIT would quietly roll back. It is reported instead, and
// nothing of it is kept.
void TestPostgres::abortedTransactionNeverCommits()
{
    TestDatabase t;
    bool reported = false;
    try {
        Transaction transaction(t.db());
        sql::insert(t.db(), "garden", {{"garden_name", "一号楼"}});
        try {
            sql::exec(t.db(), "select 1 / (select count(*) from rooms_info)");
        } catch (const DbError&) {
            // A caller that goes on after a refused statement.
        }
        transaction.commit();
    } catch (const DbError& e) {
        reported = true;
        QVERIFY2(e.text().contains("中止"), qPrintable(e.text()));
    }
    QVERIFY(reported);
    QCOMPARE(t.scalar("select count(*) from garden").toInt(), 0);
}

// A session that has numbered no row yet gets the key of the row it inserted
// (the server's lastval() has nothing to give there), and a row written with its
// own number moves the numbering past it.
void TestPostgres::keysOfAFreshSession()
{
    TestDatabase t;
    t.exec("insert into garden (garden_id, garden_name) values (41, '旧楼')");
    std::optional<qlonglong> key;
    otherWorkstation(t.path(), "fresh", [&](const QSqlDatabase& db) {
        key = sql::insert(db, "garden", {{"garden_name", "新楼"}});
    }).join();
    QCOMPARE(key, std::optional<qlonglong>(42));
    QCOMPARE(t.scalar("select garden_name from garden where garden_id = 42").toString(), QString("新楼"));
}

// Two workstations start the monthly run for the same month at once: the second
// waits for the first one's write lock, then finds the month billed. Every owner
// is billed once.
void TestPostgres::twoMonthlyRunsBillOnce()
{
    TestDatabase t;
    Estate e = t.estate();
    e.addChargeType("物管费", "2.5", "建筑面积*单价*月份");
    e.addRoom({.id = "101", .building = e.addBuilding("一号楼"), .buildArea = "50"});
    t.exec("begin");
    for (int i = 0; i < 300; ++i)
        e.linkRoom(e.addOwner({.name = QString("户%1").arg(i)}), "101");
    t.exec("commit");

    QList<monthly_run::Outcome::Kind> outcomes;
    QMutex mutex;
    std::vector<std::thread> runs;
    for (const QString name : {"first", "second"}) {
        runs.push_back(otherWorkstation(t.path(), name, [&](const QSqlDatabase& db) {
            const monthly_run::Outcome outcome =
                monthly_run::run(db, QDate(2026, 1, 1), QDate(2026, 3, 1), kToday);
            const QMutexLocker lock(&mutex);
            outcomes << outcome.kind;
        }));
    }
    for (std::thread& run : runs)
        run.join();
    std::sort(outcomes.begin(), outcomes.end());
    QCOMPARE(outcomes,
             (QList{monthly_run::Outcome::Kind::Billed, monthly_run::Outcome::Kind::AlreadyBilled}));
    QCOMPARE(t.scalar("select count(*) from charge_take").toInt(), 300);
    QCOMPARE(t.scalar("select count(distinct owner_id) from charge_take").toInt(), 300);
}

// The same estate billed on the file and on the server: every owner's bill the
// same to the fen (sums of areas and money stay whole numbers on the server).
void TestPostgres::billsAlikeOnBothEngines()
{
    TestDatabase t;
    FileDatabase file;
    for (const QSqlDatabase& db : {t.db(), file.db()}) {
        Transaction transaction(db);
        buildOddEstate(Estate(db));
        transaction.commit();
        QCOMPARE(monthly_run::run(db, QDate(2026, 1, 1), QDate(2026, 3, 1), kToday).bills, 300);
    }
    const QString onFile = bills(file.db());
    QCOMPARE(bills(t.db()), onFile);
    QVERIFY(onFile.count(' ') == 299);
}

// A file copied to an empty server database: the same rows, the same sums, and
// numbering that goes on where the file's stands (a number once handed out and
// deleted is not handed out again). A database that holds tables is refused.
void TestPostgres::copyOfAFileProvesItself()
{
    FileDatabase file;
    {
        Transaction transaction(file.db());
        buildOddEstate(Estate(file.db()));
        transaction.commit();
    }
    monthly_run::run(file.db(), QDate(2026, 1, 1), QDate(2026, 3, 1), kToday);
    const qlonglong removed = Estate(file.db()).addBuilding("拆除的楼");
    sql::remove(file.db(), "garden", "garden_id", removed);

    EmptyServerDatabase target;
    // Before the copy the database holds no pelm tables: refused at opening.
    {
        QString error;
        database::open(target.connection(), "empty", &error);
        QVERIFY2(error.contains("不是物业管理系统的数据库"), qPrintable(error));
    }
    QSqlDatabase::removeDatabase("empty");
    const database_copy::Result copied = database_copy::copyTo(file.db(), target.connection());
    QVERIFY2(copied.done, qPrintable(copied.message));
    QVERIFY2(copied.message.contains("核对一致"), qPrintable(copied.message));
    {
        QString error;
        QSqlDatabase db = database::open(target.connection(), "copy", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(bills(db), bills(file.db()));
        QCOMPARE(sql::scalar(db, "select count(*) from owner_rooms").toInt(),
                 sql::scalar(file.db(), "select count(*) from owner_rooms").toInt());
        QCOMPARE(sql::insert(db, "garden", {{"garden_name", "新楼"}}), removed + 1);
        db.close();
    }
    QSqlDatabase::removeDatabase("copy");

    const database_copy::Result again = database_copy::copyTo(file.db(), target.connection());
    QVERIFY(!again.done);
    QVERIFY2(again.message.contains("已经有数据表"), qPrintable(again.message));
}

// A backup through the server's tools is whole, never replaces a file, and is put
// back only while no workstation has the database open.
void TestPostgres::backupAndRestore()
{
    TestDatabase t;
    Estate(t.db()).addBuilding("一号楼");
    QTemporaryDir dir;
    const QString file = dir.filePath("pelm.backup");
    const QDateTime now(QDate(2026, 12, 10), QTime(9, 30));
    QVERIFY(database_backup::backup(t.db(), file).done());
    QVERIFY(!database_backup::backup(t.db(), file).done());
    t.exec("update garden set garden_name = '改过'");

    const database_backup::Result inUse = database_backup::restore(file, t.path(), now);
    QVERIFY(!inUse.done());
    QVERIFY2(inUse.message.contains("正在使用"), qPrintable(inUse.message));
    QVERIFY(!database_backup::restore(dir.filePath("missing.backup"), t.path(), now).done());

    QSqlDatabase db = t.db();
    db.close();
    const database_backup::Result restored = database_backup::restore(file, t.path(), now);
    QVERIFY2(restored.done(), qPrintable(restored.message));
    QVERIFY(db.open());
    QCOMPARE(t.scalar("select garden_name from garden").toString(), QString("一号楼"));
}

QTEST_GUILESS_MAIN(TestPostgres)
#include "tst_postgres.moc"
