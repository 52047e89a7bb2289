#include "services/ServiceOrdersScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// Paid service orders: the owners on the left, the chosen owner's orders on the
// right, edited in the boxes above their list.
class TestServiceOrders : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnTheFirstOwnersLatestOrder();
    void ownerWithoutOrdersKeepsTheDate();
    void ownersOfOneNameStayApart();
    void addAndSave();
    void saveOnAnEmptyListAdds();
    void changeKeepsTheOrdersOwner();
    void leavingAChangedOrderStoresIt();
    void feeMustBeAnAmount_data();
    void feeMustBeAnAmount();
    void deleteAsksNothing();
    void noOwnerNoOrder();
    void browseOnly();

private:
    TestDatabase* t = nullptr;
    qlonglong m_first = 0;
    qlonglong m_second = 0;
    qlonglong m_third = 0;
};

namespace {

void click(QWidget* s, const char* name)
{
    control<QPushButton>(s, name)->click();
}

QString text(QWidget* s, const char* name)
{
    return control<QLineEdit>(s, name)->text();
}

void type(QWidget* s, const char* name, const QString& value)
{
    auto* edit = control<QLineEdit>(s, name);
    edit->setText(value);
    emit edit->textEdited(value);
}

QDate recordDate(QWidget* s)
{
    return control<QDateEdit>(s, "dtpRecordDate")->date();
}

QTableView* orders(QWidget* s)
{
    return control<QTableView>(s, "DBGrid2");
}

QStringList listed(QWidget* s, int column = 2)
{
    return columnTexts(orders(s)->model(), column);
}

void chooseOwner(QWidget* s, int row)
{
    control<QTableView>(s, "DBGrid1")->selectRow(row);
    QCoreApplication::processEvents();
}

void chooseOrder(QWidget* s, int row)
{
    orders(s)->selectRow(row);
    QCoreApplication::processEvents();
}

} // namespace

void TestServiceOrders::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    m_first = e.addOwner({.name = "王五"});
    m_second = e.addOwner({.name = "甲公司", .inOut = "迁出"});
    m_third = e.addOwner({.name = "阿明"});
    e.addServiceOrder({.owner = m_first,
                       .recordDate = "2026-11-01",
                       .sendDept = "客服部",
                       .receDept = "工程部",
                       .orderTime = "周六上午",
                       .recorder = "小李",
                       .linkTel = "13800000000",
                       .takeStand = "每小时50元",
                       .takeMoney = "100.5",
                       .bigMoney = "壹佰元伍角",
                       .custWrite = "王五",
                       .serverItem = " 换灯泡\n",
                       .remark = "自备灯泡"});
    e.addServiceOrder({.owner = m_second, .recordDate = "2026-10-15", .sendDept = "前台"});
    e.addServiceOrder({.owner = m_first, .recordDate = "2026-11-20", .sendDept = "保安部"});
}

void TestServiceOrders::cleanup()
{
    delete t;
}

void TestServiceOrders::opensOnTheFirstOwnersLatestOrder()
{
    ServiceOrdersScreen screen(t->context());
    QCOMPARE(screen.objectName(), QString("TserveOrderFrm"));
    QCOMPARE(screen.windowTitle(), QString("有偿服务"));
    // Every owner, the moved-out one too, in the order of their numbers.
    const QAbstractItemModel* owners = control<QTableView>(&screen, "DBGrid1")->model();
    QCOMPARE(owners->headerData(1, Qt::Horizontal).toString(), QString("业主名称"));
    QCOMPARE(columnTexts(owners, 1), (QStringList{"王五", "甲公司", "阿明"}));

    QStringList titles;
    for (int c = 0; c < orders(&screen)->model()->columnCount(); ++c)
        titles << orders(&screen)->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"序号", "记录日期", "发单部门", "接收部门", "预约时间", "记录人",
                                  "server_item", "联系电话", "收费标准", "费用", "big_money", "客户签字"}));
    QCOMPARE(listed(&screen), (QStringList{"客服部", "保安部"}));
    QCOMPARE(columnTexts(orders(&screen)->model(), 9), (QStringList{"100.50", ""}));
    QCOMPARE(columnTexts(orders(&screen)->model(), 10), (QStringList{"壹佰元伍角", ""}));
    // The owner's latest order is shown, with its date.
    QCOMPARE(orders(&screen)->currentIndex().row(), 1);
    QCOMPARE(text(&screen, "DBEdit2"), QString("保安部"));
    QCOMPARE(recordDate(&screen), QDate(2026, 11, 20));

    chooseOrder(&screen, 0);
    QCOMPARE(recordDate(&screen), QDate(2026, 11, 1));
    const QList<std::pair<const char*, const char*>> boxes{
        {"DBEdit2", "客服部"},  {"DBEdit4", "工程部"},      {"DBEdit5", "周六上午"},
        {"DBEdit13", "王五"},   {"DBEdit8", "13800000000"}, {"DBEdit6", "小李"},
        {"DBEdit10", "100.50"}, {"DBEdit9", "每小时50元"}};
    for (const auto& [name, value] : boxes)
        QCOMPARE(text(&screen, name), QString(value));
    QCOMPARE(control<QPlainTextEdit>(&screen, "DBMemo2")->toPlainText(), QString(" 换灯泡\n"));
    QCOMPARE(control<QPlainTextEdit>(&screen, "DBMemo1")->toPlainText(), QString("自备灯泡"));

    const QList<std::pair<const char*, const char*>> captions{
        {"btnAdd", "增加 &a."}, {"btnDel", "删除 &d."}, {"btnSave", "保存 &s."}, {"btnExit", "退出 &e."}};
    for (const auto& [name, caption] : captions)
        QCOMPARE(control<QPushButton>(&screen, name)->text(), QString(caption));
    QVERIFY(t->messages().texts().isEmpty());
}

