#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/DefaultRows.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TestDatabaseFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyTableAndColumn();
    void columnRulesAreEnforced_data();
    void columnRulesAreEnforced();
    void blankPaddedValuesCompareEqual();
    void defaultsAndKeys();
    void createRefusesExistingFile();
    void openNeverCreatesAFile();
    void openRefusesForeignFiles();
    void sharedFileSettings();
    void defaultChargeTypes();
    void defaultChargeTypesLeaveAnyRowAlone();
    void valuesAreBoundAsTyped();
    void transactionRollsBackUnlessCommitted();
};

namespace {

QStringList columnsOf(const QSqlDatabase& db, const QString& table)
{
    QStringList names;
    QSqlQuery q = sql::exec(db, u"PRAGMA table_info(\"" + table + u"\")");
    while (q.next())
        names << q.value(1).toString();
    return names;
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

void TestDatabaseFile::everyTableAndColumn()
{
    TestDatabase t;
    // Every table of the data model with the columns the screens name.
    const QList<QPair<QString, QStringList>> expected = {
        {"operator",
         {"op_code", "op_name", "PassWord", "group_name", "PopeBase", "PopeAdmin", "PopeCharge", "popeManage",
          "popeQuery", "popePara"}},
        {"garden",
         {"garden_id", "garden_name", "developer", "builder", "build_high", "build_floor", "structure",
          "build_area", "use_area", "rooms_num", "finish_date", "remarks"}},
        {"rooms_info",
         {"room_id", "garden_id", "build_area", "use_area", "use_state", "room_type", "direct", "floor",
          "fitment", "match", "remarks"}},
        {"owner_info",
         {"owner_id", "owner_name", "paper_name", "paper_id", "linker", "link_tel", "work_time", "fare",
          "credit", "jjlink", "remarks", "in_out", "in_date", "bail_money", "charge_man", "charge_tel"}},
        {"owner_rooms", {"ownerroom_id", "room_id", "owner_id", "relation_desc", "if_manage"}},
        {"member",
         {"member_id", "owner_id", "member_name", "sex", "duty", "connect_tel", "birthday", "degree",
          "polity", "work_dept"}},
        {"car", {"car_id", "owner_id", "car_no", "car_type", "car_color", "driver", "link_tel", "remark"}},
        {"park", {"park_id", "owner_id", "park_no", "lend_type", "palace", "remark"}},
        {"charge_type", {"type_id", "type_name", "unit_price", "take_type"}},
        {"charge_take",
         {"take_id", "owner_id", "type_id", "should_pay", "delay", "derate", "payment_real", "start_num",
          "end_num", "pay_mode", "take_date", "write_man", "if_remain", "if_prep", "remarks"}},
        {"dev_type", {"type_id", "type_name"}},
        {"device",
         {"dev_id", "type_id", "dev_no", "dev_name", "asset_id", "factory", "factory_date", "link_tel",
          "palace", "voltage", "curr", "power", "use_date", "old_year", "remark"}},
        {"repair",
         {"repair_id", "dev_id", "fault_time", "fault_desc", "cause", "repair", "repair_time", "repair_money",
          "repair_desc", "result", "finish_time", "remark"}},
        {"department", {"dept_id", "dept_name", "manager", "sup_deptid", "duty_desc"}},
        {"employee",
         {"emp_id", "dept_id", "emp_name", "identity_card", "sextype", "marry", "birthday", "home_address",
          "link_tel", "regist_address", "position", "post", "grade", "polity", "school", "special",
          "graduate", "old_company", "remarks"}},
        {"message_info",
         {"msg_id", "sender", "receive", "mesg_head", "mesg_contents", "send_time", "mesg_type"}},
        {"work_plan",
         {"plan_id", "op_code", "plan_type", "state", "title", "finish_state", "charge_man", "awoke_date",
          "start_end", "manager", "contents"}},
        {"meet", {"id", "title", "take_man", "take_date", "take_people", "contents"}},
        {"goods_type", {"type_id", "type_name"}},
        {"goods", {"goods_id", "sort_id", "goods_name", "type_id", "store_num", "remark"}},
        {"goods_buy",
         {"buy_id", "goods_id", "buy_date", "unit_price", "num", "buyer", "xhgg", "pzr", "remark"}},
        {"take_goods",
         {"id", "goods_id", "dept_id", "take_man", "take_num", "take_date", "xhgg", "pzr", "remark"}},
        {"dept_goods", {"id", "dept_id", "goods_id", "goods_num", "remark"}},
        {"service",
         {"serve_id", "owner_id", "contents", "worker", "start_time", "finish_time", "material_money",
          "serve_money", "need_material", "owner_check", "if_take"}},
        {"advice",
         {"advice_id", "owner_id", "advice_name", "advice_type", "advice_time", "serve_name", "revert",
          "revert_type", "satisfy", "advice_content", "deal_content"}},
        {"fitment",
         {"fit_id", "owner_id", "start_date", "end_date", "company_name", "licence", "fit_tel", "address",
          "checker", "remark", "fit_Content"}},
        {"event",
         {"event_id", "event_name", "event_type", "take_time", "take_address", "deal_man", "detail",
          "deal_result"}},
        {"fire_area",
         {"fire_id", "area_name", "address", "fire_area", "grade", "cycle", "fireman", "checker", "equipment",
          "remark"}},
        {"condition", {"cond_id", "area_name", "charger", "cycle", "remark", "require"}},
        {"community",
         {"ploy_id", "ploy_name", "main_dept", "second_dept", "ploy_type", "start_date", "end_date",
          "charge_man", "ploy_money", "money_take", "take_people", "affiche", "circs", "remark"}},
        {"serveorder",
         {"id", "owner_id", "send_dept", "rece_dept", "order_time", "recorder", "link_tel", "take_stand",
          "take_money", "big_money", "record_date", "cust_write", "server_item", "remark"}},
    };
    for (const auto& [table, columns] : expected)
        QCOMPARE(columnsOf(t.db(), table), columns);
    QCOMPARE(t.scalar("select count(*) from sqlite_master where type = 'table' and name not like 'sqlite%'")
                 .toInt(),
             int(expected.size()));
    // The columns that lists filter and join on are indexed.
    QVERIFY(t.scalar("select count(*) from sqlite_master where type = 'index' and tbl_name = 'charge_take'")
                .toInt() >= 3);
}

void TestDatabaseFile::columnRulesAreEnforced_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<bool>("accepted");

    const QString garden = "insert into garden (garden_name) values (?)";
    QTest::newRow("text at its size") << garden << QVariantList{QString(30, u'楼')} << true;
    QTest::newRow("text over its size") << garden << QVariantList{QString(31, u'楼')} << false;
    const QString rooms = "insert into garden (garden_name, rooms_num) values ('a', ?)";
    QTest::newRow("integer") << rooms << QVariantList{12} << true;
    QTest::newRow("integer from digits") << rooms << QVariantList{"12"} << true;
    QTest::newRow("integer from letters") << rooms << QVariantList{"twelve"} << false;
    QTest::newRow("integer from fraction") << rooms << QVariantList{1.5} << false;
    const QString area = "insert into garden (garden_name, build_area) values ('a', ?)";
    QTest::newRow("decimal(10,2) largest") << area << QVariantList{9999999999LL} << true;
    QTest::newRow("decimal(10,2) too large") << area << QVariantList{10000000000LL} << false;
    QTest::newRow("decimal as text") << area << QVariantList{"12.5"} << false;
    const QString take = "insert into charge_take (owner_id, type_id) values (1, ?)";
    QTest::newRow("byte 255") << take << QVariantList{255} << true;
    QTest::newRow("byte 256") << take << QVariantList{256} << false;
    const QString date = "insert into garden (garden_name, finish_date) values ('a', ?)";
    QTest::newRow("date") << date << QVariantList{"2002-07-10"} << true;
    QTest::newRow("date and time") << date << QVariantList{"2002-07-10 08:30:00"} << true;
    QTest::newRow("date in another form") << date << QVariantList{"10/07/2002"} << false;
    const QString room = "insert into rooms_info (room_id, garden_id, build_area) values (?, 1, 100)";
    QTest::newRow("room number") << room << QVariantList{"101"} << true;
    QTest::newRow("empty room number") << room << QVariantList{""} << false;
    QTest::newRow("null room number") << room << QVariantList{QVariant()} << false;
    QTest::newRow("quote in a text") << garden << QVariantList{"O'Brien 大厦 100%"} << true;
}

void TestDatabaseFile::columnRulesAreEnforced()
{
    QFETCH(QString, statement);
    QFETCH(QVariantList, values);
    QFETCH(bool, accepted);
    TestDatabase t;
    bool ok = true;
    try {
        sql::exec(t.db(), statement, values);
    } catch (const DbError& e) {
        ok = false;
        QVERIFY(!e.text().isEmpty());
    }
    QCOMPARE(ok, accepted);
}

void TestDatabaseFile::blankPaddedValuesCompareEqual()
{
    TestDatabase t;
    t.exec("insert into rooms_info (room_id, garden_id, build_area) values ('101', 1, 100)");
    QCOMPARE(t.scalar("select count(*) from rooms_info where room_id = ?", {"101   "}).toInt(), 1);
    // The same number with trailing blanks is the same key.
    QVERIFY_THROWS_EXCEPTION(DbError,
                             sql::exec(t.db(), "insert into rooms_info (room_id, garden_id, build_area) "
                                               "values ('101  ', 2, 100)"));
}

void TestDatabaseFile::defaultsAndKeys()
{
    TestDatabase t;
    t.exec("insert into owner_rooms (room_id, owner_id) values ('101', 1)");
    QCOMPARE(t.scalar("select if_manage from owner_rooms").toString(), QStringLiteral("是"));
    QCOMPARE(t.scalar("select ownerroom_id from owner_rooms").toInt(), 1);

    // Auto-numbers are never reused, so the rows left behind by a deleted owner
    // never pass to a new one.
    const qlonglong first = t.insert("insert into owner_info (owner_name) values ('甲')");
    const qlonglong second = t.insert("insert into owner_info (owner_name) values ('乙')");
    t.exec("delete from owner_info where owner_id = ?", {second});
    QCOMPARE(t.insert("insert into owner_info (owner_name) values ('丙')"), second + 1);
    QCOMPARE(first, 1);

    // Room numbers are unique over all buildings.
    t.exec("insert into rooms_info (room_id, garden_id, build_area) values ('A1', 1, 100)");
    QVERIFY_THROWS_EXCEPTION(
        DbError,
        sql::exec(t.db(), "insert into rooms_info (room_id, garden_id, build_area) values ('A1', 2, 50)"));
}

void TestDatabaseFile::createRefusesExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QCOMPARE(database_file::create(path), QString());
    QVERIFY(QFile::exists(path));
    QVERIFY(!(QFile::permissions(path) & QFileDevice::ReadOther));

