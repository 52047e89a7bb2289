#include "charging/ChargeType.h"
#include "charging/Deposit.h"
#include "charging/DeviceType.h"
#include "charging/FeeRecord.h"
#include "db/DbError.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QTest>

// The checks of the charging code tables, deposits and stored fee months,
// without their windows: each refusal with the office's text and its column.
class TestChargingChecks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void deviceTypeChecks_data();
    void deviceTypeChecks();
    void chargeTypePrices();
    void deletesUnlessUsed();
    void depositChecks_data();
    void depositChecks();
    void storedMonths_data();
    void storedMonths();
};

void TestChargingChecks::deviceTypeChecks_data()
{
    QTest::addColumn<QString>("second"); // the second of two rows stored together
    QTest::addColumn<bool>("ok");

    QTest::newRow("named") << " 电梯 " << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << "  " << false;
}

void TestChargingChecks::deviceTypeChecks()
{
    QFETCH(QString, second);
    QFETCH(bool, ok);
    TestDatabase t;
    const Checked<> stored = device_type_store::store(t.db(), {{0, "水泵"}, {0, second}});
    QCOMPARE(stored.ok(), ok);
    QCOMPARE(stored.ok() ? QString() : stored.refusal().text, ok ? QString() : QString("请填写名称!"));
    QCOMPARE(stored.ok() ? QString() : stored.refusal().field, ok ? QString() : QString("type_name"));
    // One refused row keeps the other from being stored too.
    QCOMPARE(sql::scalar(t.db(), "select count(*) from dev_type").toInt(), ok ? 2 : 0);
    if (ok)
        QVERIFY(sql::exists(t.db(), "select type_id from dev_type where type_name = ?", {"电梯"}));
}

void TestChargingChecks::chargeTypePrices()
{
    // A price that is no number is the general conversion error, and nothing is stored.
    TestDatabase t;
    QVERIFY_THROWS_EXCEPTION(
        DbError, charge_type_store::store(t.db(), QList<ChargeTypeInput>{{0, "水费", "1.5", "普通收费"},
                                                                         {0, "气费", "十", "普通收费"}}));
    QCOMPARE(
        sql::scalar(t.db(), "select count(*) from charge_type where type_name in (?, ?)", {"水费", "气费"})
            .toInt(),
        0);
    charge_type_store::store(t.db(),
                             QList<ChargeTypeInput>{{0, "水费", "１.５", "普通收费"}, {0, "气费", "", ""}});
    QCOMPARE(
        sql::scalar(t.db(), "select count(*) from charge_type where type_name in (?, ?)", {"水费", "气费"})
            .toInt(),
        2);
}

void TestChargingChecks::deletesUnlessUsed()
{
    TestDatabase t;
    Estate e = t.estate();
    const qlonglong electricity = e.addChargeType("电费", "1", "表读数*单价");
    const qlonglong water = e.addChargeType("水费", "1", "普通收费");
    const qlonglong gas = e.addChargeType("气费", "1", "普通收费");
    e.addFee({.owner = e.addOwner({.name = "甲"}), .type = water});
    const qlonglong pumps = e.addDeviceType("水泵");
    const qlonglong lifts = e.addDeviceType("电梯");
    e.addDevice({.type = pumps, .number = "B1", .name = "一号泵"});

    const auto refusalOf = [](const Checked<>& c) { return c.ok() ? QString() : c.refusal().text; };
    QCOMPARE(refusalOf(charge_type_store::removeUnlessInUse(t.db(), electricity)),
             QString("电费、物管费和服务费是系统必需的费用类别，不能删除！"));
    QCOMPARE(refusalOf(charge_type_store::removeUnlessInUse(t.db(), water)),
             QString("此费用类别已有收费记录，不能删除！如确需删除，请先删除此类别的所有收费记录。"));
    QCOMPARE(refusalOf(device_type_store::removeUnlessUsed(t.db(), pumps)),
             QString("此类型有具体的设备存在，如确定要删除此类型，先要删除此类型下的所有设备！"));
    QVERIFY(charge_type_store::removeUnlessInUse(t.db(), gas).ok());
    QVERIFY(device_type_store::removeUnlessUsed(t.db(), lifts).ok());
    QVERIFY(charge_type_store::load(t.db(), electricity));
    QVERIFY(charge_type_store::load(t.db(), water));
    QVERIFY(!charge_type_store::load(t.db(), gas));
    QCOMPARE(sql::scalar(t.db(), "select count(*) from dev_type").toInt(), 1);
}

void TestChargingChecks::depositChecks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // in yuan; empty: none; "refused": refused

    QTest::newRow("empty") << " "
                           << "";
    QTest::newRow("amount") << "1200.5"
                            << "1200.50";
    QTest::newRow("full-width") << "１２００"
                                << "1200.00";
    QTest::newRow("sign alone") << "-"
                                << "refused";
    QTest::newRow("point alone") << "."
                                 << "refused";
    QTest::newRow("three decimals") << "1.005"
                                    << "refused";
}

void TestChargingChecks::depositChecks()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    TestDatabase t;
    const qlonglong owner = t.estate().addOwner({.name = "甲", .bailMoney = "300"});
    const Checked<> saved = deposit_store::save(t.db(), owner, typed);
    QCOMPARE(!saved.ok(), stored == "refused");
    const std::optional<Deposit> deposit = deposit_store::load(t.db(), owner);
    QVERIFY(deposit);
    if (!saved.ok()) {
        QCOMPARE(saved.refusal().text, QString("装修押金不是有效的金额，请填写金额（最多两位小数）！"));
        QCOMPARE(saved.refusal().field, QString("bail_money"));
        QCOMPARE(deposit->amount->toString(2), QString("300.00")); // as it was
        return;
    }
    QCOMPARE(deposit->amount ? deposit->amount->toString(2) : QString(), stored);
}

void TestChargingChecks::storedMonths_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("month"); // yyyy-MM-dd; empty: none
    QTest::addColumn<QString>("message");

    QTest::newRow("empty") << ""
                           << "start_num"
                           << ""
                           << "";
    QTest::newRow("date") << "2026-03-01"
                          << "start_num"
                          << "2026-03-01"
                          << "";
    QTest::newRow("date and time") << "2026-04-30 00:00:00"
                                   << "end_num"
                                   << "2026-04-30"
                                   << "";
    QTest::newRow("first month no date") << "12"
                                         << "start_num"
                                         << ""
                                         << "起始日期数值不正确，请正确填写！";
    QTest::newRow("last month no date") << "2026-13-01"
                                        << "end_num"
                                        << ""
                                        << "截止日期数值不正确，请正确填写！";
}

void TestChargingChecks::storedMonths()
{
    QFETCH(QString, text);
    QFETCH(QString, column);
    QFETCH(QString, month);
    QFETCH(QString, message);
    const Checked<std::optional<QDate>> m = fee_store::storedMonth(text, column);
    QCOMPARE(m.ok() ? QString() : m.refusal().text, message);
    QCOMPARE(m.ok() ? QString() : m.refusal().field, message.isEmpty() ? QString() : column);
    if (m.ok())
        QCOMPARE(m.value() ? m.value()->toString(Qt::ISODate) : QString(), month);
}

QTEST_GUILESS_MAIN(TestChargingChecks)
#include "tst_chargingchecks.moc"
