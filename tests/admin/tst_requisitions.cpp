#include "admin/DeptGoodsScreen.h"
#include "admin/RequisitionsScreen.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "output/SpreadsheetProgram.h"
#include "output/WorkbookReader.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

// Requisitions of office supplies, which take from the stock never more than it
// holds, and the register of what each department holds, which takes nothing.
class TestRequisitions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void neverMoreThanTheStock();
    void twoCopiesAtOnce();
    void aChangeMovesTheDifference();
    void savingARequisition_data();
    void savingARequisition();
    void theDepartmentShownLast();
    void aRequisitionKeepsItsDepartment();
    void queries();
    void aFailureIsReportedAndUndone_data();
    void aFailureIsReportedAndUndone();
    void exportOfTheList();
    void browseOnlyChangesNothing();
    void departmentGoods();
    void departmentGoodsExport();
    void departmentGoodsNeedADepartment_data();
    void departmentGoodsNeedADepartment();

private:
    TestDatabase* t = nullptr;
};

namespace {

void click(QWidget* w, const char* name)
{
    control<QPushButton>(w, name)->click();
}

void type(QWidget* w, const char* name, const QString& text)
{
    auto* edit = control<QLineEdit>(w, name);
    edit->setText(text);
    emit edit->textEdited(text);
}

void choose(QWidget* w, const char* name, const QString& text)
{
    auto* combo = control<QComboBox>(w, name);
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QTableView* grid(QWidget* s)
{
    return control<QTableView>(s, "DBGrid1");
}

QString stockLabel(QWidget* s)
{
    return control<QLabel>(s, "labStore")->text();
}

int stockOf(TestDatabase& t, const QString& goods)
{
    return t.scalar("select store_num from goods where goods_name = ?", {goods}).toInt();
}

// A new requisition of `goods`, saved.
void take(QWidget* screen, const QString& goods, const QString& quantity)
{
    click(screen, "BitBtn4");
    choose(screen, "dlcmbGoodsName", goods);
    type(screen, "dbeTakeNum", quantity);
    click(screen, "BitBtn5");
}

// Opens the query dialog, lets `fill` choose, and leaves it with `button`.
void query(QWidget* screen, const std::function<void(QDialog*)>& fill, const char* button = "BitBtn1")
{
    click(screen, "btnQuery");
    auto* dialog = openChild<QDialog>(screen, "TGoodsQueryFrm");
    QVERIFY(dialog);
    fill(dialog);
    click(dialog, button);
}

} // namespace

void TestRequisitions::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addDepartment("行政部");
    e.addDepartment("工程部");
    e.addGoods({.name = "A4纸", .type = e.addGoodsType("纸张"), .stock = 10});
    e.addGoods({.name = "签字笔", .type = e.addGoodsType("笔"), .stock = 5});
}

void TestRequisitions::cleanup()
{
    delete t;
}

void TestRequisitions::neverMoreThanTheStock()
{
    RequisitionsScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QString("办公用品领用清单"));
    QCOMPARE(grid(&screen)->model()->rowCount(), 0);
    QCOMPARE(stockLabel(&screen), QString("库存："));

    click(&screen, "BitBtn4");
    QCOMPARE(control<QDateEdit>(&screen, "dtpTakeDate")->date(), QDate(2026, 12, 10));
    choose(&screen, "dlcmbGoodsName", "A4纸");
    QCOMPARE(stockLabel(&screen), QString("库存数量:10"));
    type(&screen, "dbeTakeNum", "11");
    click(&screen, "BitBtn5");
    QCOMPARE(t->messages().texts(), QStringList{"领用数量大于库存数量"});
    QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), 0);

    type(&screen, "dbeTakeNum", "10");
    click(&screen, "BitBtn5");
    QCOMPARE(stockOf(*t, "A4纸"), 0);
    QCOMPARE(stockLabel(&screen), QString("库存数量:0"));
    QCOMPARE(t->scalar("select take_num from take_goods").toDouble(), 10.0);
    QCOMPARE(t->scalar("select take_date from take_goods").toString(), QString("2026-12-10"));

    // A second requisition of 10 in the same window finds none left.
    take(&screen, "A4纸", "10");
    QCOMPARE(t->messages().lastText(), QString("领用数量大于库存数量"));
    QCOMPARE(stockOf(*t, "A4纸"), 0);
    QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), 1);
}

