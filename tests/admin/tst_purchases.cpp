#include "admin/PurchasesScreen.h"
#include "output/SpreadsheetProgram.h"
#include "output/WorkbookReader.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// Purchases of office supplies: listed by a query, edited in boxes bound to the
// row, each save or delete moving the stock of its item in the same transaction.
class TestPurchases : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void aPurchaseMovesTheStock();
    void savingAPurchase_data();
    void savingAPurchase();
    void aRefusalPutsTheCursorInItsBox();
    void deletingANewPurchaseOnlyDropsIt();
    void deletingTakesOffWhatIsStored();
    void queries();
    void aFailureIsReportedAndUndone_data();
    void aFailureIsReportedAndUndone();
    void aRightClickPicksTheItem();
    void exportOfTheList();
    void browseOnlyChangesNothing();

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

int stockOf(TestDatabase& t, const QString& goods)
{
    return t.scalar("select store_num from goods where goods_name = ?", {goods}).toInt();
}

// Opens the query dialog, lets `fill` choose, and leaves it with `button`.
void query(QWidget* screen, const std::function<void(QDialog*)>& fill, const char* button = "BitBtn1")
{
    click(screen, "btnQuery");
    auto* dialog = openChild<QDialog>(screen, "TbuyQueryFrm");
    QVERIFY(dialog);
    fill(dialog);
    click(dialog, button);
}

} // namespace

void TestPurchases::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addGoods({.name = "A4纸", .type = e.addGoodsType("纸张"), .stock = 10});
    e.addGoods({.name = "签字笔", .type = e.addGoodsType("笔"), .stock = 5});
}

void TestPurchases::cleanup()
{
    delete t;
}

void TestPurchases::aPurchaseMovesTheStock()
{
    PurchasesScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QString("办公用品采购管理"));
    QCOMPARE(grid(&screen)->model()->rowCount(), 0); // nothing before a query
    auto* detail = control<QGroupBox>(&screen, "GroupBox1");

    click(&screen, "btnAdd");
    QVERIFY(!grid(&screen)->isEnabled());
    QCOMPARE(control<QDateEdit>(&screen, "dtpBuyDate")->date(), QDate(2026, 12, 10));
    choose(&screen, "dlkGoodsName", "A4纸");
    QCOMPARE(detail->title(), QString("办公用品详细信息 (库存:10)"));
    type(&screen, "dbeNum", "10");
    type(&screen, "dbePrice", "12.5");
    type(&screen, "DBEdit1", "张三");
    click(&screen, "btnModify");
    QCOMPARE(stockOf(*t, "A4纸"), 20);
    QVERIFY(grid(&screen)->isEnabled());
    QCOMPARE(detail->title(), QString("办公用品详细信息 (库存:20)"));
    QCOMPARE(t->scalar("select buy_date from goods_buy").toString(), QString("2026-12-10"));
    // Stored as a number, not as the text typed.
    QCOMPARE(t->scalar("select unit_price from goods_buy").typeId(), QMetaType::Double);
    QCOMPARE(t->scalar("select unit_price from goods_buy").toDouble(), 12.5);
    const QAbstractItemModel* list = grid(&screen)->model();
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->index(0, 1).data().toString(), QString("A4纸"));
    QCOMPARE(list->index(0, 2).data().toString(), QString("12.50"));
    QCOMPARE(control<QLineEdit>(&screen, "dbePrice")->text(), QString("12.50"));

    // Changed to 12 without moving on: 2 more.
    type(&screen, "dbeNum", "12");
    click(&screen, "btnModify");
    QCOMPARE(stockOf(*t, "A4纸"), 22);

    // Deleted after a yes: the 12 go again.
    t->messages().answerConfirm(false);
    click(&screen, "btnDel");
    QCOMPARE(stockOf(*t, "A4纸"), 22);
    click(&screen, "btnDel");
    QCOMPARE(t->messages().texts(), (QStringList{"确实要删除此记录吗？", "确实要删除此记录吗？"}));
    QCOMPARE(stockOf(*t, "A4纸"), 10);
    QCOMPARE(list->rowCount(), 0);

    t->messages().clear();
    click(&screen, "btnDel");
    QCOMPARE(t->messages().texts(), QStringList{"数据已空，无法删除！"});
}

