#include "admin/Department.h"
#include "admin/Goods.h"
#include "admin/Purchase.h"
#include "admin/Requisition.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QSqlQuery>
#include <QTest>

#include <thread>

// The stock of office supplies as purchases raise it and requisitions lower it:
// each record and its stock move are one transaction, what is stored counts, and
// a requisition never takes more than the stock holds, also with two copies at once.
class TestOfficeSupplies : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void purchaseChecks_data();
    void purchaseChecks();
    void requisitionChecks_data();
    void requisitionChecks();
    void purchaseMovesStock_data();
    void purchaseMovesStock();
    void aPurchaseNeverTakesTheStockBelowZero_data();
    void aPurchaseNeverTakesTheStockBelowZero();
    void requisitionChecksStock_data();
    void requisitionChecksStock();
    void aSecondRequisitionFindsTheStockTaken();
    void twoCopiesNeverTakeMoreThanTheStock();
    void aFailureLeavesRecordAndStock_data();
    void aFailureLeavesRecordAndStock();
    void aStockBeyondItsRangeIsRefused_data();
    void aStockBeyondItsRangeIsRefused();
    void purchaseFilters_data();
    void purchaseFilters();
    void requisitionFilters_data();
    void requisitionFilters();
    void theCatalogueKeepsAMovedStock();
    void deletesCheckedAsTheyDelete();
    void aDepartmentInUseStays_data();
    void aDepartmentInUseStays();

private:
    TestDatabase* t = nullptr;
    qlonglong a = 0; // goods of type 1
    qlonglong b = 0; // goods of type 2
};

namespace {

int stockOf(TestDatabase& t, qlonglong goods)
{
    return t.scalar("select store_num from goods where goods_id = ?", {goods}).toInt();
}

QList<qlonglong> ids(TestDatabase& t, const ListQuery& q, const QString& key)
{
    QList<qlonglong> result;
    QSqlQuery rows = sql::exec(t.db(), q.statement({key}), q.values);
    while (rows.next())
        result << rows.value(0).toLongLong();
    return result;
}

Purchase purchaseOf(qlonglong goods, int quantity)
{
    Purchase p;
    p.goodsId = static_cast<int>(goods);
    p.quantity = quantity;
    p.buyDate = QDate(2026, 12, 10);
    return p;
}

Requisition requisitionOf(qlonglong goods, int quantity)
{
    Requisition r;
    r.goodsId = static_cast<int>(goods);
    r.deptId = 1;
    r.quantity = quantity;
    r.takeDate = QDate(2026, 12, 10);
    return r;
}

} // namespace

void TestOfficeSupplies::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addDepartment("行政部");
    const qlonglong paper = e.addGoodsType("纸张");
    const qlonglong pens = e.addGoodsType("笔");
    a = e.addGoods({.name = "A4纸", .type = paper, .stock = 10});
    b = e.addGoods({.name = "签字笔", .type = pens, .stock = 5});
}

void TestOfficeSupplies::cleanup()
{
    delete t;
}

void TestOfficeSupplies::purchaseChecks_data()
{
    QTest::addColumn<bool>("goods");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("field");
    QTest::newRow("no quantity, checked first") << false << " "
                                                << "x"
                                                << "请输入采购数量！"
                                                << "num";
    QTest::newRow("no item") << false << "3"
                             << ""
                             << "请选择采购物品！"
                             << "goods_id";
    QTest::newRow("quantity not whole") << true << "1.5"
                                        << ""
                                        << "采购数量必须是-32768至32767之间的整数！"
                                        << "num";
    QTest::newRow("quantity beyond the stock's range") << true << "32768"
                                                       << ""
                                                       << "采购数量必须是-32768至32767之间的整数！"
                                                       << "num";
    QTest::newRow("price no money") << true << "3"
                                    << "1.005"
                                    << "单价需要填写数字！"
                                    << "unit_price";
    QTest::newRow("a return, full-width, no price") << true << "－３"
                                                    << ""
                                                    << ""
                                                    << "";
    QTest::newRow("price given") << true << "3"
                                 << " 2.50 "
                                 << ""
                                 << "";
}