void TestRequisitions::twoCopiesAtOnce()
{
    QString error;
    QSqlDatabase second = database::open(t->path(), "second copy", &error);
    QVERIFY(error.isEmpty());
    {
        ScreenContext secondContext = t->context();
        secondContext.db = second;
        RequisitionsScreen mine(t->context());
        RequisitionsScreen theirs(secondContext);
        for (QWidget* s : {static_cast<QWidget*>(&mine), static_cast<QWidget*>(&theirs)}) {
            click(s, "BitBtn4");
            choose(s, "dlcmbGoodsName", "A4纸");
            type(s, "dbeTakeNum", "10");
            QCOMPARE(stockLabel(s), QString("库存数量:10"));
        }
        click(&mine, "BitBtn5");
        click(&theirs, "BitBtn5");
        QCOMPARE(t->messages().texts(), QStringList{"领用数量大于库存数量"});
        QCOMPARE(stockLabel(&theirs), QString("库存数量:0")); // what is left now
    }
    second.close();
    second = QSqlDatabase();
    QSqlDatabase::removeDatabase("second copy");
    QCOMPARE(stockOf(*t, "A4纸"), 0);
    QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), 1);
}

void TestRequisitions::aChangeMovesTheDifference()
{
    RequisitionsScreen screen(t->context());
    take(&screen, "A4纸", "4");
    QCOMPARE(stockOf(*t, "A4纸"), 6);
    // Changed without moving on: 2 more.
    type(&screen, "dbeTakeNum", "6");
    click(&screen, "BitBtn5");
    QCOMPARE(stockOf(*t, "A4纸"), 4);
    // Taken of another item instead: the 6 come back, the pens go.
    choose(&screen, "dlcmbGoodsName", "签字笔");
    type(&screen, "dbeTakeNum", "5");
    click(&screen, "BitBtn5");
    QCOMPARE(stockOf(*t, "A4纸"), 10);
    QCOMPARE(stockOf(*t, "签字笔"), 0);
    QCOMPARE(grid(&screen)->model()->rowCount(), 1);

    // Deleting gives the pens back.
    t->messages().answerConfirm(false);
    click(&screen, "BitBtn1");
    QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), 1);
    QCOMPARE(stockOf(*t, "签字笔"), 0);
    click(&screen, "BitBtn1");
    QCOMPARE(t->messages().texts(), (QStringList{"确实要删除此记录吗？", "确实要删除此记录吗？"}));
    QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), 0);
    QCOMPARE(stockOf(*t, "签字笔"), 5);
    QCOMPARE(stockOf(*t, "A4纸"), 10);
    t->messages().clear();
    click(&screen, "BitBtn1");
    QCOMPARE(t->messages().texts(), QStringList{"数据已空，无法删除！"});
}

void TestRequisitions::savingARequisition_data()
{
    QTest::addColumn<bool>("departments");
    QTest::addColumn<QString>("goods");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("stock"); // of A4纸 afterwards
    // Stock moves by what was really taken: none or a return is refused.
    QTest::newRow("an empty quantity") << true << "A4纸"
                                       << ""
                                       << "领用数量必须大于零！" << 10;
    QTest::newRow("a return") << true << "A4纸"
                              << "-5"
                              << "领用数量必须大于零！" << 10;
    QTest::newRow("full-width digits") << true << "A4纸"
                                       << "３"
                                       << "" << 7;
    QTest::newRow("no item") << true << ""
                             << "3"
                             << "请填写物品名称！" << 10;
    QTest::newRow("no departments") << false << "A4纸"
                                    << "3"
                                    << "请先增加部门！" << 10;
    QTest::newRow("a fraction") << true << "A4纸"
                                << "2.5"
                                << "领用数量必须是-32768至32767之间的整数！" << 10;
    QTest::newRow("beyond the stock's range") << true << "A4纸"
                                              << "-32769"
                                              << "领用数量必须是-32768至32767之间的整数！" << 10;
}

