#include "db/DbError.h"
#include "db/QueryListModel.h"
#include "services/Activities.h"
#include "services/Cleaning.h"
#include "services/ServiceOrders.h"
#include "support/TestDatabase.h"

#include <QTest>

// The stores of the cleaning areas, the community activities and the paid
// service orders without a window.
class TestServiceOrderStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void noOrderWithoutAnOwner();
    void orderKeepsItsOwner();
    void feeThatIsNoAmount_data();
    void feeThatIsNoAmount();
    void ordersOfOneOwner();
    void recordGoneIsReported();

private:
    TestDatabase* t = nullptr;
    qlonglong m_owner = 0;
};

void TestServiceOrderStore::init()
{
    t = new TestDatabase;
    m_owner = t->estate().addOwner({.name = "王五"});
}

void TestServiceOrderStore::cleanup()
{
    delete t;
}

void TestServiceOrderStore::noOrderWithoutAnOwner()
{
    const Checked<qlonglong> r = service_order_store::save(t->db(), {.sendDept = "客服部"});
    QVERIFY(!r.ok());
    QCOMPARE(r.refusal().text, QString("请先增加业主!"));
    QCOMPARE(t->scalar("select count(*) from serveorder").toInt(), 0);
    // Nor does an owner's empty list show orders stored without one.
    t->exec("insert into serveorder (send_dept) values ('无主')");
    QueryListModel model(QList<ListColumn>{{"id", "序号"}});
    model.load(t->db(), service_order_store::ofOwner(0));
    QCOMPARE(model.rowCount(), 0);
}

void TestServiceOrderStore::orderKeepsItsOwner()
{
    const qlonglong other = t->estate().addOwner({.name = "甲公司"});
    const Checked<qlonglong> first = service_order_store::save(t->db(), {.ownerId = m_owner,
                                                                         .recordDate = QDate(2026, 12, 1),
                                                                         .sendDept = " 客服部 ",
                                                                         .takeMoney = "12.5",
                                                                         .serverItem = " 换锁\n"});
    QVERIFY(first.ok());
    const Checked<qlonglong> changed = service_order_store::save(
        t->db(),
        {.id = first.value(), .ownerId = other, .recordDate = QDate(2026, 12, 2), .sendDept = "工程部"});
    QCOMPARE(changed.value(), first.value());
    const std::optional<ServiceOrder> o = service_order_store::load(t->db(), first.value());
    QVERIFY(o);
    QCOMPARE(o->ownerId, m_owner);
    QCOMPARE(o->sendDept, QString("工程部"));
    QCOMPARE(o->recordDate, QDate(2026, 12, 2));
    QVERIFY(!o->takeMoney); // emptied
    QCOMPARE(t->scalar("select count(*) from serveorder").toInt(), 1);
}

void TestServiceOrderStore::feeThatIsNoAmount_data()
{
    QTest::addColumn<QString>("fee");
    QTest::newRow("word") << "十元";
    QTest::newRow("three decimals") << "0.125";
    QTest::newRow("out of range") << "100000000";
}

void TestServiceOrderStore::feeThatIsNoAmount()
{
    QFETCH(QString, fee);
    try {
        service_order_store::save(t->db(), {.ownerId = m_owner, .takeMoney = fee});
        QFAIL("stored");
    } catch (const DbError& e) {
        QVERIFY2(e.text().contains(fee), qPrintable(e.text()));
    }
    QCOMPARE(t->scalar("select count(*) from serveorder").toInt(), 0);
}

void TestServiceOrderStore::ordersOfOneOwner()
{
    const qlonglong other = t->estate().addOwner({.name = "王五"});
    QCOMPARE(service_order_store::latestOf(t->db(), m_owner), 0);
    const qlonglong a = t->estate().addServiceOrder({.owner = m_owner, .sendDept = "甲"});
    t->estate().addServiceOrder({.owner = other, .sendDept = "乙"});
    const qlonglong c = t->estate().addServiceOrder({.owner = m_owner, .sendDept = "丙"});
    QCOMPARE(service_order_store::latestOf(t->db(), m_owner), c);
    QueryListModel model({{"id", "序号"}, {"send_dept", "发单部门"}});
    model.load(t->db(), service_order_store::ofOwner(m_owner));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.value(0, "id").toLongLong(), a);
    QCOMPARE(model.value(1, "send_dept").toString(), QString("丙"));
}

void TestServiceOrderStore::recordGoneIsReported()
{
    const qlonglong order = t->estate().addServiceOrder({.owner = m_owner});
    const qlonglong area = t->estate().addCleaningArea({.areaName = "大堂"});
    const qlonglong activity = t->estate().addActivity({.name = "联欢"});
    t->exec("delete from serveorder");
    t->exec("delete from condition");
    t->exec("delete from community");
    const QList<std::function<void()>> writes{
        [&] { service_order_store::save(t->db(), {.id = order, .ownerId = m_owner, .sendDept = "甲"}); },
        [&] { service_order_store::remove(t->db(), order); },
        [&] { cleaning_store::save(t->db(), {.id = area, .areaName = "大堂"}); },
        [&] { cleaning_store::remove(t->db(), area); },
        [&] { activity_store::save(t->db(), {.id = activity, .name = "联欢"}); },
        [&] { activity_store::remove(t->db(), activity); },
    };
    for (const auto& write : writes) {
        try {
            write();
            QFAIL("a write to a removed record taken for success");
        } catch (const DbError& e) {
            QCOMPARE(e.kind(), DbError::Kind::RecordGone);
        }
    }
    QCOMPARE(t->scalar("select (select count(*) from serveorder) + (select count(*) from condition) + "
                       "(select count(*) from community)")
                 .toInt(),
             0);
}

QTEST_MAIN(TestServiceOrderStore)
#include "tst_serviceorderstore.moc"
