#include "admin/Department.h"
#include "admin/DeptGoods.h"
#include "admin/Employee.h"
#include "admin/Goods.h"
#include "admin/Mail.h"
#include "admin/Meeting.h"
#include "admin/WorkPlan.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QTest>

// The rules the administration stores check before they write, without a window:
// each refusal with the office's text and the column whose box gets the cursor,
// and what an accepted input is stored as.
class TestAdminChecks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void departmentChecks_data();
    void departmentChecks();
    void employeeChecks_data();
    void employeeChecks();
    void goodsChecks_data();
    void goodsChecks();
    void deptGoodsChecks_data();
    void deptGoodsChecks();
    void meetingChecks_data();
    void meetingChecks();
    void workPlanChecks_data();
    void workPlanChecks();
    void mailChecks_data();
    void mailChecks();
    void removalsCheckedBeforeTheQuestion();

private:
    TestDatabase* t = nullptr;
};

namespace {

void compareRefusal(const Refusal& refusal, const QString& text, const QString& field)
{
    QCOMPARE(refusal.text, text);
    QCOMPARE(refusal.field, field);
}

} // namespace

void TestAdminChecks::init()
{
    t = new TestDatabase;
}

void TestAdminChecks::cleanup()
{
    delete t;
}

void TestAdminChecks::departmentChecks_data()
{
    QTest::addColumn<bool>("existing"); // the department 保安部 renamed, or a new one
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("stored"); // the departments afterwards, by number
    const QStringList before{"保安部", "工程部"};
    QTest::newRow("new, no name") << false << ""
                                  << "请填写部门名称！"
                                  << "dept_name" << before;
    QTest::newRow("new, blanks only") << false << "  "
                                      << "请填写部门名称！"
                                      << "dept_name" << before;
    QTest::newRow("new, a name in use, blanks around") << false << " 工程部 "
                                                       << "部门名称不能重复！"
                                                       << "dept_name" << before;
    QTest::newRow("new, a new name") << false << " 财务部 "
                                     << ""
                                     << "" << QStringList{"保安部", "工程部", "财务部"};
    QTest::newRow("renamed, no name") << true << " "
                                      << "请填写部门名称！"
                                      << "dept_name" << before;
    // A renamed department is not checked for a name in use: only a new one.
    QTest::newRow("renamed to a name in use") << true << "工程部"
                                              << ""
                                              << "" << QStringList{"工程部", "工程部"};
}

void TestAdminChecks::departmentChecks()
{
    QFETCH(bool, existing);
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    QFETCH(QString, field);
    QFETCH(QStringList, stored);
    Estate e = t->estate();
    const qlonglong guards = e.addDepartment("保安部");
    e.addDepartment("工程部");
    Department d;
    d.id = existing ? guards : 0;
    d.name = name;
    d.manager = " 王经理 ";
    d.dutyDesc = " 管账 ";
    const Checked<qlonglong> saved = department_store::save(t->db(), d);
    compareRefusal(saved.refusal(), refusal, field);
    QCOMPARE(saved.ok(), refusal.isEmpty());
    QCOMPARE(t->scalar("select group_concat(dept_name, ',') from (select dept_name from department "
                       "order by dept_id) d")
                 .toString(),
             stored.join(','));
    if (saved.ok()) {
        // The name and the leader trimmed, the duties kept as typed.
        QCOMPARE(
            t->scalar("select manager || '|' || duty_desc from department where dept_id = ?", {saved.value()})
                .toString(),
            QString("王经理| 管账 "));
    }
    QCOMPARE(Transaction::depth(t->db()), 0);
}

void TestAdminChecks::employeeChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no name") << ""
                             << "请填写员工姓名！";
    QTest::newRow("blanks only") << "   "
                                 << "请填写员工姓名！";
    QTest::newRow("a name, blanks around") << " 赵六 "
                                           << "";
}