void TestRequisitions::savingARequisition()
{
    QFETCH(bool, departments);
    QFETCH(QString, goods);
    QFETCH(QString, quantity);
    QFETCH(QString, message);
    QFETCH(int, stock);
    if (!departments)
        t->exec("delete from department");
    RequisitionsScreen screen(t->context());
    click(&screen, "BitBtn4");
    if (!goods.isEmpty())
        choose(&screen, "dlcmbGoodsName", goods);
    type(&screen, "dbeTakeNum", quantity);
    click(&screen, "BitBtn5");
    QCOMPARE(t->messages().lastText(), message);
    QCOMPARE(stockOf(*t, "A4纸"), stock);
    QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), message.isEmpty() ? 1 : 0);
    if (message.isEmpty()) // stored as the stock moved
        QCOMPARE(t->scalar("select take_num from take_goods").toInt(), 10 - stock);
}

void TestRequisitions::theDepartmentShownLast()
{
    t->estate().addRequisition({.goods = 1, .dept = 2, .quantity = 1, .date = "2026-12-01"});
    RequisitionsScreen screen(t->context());
    auto* dept = control<QComboBox>(&screen, "dlkDept");
    // Before any is shown: the first of the chooser.
    take(&screen, "签字笔", "1");
    QCOMPARE(t->scalar("select dept_id from take_goods where id = 2").toLongLong(),
             dept->itemData(0).toLongLong());

    query(&screen, [](QDialog* d) { choose(d, "DBLCB_dept", "工程部"); });
    QCOMPARE(dept->currentText(), QString("工程部"));
    click(&screen, "BitBtn4");
    QCOMPARE(dept->currentIndex(), -1); // a new requisition shows none
    choose(&screen, "dlcmbGoodsName", "签字笔");
    type(&screen, "dbeTakeNum", "1");
    click(&screen, "BitBtn5");
    QCOMPARE(t->scalar("select dept_id from take_goods where id = 3").toInt(), 2);

    // One chosen is taken.
    click(&screen, "BitBtn4");
    choose(&screen, "dlcmbGoodsName", "签字笔");
    choose(&screen, "dlkDept", "行政部");
    type(&screen, "dbeTakeNum", "1");
    click(&screen, "BitBtn5");
    QCOMPARE(t->scalar("select dept_id from take_goods where id = 4").toInt(), 1);
}

void TestRequisitions::aRequisitionKeepsItsDepartment()
{
    // A requisition of a department the file no longer holds (deleted before
    // departments in use were kept), and one of 工程部.
    Estate e = t->estate();
    const qlonglong gone = e.addDepartment("旧部门");
    e.addRequisition({.goods = 1, .dept = gone, .quantity = 1, .date = "2026-12-01", .takeMan = "张三"});
    e.addRequisition({.goods = 1, .dept = 2, .quantity = 1, .date = "2026-12-01", .takeMan = "李四"});
    t->exec("delete from department where dept_id = ?", {gone});
    RequisitionsScreen screen(t->context());
    auto* dept = control<QComboBox>(&screen, "dlkDept");
    query(&screen, [](QDialog* d) { choose(d, "DBLCB_things", "A4纸"); });
    QCOMPARE(dept->currentIndex(), -1);

    // A change of quantity keeps the department it was entered under.
    type(&screen, "dbeTakeNum", "2");
    click(&screen, "BitBtn5");
    QCOMPARE(t->messages().texts(), QStringList());
    QCOMPARE(t->scalar("select cast(take_num * 10 as integer) || '|' || dept_id from take_goods where "
                       "take_man = '张三'")
                 .toString(),
             QString("20|%1").arg(gone)); // tenths of the quantity
    // Until another one is chosen.
    choose(&screen, "dlkDept", "行政部");
    click(&screen, "BitBtn5");
    QCOMPARE(t->scalar("select dept_id from take_goods where take_man = '张三'").toInt(), 1);
    grid(&screen)->selectRow(1);
    QCOMPARE(dept->currentText(), QString("工程部"));
    type(&screen, "dbeTakeNum", "3");
    click(&screen, "BitBtn5");
    QCOMPARE(t->scalar("select dept_id from take_goods where take_man = '李四'").toInt(), 2);
}