void TestPurchases::savingAPurchase_data()
{
    QTest::addColumn<QString>("goods");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("stock"); // of A4纸 afterwards
    QTest::newRow("none bought") << "A4纸"
                                 << "0"
                                 << ""
                                 << "" << 10;
    QTest::newRow("full-width digits") << "A4纸"
                                       << "１０"
                                       << "３．５"
                                       << "" << 20;
    // A return to the supplier never takes the stock of 10 below zero.
    QTest::newRow("a return of all there is") << "A4纸"
                                              << "-10"
                                              << ""
                                              << "" << 0;
    QTest::newRow("a return of more than there is") << "A4纸"
                                                    << "-11"
                                                    << ""
                                                    << "库存数量不足，保存后库存将小于零！" << 10;
    QTest::newRow("no quantity") << "A4纸"
                                 << " "
                                 << "1"
                                 << "请输入采购数量！" << 10;
    QTest::newRow("no item") << ""
                             << "10"
                             << "1"
                             << "请选择采购物品！" << 10;
    QTest::newRow("a fraction") << "A4纸"
                                << "1.5"
                                << "1"
                                << "采购数量必须是-32768至32767之间的整数！" << 10;
    QTest::newRow("beyond the stock's range") << "A4纸"
                                              << "32768"
                                              << "1"
                                              << "采购数量必须是-32768至32767之间的整数！" << 10;
    QTest::newRow("a price of three decimals") << "A4纸"
                                               << "1"
                                               << "1.005"
                                               << "单价需要填写数字！" << 10;
    QTest::newRow("a price in words") << "A4纸"
                                      << "1"
                                      << "一元"
                                      << "单价需要填写数字！" << 10;
}

void TestPurchases::savingAPurchase()
{
    QFETCH(QString, goods);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, message);
    QFETCH(int, stock);
    PurchasesScreen screen(t->context());
    click(&screen, "btnAdd");
    if (!goods.isEmpty())
        choose(&screen, "dlkGoodsName", goods);
    type(&screen, "dbeNum", quantity);
    type(&screen, "dbePrice", price);
    click(&screen, "btnModify");
    QCOMPARE(t->messages().lastText(), message);
    QCOMPARE(stockOf(*t, "A4纸"), stock);
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), message.isEmpty() ? 1 : 0);
    // A refused purchase stays in the boxes to be put right.
    if (!message.isEmpty())
        QCOMPARE(control<QLineEdit>(&screen, "dbeNum")->text(), quantity);
}

void TestPurchases::aRefusalPutsTheCursorInItsBox()
{
    PurchasesScreen screen(t->context());
    screen.show();
    click(&screen, "btnAdd");
    type(&screen, "dbeNum", "3");
    click(&screen, "btnModify");
    QCOMPARE(t->messages().lastText(), QString("请选择采购物品！"));
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, "dlkGoodsName"));
    choose(&screen, "dlkGoodsName", "A4纸");
    type(&screen, "dbePrice", "1.005");
    click(&screen, "btnModify");
    QCOMPARE(t->messages().lastText(), QString("单价需要填写数字！"));
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, "dbePrice"));
}

void TestPurchases::deletingANewPurchaseOnlyDropsIt()
{
    PurchasesScreen screen(t->context());
    click(&screen, "btnAdd");
    choose(&screen, "dlkGoodsName", "A4纸");
    type(&screen, "dbeNum", "10");
    click(&screen, "btnDel");
    QCOMPARE(grid(&screen)->model()->rowCount(), 0);
    QVERIFY(grid(&screen)->isEnabled());
    QCOMPARE(stockOf(*t, "A4纸"), 10);
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), 0);
}

void TestPurchases::deletingTakesOffWhatIsStored()
{
    // 4 A4纸 bought earlier (the stock of 10 holds them).
    t->estate().addPurchase({.goods = 1, .quantity = 4, .buyer = "张三"});
    PurchasesScreen screen(t->context());
    query(&screen, [](QDialog* d) { choose(d, "dlbGoodsName", "A4纸"); });
    // Changed in the boxes, not saved: the delete goes by what is stored.
    choose(&screen, "dlkGoodsName", "签字笔");
    type(&screen, "dbeNum", "50");

    // A delete the database refuses is told and changes nothing.
    t->injectRefusal("delete on goods_buy");
    click(&screen, "btnDel");
    QCOMPARE(t->messages().errors().size(), 1);
    QVERIFY2(t->messages().lastText().contains("injected") || t->messages().lastDetail().contains("injected"),
             qPrintable(t->messages().lastText()));
    QCOMPARE(stockOf(*t, "A4纸"), 10);
    QCOMPARE(stockOf(*t, "签字笔"), 5);
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), 1);

    t->removeRefusal();
    click(&screen, "btnDel");
    QCOMPARE(stockOf(*t, "A4纸"), 6);
    QCOMPARE(stockOf(*t, "签字笔"), 5);
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), 0);
    QCOMPARE(grid(&screen)->model()->rowCount(), 0);
}