void TestAdminChecks::employeeChecks()
{
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    Employee input;
    input.name = name;
    input.linkTel = " 0755-1234567 ";
    input.remarks = " 备注 ";
    const Checked<Employee> checked = employee_store::check(input);
    compareRefusal(checked.refusal(), refusal, refusal.isEmpty() ? QString() : QString("emp_name"));
    QCOMPARE(checked.ok(), refusal.isEmpty());
    if (checked.ok()) {
        QCOMPARE(checked.value().name, QString("赵六"));
        QCOMPARE(checked.value().linkTel, QString("0755-1234567"));
        QCOMPARE(checked.value().remarks, QString("备注"));
    }
    const Checked<qlonglong> saved = employee_store::save(t->db(), input);
    QCOMPARE(saved.ok(), refusal.isEmpty());
    QCOMPARE(t->scalar("select count(*) from employee").toInt(), saved.ok() ? 1 : 0);
}

void TestAdminChecks::goodsChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sortId");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("storedSort"); // null: none
    QTest::addColumn<QVariant>("storedStock");
    const QVariant none;
    QTest::newRow("no name, checked first") << " "
                                            << "x"
                                            << "x"
                                            << "请填写用品名称！"
                                            << "goods_name" << none << none;
    QTest::newRow("order number not whole") << "A4纸"
                                            << "1.5"
                                            << "x"
                                            << "序号必须是整数！"
                                            << "sort_id" << none << none;
    QTest::newRow("order number beyond its range") << "A4纸"
                                                   << "99999999999"
                                                   << ""
                                                   << "序号必须是整数！"
                                                   << "sort_id" << none << none;
    QTest::newRow("stock not a number") << "A4纸"
                                        << "3"
                                        << "十"
                                        << "库存数量必须是-32768至32767之间的整数！"
                                        << "store_num" << none << none;
    QTest::newRow("stock beyond the stock's range") << "A4纸"
                                                    << "3"
                                                    << "32768"
                                                    << "库存数量必须是-32768至32767之间的整数！"
                                                    << "store_num" << none << none;
    QTest::newRow("numbers left empty are none") << " A4纸 "
                                                 << " "
                                                 << ""
                                                 << ""
                                                 << "" << none << none;
    QTest::newRow("full-width and negative numbers") << "A4纸"
                                                     << "１２"
                                                     << "-32768"
                                                     << ""
                                                     << "" << QVariant(12) << QVariant(-32768);
}

void TestAdminChecks::goodsChecks()
{
    QFETCH(QString, name);
    QFETCH(QString, sortId);
    QFETCH(QString, stock);
    QFETCH(QString, refusal);
    QFETCH(QString, field);
    QFETCH(QVariant, storedSort);
    QFETCH(QVariant, storedStock);
    const qlonglong type = t->estate().addGoodsType("纸张");
    GoodsInput input;
    input.name = name;
    input.sortId = sortId;
    input.stock = stock;
    input.typeId = static_cast<int>(type);
    input.remark = " 70克 ";
    const Checked<qlonglong> saved = goods_store::save(t->db(), input, true);
    compareRefusal(saved.refusal(), refusal, field);
    QCOMPARE(saved.ok(), refusal.isEmpty());
    QCOMPARE(t->scalar("select count(*) from goods").toInt(), saved.ok() ? 1 : 0);
    if (!saved.ok())
        return;
    const std::optional<Goods> goods = goods_store::load(t->db(), saved.value());
    QVERIFY(goods);
    QCOMPARE(goods->name, QString("A4纸"));
    QCOMPARE(goods->remark, QString("70克"));
    QCOMPARE(goods->typeId, std::optional<int>(static_cast<int>(type)));
    QCOMPARE(goods->sortId ? QVariant(*goods->sortId) : QVariant(), storedSort);
    QCOMPARE(goods->stock ? QVariant(*goods->stock) : QVariant(), storedStock);
}

