#include "db/DataChanges.h"
#include "db/DbError.h"
#include "db/ListQuery.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>

// What a write announces, and when: once per outermost commit, nothing after a
// rollback, at once outside a transaction.
class TestDataChanges : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oneAnnouncementPerOutermostCommit();
    void nothingWithoutCommit_data();
    void nothingWithoutCommit();
    void failedCommitAnnouncesNothing();
    void savepointRolledBackDropsOnlyItsPart();
    void writeOutsideTransactionAnnouncedAtOnce_data();
    void writeOutsideTransactionAnnouncedAtOnce();
    void otherConnectionsHearNothing();
    void listKnowsItsTables_data();
    void listKnowsItsTables();
};

namespace {

using Write = std::function<void(const QSqlDatabase&)>;

ChangeSet only(const QSignalSpy& spy)
{
    if (spy.size() != 1)
        return {};
    return spy.first().first().value<ChangeSet>();
}

qlonglong addBuilding(const QSqlDatabase& db, const QString& name)
{
    return sql::insert(db, QStringLiteral("garden"), {{QStringLiteral("garden_name"), name}});
}

} // namespace

void TestDataChanges::oneAnnouncementPerOutermostCommit()
{
    TestDatabase t;
    const qlonglong owner = t.estate().addOwner({.name = "甲公司"});
    QSignalSpy spy(DataChanges::of(t.db()), &DataChanges::changed);

    qlonglong tower = 0;
    qlonglong member = 0;
    {
        Transaction outer(t.db());
        tower = addBuilding(t.db(), "一号楼");
        sql::updateOne(t.db(), "owner_info", {{"linker", "张三"}}, "owner_id", owner);
        {
            Transaction inner(t.db());
            member = sql::insert(t.db(), "member", {{"owner_id", owner}, {"member_name", "李四"}});
            sql::exec(t.db(), "update member set duty = ? where owner_id = ?", {"经理", owner});
            inner.commit();
        }
        QCOMPARE(spy.size(), 0); // nothing before the outermost commit
        outer.commit();
    }
    QCOMPARE(spy.size(), 1);
    const ChangeSet changes = only(spy);
    QCOMPARE(changes.tables(), (QStringList{"garden", "member", "owner_info"}));
    QCOMPARE(changes.keys("garden"), QVariantList{tower});
    QCOMPARE(changes.keys("OWNER_INFO"), QVariantList{owner});
    QVERIFY(!changes.touchesUnknownRows("owner_info"));
    // The member was inserted by its key, and updated by its owner's: every member
    // of the owner may have changed.
    QCOMPARE(changes.keys("member"), QVariantList{member});
    QVERIFY(changes.touchesUnknownRows("member"));
    QVERIFY(changes.touchesAny({"rooms_info", "Member"}));
    QVERIFY(!changes.touchesAny({"rooms_info", "car"}));
}

void TestDataChanges::nothingWithoutCommit_data()
{
    QTest::addColumn<Write>("work");
    QTest::newRow("left without commit") << Write([](const QSqlDatabase& db) {
        Transaction transaction(db);
        addBuilding(db, "一号楼");
    });
    QTest::newRow("a refused statement") << Write([](const QSqlDatabase& db) {
        try {
            Transaction transaction(db);
            addBuilding(db, "一号楼");
            addBuilding(db, QString(31, u'楼')); // longer than the column takes
            transaction.commit();
        } catch (const DbError&) {
        }
    });
    QTest::newRow("savepoint committed, outer not") << Write([](const QSqlDatabase& db) {
        Transaction outer(db);
        Transaction inner(db);
        addBuilding(db, "一号楼");
        inner.commit();
    });
}

void TestDataChanges::nothingWithoutCommit()
{
    QFETCH(Write, work);
    TestDatabase t;
    QSignalSpy spy(DataChanges::of(t.db()), &DataChanges::changed);
    work(t.db());
    QCOMPARE(spy.size(), 0);
    QCOMPARE(t.scalar("select count(*) from garden").toInt(), 0);

    // What was collected is gone: the next transaction announces its own alone.
    {
        Transaction transaction(t.db());
        sql::insert(t.db(), "dev_type", {{"type_name", "电梯"}});
        transaction.commit();
    }
    QCOMPARE(only(spy).tables(), QStringList{"dev_type"});
}

