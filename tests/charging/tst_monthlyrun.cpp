#include "charging/MonthlyRun.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QTest>

// The monthly run bills every owner with a room link, once per month, in one
// transaction: all owners or none.
class TestMonthlyRun : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void billsEveryLinkedOwner();
    void refusals_data();
    void refusals();
    void aMonthIsNotBilledTwice();
    void recordsWithoutEndMonthDoNotBlock();
    void theRefusalNamesThePrepaidOwner();
    void aFailureHalfWayBillsNobody();
    void twoCopiesCannotBothPassTheGuard();
};

namespace {

const QDate kToday(2026, 12, 10);

using monthly_run::Outcome;

QString bills(TestDatabase& t)
{
    return t
        .scalar("select group_concat(owner_id || ':' || should_pay || ':' || payment_real || ':' || derate "
                "|| ':' || "
                "start_num || ':' || end_num || ':' || take_date, ' ') from "
                "(select * from charge_take where type_id = 1 order by owner_id) bills")
        .toString();
}

// The property fee at 3 per m² and month; 甲 holds rooms of 100 and 20 m².
void estate(TestDatabase& t)
{
    Estate e = t.estate();
    e.addChargeType("物管费", "3", "建筑面积*单价*月份");
    const qlonglong tower = e.addBuilding("一号楼");
    e.addRoom({.id = "101", .building = tower, .buildArea = "100"});
    e.addRoom({.id = "102", .building = tower, .buildArea = "20"});
    const qlonglong jia = e.addOwner({.name = "甲公司"});
    e.linkRoom(jia, "101");
    e.linkRoom(jia, "102");
    e.linkRoom(jia, "102"); // linked twice: counted once
}

} // namespace

void TestMonthlyRun::billsEveryLinkedOwner()
{
    TestDatabase t;
    estate(t);
    Estate e = t.estate();
    e.linkRoom(e.addOwner({.name = "乙公司", .inOut = "搬出"}), "101"); // moved out, still linked
    e.linkRoom(e.addOwner({.name = "丙公司"}), "999");                  // a room that does not exist
    e.addOwner({.name = "丁公司"});                                     // no link: no bill

    const Outcome outcome = monthly_run::run(t.db(), QDate(2003, 9, 10), QDate(2003, 11, 10), kToday);
    QCOMPARE(outcome.kind, Outcome::Kind::Billed);
    QCOMPARE(outcome.bills, 3);
    QCOMPARE(bills(t), QString("1:108000:0:0:2003-09-10:2003-11-10:2026-12-10 "
                               "2:90000:0:0:2003-09-10:2003-11-10:2026-12-10 "
                               "3:0:0:0:2003-09-10:2003-11-10:2026-12-10"));
}

void TestMonthlyRun::refusals_data()
{
    QTest::addColumn<bool>("propertyType");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<QString>("text");
    QTest::newRow("months reversed") << true << QDate(2003, 11, 1) << QDate(2003, 10, 1)
                                     << "起始月份不能大于截止月份！";
    QTest::newRow("no property fee") << false << QDate(2003, 9, 1) << QDate(2003, 9, 1)
                                     << "还未设置物业费参数！";
}

void TestMonthlyRun::refusals()
{
    QFETCH(bool, propertyType);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(QString, text);
    TestDatabase t;
    t.estate().addChargeType("服务费", "1", "普通收费");
    if (propertyType)
        t.estate().addChargeType("物管费", "3", "建筑面积*单价*月份");
    t.estate().linkRoom(t.estate().addOwner({.name = "甲公司"}), "101");
    const Outcome outcome = monthly_run::run(t.db(), first, last, kToday);
    QCOMPARE(monthly_run::refusalText(outcome), text);
    QCOMPARE(t.scalar("select count(*) from charge_take").toInt(), 0);
}

void TestMonthlyRun::aMonthIsNotBilledTwice()
{
    TestDatabase t;
    estate(t);
    QCOMPARE(monthly_run::run(t.db(), QDate(2003, 9, 10), QDate(2003, 11, 10), kToday).kind,
             Outcome::Kind::Billed);
    const Outcome again = monthly_run::run(t.db(), QDate(2003, 11, 10), QDate(2003, 12, 10), kToday);
    QCOMPARE(again.kind, Outcome::Kind::AlreadyBilled);
    QCOMPARE(monthly_run::refusalText(again), QString("2003-"
                                                      "11月份已经对一部分住户收过物管费了，为了不覆盖这些住户"
                                                      "的收款记录，不能自动生成全部住户的物管费。"));
    QCOMPARE(t.scalar("select count(*) from charge_take").toInt(), 1);

    const Outcome next = monthly_run::run(t.db(), QDate(2003, 12, 10), QDate(2003, 12, 10), kToday);
    QCOMPARE(next.kind, Outcome::Kind::Billed);
    QCOMPARE(t.scalar("select should_pay from charge_take where start_num = '2003-12-10'").toLongLong(),
             36000);
}