void TestRequisitions::queries()
{
    Estate e = t->estate();
    e.addRequisition({.goods = 1, .dept = 1, .quantity = 1, .date = "2026-12-01", .takeMan = "张三"});
    e.addRequisition({.goods = 2, .dept = 2, .quantity = 2, .date = "2026-12-10", .takeMan = "李四"});
    e.addRequisition({.goods = 1, .dept = 2, .quantity = 3, .date = "2026-12-10", .takeMan = "王_五"});
    RequisitionsScreen screen(t->context());
    const auto takers = [&] { return columnTexts(grid(&screen)->model(), 2); };

    query(&screen, [](QDialog* d) {
        QCOMPARE(d->windowTitle(), QString("办公用品领用明细查询"));
        auto* first = control<QDateEdit>(d, "dtpStart");
        QCOMPARE(first->date(), QDate(2026, 12, 10));
        QVERIFY(!first->isEnabled() && !control<QDateEdit>(d, "dtpEnd")->isEnabled());
        control<QCheckBox>(d, "cbxDate")->setChecked(true);
        QVERIFY(first->isEnabled());
    });
    QCOMPARE(takers(), (QStringList{"李四", "王_五"}));
    QCOMPARE(columnTexts(grid(&screen)->model(), 7), (QStringList{"工程部", "工程部"}));

    // Nothing chosen leaves the list; "退出" empties it.
    query(&screen, [](QDialog*) {});
    QCOMPARE(takers(), (QStringList{"李四", "王_五"}));
    query(
        &screen, [](QDialog* d) { type(d, "dbeTakeMan", "张"); }, "return");
    QCOMPARE(takers(), QStringList());

    // A type narrows the items offered and the requisitions listed.
    query(&screen, [](QDialog* d) {
        auto* items = control<QComboBox>(d, "DBLCB_things");
        QCOMPARE(items->count(), 2);
        choose(d, "dlkType", "笔");
        QCOMPARE(items->count(), 1);
        QCOMPARE(items->itemText(0), QString("签字笔"));
    });
    QCOMPARE(takers(), QStringList{"李四"});
    query(&screen, [](QDialog* d) { type(d, "dbeTakeMan", "_"); });
    QCOMPARE(takers(), QStringList{"王_五"});
    query(&screen, [](QDialog* d) {
        choose(d, "DBLCB_dept", "工程部");
        choose(d, "DBLCB_things", "A4纸");
    });
    QCOMPARE(takers(), QStringList{"王_五"});
}

void TestRequisitions::aFailureIsReportedAndUndone_data()
{
    QTest::addColumn<QString>("trigger"); // the statement the injected failure refuses
    QTest::addColumn<int>("stock");       // of A4纸 before the save
    QTest::addColumn<bool>("changed");    // a stored requisition of 2 changed, else a new one
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("text");
    QTest::newRow("the requisition refused") << "insert on take_goods" << 10 << false << "3"
                                             << "injected";
    QTest::newRow("its stock move refused") << "update on goods" << 10 << false << "3"
                                            << "injected";
    QTest::newRow("the change refused") << "update on take_goods" << 10 << true << "5"
                                        << "injected";
    // A stored 2 changed to 1 gives one back, beyond the highest count the stock
    // column holds.
    QTest::newRow("a stock beyond its range") << "" << 32767 << true << "1"
                                              << "库存数量超出范围。";
}

void TestRequisitions::aFailureIsReportedAndUndone()
{
    QFETCH(QString, trigger);
    QFETCH(int, stock);
    QFETCH(bool, changed);
    QFETCH(QString, quantity);
    QFETCH(QString, text);
    t->exec("update goods set store_num = ? where goods_name = 'A4纸'", {stock});
    if (changed)
        t->estate().addRequisition({.goods = 1, .dept = 1, .quantity = 2, .date = "2026-12-01"});
    if (!trigger.isEmpty())
        t->injectRefusal(trigger);
    const auto requisitions = [&] {
        return t->scalar("select group_concat(goods_id || ':' || take_num) from take_goods").toString();
    };
    const QString before = requisitions();
    RequisitionsScreen screen(t->context());
    if (changed) {
        query(&screen, [](QDialog* d) { choose(d, "DBLCB_dept", "行政部"); });
        type(&screen, "dbeTakeNum", quantity);
        click(&screen, "BitBtn5");
    } else {
        take(&screen, "A4纸", quantity);
    }
    // Told, with the database's own words; record and stock as they were.
    QCOMPARE(t->messages().errors().size(), 1);
    QVERIFY2(t->messages().lastText().contains(text) || t->messages().lastDetail().contains(text),
             qPrintable(t->messages().lastText()));
    QVERIFY(!t->messages().lastDetail().isEmpty() || text == "injected");
    QCOMPARE(stockOf(*t, "A4纸"), stock);
    QCOMPARE(requisitions(), before);
    // The boxes keep what was typed, to be put right.
    QCOMPARE(control<QLineEdit>(&screen, "dbeTakeNum")->text(), quantity);

    if (!trigger.isEmpty()) {
        t->removeRefusal();
        click(&screen, "BitBtn5");
        QCOMPARE(stockOf(*t, "A4纸"), stock + (changed ? 2 : 0) - quantity.toInt());
    }
}

