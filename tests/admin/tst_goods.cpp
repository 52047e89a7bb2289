#include "admin/GoodsPickerDialog.h"
#include "admin/GoodsScreen.h"
#include "app/FunctionTable.h"
#include "output/SpreadsheetProgram.h"
#include "output/WorkbookReader.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <memory>

// The office-supplies catalogue: goods types kept in their grid, the goods of
// the type chosen (or all) in boxes bound to their row, their stock; and the
// picker that chooses an item by its type.
class TestGoods : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void typesKeptInTheirGrid();
    void goodsFollowTheTypeChosen();
    void savingAnItem_data();
    void savingAnItem();
    void aStockMovedElsewhereIsKept();
    void deletingGoods();
    void noGoodsPageWithoutTypes();
    void exportOfEveryItem();
    void browseOnlyChangesNothing();
    void picker_data();
    void picker();
    void theEntriesOpenTheirScreens_data();
    void theEntriesOpenTheirScreens();

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

QTableView* typesGrid(QWidget* s)
{
    return control<QTableView>(s, "DBGrid2");
}

QTableView* goodsGrid(QWidget* s)
{
    return control<QTableView>(s, "DBGrid1");
}

QStringList goodsNames(QWidget* s)
{
    return columnTexts(goodsGrid(s)->model(), 3);
}

void showGoods(QWidget* s)
{
    control<QTabWidget>(s, "PageControl1")->setCurrentIndex(1);
}

void showTypes(QWidget* s)
{
    control<QTabWidget>(s, "PageControl1")->setCurrentIndex(0);
}

void goToType(QWidget* s, int row)
{
    typesGrid(s)->setCurrentIndex(typesGrid(s)->model()->index(row, 1));
}

} // namespace

void TestGoods::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    const qlonglong paper = e.addGoodsType("纸张");
    const qlonglong pens = e.addGoodsType("笔");
    e.addGoods({.name = "A4纸", .type = paper, .stock = 10, .sortId = 2, .remark = "80克"});
    e.addGoods({.name = "复印纸", .type = paper, .stock = 3, .sortId = 1});
    e.addGoods({.name = "签字笔", .type = pens, .stock = 5, .sortId = 3});
}

void TestGoods::cleanup()
{
    delete t;
}

void TestGoods::typesKeptInTheirGrid()
{
    GoodsScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QString("办公用品维护"));
    QCOMPARE(control<QTabWidget>(&screen, "PageControl1")->tabText(0), QString("物品类别"));
    QCOMPARE(columnTexts(typesGrid(&screen)->model(), 1), (QStringList{"纸张", "笔"}));
    const QList<std::pair<const char*, QString>> buttons{
        {"BitBtn6", "增加"}, {"BitBtn7", "删除"}, {"BitBtn8", "保存"}, {"BitBtn9", "退出"}};
    for (const auto& [name, caption] : buttons)
        QCOMPARE(control<QPushButton>(&screen, name)->text(), caption);

    // A new type is typed into the grid and saved as typed; the goods list then shows its goods: none.
    click(&screen, "BitBtn6");
    QAbstractItemModel* types = typesGrid(&screen)->model();
    QVERIFY(types->setData(types->index(2, 1), "文具"));
    click(&screen, "BitBtn8");
    QCOMPARE(t->scalar("select group_concat(type_name, ',') from goods_type").toString(),
             QString("纸张,笔,文具"));
    QCOMPARE(goodsNames(&screen), QStringList());

    // A type that still has goods stays, and nobody is asked.
    t->messages().clear();
    goToType(&screen, 0);
    click(&screen, "BitBtn7");
    QCOMPARE(t->messages().texts(),
             QStringList{"此类别已经有详细物品存在，请先删除其子类物品，再删除此条记录！"});
    QCOMPARE(t->scalar("select count(*) from goods where type_id = 1").toInt(), 2);

    // An empty type goes after a yes.
    goToType(&screen, 2);
    t->messages().clear();
    t->messages().answerConfirm(false);
    click(&screen, "BitBtn7");
    QCOMPARE(t->messages().texts(), QStringList{"确实要删除此记录吗？"});
    QCOMPARE(t->messages().shown().first().kind, RecordingMessages::Kind::Confirm);
    QCOMPARE(t->scalar("select count(*) from goods_type").toInt(), 3);
    click(&screen, "BitBtn7");
    QCOMPARE(columnTexts(types, 1), (QStringList{"纸张", "笔"}));

    // "退出" closes the window the page is in.
    screen.show();
    click(&screen, "BitBtn9");
    QVERIFY(!screen.isVisible());
}