void TestOfficeSupplies::purchaseChecks()
{
    QFETCH(bool, goods);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, refusal);
    QFETCH(QString, field);
    PurchaseInput input;
    if (goods)
        input.goodsId = static_cast<int>(a);
    input.quantity = quantity;
    input.unitPrice = price;
    input.buyer = " 王五 ";
    const Checked<Purchase> checked = purchase_store::check(input);
    QCOMPARE(checked.refusal().text, refusal);
    QCOMPARE(checked.refusal().field, field);
    QCOMPARE(checked.ok(), refusal.isEmpty());
    if (checked.ok()) {
        QCOMPARE(checked.value().buyer, QString("王五"));
        QCOMPARE(checked.value().unitPrice.has_value(), !price.trimmed().isEmpty());
    }
}

void TestOfficeSupplies::requisitionChecks_data()
{
    QTest::addColumn<bool>("goods");
    QTest::addColumn<bool>("dept");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("field");
    QTest::newRow("no item, checked first") << false << false << "x"
                                            << "请填写物品名称！"
                                            << "goods_id";
    QTest::newRow("no department") << true << false << "x"
                                   << "请先增加部门！"
                                   << "dept_id";
    QTest::newRow("quantity not whole") << true << true << "2.5"
                                        << "领用数量必须是-32768至32767之间的整数！"
                                        << "take_num";
    // None taken passes the check; saving refuses it as any quantity not above zero.
    QTest::newRow("empty quantity") << true << true << ""
                                    << ""
                                    << "";
    QTest::newRow("quantity") << true << true << "３"
                              << ""
                              << "";
}

void TestOfficeSupplies::requisitionChecks()
{
    QFETCH(bool, goods);
    QFETCH(bool, dept);
    QFETCH(QString, quantity);
    QFETCH(QString, refusal);
    QFETCH(QString, field);
    RequisitionInput input;
    if (goods)
        input.goodsId = static_cast<int>(a);
    if (dept)
        input.deptId = 1;
    input.quantity = quantity;
    const Checked<Requisition> checked = requisition_store::check(input);
    QCOMPARE(checked.refusal().text, refusal);
    QCOMPARE(checked.refusal().field, field);
    QCOMPARE(checked.ok(), refusal.isEmpty());
    if (checked.ok()) {
        QCOMPARE(checked.value().quantity, quantity.isEmpty() ? 0 : 3);
        // Saved through the input, a quantity above zero is stored and its number given.
        const Checked<qlonglong> saved = requisition_store::save(t->db(), input);
        QCOMPARE(saved.ok(), !quantity.isEmpty());
        if (saved.ok())
            QCOMPARE(requisition_store::load(t->db(), saved.value())->quantity, 3);
        else
            QCOMPARE(saved.refusal().text, requisition_store::kNotPositive);
    }
}

void TestOfficeSupplies::purchaseMovesStock_data()
{
    QTest::addColumn<bool>("otherGoods");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<int>("stockA");
    QTest::addColumn<int>("stockB");
    // A purchase of 10 of A, saved: A holds 20. Then it is changed and saved again.
    QTest::newRow("more of the same") << false << 12 << 22 << 5;
    QTest::newRow("fewer of the same") << false << 4 << 14 << 5;
    QTest::newRow("none of the same") << false << 0 << 10 << 5;
    QTest::newRow("of another item") << true << 7 << 10 << 12;
}

void TestOfficeSupplies::purchaseMovesStock()
{
    QFETCH(bool, otherGoods);
    QFETCH(int, quantity);
    QFETCH(int, stockA);
    QFETCH(int, stockB);
    Purchase p = purchaseOf(a, 10);
    purchase_store::save(t->db(), p);
    QCOMPARE(stockOf(*t, a), 20);

    Purchase changed = *purchase_store::load(t->db(), p.id);
    changed.goodsId = static_cast<int>(otherGoods ? b : a);
    changed.quantity = quantity;
    purchase_store::save(t->db(), changed);
    QCOMPARE(stockOf(*t, a), stockA);
    QCOMPARE(stockOf(*t, b), stockB);
    // Saved again unchanged: nothing moves.
    purchase_store::save(t->db(), changed);
    QCOMPARE(stockOf(*t, a), stockA);

    // The delete takes off what is stored, from the item stored.
    purchase_store::remove(t->db(), p.id);
    QCOMPARE(stockOf(*t, a), 10);
    QCOMPARE(stockOf(*t, b), 5);
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), 0);
}