void TestRequisitions::exportOfTheList()
{
    Estate e = t->estate();
    e.addRequisition({.goods = 1,
                      .dept = 1,
                      .quantity = 2,
                      .date = "2026-12-01",
                      .takeMan = "张三",
                      .xhgg = "070",
                      .remark = "会议"});
    RequisitionsScreen screen(t->context(false));
    click(&screen, "btnExcel");
    QCOMPARE(t->messages().lastText(), QString("没有数据可打印！"));
    query(&screen, [](QDialog* d) { choose(d, "DBLCB_dept", "行政部"); });
    click(&screen, "btnExcel");
    const QString file = t->desktop().opened().last();
    QCOMPARE(WorkbookReader(file).title(), QString("办公用品领用清单"));
    QCOMPARE(WorkbookReader(file).merges(), QStringList{"A1:H1"});
    const QList<QList<SpreadsheetCell>> sheet = spreadsheetProgramCells(file);
    QCOMPARE(sheet.value(0).value(0).shown, QString("物业管理系统报表"));
    QStringList captions;
    for (const SpreadsheetCell& c : sheet.value(2))
        captions << c.shown;
    QCOMPARE(captions,
             (QStringList{"物品名称", "领用人", "数量", "领用日期", "型号规格", "批准人", "部门", "备注"}));
    QStringList row;
    for (const SpreadsheetCell& c : sheet.value(3)) {
        row << c.shown;
        QVERIFY2(c.isText || c.shown.isEmpty(), qPrintable(c.shown));
    }
    QCOMPARE(row, (QStringList{"A4纸", "张三", "2", "2026-12-01", "070", "", "行政部", "会议"}));
}