void TestGoods::goodsFollowTheTypeChosen()
{
    GoodsScreen screen(t->context());
    showGoods(&screen);
    QCOMPARE(goodsNames(&screen), (QStringList{"复印纸", "A4纸"})); // the first type, by order number
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit2")->text(), QString("复印纸"));
    QCOMPARE(control<QComboBox>(&screen, "DBLookupComboBox1")->currentText(), QString("纸张"));

    showTypes(&screen);
    goToType(&screen, 1);
    showGoods(&screen);
    QCOMPARE(goodsNames(&screen), QStringList{"签字笔"});

    auto* all = control<QCheckBox>(&screen, "cbxAll");
    all->setChecked(true);
    QCOMPARE(goodsNames(&screen), (QStringList{"复印纸", "A4纸", "签字笔"}));
    QCOMPARE(columnTexts(goodsGrid(&screen)->model(), 2), (QStringList{"纸张", "纸张", "笔"}));
    all->setChecked(false);
    QCOMPARE(goodsNames(&screen), QStringList{"签字笔"});

    // A new item is of the type chosen; put under another type, it leaves the list.
    click(&screen, "BtnAdd");
    QCOMPARE(control<QComboBox>(&screen, "DBLookupComboBox1")->currentText(), QString("笔"));
    type(&screen, "DBEdit2", "铅笔");
    type(&screen, "DBEdit4", "20");
    click(&screen, "BtnModify");
    QCOMPARE(t->scalar("select type_id || '|' || store_num from goods where goods_name = '铅笔'").toString(),
             QString("2|20"));
    // Without an order number it comes first.
    QCOMPARE(goodsNames(&screen), (QStringList{"铅笔", "签字笔"}));
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit2")->text(), QString("铅笔"));
    choose(&screen, "DBLookupComboBox1", "纸张");
    click(&screen, "BtnModify");
    QCOMPARE(goodsNames(&screen), QStringList{"签字笔"});
    QCOMPARE(t->scalar("select type_id from goods where goods_name = '铅笔'").toInt(), 1);

    // A type added in the same window is offered once the goods are shown again.
    showTypes(&screen);
    click(&screen, "BitBtn6");
    QAbstractItemModel* types = typesGrid(&screen)->model();
    QVERIFY(types->setData(types->index(2, 1), "文具"));
    click(&screen, "BitBtn8");
    showGoods(&screen);
    QVERIFY(control<QComboBox>(&screen, "DBLookupComboBox1")->findText("文具") >= 0);
}

void TestGoods::savingAnItem_data()
{
    QTest::addColumn<QString>("sortId");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored"); // sort_id|store_num of the new item
    QTest::addColumn<QString>("box");    // where a refusal puts the cursor
    QTest::newRow("stored") << "7"
                            << " 胶水 "
                            << "12"
                            << ""
                            << "7|12"
                            << "";
    QTest::newRow("full-width digits") << "１２"
                                       << "胶水"
                                       << "－３"
                                       << ""
                                       << "12|-3"
                                       << "";
    QTest::newRow("no order number or stock") << ""
                                              << "胶水"
                                              << ""
                                              << ""
                                              << "|"
                                              << "";
    QTest::newRow("no name") << "7"
                             << "  "
                             << "12"
                             << "请填写用品名称！"
                             << ""
                             << "DBEdit2";
    QTest::newRow("stock beyond its range") << "7"
                                            << "胶水"
                                            << "32768"
                                            << "库存数量必须是-32768至32767之间的整数！"
                                            << ""
                                            << "DBEdit4";
    QTest::newRow("stock not a number") << "7"
                                        << "胶水"
                                        << "十"
                                        << "库存数量必须是-32768至32767之间的整数！"
                                        << ""
                                        << "DBEdit4";
    QTest::newRow("stock with decimals") << "7"
                                         << "胶水"
                                         << "1.5"
                                         << "库存数量必须是-32768至32767之间的整数！"
                                         << ""
                                         << "DBEdit4";
    QTest::newRow("order number with decimals") << "1.5"
                                                << "胶水"
                                                << "12"
                                                << "序号必须是整数！"
                                                << ""
                                                << "DBEdit1";
}