void TestAdminChecks::deptGoodsChecks_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QVariant>("stored"); // null: none
    const QString text = "数量必须是-32768至32767之间的整数！";
    QTest::newRow("not a number") << "两个" << text << QVariant();
    QTest::newRow("not whole") << "1.5" << text << QVariant();
    QTest::newRow("beyond the stock's range") << "-32769" << text << QVariant();
    QTest::newRow("empty is none") << " "
                                   << "" << QVariant();
    QTest::newRow("full-width, blanks around") << " ３ "
                                               << "" << QVariant(3);
}

void TestAdminChecks::deptGoodsChecks()
{
    QFETCH(QString, quantity);
    QFETCH(QString, refusal);
    QFETCH(QVariant, stored);
    Estate e = t->estate();
    const qlonglong dept = e.addDepartment("行政部");
    const qlonglong type = e.addGoodsType("纸张");
    const qlonglong goods = e.addGoods({.name = "A4纸", .type = type});
    DeptGoodsInput input;
    input.deptId = static_cast<int>(dept);
    input.goodsId = static_cast<int>(goods);
    input.quantity = quantity;
    input.remark = " 借用 ";
    const Checked<qlonglong> saved = dept_goods_store::save(t->db(), input);
    compareRefusal(saved.refusal(), refusal, refusal.isEmpty() ? QString() : QString("goods_num"));
    QCOMPARE(saved.ok(), refusal.isEmpty());
    QCOMPARE(t->scalar("select count(*) from dept_goods").toInt(), saved.ok() ? 1 : 0);
    if (saved.ok()) {
        const std::optional<DeptGoods> held = dept_goods_store::load(t->db(), saved.value());
        QVERIFY(held);
        QCOMPARE(held->quantity ? QVariant(*held->quantity) : QVariant(), stored);
        QCOMPARE(held->remark, QString("借用"));
        QCOMPARE(held->deptId, std::optional<int>(static_cast<int>(dept)));
    }
}

void TestAdminChecks::meetingChecks_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no topic") << ""
                              << "请填写会议主题！";
    QTest::newRow("blanks only") << " 　"
                                 << "请填写会议主题！";
    QTest::newRow("a topic") << " 年终总结 "
                             << "";
}

void TestAdminChecks::meetingChecks()
{
    QFETCH(QString, title);
    QFETCH(QString, refusal);
    Meeting input;
    input.title = title;
    input.takeMan = " 王经理 ";
    input.takeDate = QDate(2026, 12, 10);
    input.contents = " 第一项\n";
    const Checked<qlonglong> saved = meeting_store::save(t->db(), input);
    compareRefusal(saved.refusal(), refusal, refusal.isEmpty() ? QString() : QString("title"));
    QCOMPARE(saved.ok(), refusal.isEmpty());
    QCOMPARE(t->scalar("select count(*) from meet").toInt(), saved.ok() ? 1 : 0);
    if (saved.ok()) {
        const std::optional<Meeting> stored = meeting_store::load(t->db(), saved.value());
        QVERIFY(stored);
        QCOMPARE(stored->title, QString("年终总结"));
        QCOMPARE(stored->takeMan, QString("王经理"));
        QCOMPARE(stored->contents, QString(" 第一项\n")); // the minutes as typed
    }
}

void TestAdminChecks::workPlanChecks_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("refusal");
    const QString text = "请正确填写计划类别！";
    QTest::newRow("work") << "工作"
                          << "";
    QTest::newRow("private, blanks around") << " 私人 "
                                            << "";
    QTest::newRow("no type") << "" << text;
    QTest::newRow("another word") << "公事" << text;
    QTest::newRow("both") << "工作私人" << text;
}

