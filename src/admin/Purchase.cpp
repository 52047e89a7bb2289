#include "admin/Purchase.h"

#include "admin/Goods.h"
#include "db/DbError.h"
#include "db/NumberInput.h"
#include "db/RecordMap.h"

#include <QStringList>

#include <cmath>

namespace purchase_store {
namespace {

const QString kTable = QStringLiteral("goods_buy");
const QString kKey = QStringLiteral("buy_id");

// Every column but the unit price, which is the one floating-point column here:
// the map knows amounts as hundredths, so the price is written and read beside it.
const RecordMap<Purchase>& map()
{
    static const RecordMap<Purchase> m = RecordMap<Purchase>(kTable, "buy_id", &Purchase::id)
                                             .field("goods_id", &Purchase::goodsId)
                                             .field("buy_date", &Purchase::buyDate)
                                             .field("num", &Purchase::quantity)
                                             .field("buyer", &Purchase::buyer)
                                             .field("xhgg", &Purchase::xhgg)
                                             .field("pzr", &Purchase::pzr)
                                             .memo("remark", &Purchase::remark);
    return m;
}

// The nearest double to the amount: the hundredths are exact in a double, and
// one division rounds once.
QVariant priceToDb(const std::optional<Money>& price)
{
    if (!price)
        return {};
    return static_cast<double>(price->hundredths()) / 100.0;
}

std::optional<Money> priceFromDb(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return Money::fromHundredths(std::llround(value.toDouble() * 100.0));
}

const Refusal kBelowZero{QStringLiteral("库存数量不足，保存后库存将小于零！"), QStringLiteral("num")};

// Moves the stock of the item by `delta` unless that would leave it below zero;
// false when refused. The check reads the stock inside the caller's transaction.
bool move(const QSqlDatabase& db, qlonglong goodsId, qlonglong delta, goods_store::IfGone ifGone)
{
    if (delta < 0) {
        const std::optional<qlonglong> stock = goods_store::stockForMove(db, goodsId);
        if (stock && *stock + delta < 0)
            return false;
    }
    goods_store::moveStock(db, goodsId, delta, ifGone);
    return true;
}

} // namespace

ListQuery list(const std::optional<PurchaseFilter>& filter, const QList<qlonglong>& kept)
{
    ListQuery q{QStringLiteral("(select b.*, g.goods_name as goodsname, "
                               "cast(round(b.unit_price * 100) as integer) as price "
                               "from goods_buy b left join goods g on g.goods_id = b.goods_id) p"),
                {},
                {},
                {kKey}};
    QStringList conditions;
    if (filter) {
        if (filter->goodsId) {
            conditions << QStringLiteral("goods_id = ?");
            q.values << *filter->goodsId;
        }
        if (!filter->buyer.isEmpty()) {
            conditions << sql::containsCondition(QStringLiteral("buyer"));
            q.values << sql::containsPattern(filter->buyer);
        }
        if (!filter->xhgg.isEmpty()) {
            conditions << sql::containsCondition(QStringLiteral("xhgg"));
            q.values << sql::containsPattern(filter->xhgg);
        }
        if (filter->period) {
            conditions << QStringLiteral("buy_date >= ? and buy_date <= ?");
            q.values << sql::periodValues(*filter->period);
        }
    }
    q.where = !filter                ? QStringLiteral("1 = 0")
              : conditions.isEmpty() ? QStringLiteral("1 = 1")
                                     : conditions.join(u" and ");
    if (!kept.isEmpty()) {
        q.where = u'(' + q.where + u") or buy_id in (" +
                  QStringList(kept.size(), QStringLiteral("?")).join(u", ") + u')';
        for (qlonglong id : kept)
            q.values << id;
    }
    return q;
}

std::optional<Purchase> load(const QSqlDatabase& db, qlonglong id)
{
    std::optional<Purchase> purchase = map().load(db, id);
    if (purchase)
        purchase->unitPrice = priceFromDb(
            sql::scalar(db, QStringLiteral("select unit_price from goods_buy where buy_id = ?"), {id}));
    return purchase;
}

PurchaseInput typed(const Purchase& purchase)
{
    return {purchase.id,
            purchase.goodsId,
            purchase.unitPrice ? purchase.unitPrice->toString(2) : QString(),
            purchase.id != 0 ? QString::number(purchase.quantity) : QString(),
            purchase.buyDate,
            purchase.buyer,
            purchase.xhgg,
            purchase.pzr,
            purchase.remark};
}

Checked<Purchase> check(const PurchaseInput& input)
{
    const QString quantityField = QStringLiteral("num");
    if (input.quantity.trimmed().isEmpty())
        return Refusal{QStringLiteral("请输入采购数量！"), quantityField};
    if (!input.goodsId)
        return Refusal{QStringLiteral("请选择采购物品！"), QStringLiteral("goods_id")};
    // Whole numbers within the stock's range, as the stock they add to.
    const number_input::Whole quantity = number_input::whole(input.quantity, "goods", "store_num");
    if (quantity.result != number_input::Result::Number)
        return Refusal{QStringLiteral("采购数量必须是-32768至32767之间的整数！"), quantityField};
    // The one money parse, in the range of a decimal(10,2) amount column (the
    // price column itself is floating point).
    const number_input::Decimal price = number_input::decimal(input.unitPrice, "charge_take", "should_pay");
    if (price.result == number_input::Result::NotANumber)
        return Refusal{QStringLiteral("单价需要填写数字！"), QStringLiteral("unit_price")};
    Purchase purchase;
    purchase.id = input.id;
    purchase.goodsId = input.goodsId;
    purchase.quantity = static_cast<int>(quantity.value);
    if (price.result == number_input::Result::Number)
        purchase.unitPrice = price.value;
    purchase.buyDate = input.buyDate;
    purchase.buyer = input.buyer.trimmed();
    purchase.xhgg = input.xhgg.trimmed();
    purchase.pzr = input.pzr.trimmed();
    purchase.remark = input.remark;
    return purchase;
}

Checked<qlonglong> save(const QSqlDatabase& db, const PurchaseInput& input)
{
    return storeChecked(check(input), [&](Purchase& purchase) { return save(db, purchase); });
}

Checked<> save(const QSqlDatabase& db, Purchase& purchase)
{
    if (!purchase.goodsId)
        return Refusal{QStringLiteral("请选择采购物品！"), QStringLiteral("goods_id")};
    const qlonglong goods = *purchase.goodsId;
    using goods_store::IfGone;
    // The outermost transaction takes the write lock before the stock is read; a
    // refusal rolls back every move made before it.
    Transaction transaction(db);
    if (purchase.id == 0) {
        if (!move(db, goods, purchase.quantity, IfGone::Refuse))
            return kBelowZero;
        map().insert(db, purchase);
    } else {
        // What is stored counts, not what the window remembers of it.
        if (const std::optional<Purchase> stored = map().load(db, purchase.id)) {
            if (stored->goodsId == purchase.goodsId) {
                if (!move(db, goods, purchase.quantity - stored->quantity, IfGone::Refuse))
                    return kBelowZero;
            } else {
                if (stored->goodsId && !move(db, *stored->goodsId, -stored->quantity, IfGone::Skip))
                    return kBelowZero;
                if (!move(db, goods, purchase.quantity, IfGone::Refuse))
                    return kBelowZero;
            }
        }
        map().update(db, purchase); // a purchase another copy deleted is reported as gone
    }
    sql::updateOne(db, kTable, {{QStringLiteral("unit_price"), priceToDb(purchase.unitPrice)}}, kKey,
                   purchase.id);
    transaction.commit();
    return Done{};
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    Transaction transaction(db);
    const std::optional<Purchase> stored = map().load(db, id);
    if (stored && stored->goodsId)
        goods_store::moveStock(db, *stored->goodsId, -stored->quantity, goods_store::IfGone::Skip);
    map().remove(db, id); // a purchase another copy deleted is reported as gone
    transaction.commit();
}

} // namespace purchase_store