    const QByteArray before = digest(path);
    const QString error = database_file::create(path);
    QVERIFY(error.contains(QStringLiteral("已经存在")));
    QCOMPARE(digest(path), before);

    // Any file at all, not only databases, is left alone.
    const QString text = dir.filePath("notes.mdb");
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    QVERIFY(!database_file::create(text).isEmpty());
    QCOMPARE(digest(text), QCryptographicHash::hash("keep me", QCryptographicHash::Sha256));
}

void TestDatabaseFile::openNeverCreatesAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pelm.mdb");
    QString error;
    QSqlDatabase db = database_file::open(path, "missing", &error);
    QVERIFY(!error.isEmpty());
    QVERIFY(!db.isOpen());
    QVERIFY(!QFile::exists(path));
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("missing");
}

void TestDatabaseFile::openRefusesForeignFiles()
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.mdb");
    QFile e(empty);
    QVERIFY(e.open(QIODevice::WriteOnly));
    e.close();
    const QString junk = dir.filePath("junk.mdb");
    QFile j(junk);
    QVERIFY(j.open(QIODevice::WriteOnly));
    j.write(QByteArray(4096, 'x'));
    j.close();

    for (const QString& path : {empty, junk}) {
        QString error;
        {
            QSqlDatabase db = database_file::open(path, "foreign", &error);
            QVERIFY(!db.isOpen());
        }
        QVERIFY2(!error.isEmpty(), qPrintable(path));
        QSqlDatabase::removeDatabase("foreign");
    }
    QCOMPARE(QFileInfo(empty).size(), 0);
}