void TestDataChanges::failedCommitAnnouncesNothing()
{
    TestDatabase t;
    // A deferred foreign key is checked at COMMIT, which then fails (the file
    // checks foreign keys only when told to).
    if (!TestDatabase::onServer())
        t.exec("pragma foreign_keys = on");
    t.exec("create temp table parent (id integer primary key)");
    t.exec(
        "create temp table child (parent_id integer references parent (id) deferrable initially deferred)");
    QSignalSpy spy(DataChanges::of(t.db()), &DataChanges::changed);
    bool refused = false;
    try {
        Transaction transaction(t.db());
        addBuilding(t.db(), "一号楼");
        sql::exec(t.db(), "insert into child (parent_id) values (?)", {7});
        transaction.commit();
    } catch (const DbError&) {
        refused = true;
    }
    QVERIFY(refused);
    QCOMPARE(spy.size(), 0);
    QCOMPARE(Transaction::depth(t.db()), 0);
    QCOMPARE(t.scalar("select count(*) from garden").toInt(), 0);
    if (!TestDatabase::onServer())
        t.exec("pragma foreign_keys = off");
}

void TestDataChanges::savepointRolledBackDropsOnlyItsPart()
{
    TestDatabase t;
    const qlonglong owner = t.estate().addOwner({.name = "甲公司"});
    QSignalSpy spy(DataChanges::of(t.db()), &DataChanges::changed);
    qlonglong tower = 0;
    {
        Transaction outer(t.db());
        tower = addBuilding(t.db(), "一号楼");
        {
            Transaction inner(t.db());
            sql::insert(t.db(), "member", {{"owner_id", owner}, {"member_name", "李四"}});
            addBuilding(t.db(), "二号楼"); // undone with the savepoint, though its table stays written
        }
        {
            Transaction kept(t.db());
            sql::insert(t.db(), "car", {{"owner_id", owner}, {"car_no", "粤B12345"}});
            kept.commit();
        }
        outer.commit();
    }
    const ChangeSet changes = only(spy);
    QCOMPARE(changes.tables(), (QStringList{"car", "garden"}));
    QCOMPARE(changes.keys("garden"), QVariantList{tower});
}

void TestDataChanges::writeOutsideTransactionAnnouncedAtOnce_data()
{
    QTest::addColumn<Write>("write");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QVariantList>("keys");
    QTest::addColumn<bool>("unknownRows");

    QTest::newRow("insert, auto-number") << Write([](const QSqlDatabase& db) { addBuilding(db, "二号楼"); })
                                         << "garden" << QVariantList{2} << false;
    QTest::newRow("insert, typed key") << Write([](const QSqlDatabase& db) {
        sql::insert(db, "rooms_info", {{"room_id", "102"}, {"garden_id", 1}});
    }) << "rooms_info" << QVariantList{"102"}
                                       << false;
    QTest::newRow("update of one record") << Write([](const QSqlDatabase& db) {
        sql::updateOne(db, "garden", {{"developer", "乙公司"}}, "garden_id", 1);
    }) << "garden" << QVariantList{1} << false;
    QTest::newRow("typed key renamed") << Write([](const QSqlDatabase& db) {
        sql::updateOne(db, "rooms_info", {{"room_id", "201"}}, "room_id", "101");
    }) << "rooms_info" << QVariantList{"101", "201"}
                                       << false;
    QTest::newRow("removal of one record")
        << Write([](const QSqlDatabase& db) { sql::removeOne(db, "owner_rooms", "owner_id", 1); })
        << "owner_rooms" << QVariantList{} << true;
    QTest::newRow("removal by key") << Write([](const QSqlDatabase& db) {
        sql::remove(db, "garden", "garden_id", 1);
    }) << "garden" << QVariantList{1}
                                    << false;
    QTest::newRow("raw update") << Write([](const QSqlDatabase& db) {
        sql::exec(db, "  UPDATE \"owner_info\" set linker = ? where owner_id = ?", {"张三", 1});
    }) << "owner_info" << QVariantList{}
                                << true;
    QTest::newRow("raw delete") << Write([](const QSqlDatabase& db) {
        sql::exec(db, "delete from owner_rooms where room_id = ?", {"101"});
    }) << "owner_rooms" << QVariantList{}
                                << true;
    QTest::newRow("raw insert of a select") << Write([](const QSqlDatabase& db) {
        sql::exec(db,
                  "insert into member (owner_id, member_name) select owner_id, owner_name from owner_info");
    }) << "member" << QVariantList{} << true;
    QTest::newRow("noted by hand") << Write([](const QSqlDatabase& db) { sql::touched(db, "Device", 9); })
                                   << "device" << QVariantList{9} << false;
    // A write that changed no row changed nothing.
    QTest::newRow("update of no row") << Write([](const QSqlDatabase& db) {
        sql::update(db, "garden", {{"developer", "乙公司"}}, "garden_id", 99);
    }) << QString() << QVariantList{} << false;
    QTest::newRow("raw delete of no row") << Write([](const QSqlDatabase& db) {
        sql::exec(db, "delete from garden where garden_id = ?", {99});
    }) << QString() << QVariantList{} << false;
    QTest::newRow("a select") << Write([](const QSqlDatabase& db) {
        sql::exec(db, "select * from garden where garden_name like ?", {"%update member%"});
    }) << QString() << QVariantList{}
                              << false;
}