void TestOfficeSupplies::aPurchaseNeverTakesTheStockBelowZero_data()
{
    QTest::addColumn<int>("stored"); // the quantity of a stored purchase of A; -1: a new one
    QTest::addColumn<bool>("otherGoods");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("stockA");
    QTest::addColumn<int>("stockB");
    // A holds 2 (most of it handed out since) and B 5 when the purchase is saved.
    QTest::newRow("new, a return of all there is") << -1 << false << -2 << true << 0 << 5;
    QTest::newRow("new, a return of more than there is") << -1 << false << -5 << false << 2 << 5;
    QTest::newRow("10 made 8") << 10 << false << 8 << true << 0 << 5;
    QTest::newRow("10 made 5") << 10 << false << 5 << false << 2 << 5;
    QTest::newRow("10 of A made 1 of B") << 10 << true << 1 << false << 2 << 5;
}

void TestOfficeSupplies::aPurchaseNeverTakesTheStockBelowZero()
{
    QFETCH(int, stored);
    QFETCH(bool, otherGoods);
    QFETCH(int, quantity);
    QFETCH(bool, saved);
    QFETCH(int, stockA);
    QFETCH(int, stockB);
    Purchase p = purchaseOf(a, 0);
    if (stored >= 0) {
        p.quantity = stored;
        QVERIFY(purchase_store::save(t->db(), p).ok());
    }
    t->exec("update goods set store_num = 2 where goods_id = ?", {a});
    p.goodsId = static_cast<int>(otherGoods ? b : a);
    p.quantity = quantity;
    p.remark = "改过";
    const Checked<> outcome = purchase_store::save(t->db(), p);
    QCOMPARE(outcome.ok(), saved);
    QCOMPARE(outcome.refusal().text, saved ? QString() : QString("库存数量不足，保存后库存将小于零！"));
    QCOMPARE(stockOf(*t, a), stockA);
    QCOMPARE(stockOf(*t, b), stockB);
    // A refused purchase is not stored either.
    QCOMPARE(t->scalar("select count(*) from goods_buy where remark = '改过'").toInt(), saved ? 1 : 0);
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), stored >= 0 || saved ? 1 : 0);
    QCOMPARE(Transaction::depth(t->db()), 0);
}

void TestOfficeSupplies::requisitionChecksStock_data()
{
    QTest::addColumn<int>("stored"); // the quantity of a stored requisition of A; -1: a new one
    QTest::addColumn<bool>("otherGoods");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("stockA");
    QTest::addColumn<int>("stockB");
    // A holds 10 and B 5 before the stored requisition took its part of A.
    QTest::newRow("new, more than the stock") << -1 << false << 11 << false << 10 << 5;
    QTest::newRow("new, all of it") << -1 << false << 10 << true << 0 << 5;
    // Stock moves only by what was really taken: a return is entered as a purchase.
    QTest::newRow("new, none") << -1 << false << 0 << false << 10 << 5;
    QTest::newRow("new, given back") << -1 << false << -3 << false << 10 << 5;
    QTest::newRow("4 changed to none") << 4 << false << 0 << false << 6 << 5;
    QTest::newRow("4 changed to a return") << 4 << false << -5 << false << 6 << 5;
    QTest::newRow("4 changed to 6") << 4 << false << 6 << true << 4 << 5;
    QTest::newRow("4 changed to all there is") << 4 << false << 10 << true << 0 << 5;
    QTest::newRow("4 changed beyond the stock") << 4 << false << 11 << false << 6 << 5;
    QTest::newRow("4 changed to 1") << 4 << false << 1 << true << 9 << 5;
    QTest::newRow("4 of A changed to 3 of B") << 4 << true << 3 << true << 10 << 2;
    QTest::newRow("4 of A changed to more B than held") << 4 << true << 6 << false << 6 << 5;
}