void TestMonthlyRun::recordsWithoutEndMonthDoNotBlock()
{
    TestDatabase t;
    estate(t);
    t.estate().addFee({.owner = 1, .type = 1, .shouldPay = "10"}); // typed by hand, no period
    QCOMPARE(monthly_run::run(t.db(), QDate(2003, 9, 10), QDate(2003, 9, 10), kToday).kind,
             Outcome::Kind::Billed);
}

void TestMonthlyRun::theRefusalNamesThePrepaidOwner()
{
    // One owner among a thousand prepaid the year by hand: the run refuses every
    // owner, and says whose record reaches the month.
    TestDatabase t;
    estate(t);
    Estate e = t.estate();
    {
        Transaction transaction(t.db());
        for (int i = 0; i < 1000; ++i)
            e.linkRoom(e.addOwner({.name = QString("住户%1").arg(i)}), "102");
        transaction.commit();
    }
    const qlonglong prepaid = e.addOwner({.name = "乙公司"});
    e.linkRoom(prepaid, "101");
    const qlonglong record = e.addFee({.owner = prepaid, .type = 1, .shouldPay = "3600"});
    t.exec("update charge_take set start_num = '2026-01-05', end_num = '2026-12-05' where take_id = ?",
           {record});

    const Outcome outcome = monthly_run::run(t.db(), QDate(2026, 3, 1), QDate(2026, 3, 1), kToday);
    QCOMPARE(outcome.kind, Outcome::Kind::AlreadyBilled);
    QCOMPARE(outcome.blockerCount, 1);
    QCOMPARE(
        monthly_run::refusalDetail(outcome),
        QString("以下1条物管费记录的缴费期间已到2026-03月份或以后：\n乙公司，房号101，2026-01-05至2026-12-"
                "05，记录号%1")
            .arg(record));
    QCOMPARE(t.scalar("select count(*) from charge_take").toInt(), 1);

    // A month after the prepaid period is billed for everyone.
    QCOMPARE(monthly_run::run(t.db(), QDate(2027, 1, 1), QDate(2027, 1, 1), kToday).kind,
             Outcome::Kind::Billed);
    QCOMPARE(monthly_run::refusalDetail(Outcome{}), QString());
}

void TestMonthlyRun::aFailureHalfWayBillsNobody()
{
    TestDatabase t;
    Estate e = t.estate();
    e.addChargeType("物管费", "2.5", "建筑面积*单价*月份");
    e.addRoom({.id = "101", .building = e.addBuilding("一号楼"), .buildArea = "50"});
    t.exec("begin");
    for (int i = 0; i < 6000; ++i)
        e.linkRoom(e.addOwner({.name = QString("户%1").arg(i)}), "101");
    t.exec("commit");
    // The 5,000th bill is refused.
    t.injectRefusal("insert on charge_take", "(select count(*) from charge_take) >= 4999");
    QVERIFY_THROWS_EXCEPTION(DbError, monthly_run::run(t.db(), QDate(2026, 1, 1), QDate(2026, 1, 1), kToday));
    QCOMPARE(t.scalar("select count(*) from charge_take").toInt(), 0);

    t.removeRefusal();
    QCOMPARE(monthly_run::run(t.db(), QDate(2026, 1, 1), QDate(2026, 1, 1), kToday).bills, 6000);
    QCOMPARE(t.scalar("select count(distinct owner_id) from charge_take").toInt(), 6000);
    QCOMPARE(t.scalar("select sum(should_pay) from charge_take").toLongLong(), 6000LL * 12500);
}

void TestMonthlyRun::twoCopiesCannotBothPassTheGuard()
{
    // The guard is read inside the run's own write transaction: a copy that has
    // already billed the month is seen by the next one.
    TestDatabase t;
    estate(t);
    QString error;
    {
        QSqlDatabase other = database::open(t.path(), "other copy", &error);
        QVERIFY(error.isEmpty());
        QCOMPARE(monthly_run::run(other, QDate(2026, 1, 1), QDate(2026, 1, 1), kToday).kind,
                 Outcome::Kind::Billed);
    }
    QSqlDatabase::removeDatabase("other copy");
    QCOMPARE(monthly_run::run(t.db(), QDate(2026, 1, 1), QDate(2026, 1, 1), kToday).kind,
             Outcome::Kind::AlreadyBilled);
    QCOMPARE(t.scalar("select count(*) from charge_take").toInt(), 1);
}

QTEST_MAIN(TestMonthlyRun)
#include "tst_monthlyrun.moc"
