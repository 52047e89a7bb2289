#include "base/Building.h"
#include "base/Member.h"
#include "base/Owner.h"
#include "base/OwnerRecords.h"
#include "base/Room.h"
#include "base/RoomLink.h"
#include "db/DbError.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QTest>

// The checks of the base information stores, without their windows: each
// refusal with the office's text and the column whose box takes the cursor, and
// the "delete unless used" rules read in the delete's transaction.
class TestBaseChecks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void buildingChecks_data();
    void buildingChecks();
    void buildingNameUsedTwice();
    void roomChecks_data();
    void roomChecks();
    void personChecks_data();
    void personChecks();
    void ownerRecordChecks_data();
    void ownerRecordChecks();
    void deletesUnlessUsed();
    void ownerSearch();
    void roomLinksToUnknownRooms();
};

namespace {

void compareRefusal(const Refusal& refusal, bool ok, const QString& message, const QString& field)
{
    QCOMPARE(ok ? QString() : refusal.text, message);
    QCOMPARE(ok ? QString() : refusal.field, field);
}

} // namespace

void TestBaseChecks::buildingChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("buildArea");
    QTest::addColumn<QString>("roomsNum");
    QTest::addColumn<QString>("message"); // empty: passes
    QTest::addColumn<QString>("field");

    QTest::newRow("no name") << "  "
                             << "十"
                             << ""
                             << "请输入大楼名称"
                             << "garden_name";
    QTest::newRow("named, numbers empty") << " 一号楼 "
                                          << ""
                                          << ""
                                          << ""
                                          << "";
    QTest::newRow("named, numbers given") << "一号楼"
                                          << "１２.５"
                                          << " 40 "
                                          << ""
                                          << "";
}

void TestBaseChecks::buildingChecks()
{
    QFETCH(QString, name);
    QFETCH(QString, buildArea);
    QFETCH(QString, roomsNum);
    QFETCH(QString, message);
    QFETCH(QString, field);
    BuildingInput input;
    input.name = name;
    input.buildArea = buildArea;
    input.roomsNum = roomsNum;
    const Checked<Building> b = building_store::check(input);
    compareRefusal(b.refusal(), b.ok(), message, field);
    if (b.ok()) {
        QCOMPARE(b.value().name, QString("一号楼"));
        QCOMPARE(b.value().buildArea.has_value(), !buildArea.isEmpty());
        QCOMPARE(b.value().roomsNum.has_value(), !roomsNum.isEmpty());
    }
}

void TestBaseChecks::buildingNameUsedTwice()
{
    // A box holding no number is the general conversion error, as before.
    BuildingInput noNumber;
    noNumber.name = "一号楼";
    noNumber.useArea = "十";
    QVERIFY_THROWS_EXCEPTION(DbError, building_store::check(noNumber));

    TestDatabase t;
    t.estate().addBuilding("一号楼");
    Building b;
    b.name = "一号楼";
    const Checked<qlonglong> twice = building_store::insert(t.db(), b);
    compareRefusal(twice.refusal(), twice.ok(), "已有此大楼的信息！", "garden_name");
    QCOMPARE(sql::scalar(t.db(), "select count(*) from garden").toInt(), 1);
    b.name = "二号楼";
    QVERIFY(building_store::insert(t.db(), b).ok());
}

void TestBaseChecks::roomChecks_data()
{
    QTest::addColumn<QString>("building");
    QTest::addColumn<bool>("buildingFound");
    QTest::addColumn<QString>("buildArea");
    QTest::addColumn<QString>("useArea");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field");

    // In the order the editor tells them.
    QTest::newRow("no building") << " " << false << ""
                                 << "x"
                                 << "请填写大楼名称"
                                 << "garden_name";
    QTest::newRow("no building area") << "一号楼" << false << " "
                                      << "x"
                                      << "请填写建筑面积！"
                                      << "build_area";
    QTest::newRow("building area no number") << "一号楼" << false << "1.005"
                                             << "x"
                                             << "建筑面积需要填写数字！"
                                             << "build_area";
    QTest::newRow("usable area no number") << "一号楼" << false << "100"
                                           << "-"
                                           << "使用面积需要填写数字！"
                                           << "use_area";
    QTest::newRow("building unknown") << "九号楼" << false << "100"
                                      << ""
                                      << "还未有大楼记录！"
                                      << "garden_name";
    QTest::newRow("passes") << "一号楼" << true << "100.50"
                            << ""
                            << ""
                            << "";
}