void TestDatabaseFile::sharedFileSettings()
{
    TestDatabase t;
    QCOMPARE(t.scalar("PRAGMA journal_mode").toString(), QStringLiteral("wal"));
    QCOMPARE(t.scalar("PRAGMA user_version").toInt(), schema::kVersion);
    QVERIFY(t.scalar("PRAGMA busy_timeout").toInt() >= 1000);
}

void TestDatabaseFile::defaultChargeTypes()
{
    TestDatabase t;
    QVERIFY(default_rows::seedChargeTypes(t.db()));
    QVERIFY(!default_rows::seedChargeTypes(t.db()));

    QSqlQuery q = sql::exec(t.db(), "select type_id, type_name, unit_price, take_type from charge_type "
                                    "order by type_id");
    const QStringList names = {"物管费", "服务费", "电费", "水费"};
    const QStringList rules = {"建筑面积*单价*月份", "普通收费", "表读数*单价", "表读数*单价"};
    int row = 0;
    while (q.next()) {
        QCOMPARE(q.value(0).toInt(), row + 1);
        QCOMPARE(q.value(1).toString(), names[row]);
        QCOMPARE(q.value(2).toLongLong(), 0LL);
        QCOMPARE(q.value(3).toString(), rules[row]);
        ++row;
    }
    QCOMPARE(row, 4);
}