void TestOfficeSupplies::requisitionChecksStock()
{
    QFETCH(int, stored);
    QFETCH(bool, otherGoods);
    QFETCH(int, quantity);
    QFETCH(bool, saved);
    QFETCH(int, stockA);
    QFETCH(int, stockB);
    Requisition r = requisitionOf(a, 0);
    if (stored >= 0) {
        r.quantity = stored;
        QVERIFY(requisition_store::save(t->db(), r).ok());
        QCOMPARE(stockOf(*t, a), 10 - stored);
    }
    r.goodsId = static_cast<int>(otherGoods ? b : a);
    r.quantity = quantity;
    r.remark = "改过";
    const Checked<> outcome = requisition_store::save(t->db(), r);
    QCOMPARE(outcome.ok(), saved);
    if (quantity <= 0)
        QCOMPARE(outcome.refusal().text, requisition_store::kNotPositive);
    QCOMPARE(stockOf(*t, a), stockA);
    QCOMPARE(stockOf(*t, b), stockB);
    // A refused requisition is not stored either.
    QCOMPARE(t->scalar("select count(*) from take_goods where remark = '改过'").toInt(), saved ? 1 : 0);
    if (saved)
        QCOMPARE(requisition_store::load(t->db(), r.id)->quantity, quantity);

    // Deleting gives back what is stored, to the item stored.
    if (r.id != 0) {
        requisition_store::remove(t->db(), r.id);
        QCOMPARE(stockOf(*t, a), 10);
        QCOMPARE(stockOf(*t, b), 5);
        QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), 0);
    }
}

void TestOfficeSupplies::aSecondRequisitionFindsTheStockTaken()
{
    Requisition first = requisitionOf(a, 10);
    QVERIFY(requisition_store::save(t->db(), first).ok());
    Requisition second = requisitionOf(a, 10);
    QCOMPARE(requisition_store::save(t->db(), second).refusal().text, requisition_store::kMoreThanStock);
    QCOMPARE(stockOf(*t, a), 0);
    QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), 1);
}

void TestOfficeSupplies::twoCopiesNeverTakeMoreThanTheStock()
{
    // This copy takes all 10 in a transaction still open while the other copy
    // asks for 10 too: the other waits for the write lock, then finds none left.
    const QString path = t->path();
    Checked<> other = Done{};
    QString otherError;
    std::thread otherCopy;
    {
        Transaction held(t->db());
        Requisition mine = requisitionOf(a, 10);
        QVERIFY(requisition_store::save(t->db(), mine).ok());
        otherCopy = std::thread([&] {
            {
                QSqlDatabase db = database::open(path, QStringLiteral("other copy"), &otherError);
                if (!otherError.isEmpty())
                    return;
                try {
                    Requisition theirs = requisitionOf(a, 10);
                    other = requisition_store::save(db, theirs);
                } catch (const DbError& e) {
                    otherError = e.text();
                }
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("other copy"));
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        held.commit();
    }
    otherCopy.join();
    QCOMPARE(otherError, QString());
    QCOMPARE(other.refusal().text, requisition_store::kMoreThanStock);
    QCOMPARE(stockOf(*t, a), 0);
    QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), 1);
}

void TestOfficeSupplies::aFailureLeavesRecordAndStock_data()
{
    QTest::addColumn<QString>("trigger"); // the statement the injected failure refuses
    QTest::addColumn<QString>("operation");
    QTest::newRow("new purchase") << "insert on goods_buy"
                                  << "buy";
    QTest::newRow("changed purchase") << "update on goods_buy"
                                      << "change purchase";
    QTest::newRow("deleted purchase") << "delete on goods_buy"
                                      << "delete purchase";
    QTest::newRow("new requisition") << "insert on take_goods"
                                     << "take";
    QTest::newRow("changed requisition") << "update on take_goods"
                                         << "change requisition";
    QTest::newRow("deleted requisition") << "delete on take_goods"
                                         << "delete requisition";
    QTest::newRow("stock move of a purchase") << "update on goods"
                                              << "buy";
    QTest::newRow("stock move of a requisition") << "update on goods"
                                                 << "take";
}

void TestOfficeSupplies::aFailureLeavesRecordAndStock()
{
    QFETCH(QString, trigger);
    QFETCH(QString, operation);
    Estate e = t->estate();
    const qlonglong bought = e.addPurchase({.goods = a, .quantity = 3, .date = "2026-12-01"});
    const qlonglong taken = e.addRequisition({.goods = a, .dept = 1, .quantity = 2, .date = "2026-12-01"});
    const auto state = [&] {
        return t
            ->scalar("select (select group_concat(goods_id || ':' || num) from goods_buy) || '|' || "
                     "(select group_concat(goods_id || ':' || take_num) from take_goods) || '|' || "
                     "(select group_concat(store_num) from goods)")
            .toString();
    };
    const QString before = state();
    t->injectRefusal(trigger);

    bool refused = false;
    try {
        if (operation == "buy") {
            Purchase p = purchaseOf(a, 5);
            purchase_store::save(t->db(), p);
        } else if (operation == "change purchase") {
            Purchase p = *purchase_store::load(t->db(), bought);
            p.quantity = 8;
            purchase_store::save(t->db(), p);
        } else if (operation == "delete purchase") {
            purchase_store::remove(t->db(), bought);
        } else if (operation == "take") {
            Requisition r = requisitionOf(a, 5);
            requisition_store::save(t->db(), r);
        } else if (operation == "delete requisition") {
            requisition_store::remove(t->db(), taken);
        } else {
            Requisition r = *requisition_store::load(t->db(), taken);
            r.goodsId = static_cast<int>(b);
            requisition_store::save(t->db(), r);
        }
    } catch (const DbError& error) {
        refused = true;
        QVERIFY2(error.text().contains("injected") || error.detail().contains("injected"),
                 qPrintable(error.text()));
    }
    QVERIFY(refused);
    QCOMPARE(state(), before);
    QCOMPARE(Transaction::depth(t->db()), 0);
}

