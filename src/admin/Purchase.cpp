#include "admin/Purchase.h"

#include "admin/Goods.h"
#include "db/DbError.h"
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
            conditions << QStringLiteral("buyer like ? escape '\\'");
            q.values << sql::containsPattern(filter->buyer);
        }
        if (!filter->xhgg.isEmpty()) {
            conditions << QStringLiteral("xhgg like ? escape '\\'");
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

Outcome save(const QSqlDatabase& db, Purchase& purchase)
{
    if (!purchase.goodsId)
        throw DbError(QStringLiteral("请选择采购物品！"));
    const qlonglong goods = *purchase.goodsId;
    using goods_store::IfGone;
    // The outermost transaction takes the write lock before the stock is read; a
    // refusal rolls back every move made before it.
    Transaction transaction(db);
    if (purchase.id == 0) {
        if (!move(db, goods, purchase.quantity, IfGone::Refuse))
            return Outcome::BelowZero;
        map().insert(db, purchase);
    } else {
        // What is stored counts, not what the window remembers of it.
        if (const std::optional<Purchase> stored = map().load(db, purchase.id)) {
            if (stored->goodsId == purchase.goodsId) {
                if (!move(db, goods, purchase.quantity - stored->quantity, IfGone::Refuse))
                    return Outcome::BelowZero;
            } else {
                if (stored->goodsId && !move(db, *stored->goodsId, -stored->quantity, IfGone::Skip))
                    return Outcome::BelowZero;
                if (!move(db, goods, purchase.quantity, IfGone::Refuse))
                    return Outcome::BelowZero;
            }
        }
        map().update(db, purchase); // a purchase another copy deleted is reported as gone
    }
    sql::updateOne(db, kTable, {{QStringLiteral("unit_price"), priceToDb(purchase.unitPrice)}}, kKey,
                   purchase.id);
    transaction.commit();
    return Outcome::Saved;
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