void TestPurchases::queries()
{
    Estate e = t->estate();
    e.addPurchase({.goods = 1, .quantity = 1, .date = "2026-12-01", .buyer = "张三", .xhgg = "80g"});
    e.addPurchase({.goods = 2, .quantity = 2, .date = "2026-12-10", .buyer = "李%四"});
    e.addPurchase({.goods = 1, .quantity = 3, .date = "2026-11-30", .buyer = "王五", .xhgg = "70g"});
    PurchasesScreen screen(t->context());
    const auto buyers = [&] { return columnTexts(grid(&screen)->model(), 4); };

    query(&screen, [](QDialog* d) {
        QCOMPARE(d->windowTitle(), QString("办公用品领用明细查询"));
        auto* byDate = control<QCheckBox>(d, "cbxDate");
        auto* first = control<QDateEdit>(d, "DTP_taketime1");
        QCOMPARE(first->date(), QDate(2026, 12, 10));
        QVERIFY(!first->isEnabled());
        byDate->setChecked(true);
        QVERIFY(first->isEnabled() && control<QDateEdit>(d, "DTP_taketime2")->isEnabled());
        first->setDate(QDate(2026, 12, 1));
    });
    QCOMPARE(buyers(), (QStringList{"张三", "李%四"}));

    // "退出", or nothing chosen, leaves the list as it is.
    query(
        &screen, [](QDialog* d) { type(d, "edtBuyer", "王"); }, "return");
    QCOMPARE(buyers(), (QStringList{"张三", "李%四"}));
    query(&screen, [](QDialog*) {});
    QCOMPARE(buyers(), (QStringList{"张三", "李%四"}));

    // A "%" typed is a percent sign; conditions add up.
    query(&screen, [](QDialog* d) { type(d, "edtBuyer", "%"); });
    QCOMPARE(buyers(), QStringList{"李%四"});
    query(&screen, [](QDialog* d) {
        choose(d, "dlbGoodsName", "A4纸");
        type(d, "edtXhgg", "g");
    });
    QCOMPARE(buyers(), (QStringList{"张三", "王五"}));

    // A purchase saved here stays listed until the next query, whatever it holds.
    click(&screen, "btnAdd");
    choose(&screen, "dlkGoodsName", "签字笔");
    type(&screen, "dbeNum", "1");
    type(&screen, "DBEdit1", "赵六");
    click(&screen, "btnModify");
    QCOMPARE(buyers(), (QStringList{"张三", "王五", "赵六"}));
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit1")->text(), QString("赵六"));
    query(&screen, [](QDialog* d) { type(d, "edtBuyer", "张"); });
    QCOMPARE(buyers(), QStringList{"张三"});
}

void TestPurchases::aFailureIsReportedAndUndone_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("stock"); // of A4纸 before the save
    QTest::addColumn<QString>("text");
    QTest::newRow("the purchase refused") << "insert on goods_buy" << 10 << "injected";
    QTest::newRow("the stock move refused") << "update on goods" << 10 << "injected";
    QTest::newRow("a stock beyond its range") << "" << 32760 << "库存数量超出范围。";
}

void TestPurchases::aFailureIsReportedAndUndone()
{
    QFETCH(QString, trigger);
    QFETCH(int, stock);
    QFETCH(QString, text);
    t->exec("update goods set store_num = ? where goods_name = 'A4纸'", {stock});
    if (!trigger.isEmpty())
        t->injectRefusal(trigger);
    PurchasesScreen screen(t->context());
    click(&screen, "btnAdd");
    choose(&screen, "dlkGoodsName", "A4纸");
    type(&screen, "dbeNum", "10");
    click(&screen, "btnModify");
    QCOMPARE(t->messages().errors().size(), 1);
    QVERIFY2(t->messages().lastText().contains(text), qPrintable(t->messages().lastText()));
    QVERIFY(!t->messages().lastDetail().isEmpty() || text == "injected");
    QCOMPARE(stockOf(*t, "A4纸"), stock);
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), 0);
    // Still being added: the list waits, the boxes keep what was typed.
    QVERIFY(!grid(&screen)->isEnabled());
    QCOMPARE(control<QLineEdit>(&screen, "dbeNum")->text(), QString("10"));

    // Put right, it saves.
    if (!trigger.isEmpty())
        t->removeRefusal();
    else
        type(&screen, "dbeNum", "7");
    click(&screen, "btnModify");
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), 1);
    QCOMPARE(stockOf(*t, "A4纸"), stock + (trigger.isEmpty() ? 7 : 10));
}