void TestOfficeSupplies::aStockBeyondItsRangeIsRefused_data()
{
    QTest::addColumn<int>("stock");
    QTest::addColumn<QString>("operation");
    QTest::newRow("a purchase above the highest count") << 32760 << "buy 10";
    QTest::newRow("a deleted purchase below the lowest count") << -32765 << "delete a purchase of 10";
    QTest::newRow("a requisition made smaller given back above the highest count")
        << 32767 << "make a requisition of 2 one";
    QTest::newRow("a deleted requisition given back above the highest count")
        << 32766 << "delete a requisition of 2";
}

void TestOfficeSupplies::aStockBeyondItsRangeIsRefused()
{
    QFETCH(int, stock);
    QFETCH(QString, operation);
    Purchase stored = purchaseOf(a, 10);
    purchase_store::save(t->db(), stored);
    t->exec("update goods set store_num = ? where goods_id = ?", {stock, a});
    const qlonglong taken = t->estate().addRequisition({.goods = a, .dept = 1, .quantity = 2});
    const int purchases = t->scalar("select count(*) from goods_buy").toInt();
    try {
        if (operation == "buy 10") {
            Purchase p = purchaseOf(a, 10);
            purchase_store::save(t->db(), p);
        } else if (operation == "delete a purchase of 10") {
            purchase_store::remove(t->db(), stored.id);
        } else if (operation == "make a requisition of 2 one") {
            Requisition r = *requisition_store::load(t->db(), taken);
            r.quantity = 1;
            requisition_store::save(t->db(), r);
        } else {
            requisition_store::remove(t->db(), taken);
        }
        QFAIL("the count beyond the range was stored");
    } catch (const DbError& e) {
        // The database's refusal, with the engine's own text as detail.
        QCOMPARE(e.kind(), DbError::Kind::Constraint);
        QCOMPARE(e.text(), QString("库存数量超出范围。"));
        QVERIFY(!e.detail().isEmpty());
    }
    QCOMPARE(stockOf(*t, a), stock);
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), purchases);
    QCOMPARE(t->scalar("select count(*) from take_goods").toInt(), 1);
    QCOMPARE(t->scalar("select sum(take_num) from take_goods").toDouble(), 2.0);
}

void TestOfficeSupplies::purchaseFilters_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QList<qlonglong>>("listed");
    // 1: A by 张三 "A4-80g" 2026-12-01; 2: B by 李四 "0.5mm" 2026-12-10;
    // 3: A by 张_三 "100%木浆" 2026-11-30; 4: B by 王五 2026-12-11.
    QTest::newRow("nothing queried") << "none" << QList<qlonglong>{};
    QTest::newRow("an item") << "goods B" << QList<qlonglong>{2, 4};
    QTest::newRow("a fragment of the buyer") << "buyer 三" << QList<qlonglong>{1, 3};
    QTest::newRow("an underscore is an underscore") << "buyer _" << QList<qlonglong>{3};
    QTest::newRow("a percent sign is a percent sign") << "xhgg %" << QList<qlonglong>{3};
    QTest::newRow("a period, both days included") << "period" << QList<qlonglong>{1, 2};
    QTest::newRow("every condition at once") << "goods A, buyer 张, period" << QList<qlonglong>{1};
    QTest::newRow("the purchases stored since the query stay")
        << "goods B, kept 1" << QList<qlonglong>{1, 2, 4};
    QTest::newRow("kept while nothing is queried") << "none, kept 3" << QList<qlonglong>{3};
}