void TestRequisitions::browseOnlyChangesNothing()
{
    t->estate().addRequisition({.goods = 1, .dept = 1, .quantity = 2, .date = "2026-12-01"});
    t->estate().addRequisition({.goods = 1, .dept = 1, .quantity = 3, .date = "2026-12-02"});
    RequisitionsScreen screen(t->context(false));
    for (const char* name : {"BitBtn4", "BitBtn1", "BitBtn5"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name : {"btnExcel", "btnQuery", "BitBtn3"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    QVERIFY(!control<QDateEdit>(&screen, "dtpTakeDate")->isEnabled());
    // Every box, the department and the item too: nothing typed can be stored.
    for (const char* name : {"dlcmbGoodsName", "dlkDept"})
        QVERIFY2(!control<QComboBox>(&screen, name)->isEnabled(), name);
    for (const char* name : {"dbeTakeNum", "dbeRemark", "dbeTakeMan", "DBEdit1", "DBEdit2"})
        QVERIFY2(control<QLineEdit>(&screen, name)->isReadOnly(), name);
    query(&screen, [](QDialog* d) { choose(d, "DBLCB_dept", "行政部"); });
    QCOMPARE(grid(&screen)->model()->rowCount(), 2);
    // Even a value forced into a box is not stored by leaving the row.
    type(&screen, "dbeTakeNum", "9");
    grid(&screen)->selectRow(1);
    QCoreApplication::processEvents();
    QCOMPARE(t->scalar("select sum(take_num) from take_goods").toInt(), 5);
    QCOMPARE(stockOf(*t, "A4纸"), 10);
}

void TestRequisitions::departmentGoods()
{
    Estate e = t->estate();
    e.addDeptGoods(2, 2, 4, "工程部的笔");
    DeptGoodsScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QString("办公用品登记"));
    auto* departments = control<QTableView>(&screen, "DBGrid2");
    QCOMPARE(columnTexts(departments->model(), 1), (QStringList{"工程部", "行政部"}));
    QCOMPARE(columnTexts(grid(&screen)->model(), 1), QStringList{"签字笔"});
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit1")->text(), QString("4"));

    // A row added is of the department chosen, and takes nothing from the stock.
    departments->selectRow(1);
    QCOMPARE(grid(&screen)->model()->rowCount(), 0);
    click(&screen, "BitBtn4");
    choose(&screen, "DBLookupComboBox1", "A4纸");
    type(&screen, "DBEdit1", "3");
    control<QPlainTextEdit>(&screen, "DBMemo1")->setPlainText("备用");
    click(&screen, "BitBtn5");
    QCOMPARE(
        t->scalar(
             "select dept_id || '|' || goods_id || '|' || cast(goods_num * 10 as integer) || '|' || remark "
             "from dept_goods where id = 2")
            .toString(),
        QString("1|1|30|备用")); // tenths of the quantity
    QCOMPARE(stockOf(*t, "A4纸"), 10);
    QCOMPARE(columnTexts(grid(&screen)->model(), 1), QStringList{"A4纸"});

    // A row changed and left for another department is stored with its own.
    type(&screen, "DBEdit1", "5");
    departments->selectRow(0);
    QCoreApplication::processEvents();
    QCOMPARE(
        t->scalar("select dept_id || '|' || cast(goods_num * 10 as integer) from dept_goods where id = 2")
            .toString(),
        QString("1|50")); // tenths of the quantity
    QCOMPARE(columnTexts(grid(&screen)->model(), 1), QStringList{"签字笔"});

    // A quantity that is no whole number is refused.
    type(&screen, "DBEdit1", "一打");
    click(&screen, "BitBtn5");
    QCOMPARE(t->messages().lastText(), QString("数量必须是-32768至32767之间的整数！"));
    QCOMPARE(t->scalar("select goods_num from dept_goods where id = 1").toInt(), 4);

    t->messages().clear();
    t->messages().answerConfirm(false);
    click(&screen, "BitBtn1");
    QCOMPARE(t->scalar("select count(*) from dept_goods").toInt(), 2);
    click(&screen, "BitBtn1");
    QCOMPARE(t->messages().texts(), (QStringList{"确实要删除此记录吗？", "确实要删除此记录吗？"}));
    QCOMPARE(t->scalar("select count(*) from dept_goods").toInt(), 1);
    t->messages().clear();
    click(&screen, "BitBtn1");
    QCOMPARE(t->messages().texts(), QStringList{"数据已空，无法删除！"});
}

void TestRequisitions::departmentGoodsExport()
{
    Estate e = t->estate();
    e.addDeptGoods(2, 2, 4, "笔");
    e.addDeptGoods(2, 1, 1);
    DeptGoodsScreen screen(t->context(false));
    click(&screen, "BitBtn2");
    const QString file = t->desktop().opened().last();
    const QList<QStringList> sheet = spreadsheetProgramRows(file);
    QCOMPARE(sheet.value(0), (QStringList{"", "", "工程部办公用品清单"}));
    QCOMPARE(sheet.value(2), (QStringList{"序号", "用品名称", "数量", "备注"}));
    QCOMPARE(sheet.mid(3), (QList<QStringList>{{"1", "签字笔", "4", "笔"}, {"2", "A4纸", "1"}}));

    // An empty list is exported too: title and captions.
    control<QTableView>(&screen, "DBGrid2")->selectRow(1);
    click(&screen, "BitBtn2");
    QCOMPARE(t->desktop().opened().size(), 2);
    const QList<QStringList> empty = spreadsheetProgramRows(t->desktop().opened().last());
    QCOMPARE(empty.value(0), (QStringList{"", "", "行政部办公用品清单"}));
    QCOMPARE(empty.size(), 3);
}

void TestRequisitions::departmentGoodsNeedADepartment_data()
{
    QTest::addColumn<bool>("departments");
    QTest::addColumn<bool>("canWrite");
    QTest::newRow("no department") << false << true;
    QTest::newRow("browse only") << true << false;
}

void TestRequisitions::departmentGoodsNeedADepartment()
{
    QFETCH(bool, departments);
    QFETCH(bool, canWrite);
    if (!departments)
        t->exec("delete from department");
    t->estate().addDeptGoods(2, 2, 4);
    DeptGoodsScreen screen(t->context(canWrite));
    for (const char* name : {"BitBtn4", "BitBtn1", "BitBtn5"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    QVERIFY(control<QPushButton>(&screen, "BitBtn2")->isEnabled());
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit1")->isReadOnly(), !canWrite);
    click(&screen, "BitBtn4");
    click(&screen, "BitBtn5");
    QCOMPARE(t->scalar("select count(*) from dept_goods").toInt(), 1);
}

QTEST_MAIN(TestRequisitions)
#include "tst_requisitions.moc"
