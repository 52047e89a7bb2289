#include "app/Rights.h"
#include "app/WorkPlanReminder.h"
#include "support/TestDatabase.h"

#include <QTest>

Q_DECLARE_METATYPE(RightsGroup)
Q_DECLARE_METATYPE(Access)

class TestRights : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void access_data();
    void access();
    void reminderDueCount_data();
    void reminderDueCount();
    void reminderOncePerRun();
};

void TestRights::access_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<int>("position");
    QTest::addColumn<Access>("expected");

    // "2101": building edit, rooms browse, owners none, owner detail browse, operators
    // missing (string too short).
    QTest::newRow("2101 pos 1") << "2101" << 1 << Access::Edit;
    QTest::newRow("2101 pos 2") << "2101" << 2 << Access::Browse;
    QTest::newRow("2101 pos 3") << "2101" << 3 << Access::None;
    QTest::newRow("2101 pos 4") << "2101" << 4 << Access::Browse;
    QTest::newRow("2101 pos 5") << "2101" << 5 << Access::None;
    QTest::newRow("empty") << "" << 1 << Access::None;
    QTest::newRow("blanks are trimmed") << "  21 " << 2 << Access::Browse;
    QTest::newRow("beyond a long string counts") << "22222222222" << 11 << Access::Edit;
    QTest::newRow("any character after 0 enables") << "3" << 1 << Access::Browse;
    QTest::newRow("character before 0 disables") << "-" << 1 << Access::None;
    QTest::newRow("position 0") << "2" << 0 << Access::None;
}

void TestRights::access()
{
    QFETCH(QString, base);
    QFETCH(int, position);
    QFETCH(Access, expected);
    const OperatorRights rights({base, "", "", "", "", ""});
    QCOMPARE(rights.access(RightsGroup::Base, position), expected);
    // The other groups are empty: nothing there.
    QCOMPARE(rights.access(RightsGroup::Query, position), Access::None);
}

void TestRights::reminderDueCount_data()
{
    QTest::addColumn<QString>("opCode");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("awoke");
    QTest::addColumn<int>("due");

    // Now is 2026-12-10 09:30; the reminder time is compared as text.
    QTest::newRow("passed") << "admin"
                            << "提醒"
                            << "2026-12-10 09:29" << 1;
    QTest::newRow("exactly now") << "admin"
                                 << "提醒"
                                 << "2026-12-10 09:30" << 0;
    QTest::newRow("later") << "admin"
                           << "提醒"
                           << "2026-12-10 09:31" << 0;
    QTest::newRow("started") << "admin"
                             << "开始"
                             << "2026-01-01 00:00" << 0;
    QTest::newRow("finished") << "admin"
                              << "完成"
                              << "2026-01-01 00:00" << 0;
    QTest::newRow("another operator") << "clerk"
                                      << "提醒"
                                      << "2026-01-01 00:00" << 0;
    // Text order, not time order: an hour without its leading zero sorts after "09".
    QTest::newRow("unpadded hour") << "admin"
                                   << "提醒"
                                   << "2026-12-10 9:00" << 0;
    QTest::newRow("previous year") << "admin"
                                   << "提醒"
                                   << "2025-12-31 23:59" << 1;
}

void TestRights::reminderDueCount()
{
    QFETCH(QString, opCode);
    QFETCH(QString, state);
    QFETCH(QString, awoke);
    QFETCH(int, due);
    TestDatabase t;
    t.exec("insert into work_plan (op_code, state, awoke_date, title) values (?, ?, ?, 'plan')",
           {opCode, state, awoke});
    QCOMPARE(WorkPlanReminder::dueCount(t.db(), "admin", t.clock().now()), due);
}

void TestRights::reminderOncePerRun()
{
    TestDatabase t;
    WorkPlanReminder reminder;
    QVERIFY(!reminder.takeDue(t.db(), "admin", t.clock().now()));
    t.exec("insert into work_plan (op_code, state, awoke_date) values ('admin', '提醒', '2026-12-10 08:00')");
    QVERIFY(reminder.takeDue(t.db(), "admin", t.clock().now()));
    QVERIFY(reminder.shown());
    t.exec("insert into work_plan (op_code, state, awoke_date) values ('admin', '提醒', '2026-12-10 08:30')");
    t.exec("insert into work_plan (op_code, state, awoke_date) values ('clerk', '提醒', '2026-12-10 08:30')");
    QVERIFY(!reminder.takeDue(t.db(), "admin", t.clock().now()));
    QVERIFY(!reminder.takeDue(t.db(), "clerk", t.clock().now()));
}

QTEST_GUILESS_MAIN(TestRights)
#include "tst_rights.moc"