void TestOfficeSupplies::purchaseFilters()
{
    QFETCH(QString, condition);
    QFETCH(QList<qlonglong>, listed);
    Estate e = t->estate();
    e.addPurchase({.goods = a, .quantity = 1, .date = "2026-12-01", .buyer = "张三", .xhgg = "A4-80g"});
    e.addPurchase({.goods = b, .quantity = 1, .date = "2026-12-10", .buyer = "李四", .xhgg = "0.5mm"});
    e.addPurchase({.goods = a, .quantity = 1, .date = "2026-11-30", .buyer = "张_三", .xhgg = "100%木浆"});
    e.addPurchase({.goods = b, .quantity = 1, .date = "2026-12-11", .buyer = "王五"});

    std::optional<PurchaseFilter> filter;
    if (!condition.startsWith("none")) {
        filter = PurchaseFilter{};
        if (condition.contains("goods A"))
            filter->goodsId = a;
        if (condition.contains("goods B"))
            filter->goodsId = b;
        if (condition.contains("buyer 三"))
            filter->buyer = "三";
        if (condition.contains("buyer _"))
            filter->buyer = "_";
        if (condition.contains("buyer 张"))
            filter->buyer = "张";
        if (condition.contains("xhgg %"))
            filter->xhgg = "%";
        if (condition.contains("period"))
            filter->period = Period{QDate(2026, 12, 1), QDate(2026, 12, 10)};
    }
    QList<qlonglong> kept;
    if (condition.contains("kept 1"))
        kept << 1;
    if (condition.contains("kept 3"))
        kept << 3;
    QCOMPARE(ids(*t, purchase_store::list(filter, kept), "buy_id"), listed);
}

void TestOfficeSupplies::requisitionFilters_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QList<qlonglong>>("listed");
    // 1: A, 行政部, 张三, 2026-12-01; 2: B, 工程部, 李四, 2026-12-10;
    // 3: A, 工程部, 100%王, 2026-12-12; 4: B, no department, 王五, 2026-12-05.
    QTest::newRow("nothing queried") << "none" << QList<qlonglong>{};
    QTest::newRow("a department") << "dept 2" << QList<qlonglong>{2, 3};
    QTest::newRow("an item") << "goods A" << QList<qlonglong>{1, 3};
    QTest::newRow("a fragment of the name") << "man 王" << QList<qlonglong>{3, 4};
    QTest::newRow("a percent sign is a percent sign") << "man %" << QList<qlonglong>{3};
    QTest::newRow("a period") << "period" << QList<qlonglong>{2, 4};
    QTest::newRow("a goods type") << "type 2" << QList<qlonglong>{2, 4};
    QTest::newRow("department and type") << "dept 2, type 2" << QList<qlonglong>{2};
    QTest::newRow("the requisitions stored since the query stay")
        << "dept 1, kept 4" << QList<qlonglong>{1, 4};
}

void TestOfficeSupplies::requisitionFilters()
{
    QFETCH(QString, condition);
    QFETCH(QList<qlonglong>, listed);
    Estate e = t->estate();
    e.addDepartment("工程部");
    e.addRequisition({.goods = a, .dept = 1, .quantity = 1, .date = "2026-12-01", .takeMan = "张三"});
    e.addRequisition({.goods = b, .dept = 2, .quantity = 1, .date = "2026-12-10", .takeMan = "李四"});
    e.addRequisition({.goods = a, .dept = 2, .quantity = 1, .date = "2026-12-12", .takeMan = "100%王"});
    e.addRequisition({.goods = b, .quantity = 1, .date = "2026-12-05", .takeMan = "王五"});

    std::optional<RequisitionFilter> filter;
    if (!condition.startsWith("none")) {
        filter = RequisitionFilter{};
        if (condition.contains("dept 1"))
            filter->deptId = 1;
        if (condition.contains("dept 2"))
            filter->deptId = 2;
        if (condition.contains("goods A"))
            filter->goodsId = a;
        if (condition.contains("man 王"))
            filter->takeMan = "王";
        if (condition.contains("man %"))
            filter->takeMan = "%";
        if (condition.contains("period"))
            filter->period = Period{QDate(2026, 12, 5), QDate(2026, 12, 10)};
        if (condition.contains("type 2"))
            filter->typeId = 2;
    }
    QList<qlonglong> kept;
    if (condition.contains("kept 4"))
        kept << 4;
    QCOMPARE(ids(*t, requisition_store::list(filter, kept), "id"), listed);
}

