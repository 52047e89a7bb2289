#include "db/DbError.h"
#include "services/CustomerService.h"
#include "services/Devices.h"
#include "services/Security.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <functional>

// The stores of the property services without a window: what the boxes of the
// screens are checked for and how they are stored, which records each list holds.
class TestServiceStores : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void typedTime_data();
    void typedTime();
    void refusals_data();
    void refusals();
    void serviceJobAsStored();
    void recordsKeepTheirParent();
    void listsOfOneParent();
    void devicesAndRepairs();
    void securityTexts();
    void recordGoneIsReported();

private:
    TestDatabase* t = nullptr;
};

namespace {

using Save = std::function<Checked<qlonglong>(const QSqlDatabase&)>;

ServiceJobInput job(qlonglong owner)
{
    ServiceJobInput in;
    in.ownerId = owner;
    in.worker = "张师傅";
    in.startTime = "2026-12-10 09:30";
    in.finishTime = "2026-12-10 11:00";
    in.materialMoney = "12.5";
    in.serveMoney = "30";
    return in;
}

DeviceInput device(qlonglong kind)
{
    DeviceInput in;
    in.typeId = kind;
    in.devNo = "DT-01";
    in.name = "一号客梯";
    in.oldYear = "15";
    return in;
}

RepairInput repair(qlonglong dev)
{
    RepairInput in;
    in.devId = dev;
    in.faultDate = QDate(2026, 12, 9);
    in.faultClock = QTime(14, 25, 59);
    in.faultDesc = "门不关";
    in.money = "200";
    return in;
}

} // namespace

void TestServiceStores::init()
{
    t = new TestDatabase;
}

void TestServiceStores::cleanup()
{
    delete t;
}

void TestServiceStores::typedTime_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("result");    // typed_time::Result
    QTest::addColumn<QString>("value"); // as stored

    const int time = int(typed_time::Result::DateTime);
    const int wrong = int(typed_time::Result::NotADateTime);
    QTest::newRow("minutes") << "2026-12-10 09:30" << time << "2026-12-10 09:30:00";
    QTest::newRow("seconds") << "2026-12-10 09:30:15" << time << "2026-12-10 09:30:15";
    QTest::newRow("one digit") << "2026-2-3 9:05" << time << "2026-02-03 09:05:00";
    QTest::newRow("a day alone") << " 2026-12-10 " << time << "2026-12-10 00:00:00";
    QTest::newRow("T between") << "2026-12-10T23:59" << time << "2026-12-10 23:59:00";
    QTest::newRow("full width") << "２０２６－１２－１０　０９：３０" << time << "2026-12-10 09:30:00";
    QTest::newRow("empty") << "" << int(typed_time::Result::Empty) << "";
    QTest::newRow("blank") << "   " << int(typed_time::Result::Empty) << "";
    QTest::newRow("no such day") << "2026-02-30 10:00" << wrong << "";
    QTest::newRow("hour 24") << "2026-12-10 24:00" << wrong << "";
    QTest::newRow("minute 60") << "2026-12-10 10:60" << wrong << "";
    QTest::newRow("year 0") << "0000-01-01" << wrong << "";
    QTest::newRow("other order") << "10/12/2026 09:30" << wrong << "";
    QTest::newRow("words") << "明天上午" << wrong << "";
    QTest::newRow("time alone") << "09:30" << wrong << "";
    QTest::newRow("trailing text") << "2026-12-10 09:30 左右" << wrong << "";
}

void TestServiceStores::typedTime()
{
    QFETCH(QString, typed);
    QFETCH(int, result);
    QFETCH(QString, value);
    const typed_time::Read read = typed_time::read(typed);
    QCOMPARE(int(read.result), result);
    QCOMPARE(read.value, value);
}

