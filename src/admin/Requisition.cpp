#include "admin/Requisition.h"

#include "admin/Goods.h"
#include "db/DbError.h"
#include "db/RecordMap.h"

#include <QStringList>

namespace requisition_store {
namespace {

const RecordMap<Requisition>& map()
{
    static const RecordMap<Requisition> m =
        RecordMap<Requisition>(QStringLiteral("take_goods"), "id", &Requisition::id)
            .field("goods_id", &Requisition::goodsId)
            .field("dept_id", &Requisition::deptId)
            .field("take_man", &Requisition::takeMan)
            .field("take_num", &Requisition::quantity)
            .field("take_date", &Requisition::takeDate)
            .field("xhgg", &Requisition::xhgg)
            .field("pzr", &Requisition::pzr)
            .field("remark", &Requisition::remark);
    return m;
}

// Takes `quantity` of the item after checking, under the transaction's write
// lock, that its stock holds that much; giving back (a negative quantity) is
// always possible.
bool take(const QSqlDatabase& db, qlonglong goodsId, qlonglong quantity)
{
    const std::optional<qlonglong> stock = goods_store::stockForMove(db, goodsId);
    if (stock && quantity > 0 && quantity > *stock)
        return false;
    goods_store::moveStock(db, goodsId, -quantity, goods_store::IfGone::Refuse);
    return true;
}

} // namespace

ListQuery list(const std::optional<RequisitionFilter>& filter, const QList<qlonglong>& kept)
{
    ListQuery q{QStringLiteral("(select t.*, g.goods_name, d.dept_name from take_goods t "
                               "left join goods g on g.goods_id = t.goods_id "
                               "left join department d on d.dept_id = t.dept_id) r"),
                {},
                {},
                {QStringLiteral("id")}};
    QStringList conditions;
    if (filter) {
        if (filter->deptId) {
            conditions << QStringLiteral("dept_id = ?");
            q.values << *filter->deptId;
        }
        if (filter->goodsId) {
            conditions << QStringLiteral("goods_id = ?");
            q.values << *filter->goodsId;
        }
        if (!filter->takeMan.isEmpty()) {
            conditions << QStringLiteral("take_man like ? escape '\\'");
            q.values << sql::containsPattern(filter->takeMan);
        }
        if (filter->period) {
            conditions << QStringLiteral("take_date >= ? and take_date <= ?");
            q.values << sql::periodValues(*filter->period);
        }
        if (filter->typeId) {
            conditions << QStringLiteral("goods_id in (select goods_id from goods where type_id = ?)");
            q.values << *filter->typeId;
        }
    }
    q.where = !filter                ? QStringLiteral("1 = 0")
              : conditions.isEmpty() ? QStringLiteral("1 = 1")
                                     : conditions.join(u" and ");
    if (!kept.isEmpty()) {
        q.where = u'(' + q.where + u") or id in (" +
                  QStringList(kept.size(), QStringLiteral("?")).join(u", ") + u')';
        for (qlonglong id : kept)
            q.values << id;
    }
    return q;
}

std::optional<Requisition> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

Outcome save(const QSqlDatabase& db, Requisition& requisition)
{
    if (!requisition.goodsId)
        throw DbError(QStringLiteral("请填写物品名称！"));
    // Stock moves by what was really taken; what comes back is entered as a purchase.
    if (requisition.quantity <= 0)
        return Outcome::NotPositive;
    const qlonglong goods = *requisition.goodsId;
    // The outermost transaction takes the write lock before the stock is read:
    // two copies taking the same item at once are checked one after the other.
    Transaction transaction(db);
    if (requisition.id == 0) {
        if (!take(db, goods, requisition.quantity))
            return Outcome::MoreThanStock;
        map().insert(db, requisition);
    } else {
        // What is stored counts, not what the window remembers of it.
        if (const std::optional<Requisition> stored = map().load(db, requisition.id)) {
            if (stored->goodsId == requisition.goodsId) {
                if (!take(db, goods, requisition.quantity - stored->quantity))
                    return Outcome::MoreThanStock;
            } else {
                if (!take(db, goods, requisition.quantity))
                    return Outcome::MoreThanStock;
                if (stored->goodsId)
                    goods_store::moveStock(db, *stored->goodsId, stored->quantity, goods_store::IfGone::Skip);
            }
        }
        map().update(db, requisition); // a requisition another copy deleted is reported as gone
    }
    transaction.commit();
    return Outcome::Saved;
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    // What is stored goes back, to the item stored (nothing to give back to an
    // item deleted meanwhile).
    Transaction transaction(db);
    const std::optional<Requisition> stored = map().load(db, id);
    if (stored && stored->goodsId)
        goods_store::moveStock(db, *stored->goodsId, stored->quantity, goods_store::IfGone::Skip);
    map().remove(db, id); // a requisition another copy deleted is reported as gone
    transaction.commit();
}

} // namespace requisition_store