void TestAdminChecks::workPlanChecks()
{
    QFETCH(QString, type);
    QFETCH(QString, refusal);
    WorkPlan input;
    input.opCode = "admin";
    input.title = " 巡楼 ";
    input.planType = type;
    input.state = WorkPlan::kRemind;
    input.awokeDate = "2026-12-10 08:05";
    const Checked<qlonglong> saved = work_plan_store::save(t->db(), input);
    compareRefusal(saved.refusal(), refusal, refusal.isEmpty() ? QString() : QString("plan_type"));
    QCOMPARE(saved.ok(), refusal.isEmpty());
    QCOMPARE(t->scalar("select count(*) from work_plan").toInt(), saved.ok() ? 1 : 0);
    if (saved.ok()) {
        const std::optional<WorkPlan> stored = work_plan_store::load(t->db(), saved.value());
        QVERIFY(stored);
        QCOMPARE(stored->title, QString("巡楼"));
        QCOMPARE(stored->opCode, QString("admin"));
    }
}

void TestAdminChecks::mailChecks_data()
{
    QTest::addColumn<QString>("receivers");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("stored"); // receivers of the rows stored
    QTest::newRow("two, blanks around") << " 张三; 李四 "
                                        << "通知"
                                        << ""
                                        << "" << QStringList{"张三", "李四"};
    QTest::newRow("no receiver, before the subject") << " "
                                                     << ""
                                                     << "请填写收信人!"
                                                     << "receive" << QStringList{};
    QTest::newRow("a final separator") << "张三;"
                                       << "通知"
                                       << "收信人不存在！"
                                       << "receive" << QStringList{};
    QTest::newRow("an unknown name, before the subject") << "张三;王二;李四"
                                                         << ""
                                                         << "收信人不存在！"
                                                         << "receive" << QStringList{};
    QTest::newRow("no subject") << "张三"
                                << "  "
                                << "请填写邮件主题!"
                                << "mesg_head" << QStringList{};
}

void TestAdminChecks::mailChecks()
{
    QFETCH(QString, receivers);
    QFETCH(QString, subject);
    QFETCH(QString, refusal);
    QFETCH(QString, field);
    QFETCH(QStringList, stored);
    t->exec("insert into operator (op_code, op_name) values ('admin', '管理员'), ('zs', '张三'), "
            "('ls', '李四')");
    const Checked<mail_store::Sent> sent =
        mail_store::send(t->db(), "管理员", receivers, subject, " 正文 ", QDateTime(QDate(2026, 12, 10), {}));
    compareRefusal(sent.refusal(), refusal, field);
    QCOMPARE(sent.ok(), refusal.isEmpty());
    QCOMPARE(t->scalar("select coalesce(group_concat(receive, ','), '') from "
                       "(select receive from message_info order by msg_id) m")
                 .toString(),
             stored.join(','));
    if (sent.ok())
        QCOMPARE(sent.value().receivers, stored);
    QCOMPARE(Transaction::depth(t->db()), 0);
}

void TestAdminChecks::removalsCheckedBeforeTheQuestion()
{
    // The catalogue asks before a delete; the refusal comes before the question,
    // and the same refusal when the delete checks again.
    Estate e = t->estate();
    const qlonglong paper = e.addGoodsType("纸张");
    const qlonglong empty = e.addGoodsType("空类别");
    const qlonglong a4 = e.addGoods({.name = "A4纸", .type = paper});
    const qlonglong pen = e.addGoods({.name = "笔", .type = paper});
    e.addRequisition({.goods = a4, .dept = e.addDepartment("行政部"), .quantity = 1});

    const QString typeUsed = "此类别已经有详细物品存在，请先删除其子类物品，再删除此条记录！";
    QCOMPARE(goods_type_store::checkRemove(t->db(), paper).refusal().text, typeUsed);
    QVERIFY(goods_type_store::checkRemove(t->db(), empty).ok());
    const QString requisitioned = "此物品已经在领用清单里存在，不能删除！";
    QCOMPARE(goods_store::checkRemove(t->db(), a4).refusal().text, requisitioned);
    QVERIFY(goods_store::checkRemove(t->db(), pen).ok());
    // Asking deletes nothing.
    QCOMPARE(t->scalar("select count(*) from goods").toInt(), 2);
    QCOMPARE(t->scalar("select count(*) from goods_type").toInt(), 2);
}

QTEST_GUILESS_MAIN(TestAdminChecks)
#include "tst_adminchecks.moc"