void TestGoods::savingAnItem()
{
    QFETCH(QString, sortId);
    QFETCH(QString, name);
    QFETCH(QString, stock);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    QFETCH(QString, box);
    GoodsScreen screen(t->context());
    screen.show();
    showGoods(&screen);
    click(&screen, "BtnAdd");
    type(&screen, "DBEdit1", sortId);
    type(&screen, "DBEdit2", name);
    type(&screen, "DBEdit4", stock);
    click(&screen, "BtnModify");
    QCOMPARE(t->messages().lastText(), message);
    if (!box.isEmpty())
        QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, box.toLatin1().constData()));
    QCOMPARE(
        t->scalar(
             "select coalesce(cast(sort_id as text), '') || '|' || coalesce(cast(store_num as text), '') "
             "from goods where goods_id = 4")
            .toString(),
        stored);
    if (!stored.isEmpty())
        QCOMPARE(t->scalar("select goods_name from goods where goods_id = 4").toString(), QString("胶水"));
}

void TestGoods::aStockMovedElsewhereIsKept()
{
    GoodsScreen screen(t->context());
    showGoods(&screen);
    goodsGrid(&screen)->selectRow(1);
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit4")->text(), QString("10"));
    // Meanwhile a purchase elsewhere brings the stock to 15.
    t->exec("update goods set store_num = 15 where goods_name = 'A4纸'");
    control<QPlainTextEdit>(&screen, "DBMemo1")->setPlainText("70克");
    click(&screen, "BtnModify");
    QCOMPARE(t->scalar("select store_num || '|' || remark from goods where goods_name = 'A4纸'").toString(),
             QString("15|70克"));
    QCOMPARE(columnTexts(goodsGrid(&screen)->model(), 4), (QStringList{"3", "15"}));

    // "刷新" shows the stock as it is now; a count typed in is stored as typed.
    t->exec("update goods set store_num = 30 where goods_name = 'A4纸'");
    click(&screen, "BitBtn2");
    QCOMPARE(columnTexts(goodsGrid(&screen)->model(), 4), (QStringList{"3", "30"}));
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit4")->text(), QString("30"));
    type(&screen, "DBEdit4", "8");
    goodsGrid(&screen)->selectRow(0); // leaving the row stores it
    QCoreApplication::processEvents();
    QCOMPARE(t->scalar("select store_num from goods where goods_name = 'A4纸'").toInt(), 8);
}

void TestGoods::deletingGoods()
{
    Estate e = t->estate();
    e.addDepartment("行政部");
    e.addRequisition({.goods = 2, .dept = 1, .quantity = 1}); // 复印纸 was taken
    e.addPurchase({.goods = 1, .quantity = 4});               // A4纸 was only bought
    GoodsScreen screen(t->context());
    showGoods(&screen);

    click(&screen, "BtnDel"); // 复印纸
    QCOMPARE(t->messages().texts(), QStringList{"此物品已经在领用清单里存在，不能删除！"});

    t->messages().clear();
    goodsGrid(&screen)->selectRow(1); // A4纸
    t->messages().answerConfirm(false);
    click(&screen, "BtnDel");
    QCOMPARE(t->scalar("select count(*) from goods").toInt(), 3);
    click(&screen, "BtnDel");
    QCOMPARE(t->messages().texts(), (QStringList{"确实要删除此记录吗？", "确实要删除此记录吗？"}));
    QCOMPARE(goodsNames(&screen), QStringList{"复印纸"});
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), 1); // the purchase stays

    // A new item not yet saved is only dropped.
    click(&screen, "BtnAdd");
    type(&screen, "DBEdit2", "胶水");
    click(&screen, "BtnDel");
    QCOMPARE(goodsNames(&screen), QStringList{"复印纸"});
    QCOMPARE(t->scalar("select count(*) from goods").toInt(), 2);

    // A type without goods: nothing to delete.
    showTypes(&screen);
    goToType(&screen, 1);
    showGoods(&screen);
    t->exec("delete from goods where type_id = 2");
    click(&screen, "BitBtn2");
    t->messages().clear();
    click(&screen, "BtnDel");
    QCOMPARE(t->messages().texts(), QStringList{"数据已空，无法删除！"});
}