void TestPurchases::aRightClickPicksTheItem()
{
    PurchasesScreen screen(t->context());
    screen.show();
    click(&screen, "btnAdd");
    auto* goods = control<QComboBox>(&screen, "dlkGoodsName");
    QTest::mouseClick(goods, Qt::RightButton, Qt::ControlModifier);
    QVERIFY(!openChild<QDialog>(&screen, "TGoodsPikerFrm")); // only without a key held
    goods->hidePopup();
    QTest::mouseClick(goods, Qt::RightButton);
    auto* picker = openChild<QDialog>(&screen, "TGoodsPikerFrm");
    QVERIFY(picker);
    auto* types = control<QComboBox>(picker, "dlcType");
    types->setCurrentIndex(types->findText("笔"));
    click(picker, "btnConfirma");
    QCOMPARE(goods->currentText(), QString("签字笔"));
    QCOMPARE(control<QGroupBox>(&screen, "GroupBox1")->title(), QString("办公用品详细信息 (库存:5)"));
    type(&screen, "dbeNum", "3");
    click(&screen, "btnModify");
    QCOMPARE(stockOf(*t, "签字笔"), 8);

    // Left without a pick, the item stays.
    QTest::mouseClick(goods, Qt::RightButton);
    click(openChild<QDialog>(&screen, "TGoodsPikerFrm"), "btnExita");
    QCOMPARE(goods->currentText(), QString("签字笔"));
}

void TestPurchases::exportOfTheList()
{
    Estate e = t->estate();
    e.addPurchase({.goods = 1,
                   .quantity = 3,
                   .date = "2026-12-01",
                   .buyer = "张三",
                   .xhgg = "0080",
                   .unitPrice = 0.1,
                   .remark = "急用"});
    e.addPurchase({.goods = 2, .quantity = 2, .date = "2026-12-02", .buyer = "李四"});
    PurchasesScreen screen(t->context(false));
    click(&screen, "btnExcel");
    QCOMPARE(t->messages().lastText(), QString("没有数据可打印！"));
    query(&screen, [](QDialog* d) { control<QCheckBox>(d, "cbxDate")->setChecked(true); });
    QCOMPARE(grid(&screen)->model()->rowCount(), 0); // today only
    query(&screen, [](QDialog* d) { type(d, "edtBuyer", "四"); });
    query(&screen, [](QDialog* d) { type(d, "edtXhgg", "8"); });
    grid(&screen)->selectRow(0);
    click(&screen, "btnExcel");
    const QString file = t->desktop().opened().last();
    QCOMPARE(WorkbookReader(file).title(), QString("办公用品采购清单"));
    QCOMPARE(WorkbookReader(file).merges(), QStringList{"A1:H1"});
    const QList<QList<SpreadsheetCell>> sheet = spreadsheetProgramCells(file);
    QCOMPARE(sheet.value(0).value(0).shown, QString("物业管理系统报表"));
    QStringList captions;
    for (const SpreadsheetCell& c : sheet.value(2))
        captions << c.shown;
    QCOMPARE(captions,
             (QStringList{"序号", "物品名称", "单价", "数量", "购买人", "型号规格", "购买日期", "备注"}));
    // Every value kept as text: the model and size (型号规格) keeps its zeros.
    QStringList row;
    for (const SpreadsheetCell& c : sheet.value(3)) {
        row << c.shown;
        QVERIFY2(c.isText, qPrintable(c.shown));
    }
    QCOMPARE(row, (QStringList{"1", "A4纸", "0.10", "3", "张三", "0080", "2026-12-01", "急用"}));
    QCOMPARE(sheet.size(), 4);
}

void TestPurchases::browseOnlyChangesNothing()
{
    t->estate().addPurchase({.goods = 1, .quantity = 3, .buyer = "张三"});
    t->estate().addPurchase({.goods = 1, .quantity = 4, .buyer = "李四"});
    PurchasesScreen screen(t->context(false));
    QVERIFY(!control<QGroupBox>(&screen, "GroupBox1")->isEnabled());
    for (const char* name : {"btnAdd", "btnDel", "btnModify"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name : {"btnExcel", "btnQuery", "btnExit"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    query(&screen, [](QDialog* d) { choose(d, "dlbGoodsName", "A4纸"); });
    QCOMPARE(grid(&screen)->model()->rowCount(), 2);
    QVERIFY(control<QLineEdit>(&screen, "dbeNum")->isReadOnly());
    // Even a value forced into a box is not stored by leaving the row.
    type(&screen, "dbeNum", "9");
    grid(&screen)->selectRow(1);
    QCoreApplication::processEvents();
    QCOMPARE(t->scalar("select sum(num) from goods_buy").toInt(), 7);
    QCOMPARE(stockOf(*t, "A4纸"), 10);
}

QTEST_MAIN(TestPurchases)
#include "tst_purchases.moc"