void TestServiceOrders::ownerWithoutOrdersKeepsTheDate()
{
    ServiceOrdersScreen screen(t->context());
    chooseOwner(&screen, 2);
    QVERIFY(listed(&screen).isEmpty());
    QCOMPARE(recordDate(&screen), QDate(2026, 11, 20));
    QVERIFY(text(&screen, "DBEdit2").isEmpty());
    chooseOwner(&screen, 1);
    QCOMPARE(listed(&screen), QStringList{"前台"});
    QCOMPARE(recordDate(&screen), QDate(2026, 10, 15));
}

void TestServiceOrders::ownersOfOneNameStayApart()
{
    const qlonglong twin = t->estate().addOwner({.name = "王五"});
    t->estate().addServiceOrder({.owner = twin, .recordDate = "2026-09-09", .sendDept = "物业办"});
    ServiceOrdersScreen screen(t->context());
    chooseOwner(&screen, 3);
    QCOMPARE(listed(&screen), QStringList{"物业办"});
    click(&screen, "btnAdd");
    type(&screen, "DBEdit2", "第二位王五");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select owner_id from serveorder where send_dept = '第二位王五'").toLongLong(), twin);
}

void TestServiceOrders::addAndSave()
{
    ServiceOrdersScreen screen(t->context());
    chooseOwner(&screen, 2);
    click(&screen, "btnAdd");
    QCOMPARE(recordDate(&screen), QDate(2026, 12, 10)); // today
    QCOMPARE(listed(&screen), QStringList{""});
    type(&screen, "DBEdit2", " 客服部 ");
    type(&screen, "DBEdit10", "８８");
    control<QPlainTextEdit>(&screen, "DBMemo2")->setPlainText(" 清洗油烟机\n");
    control<QDateEdit>(&screen, "dtpRecordDate")->setDate(QDate(2026, 12, 8));
    click(&screen, "btnSave");
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(
        t->scalar("select owner_id || '|' || send_dept || '|' || take_money || '|' || server_item || '|' || "
                  "record_date from serveorder where id = 4")
            .toString(),
        QString("%1|客服部|8800| 清洗油烟机\n|2026-12-08").arg(m_third));
    // No next order is started: the list stands on the order saved.
    QCOMPARE(listed(&screen), QStringList{"客服部"});
    QCOMPARE(orders(&screen)->currentIndex().row(), 0);
    QCOMPARE(text(&screen, "DBEdit10"), QString("88.00"));
}

void TestServiceOrders::saveOnAnEmptyListAdds()
{
    ServiceOrdersScreen screen(t->context());
    chooseOwner(&screen, 2);
    type(&screen, "DBEdit4", "绿化组");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select owner_id || rece_dept || record_date from serveorder where id = 4").toString(),
             QString("%1绿化组2026-11-20").arg(m_third));
    QCOMPARE(listed(&screen, 3), QStringList{"绿化组"});
}

void TestServiceOrders::changeKeepsTheOrdersOwner()
{
    ServiceOrdersScreen screen(t->context());
    type(&screen, "DBEdit6", "老张");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select owner_id || recorder from serveorder where id = 3").toString(),
             QString("%1老张").arg(m_first));
    QCOMPARE(t->scalar("select count(*) from serveorder").toInt(), 3);
    QCOMPARE(orders(&screen)->currentIndex().row(), 1);
}