void TestGoods::noGoodsPageWithoutTypes()
{
    t->exec("delete from goods");
    t->exec("delete from goods_type");
    GoodsScreen screen(t->context());
    showGoods(&screen);
    QCOMPARE(control<QTabWidget>(&screen, "PageControl1")->currentIndex(), 0);
    QCOMPARE(t->messages().texts(), QStringList{"请先增加物品类别！"});
}

void TestGoods::exportOfEveryItem()
{
    GoodsScreen screen(t->context(false));
    showGoods(&screen);
    control<QCheckBox>(&screen, "cbxAll")->setChecked(true);
    goodsGrid(&screen)->selectRow(2);
    click(&screen, "BtnExcel");
    const QString file = t->desktop().opened().last();
    QCOMPARE(WorkbookReader(file).title(), QString("办公用品登记报表"));
    QCOMPARE(WorkbookReader(file).merges(), QStringList{"A1:E1"});
    const QList<QStringList> sheet = spreadsheetProgramRows(file);
    QCOMPARE(sheet.value(0), QStringList{"物业管理系统"});
    QCOMPARE(sheet.value(2), (QStringList{"序号", "用品名称", "库存数量", "物品类别", "备注"}));
    // In the order of their order numbers; "序号" is the item's number.
    QCOMPARE(sheet.mid(3), (QList<QStringList>{{"2", "复印纸", "3", "纸张"},
                                               {"1", "A4纸", "10", "纸张", "80克"},
                                               {"3", "签字笔", "5", "笔"}}));
    // The list stands on its first item again.
    QCOMPARE(goodsGrid(&screen)->currentIndex().row(), 0);

    t->exec("delete from goods");
    click(&screen, "BitBtn2");
    click(&screen, "BtnExcel");
    QCOMPARE(t->messages().lastText(), QString("没有数据可打印！"));
}