void TestServiceStores::refusals_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<Save>("save");
    QTest::addColumn<QString>("refusal");

    const auto service = [](std::function<void(ServiceJobInput&)> change) {
        return Save([change](const QSqlDatabase& db) {
            ServiceJobInput in = job(1);
            change(in);
            return service_store::save(db, in);
        });
    };
    QTest::newRow("start time") << "service" << service([](auto& in) { in.startTime = "2026-13-01"; })
                                << "开始时间不是有效的时间，请按“2026-12-10 09:30”的格式填写！";
    QTest::newRow("finish time") << "service" << service([](auto& in) { in.finishTime = "下午三点"; })
                                 << "结束时间不是有效的时间，请按“2026-12-10 09:30”的格式填写！";
    QTest::newRow("material letters")
        << "service" << service([](auto& in) { in.materialMoney = "12元"; }) << "材料费需要填写数字！";
    QTest::newRow("material decimals")
        << "service" << service([](auto& in) { in.materialMoney = "1.005"; }) << "材料费需要填写数字！";
    QTest::newRow("material too large")
        << "service" << service([](auto& in) { in.materialMoney = "100000000"; }) << "材料费需要填写数字！";
    QTest::newRow("service fee") << "service" << service([](auto& in) { in.serveMoney = "三十"; })
                                 << "服务费需要填写数字！";
    QTest::newRow("times before amounts") << "service" << service([](auto& in) {
        in.serveMoney = "三十";
        in.finishTime = "x";
    }) << "结束时间不是有效的时间，请按“2026-12-10 09:30”的格式填写！";

    QTest::newRow("complaint unnamed") << "advice" << Save([](const QSqlDatabase& db) {
        return complaint_store::save(db, {.ownerId = 1, .name = "  ", .serveName = "王"});
    }) << "请填写投诉对象名称";
    QTest::newRow("permit without company") << "fitment" << Save([](const QSqlDatabase& db) {
        return fitout_store::save(db, {.ownerId = "1", .companyName = " ", .tel = "123"});
    }) << "请填写装修公司名称";

    const auto dev = [](std::function<void(DeviceInput&)> change) {
        return Save([change](const QSqlDatabase& db) {
            DeviceInput in = device(1);
            change(in);
            return device_store::save(db, in);
        });
    };
    QTest::newRow("device number") << "device" << dev([](auto& in) { in.devNo = " "; }) << "请输入设备编号！";
    QTest::newRow("number before name") << "device" << dev([](auto& in) {
        in.devNo.clear();
        in.name.clear();
    }) << "请输入设备编号！";
    QTest::newRow("device name") << "device" << dev([](auto& in) { in.name = ""; }) << "请输入设备名称！";
    QTest::newRow("years in words") << "device" << dev([](auto& in) { in.oldYear = "十"; })
                                    << "折旧年限需要填写整数！";
    QTest::newRow("years with decimals")
        << "device" << dev([](auto& in) { in.oldYear = "2.5"; }) << "折旧年限需要填写整数！";
    QTest::newRow("years beyond the column")
        << "device" << dev([](auto& in) { in.oldYear = "99999999999"; }) << "折旧年限需要填写整数！";

    const auto rep = [](std::function<void(RepairInput&)> change) {
        return Save([change](const QSqlDatabase& db) {
            RepairInput in = repair(1);
            change(in);
            return repair_store::save(db, in);
        });
    };
    // The cause has a box of its own; the description is what must be filled in.
    QTest::newRow("no fault description") << "repair" << rep([](auto& in) {
        in.faultDesc = " ";
        in.cause = "老化";
    }) << "请输入故障原因！";
    QTest::newRow("repair cost") << "repair" << rep([](auto& in) { in.money = "两百"; })
                                 << "维修费需要填写数字！";

    QTest::newRow("event unnamed") << "event" << Save([](const QSqlDatabase& db) {
        return event_store::save(db, {.name = " \t", .type = "盗窃"});
    }) << "请输入事件名称！";
    QTest::newRow("zone unnamed") << "fire_area" << Save([](const QSqlDatabase& db) {
        return fire_zone_store::save(db, {.areaName = "", .grade = "一级"});
    }) << "请输入片区名称！";
}

void TestServiceStores::refusals()
{
    QFETCH(QString, table);
    QFETCH(Save, save);
    QFETCH(QString, refusal);
    const Checked<qlonglong> result = save(t->db());
    QCOMPARE(result.refusal().text, refusal);
    QVERIFY(!result.ok());
    QCOMPARE(t->scalar("select count(*) from " + table).toInt(), 0);
}