void TestBaseChecks::roomChecks()
{
    QFETCH(QString, building);
    QFETCH(bool, buildingFound);
    QFETCH(QString, buildArea);
    QFETCH(QString, useArea);
    QFETCH(QString, message);
    QFETCH(QString, field);
    RoomInput input;
    input.id = " 101 ";
    input.buildingText = building;
    if (buildingFound)
        input.buildingId = 7;
    input.buildArea = buildArea;
    input.useArea = useArea;
    const Checked<Room> room = room_store::check(input);
    compareRefusal(room.refusal(), room.ok(), message, field);
    if (room.ok()) {
        QCOMPARE(room.value().id, QString("101"));
        QCOMPARE(room.value().buildingId, 7);
        QCOMPARE(room.value().buildArea.toString(2), QString("100.50"));
        QVERIFY(!room.value().useArea);
    }
}

void TestBaseChecks::personChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ok");

    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << " \t " << false;
    QTest::newRow("named") << " 张三 " << true;
}

void TestBaseChecks::personChecks()
{
    QFETCH(QString, name);
    QFETCH(bool, ok);
    Member m;
    m.name = name;
    const Checked<Member> member = member_store::check(m);
    compareRefusal(member.refusal(), member.ok(), ok ? "" : "请填写姓名！", ok ? "" : "member_name");
    Owner o;
    o.name = name;
    const Checked<Owner> owner = owner_store::check(o);
    compareRefusal(owner.refusal(), owner.ok(), ok ? "" : "请填写住户名称！", ok ? "" : "owner_name");
    if (ok) {
        QCOMPARE(member.value().name, QString("张三"));
        QCOMPARE(owner.value().name, QString("张三"));
    }

    // Nothing refused is stored.
    TestDatabase t;
    const qlonglong holder = t.estate().addOwner({.name = "甲"});
    m.ownerId = holder;
    QCOMPARE(member_store::save(t.db(), m).ok(), ok);
    QCOMPARE(owner_store::save(t.db(), o).ok(), ok);
    QCOMPARE(sql::scalar(t.db(), "select count(*) from member").toInt(), ok ? 1 : 0);
    QCOMPARE(sql::scalar(t.db(), "select count(*) from owner_info").toInt(), ok ? 2 : 1);
}

void TestBaseChecks::ownerRecordChecks_data()
{
    QTest::addColumn<bool>("parking");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field");

    QTest::newRow("car without number") << false << " "
                                        << "请先填写车牌号!"
                                        << "car_no";
    QTest::newRow("car") << false << "粤B12345"
                         << ""
                         << "";
    QTest::newRow("car number twice") << false << "粤B00001"
                                      << ""
                                      << ""; // cars may share one
    QTest::newRow("place without number") << true << ""
                                          << "请先填写车位号!"
                                          << "park_no";
    QTest::newRow("place number taken") << true << "P1"
                                        << "车位号P1已经存在!"
                                        << "park_no";
    QTest::newRow("place") << true << "P2"
                           << ""
                           << "";
}

void TestBaseChecks::ownerRecordChecks()
{
    QFETCH(bool, parking);
    QFETCH(QString, number);
    QFETCH(QString, message);
    QFETCH(QString, field);
    TestDatabase t;
    Estate e = t.estate();
    const qlonglong other = e.addOwner({.name = "乙"});
    e.addCar(other, "粤B00001");
    e.addParkingPlace(other, "P1");
    const qlonglong owner = e.addOwner({.name = "甲"});
    const OwnerRecordTable table = parking ? OwnerRecordTable::parkingPlaces() : OwnerRecordTable::cars();
    const Checked<qlonglong> stored =
        owner_records::store(t.db(), table, owner, 0, {{table.required, number}, {"remark", "备注"}});
    compareRefusal(stored.refusal(), stored.ok(), message, field);
    QCOMPARE(
        sql::scalar(t.db(), u"select count(*) from " + table.table + u" where owner_id = ?", {owner}).toInt(),
        stored.ok() ? 1 : 0);
}

