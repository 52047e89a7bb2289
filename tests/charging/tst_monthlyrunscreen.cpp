#include "charging/MonthlyRunScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QDateEdit>
#include <QPushButton>
#include <QTest>

// The monthly run's window: the months chosen in its pickers are the months
// billed, and it says how the run went.
class TestMonthlyRunScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void billsTheMonthsChosen();
    void aRefusalListsTheRecordsInTheWay();
};

namespace {

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
}

void runMonths(MonthlyRunScreen& screen, const QDate& first, const QDate& last)
{
    control<QDateEdit>(&screen, "dtpStart")->setDate(first);
    control<QDateEdit>(&screen, "dtpEnd")->setDate(last);
    control<QPushButton>(&screen, "btnOk")->click();
}

} // namespace

void TestMonthlyRunScreen::billsTheMonthsChosen()
{
    TestDatabase t;
    estate(t);
    MonthlyRunScreen screen(t.context());
    screen.show();
    QCOMPARE(screen.windowTitle(), QString("物管费收取月份"));
    QCOMPARE(control<QDateEdit>(&screen, "dtpStart")->displayFormat(), QString("yyyy-MM"));
    QCOMPARE(control<QDateEdit>(&screen, "dtpStart")->date(), t.clock().today());

    runMonths(screen, QDate(2026, 1, 15), QDate(2026, 3, 15));
    QCOMPARE(t.messages().texts(), QStringList{"收费完成!"});
    QVERIFY(!screen.isVisible());
    // 120 m² × 3 × 3 months.
    QCOMPARE(t.scalar("select owner_id || '|' || should_pay || '|' || start_num || '|' || end_num || '|' || "
                      "take_date from charge_take")
                 .toString(),
             QString("1|108000|2026-01-15|2026-03-15|") + t.clock().today().toString(Qt::ISODate));
}

void TestMonthlyRunScreen::aRefusalListsTheRecordsInTheWay()
{
    TestDatabase t;
    estate(t);
    MonthlyRunScreen screen(t.context());
    screen.show();
    runMonths(screen, QDate(2026, 1, 15), QDate(2026, 3, 15));
    MonthlyRunScreen again(t.context());
    again.show();
    t.messages().clear();
    runMonths(again, QDate(2026, 3, 1), QDate(2026, 4, 1));
    QCOMPARE(t.messages().texts(), QStringList{"2026-03月份已经对一部分住户收过物管费了，为了不覆盖这些住户的"
                                               "收款记录，不能自动生成全部住户的物管费。"});
    QCOMPARE(t.messages().lastDetail(), QString("以下1条物管费记录的缴费期间已到2026-03月份或以后：\n"
                                                "甲公司，房号101、102，2026-01-15至2026-03-15，记录号1"));
    QVERIFY(again.isVisible()); // the office may choose other months
    QCOMPARE(t.scalar("select count(*) from charge_take").toInt(), 1);
}

QTEST_MAIN(TestMonthlyRunScreen)
#include "tst_monthlyrunscreen.moc"