void TestServiceStores::serviceJobAsStored()
{
    ServiceJobInput in = job(7);
    in.contents = "  换灯管\n两支 ";
    in.worker = " 张师傅 ";
    in.materialMoney = "１２.５"; // full-width digits
    in.finishTime = "";
    in.serveMoney = "";
    in.needMaterial = " 灯管 ";
    const Checked<qlonglong> saved = service_store::save(t->db(), in);
    QVERIFY2(saved.ok(), qPrintable(saved.refusal().text));
    QCOMPARE(t->scalar("select owner_id || '|' || contents || '|' || worker || '|' || start_time || '|' || "
                       "material_money || '|' || need_material from service where serve_id = ?",
                       {saved.value()})
                 .toString(),
             QString("7|  换灯管\n两支 |张师傅|2026-12-10 09:30:00|1250|灯管"));
    // Empty boxes are stored empty.
    QVERIFY(t->scalar("select finish_time is null and serve_money is null from service").toBool());

    const std::optional<ServiceJob> loaded = service_store::load(t->db(), saved.value());
    QVERIFY(loaded);
    QCOMPARE(loaded->materialMoney->toString(2), QString("12.50"));
    QVERIFY(!loaded->serveMoney);
    QCOMPARE(loaded->contents, in.contents);
}

// A record changed keeps the owner, kind or device it was entered for, whatever
// parent the screen had chosen meanwhile.
void TestServiceStores::recordsKeepTheirParent()
{
    Estate e = t->estate();
    const qlonglong jobId = e.addService({.owner = 1, .worker = "甲", .ifTake = "是"});
    ServiceJobInput in = job(2);
    in.id = jobId;
    QVERIFY(service_store::save(t->db(), in).ok());
    // "已付费" is not edited here: the change keeps it.
    QCOMPARE(t->scalar("select owner_id || if_take || worker from service").toString(), QString("1是张师傅"));

    const qlonglong complaint = e.addComplaint({.owner = 1, .name = "噪音", .type = "环境"});
    QVERIFY(complaint_store::save(t->db(), {.id = complaint, .ownerId = 2, .name = "电梯"}).ok());
    QCOMPARE(t->scalar("select owner_id || advice_type || advice_name from advice").toString(),
             QString("1环境电梯"));

    const qlonglong permit = e.addFitOut({.owner = "1", .company = "甲装修"});
    QVERIFY(fitout_store::save(t->db(), {.id = permit, .ownerId = "2", .companyName = "乙装修"}).ok());
    QCOMPARE(t->scalar("select owner_id || company_name from fitment").toString(), QString("1乙装修"));

    const qlonglong dev = e.addDevice({.type = 1, .number = "A", .name = "甲"});
    DeviceInput d = device(2);
    d.id = dev;
    QVERIFY(device_store::save(t->db(), d).ok());
    QCOMPARE(t->scalar("select type_id || dev_no from device").toString(), QString("1DT-01"));

    const qlonglong rep = e.addRepair({.device = dev, .faultDesc = "响", .repairTime = "2026-12-01"});
    RepairInput r = repair(99);
    r.id = rep;
    QVERIFY(repair_store::save(t->db(), r).ok());
    QCOMPARE(t->scalar("select dev_id || '|' || repair_time || '|' || fault_desc from repair").toString(),
             QString("%1|2026-12-01|门不关").arg(dev));
}

void TestServiceStores::listsOfOneParent()
{
    Estate e = t->estate();
    e.addService({.owner = 12, .worker = "甲"});
    e.addService({.owner = 0, .worker = "无主"}); // left by an old release for no owner
    e.addService({.owner = 12, .worker = "乙"});
    e.addFitOut({.owner = "12", .company = "甲"});
    e.addFitOut({.owner = "12a", .company = "乙"});
    e.addFitOut({.owner = "0", .company = "丙"});
    e.addComplaint({.owner = 3, .name = "丁"});

    const auto listed = [&](const ListQuery& q, const QString& column) {
        return t
            ->scalar("select group_concat(" + column + ", ',') from (" + q.statement() + ") list", q.values)
            .toString();
    };
    QCOMPARE(listed(service_store::ofOwner(12), "worker"), QString("甲,乙"));
    QCOMPARE(listed(service_store::ofOwner(0), "worker"), QString());
    // The permit's owner column is text: "12" is owner 12, "12a" nobody.
    QCOMPARE(listed(fitout_store::ofOwner(12), "company_name"), QString("甲"));
    QCOMPARE(listed(fitout_store::ofOwner(0), "company_name"), QString());
    QCOMPARE(listed(complaint_store::ofOwner(3), "advice_name"), QString("丁"));
    QCOMPARE(listed(complaint_store::ofOwner(4), "advice_name"), QString());
}