void TestDataChanges::writeOutsideTransactionAnnouncedAtOnce()
{
    QFETCH(Write, write);
    QFETCH(QString, table);
    QFETCH(QVariantList, keys);
    QFETCH(bool, unknownRows);

    TestDatabase t;
    Estate e = t.estate();
    const qlonglong tower = e.addBuilding("一号楼");
    e.addRoom({.id = "101", .building = tower});
    e.linkRoom(e.addOwner({.name = "甲公司"}), "101");
    QSignalSpy spy(DataChanges::of(t.db()), &DataChanges::changed);
    write(t.db());
    if (table.isEmpty()) {
        QCOMPARE(spy.size(), 0);
        return;
    }
    QCOMPARE(spy.size(), 1);
    const ChangeSet changes = only(spy);
    QCOMPARE(changes.tables(), QStringList{table});
    QCOMPARE(changes.keys(table), keys);
    QCOMPARE(changes.touchesUnknownRows(table), unknownRows);
}

void TestDataChanges::otherConnectionsHearNothing()
{
    TestDatabase first;
    TestDatabase second;
    QVERIFY(first.db().connectionName() != second.db().connectionName());
    QSignalSpy spy(DataChanges::of(first.db()), &DataChanges::changed);
    addBuilding(second.db(), "一号楼");
    QCOMPARE(spy.size(), 0);
    addBuilding(first.db(), "一号楼");
    QCOMPARE(spy.size(), 1);
}

void TestDataChanges::listKnowsItsTables_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QStringList>("tables");

    QTest::newRow("one table") << "rooms_info"
                               << "garden_id = ?" << QStringList{"rooms_info"};
    QTest::newRow("a join") << "owner_rooms r left join owner_info o on o.owner_id = r.owner_id"
                            << "" << QStringList{"owner_rooms", "owner_info"};
    QTest::newRow("quoted, any case") << "\"Employee\" e left join DEPARTMENT d on d.dept_id = e.dept_id"
                                      << "" << QStringList{"employee", "department"};
    QTest::newRow("a subquery in from") << "(select g.*, t.type_name from goods g left join goods_type t "
                                           "on t.type_id = g.type_id) q"
                                        << "" << QStringList{"goods", "goods_type"};
    QTest::newRow("a subquery in where")
        << "owner_info"
        << "exists (select 1 from owner_rooms r where r.owner_id = owner_info.owner_id)"
        << QStringList{"owner_info", "owner_rooms"};
    QTest::newRow("columns are no tables") << "member"
                                           << "owner_id = ? and member_name like ?" << QStringList{"member"};
}

void TestDataChanges::listKnowsItsTables()
{
    QFETCH(QString, from);
    QFETCH(QString, where);
    QFETCH(QStringList, tables);
    QCOMPARE((ListQuery{from, where, {}, {}}.tables()), tables);
}

QTEST_GUILESS_MAIN(TestDataChanges)
#include "tst_datachanges.moc"