void TestGoods::browseOnlyChangesNothing()
{
    GoodsScreen screen(t->context(false));
    for (const char* name : {"BitBtn6", "BitBtn7", "BitBtn8", "BtnAdd", "BtnDel", "BtnModify"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name : {"BitBtn9", "BitBtn2", "BtnExcel", "BtnExit"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    QAbstractItemModel* types = typesGrid(&screen)->model();
    QVERIFY(!(types->flags(types->index(0, 1)) & Qt::ItemIsEditable));
    showGoods(&screen);
    for (const char* name : {"DBEdit1", "DBEdit2", "DBEdit4"})
        QVERIFY2(control<QLineEdit>(&screen, name)->isReadOnly(), name);
    QVERIFY(control<QPlainTextEdit>(&screen, "DBMemo1")->isReadOnly());
    QVERIFY(!control<QComboBox>(&screen, "DBLookupComboBox1")->isEnabled());

    // Even values forced into the boxes are stored by nothing: not by leaving the
    // row, "所有物品", "刷新", the export or going back to the types.
    type(&screen, "DBEdit2", "改名");
    type(&screen, "DBEdit4", "99");
    goodsGrid(&screen)->selectRow(1);
    QCoreApplication::processEvents();
    type(&screen, "DBEdit2", "改名");
    control<QCheckBox>(&screen, "cbxAll")->setChecked(true);
    type(&screen, "DBEdit2", "改名");
    click(&screen, "BitBtn2");
    type(&screen, "DBEdit2", "改名");
    click(&screen, "BtnExcel");
    type(&screen, "DBEdit2", "改名");
    showTypes(&screen);
    QCOMPARE(t->scalar("select group_concat(goods_name || ':' || store_num, ',') from goods").toString(),
             QString("A4纸:10,复印纸:3,签字笔:5"));
}

void TestGoods::picker_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("leave"); // 确定, 退出 or Esc
    QTest::addColumn<QString>("result");
    QTest::newRow("the highlighted item") << "纸张" << 1 << "确定"
                                          << "1";
    QTest::newRow("an item of another type") << "笔" << 0 << "确定"
                                             << "3";
    QTest::newRow("退出") << "纸张" << 1 << "退出"
                          << "";
    QTest::newRow("Esc") << "纸张" << 1 << "Esc"
                         << "";
    QTest::newRow("a type without goods") << "文具" << -1 << "确定"
                                          << "";
}

void TestGoods::picker()
{
    QFETCH(QString, type);
    QFETCH(int, row);
    QFETCH(QString, leave);
    QFETCH(QString, result);
    t->estate().addGoodsType("文具");
    GoodsPickerDialog picker(t->context());
    picker.open();
    QCOMPARE(picker.windowTitle(), QString("办公用品选择"));
    auto* types = control<QComboBox>(&picker, "dlcType");
    QCOMPARE(types->currentText(), QString("纸张")); // the first type at once
    types->setCurrentIndex(types->findText(type));
    auto* grid = control<QTableView>(&picker, "DBGrid1");
    if (type == "纸张")
        QCOMPARE(columnTexts(grid->model(), 2), (QStringList{"复印纸", "A4纸"}));
    if (row >= 0)
        grid->selectRow(row);
    if (leave == "确定")
        click(&picker, "btnConfirma");
    else if (leave == "退出")
        click(&picker, "btnExita");
    else
        QTest::keyClick(&picker, Qt::Key_Escape);
    QVERIFY(!picker.isVisible());
    QCOMPARE(picker.result(), result);
}

void TestGoods::theEntriesOpenTheirScreens_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("position"); // of the rights character governing it
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("addButton");
    QTest::newRow("办公用品") << "labGoods" << 1 << "TmanageGoodsFrm"
                              << "办公用品维护"
                              << "BtnAdd";
    QTest::newRow("采购清单") << "labBuy" << 5 << "TbuyFrm"
                              << "办公用品采购管理"
                              << "btnAdd";
    QTest::newRow("领用清单") << "labTakeGoods" << 6 << "TtakeGoodsFrm"
                              << "办公用品领用清单"
                              << "BitBtn4";
    QTest::newRow("部门物品") << "labDeptGoods" << 7 << "TdeptGoodsFrm"
                              << "办公用品登记"
                              << "BitBtn4";
}

void TestGoods::theEntriesOpenTheirScreens()
{
    QFETCH(QString, entry);
    QFETCH(int, position);
    QFETCH(QString, screen);
    QFETCH(QString, title);
    QFETCH(QString, addButton);
    t->estate().addDepartment("行政部");
    const FunctionRow* function = findFunction(entry);
    QVERIFY(function && function->open);
    QCOMPARE(function->text(), QString::fromUtf8(QTest::currentDataTag()));
    QCOMPARE(function->position, position);
    QVERIFY(!function->modal);
    // The operator's right reaches the screen.
    for (const bool canWrite : {true, false}) {
        const std::unique_ptr<QWidget> opened(function->open(t->context(canWrite), nullptr));
        QCOMPARE(opened->objectName(), screen);
        QCOMPARE(opened->windowTitle(), title);
        QCOMPARE(control<QPushButton>(opened.get(), qPrintable(addButton))->isEnabled(), canWrite);
    }
}

QTEST_MAIN(TestGoods)
#include "tst_goods.moc"
