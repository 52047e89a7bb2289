// What only a server has: a commit that the server turned into a rollback, its
// own numbering, and two workstations writing at once. Skipped on the file
// (without PELM_TEST_SERVER); the rest of the suite runs on both engines.
#include "charging/MonthlyRun.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QMutex>
#include <QTest>

#include <algorithm>
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

QTEST_GUILESS_MAIN(TestPostgres)
#include "tst_postgres.moc"