void TestServiceStores::devicesAndRepairs()
{
    Estate e = t->estate();
    const qlonglong lifts = e.addDeviceType("电梯");
    const qlonglong pumps = e.addDeviceType("水泵");
    const qlonglong lifts2 = e.addDeviceType("电梯");
    QCOMPARE(device_store::kinds(t->db()).size(), 3);
    QCOMPARE(device_store::kinds(t->db())[1].name, QString("水泵"));
    QCOMPARE(device_store::kindByName(t->db(), " 电梯 ").value_or(0), lifts);
    QVERIFY(!device_store::kindByName(t->db(), "风机"));
    Q_UNUSED(lifts2);

    DeviceInput in = device(pumps);
    in.useDate = QDate(2020, 5, 1);
    in.remark = " 每月保养\n";
    const Checked<qlonglong> saved = device_store::save(t->db(), in);
    QVERIFY(saved.ok());
    QCOMPARE(t->scalar("select type_id || '|' || use_date || '|' || old_year || '|' || remark || '|' || "
                       "coalesce(factory_date, 'none') from device")
                 .toString(),
             QString("%1|2020-05-01|15| 每月保养\n|none").arg(pumps));
    // Two devices may share a number.
    QVERIFY(device_store::save(t->db(), device(pumps)).ok());

    // The fault time is the picker's day at the time picker's hour and minute.
    RepairInput r = repair(saved.value());
    r.finishDate = QDate(2026, 12, 10);
    r.finishClock = QTime(8, 5);
    const Checked<qlonglong> fixed = repair_store::save(t->db(), r);
    QVERIFY(fixed.ok());
    QCOMPARE(
        t->scalar("select fault_time || '|' || finish_time || '|' || repair_money from repair").toString(),
        QString("2026-12-09 14:25:00|2026-12-10 08:05:00|20000"));
    // No finish date: not finished yet.
    r.finishDate = QDate();
    QVERIFY(repair_store::save(t->db(), r).ok());
    QVERIFY(t->scalar("select finish_time is null from repair where repair_id = 2").toBool());
    QCOMPARE(repair_store::toDateTime("2026-12-09 14:25:00"), QDateTime(QDate(2026, 12, 9), QTime(14, 25)));
    QCOMPARE(repair_store::toDateTime("2026-12-09"), QDateTime(QDate(2026, 12, 9), QTime(0, 0)));
    QVERIFY(!repair_store::toDateTime("").isValid());

    // Deleting a device leaves its repairs.
    device_store::remove(t->db(), saved.value());
    QCOMPARE(t->scalar("select count(*) from repair where dev_id = ?", {saved.value()}).toInt(), 2);
}

void TestServiceStores::securityTexts()
{
    const Checked<qlonglong> e = event_store::save(t->db(), {.name = " 失窃 ",
                                                             .type = " 治安 ",
                                                             .dealMan = " 李队 ",
                                                             .takeTime = QDate(2026, 12, 1),
                                                             .address = " 大堂 ",
                                                             .detail = "  夜间\n",
                                                             .dealResult = " 报警 "});
    QVERIFY(e.ok());
    QCOMPARE(t->scalar("select event_name || event_type || deal_man || take_time || take_address || '|' || "
                       "detail || '|' || deal_result from event")
                 .toString(),
             QString("失窃治安李队2026-12-01大堂|  夜间\n| 报警 "));
    const Checked<qlonglong> z =
        fire_zone_store::save(t->db(), {.areaName = " A区 ", .equipment = " 灭火器 ", .remark = " 每周\n"});
    QVERIFY(z.ok());
    QCOMPARE(t->scalar("select area_name || equipment || '|' || remark from fire_area").toString(),
             QString("A区灭火器| 每周\n"));
    QCOMPARE(fire_zone_store::load(t->db(), z.value())->remark, QString(" 每周\n"));
}

void TestServiceStores::recordGoneIsReported()
{
    const qlonglong id = t->estate().addEvent({.name = "甲"});
    t->exec("delete from event");
    try {
        event_store::save(t->db(), {.id = id, .name = "乙"});
        QFAIL("a change of a removed event passed");
    } catch (const DbError& e) {
        QCOMPARE(e.kind(), DbError::Kind::RecordGone);
    }
    QCOMPARE(t->scalar("select count(*) from event").toInt(), 0);
}

QTEST_MAIN(TestServiceStores)
#include "tst_servicestores.moc"