void TestBaseChecks::deletesUnlessUsed()
{
    TestDatabase t;
    Estate e = t.estate();
    const qlonglong tower = e.addBuilding("一号楼");
    const qlonglong empty = e.addBuilding("二号楼");
    e.addRoom({.id = "101", .building = tower});
    e.addRoom({.id = "102", .building = tower});
    const qlonglong holder = e.addOwner({.name = " 甲公司 "});
    e.linkRoom(holder, "101");
    const qlonglong payer = e.addOwner({.name = "乙"});
    const qlonglong fee = e.addChargeType("水费", "1", "普通收费");
    e.addFee({.owner = payer, .type = fee});
    e.linkRoom(payer, "102");
    const qlonglong nobody = e.addOwner({.name = "丙"});

    const auto refusalOf = [](const Checked<>& c) { return c.ok() ? QString() : c.refusal().text; };
    QCOMPARE(refusalOf(building_store::removeUnlessRooms(t.db(), tower)),
             QString("此幢大楼拥有房间记录，请先删除房间记录！"));
    QCOMPARE(refusalOf(room_store::removeUnlessOwned(t.db(), "101")),
             QString("此房间被用户甲公司所拥有，请先此用户的拥有房间里，删除此房间记录！"));
    // Fee records are told before the rooms.
    QCOMPARE(refusalOf(owner_store::removeUnlessInUse(t.db(), payer)),
             QString("在收费记录里有此用户的记录，请先删除此用户的缴费记录."));
    QCOMPARE(refusalOf(owner_store::removeUnlessInUse(t.db(), holder)),
             QString("此用户拥有房间记录，请先删除拥有的房间！"));
    QCOMPARE(sql::scalar(t.db(), "select count(*) from garden").toInt(), 2);
    QCOMPARE(sql::scalar(t.db(), "select count(*) from rooms_info").toInt(), 2);
    QCOMPARE(sql::scalar(t.db(), "select count(*) from owner_info").toInt(), 3);

    QVERIFY(building_store::removeUnlessRooms(t.db(), empty).ok());
    QVERIFY(owner_store::removeUnlessInUse(t.db(), nobody).ok());
    sql::exec(t.db(), "delete from owner_rooms where room_id = ?", {"101"});
    QVERIFY(room_store::removeUnlessOwned(t.db(), "101").ok());
    QCOMPARE(sql::scalar(t.db(), "select count(*) from garden").toInt(), 1);
    QCOMPARE(sql::scalar(t.db(), "select count(*) from rooms_info").toInt(), 1);
    QCOMPARE(sql::scalar(t.db(), "select count(*) from owner_info").toInt(), 2);
}

void TestBaseChecks::ownerSearch()
{
    TestDatabase t;
    const qlonglong owner = t.estate().addOwner({.name = "甲公司"});
    using owner_store::Occupants;
    const Checked<std::optional<qlonglong>> empty = owner_store::findByName(t.db(), {}, Occupants::All);
    compareRefusal(empty.refusal(), empty.ok(), "请先填写住户名称！", "");
    const Checked<std::optional<qlonglong>> found = owner_store::findByName(t.db(), "公司", Occupants::All);
    QVERIFY(found.ok());
    QCOMPARE(found.value(), std::optional<qlonglong>(owner));
    const Checked<std::optional<qlonglong>> none = owner_store::findByName(t.db(), "乙", Occupants::All);
    QVERIFY(none.ok());
    QVERIFY(!none.value());
}

void TestBaseChecks::roomLinksToUnknownRooms()
{
    // A link may name a room not entered yet: it is stored, and told about.
    TestDatabase t;
    Estate e = t.estate();
    e.addRoom({.id = "101", .building = e.addBuilding("一号楼")});
    const qlonglong owner = e.addOwner({.name = "甲"});
    const QStringList notices =
        room_link_store::store(t.db(), owner, {{0, 0, "101", {}}, {0, 0, "909", {}}, {0, 0, "910", "x"}});
    QCOMPARE(notices, QStringList({"房号909不存在，请确认!", "房号910不存在，请确认!"}));
    QCOMPARE(sql::scalar(t.db(), "select count(*) from owner_rooms where owner_id = ?", {owner}).toInt(), 3);
}

QTEST_GUILESS_MAIN(TestBaseChecks)
#include "tst_basechecks.moc"