void TestDatabaseFile::defaultChargeTypesLeaveAnyRowAlone()
{
    TestDatabase t;
    t.exec("insert into charge_type (type_name, unit_price, take_type) values ('电费', 150, '表读数*单价')");
    QVERIFY(!default_rows::seedChargeTypes(t.db()));
    QCOMPARE(t.scalar("select count(*) from charge_type").toInt(), 1);
}

void TestDatabaseFile::valuesAreBoundAsTyped()
{
    TestDatabase t;
    const QString typed = "x' or '1'='1 -- 100% \"引号\"";
    t.exec("insert into owner_info (owner_name) values (?)", {typed});
    QCOMPARE(t.scalar("select owner_name from owner_info").toString(), typed);
    QCOMPARE(t.scalar("select count(*) from owner_info where owner_name = ?", {"x"}).toInt(), 0);
}

void TestDatabaseFile::transactionRollsBackUnlessCommitted()
{
    TestDatabase t;
    try {
        Transaction transaction(t.db());
        sql::exec(t.db(), "insert into garden (garden_name) values ('A')");
        sql::exec(t.db(), "insert into garden (garden_name) values (?)", {QString(40, u'x')});
        transaction.commit();
    } catch (const DbError&) {
    }
    QCOMPARE(t.scalar("select count(*) from garden").toInt(), 0);

    {
        Transaction transaction(t.db());
        sql::exec(t.db(), "insert into garden (garden_name) values ('B')");
        transaction.commit();
    }
    QCOMPARE(t.scalar("select count(*) from garden").toInt(), 1);
}

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_database.moc"