void TestOfficeSupplies::theCatalogueKeepsAMovedStock()
{
    // The catalogue shows A with 10; meanwhile a purchase brings 5 more. Saving
    // A's remark keeps 15; a count typed in is stored as typed.
    Goods shown = *goods_store::load(t->db(), a);
    Purchase p = purchaseOf(a, 5);
    purchase_store::save(t->db(), p);
    shown.remark = "常用";
    goods_store::update(t->db(), shown, false);
    QCOMPARE(stockOf(*t, a), 15);
    QCOMPARE(goods_store::load(t->db(), a)->remark, QString("常用"));
    shown.stock = 7;
    goods_store::update(t->db(), shown, true);
    QCOMPARE(stockOf(*t, a), 7);
}

void TestOfficeSupplies::deletesCheckedAsTheyDelete()
{
    // A type with goods stays; an item bought but never requisitioned may go,
    // one requisitioned stays.
    QCOMPARE(goods_type_store::removeUnlessUsed(t->db(), 1).refusal().text,
             QString("此类别已经有详细物品存在，请先删除其子类物品，再删除此条记录！"));
    const qlonglong empty = t->estate().addGoodsType("空类别");
    QVERIFY(goods_type_store::removeUnlessUsed(t->db(), empty).ok());

    t->estate().addPurchase({.goods = b, .quantity = 2});
    t->estate().addRequisition({.goods = a, .dept = 1, .quantity = 1});
    QCOMPARE(goods_store::removeUnlessRequisitioned(t->db(), a).refusal().text,
             QString("此物品已经在领用清单里存在，不能删除！"));
    QVERIFY(goods_store::removeUnlessRequisitioned(t->db(), b).ok());
    QCOMPARE(t->scalar("select group_concat(goods_name) from goods").toString(), QString("A4纸"));

    // A purchase of an item deleted meanwhile can still be deleted: there is no
    // stock left to take it off.
    purchase_store::remove(t->db(), 1);
    QCOMPARE(t->scalar("select count(*) from goods_buy").toInt(), 0);
    // But nothing is bought of it any more.
    Purchase p = purchaseOf(b, 1);
    QVERIFY_THROWS_EXCEPTION(DbError, purchase_store::save(t->db(), p));
}

void TestOfficeSupplies::aDepartmentInUseStays_data()
{
    QTest::addColumn<QString>("use"); // what names 行政部
    QTest::addColumn<QString>("refusal");
    QTest::newRow("nothing") << ""
                             << "";
    QTest::newRow("an employee") << "employee"
                                 << "此部门有存在员工记录，不能删除！";
    QTest::newRow("a requisition") << "requisition"
                                   << "此部门有存在办公用品领用或登记记录，不能删除！";
    QTest::newRow("goods the department holds") << "dept goods"
                                                << "此部门有存在办公用品领用或登记记录，不能删除！";
}

void TestOfficeSupplies::aDepartmentInUseStays()
{
    QFETCH(QString, use);
    QFETCH(QString, refusal);
    Estate e = t->estate();
    const qlonglong other = e.addDepartment("工程部");
    // What the other department has keeps nothing of 行政部.
    e.addEmployee(other, "张三");
    e.addRequisition({.goods = a, .dept = other, .quantity = 1});
    e.addDeptGoods(other, a, 1);
    if (use == "employee")
        e.addEmployee(1, "李四");
    else if (use == "requisition")
        e.addRequisition({.goods = a, .dept = 1, .quantity = 1});
    else if (use == "dept goods")
        e.addDeptGoods(1, b, 2);
    const Checked<> removed = department_store::removeUnlessUsed(t->db(), 1);
    QCOMPARE(removed.ok(), refusal.isEmpty());
    QCOMPARE(removed.refusal().text, refusal);
    const bool removedOne = refusal.isEmpty();
    QCOMPARE(t->scalar("select count(*) from department where dept_id = 1").toInt(), removedOne ? 0 : 1);
    QCOMPARE(t->scalar("select count(*) from department").toInt(), removedOne ? 1 : 2);
    QCOMPARE(Transaction::depth(t->db()), 0);
}

QTEST_GUILESS_MAIN(TestOfficeSupplies)
#include "tst_officesupplies.moc"