ExportDescription purchase_store::exported()
{
    ExportDescription d;
    d.windowCaption = QStringLiteral("办公用品采购清单");
    d.title = QStringLiteral("物业管理系统报表");
    d.titleWidth = 8;
    d.columnWidths = {{1, 6}, {2, 10}, {3, 8}, {4, 8}, {5, 8}, {6, 10}, {7, 10}, {8, 15}};
    d.family = ExportDescription::Family::OfficeGoods;
    d.failureText = QStringLiteral("Excel 启动出错，请检查！");
    using C = ExportColumn;
    d.columns = {
        C::text(QStringLiteral("序号"), QStringLiteral("buy_id")),
        C::text(QStringLiteral("物品名称"), QStringLiteral("goodsname")),
        C::text(QStringLiteral("单价"), QStringLiteral("price"), FieldFormat::Decimal),
        C::text(QStringLiteral("数量"), QStringLiteral("num")),
        C::text(QStringLiteral("购买人"), QStringLiteral("buyer")),
        C::text(QStringLiteral("型号规格"), QStringLiteral("xhgg")),
        C::text(QStringLiteral("购买日期"), QStringLiteral("buy_date"), FieldFormat::Date),
        C::text(QStringLiteral("备注"), QStringLiteral("remark")),
    };
    return d;
}