void TestServiceOrders::leavingAChangedOrderStoresIt()
{
    ServiceOrdersScreen screen(t->context());
    type(&screen, "DBEdit9", "按次收费");
    chooseOwner(&screen, 1);
    QCOMPARE(t->scalar("select take_stand from serveorder where id = 3").toString(), QString("按次收费"));
    QCOMPARE(listed(&screen), QStringList{"前台"});

    // Typed into an owner's empty list and left: nothing is stored.
    chooseOwner(&screen, 2);
    type(&screen, "DBEdit2", "未保存");
    chooseOwner(&screen, 0);
    QCOMPARE(t->scalar("select count(*) from serveorder").toInt(), 3);
    QVERIFY(t->messages().texts().isEmpty());
}

void TestServiceOrders::feeMustBeAnAmount_data()
{
    QTest::addColumn<QString>("fee");
    QTest::newRow("a word") << "十元";
    QTest::newRow("three decimals") << "1.005";
    QTest::newRow("too large") << "123456789012";
}

void TestServiceOrders::feeMustBeAnAmount()
{
    QFETCH(QString, fee);
    ServiceOrdersScreen screen(t->context());
    type(&screen, "DBEdit10", fee);
    type(&screen, "DBEdit2", "改过");
    click(&screen, "btnSave");
    QCOMPARE(t->messages().errors().size(), 1);
    QCOMPARE(
        t->scalar("select send_dept || coalesce(cast(take_money as text), '') from serveorder where id = 3")
            .toString(),
        QString("保安部"));
    // Moving on is refused too: the order stays, with what was typed.
    chooseOwner(&screen, 1);
    QCOMPARE(t->messages().errors().size(), 2);
    QCOMPARE(listed(&screen), (QStringList{"客服部", "保安部"}));
    QCOMPARE(text(&screen, "DBEdit10"), fee);
    // Put right, it is stored.
    type(&screen, "DBEdit10", "12.5");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select send_dept || take_money from serveorder where id = 3").toString(),
             QString("改过1250"));
}

void TestServiceOrders::deleteAsksNothing()
{
    ServiceOrdersScreen screen(t->context());
    click(&screen, "btnDel");
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(t->scalar("select group_concat(id) from serveorder").toString(), QString("1,2"));
    QCOMPARE(listed(&screen), QStringList{"客服部"});
    QCOMPARE(text(&screen, "DBEdit2"), QString("客服部"));
    // A new order not saved yet is only dropped.
    click(&screen, "btnAdd");
    type(&screen, "DBEdit2", "作废");
    click(&screen, "btnDel");
    QCOMPARE(listed(&screen), QStringList{"客服部"});
    QCOMPARE(t->scalar("select count(*) from serveorder").toInt(), 2);
    // Nothing to delete: nothing happens.
    chooseOwner(&screen, 2);
    click(&screen, "btnDel");
    QCOMPARE(t->scalar("select count(*) from serveorder").toInt(), 2);
    QVERIFY(t->messages().texts().isEmpty());
}

void TestServiceOrders::noOwnerNoOrder()
{
    t->exec("delete from serveorder");
    t->exec("delete from owner_info");
    ServiceOrdersScreen screen(t->context());
    QVERIFY(!control<QPushButton>(&screen, "btnAdd")->isEnabled());
    QVERIFY(!control<QPushButton>(&screen, "btnSave")->isEnabled());
    QVERIFY(control<QLineEdit>(&screen, "DBEdit2")->isReadOnly());
    click(&screen, "btnAdd");
    click(&screen, "btnSave");
    QTest::keyClick(control<QLineEdit>(&screen, "DBEdit2"), Qt::Key_Return);
    QCOMPARE(t->scalar("select count(*) from serveorder").toInt(), 0);
    QVERIFY(t->messages().texts().isEmpty());
}

void TestServiceOrders::browseOnly()
{
    ServiceOrdersScreen screen(t->context(false));
    for (const char* name : {"btnAdd", "btnDel", "btnSave"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    QVERIFY(control<QLineEdit>(&screen, "DBEdit2")->isReadOnly());
    QVERIFY(control<QPlainTextEdit>(&screen, "DBMemo2")->isReadOnly());
    QVERIFY(control<QDateEdit>(&screen, "dtpRecordDate")->isReadOnly());
    QVERIFY(!(orders(&screen)->editTriggers() & QAbstractItemView::AllEditTriggers));
    chooseOwner(&screen, 1);
    QCOMPARE(listed(&screen), QStringList{"前台"});
    QVERIFY(t->messages().texts().isEmpty());

    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QTest::keyClick(orders(&screen), Qt::Key_Escape);
    QVERIFY(!screen.isVisible());
}

QTEST_MAIN(TestServiceOrders)
#include "tst_serviceorders.moc"
