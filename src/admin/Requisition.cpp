#include "admin/Requisition.h"

#include "admin/Goods.h"
#include "db/DbError.h"
#include "db/NumberInput.h"
#include "db/RecordMap.h"

#include <QStringList>

namespace requisition_store {

const QString kMoreThanStock = QStringLiteral("领用数量大于库存数量");
const QString kNotPositive = QStringLiteral("领用数量必须大于零！");

namespace {

const QString kQuantityField = QStringLiteral("take_num");

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
            conditions << sql::containsCondition(QStringLiteral("take_man"));
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

RequisitionInput typed(const Requisition& requisition)
{
    return {requisition.id,
            requisition.goodsId,
            requisition.deptId,
            requisition.takeMan,
            requisition.id != 0 ? QString::number(requisition.quantity) : QString(),
            requisition.takeDate,
            requisition.xhgg,
            requisition.pzr,
            requisition.remark};
}

Checked<Requisition> check(const RequisitionInput& input)
{
    if (!input.goodsId)
        return Refusal{QStringLiteral("请填写物品名称！"), QStringLiteral("goods_id")};
    if (!input.deptId)
        return Refusal{QStringLiteral("请先增加部门！"), QStringLiteral("dept_id")};
    // Whole numbers within the stock's range, as the stock they come out of; an
    // empty box is none taken, which save() refuses as any quantity not above zero.
    const number_input::Whole quantity = number_input::whole(input.quantity, "goods", "store_num");
    if (quantity.result == number_input::Result::NotANumber)
        return Refusal{QStringLiteral("领用数量必须是-32768至32767之间的整数！"), kQuantityField};
    Requisition requisition;
    requisition.id = input.id;
    requisition.goodsId = input.goodsId;
    requisition.deptId = input.deptId;
    requisition.quantity = static_cast<int>(quantity.value);
    requisition.takeDate = input.takeDate;
    requisition.xhgg = input.xhgg.trimmed();
    requisition.takeMan = input.takeMan.trimmed();
    requisition.pzr = input.pzr.trimmed();
    requisition.remark = input.remark.trimmed();
    return requisition;
}

Checked<qlonglong> save(const QSqlDatabase& db, const RequisitionInput& input)
{
    return storeChecked(check(input), [&](Requisition& requisition) { return save(db, requisition); });
}

Checked<> save(const QSqlDatabase& db, Requisition& requisition)
{
    if (!requisition.goodsId)
        return Refusal{QStringLiteral("请填写物品名称！"), QStringLiteral("goods_id")};
    // Stock moves by what was really taken; what comes back is entered as a purchase.
    if (requisition.quantity <= 0)
        return Refusal{kNotPositive, kQuantityField};
    const qlonglong goods = *requisition.goodsId;
    // The outermost transaction takes the write lock before the stock is read:
    // two copies taking the same item at once are checked one after the other.
    Transaction transaction(db);
    if (requisition.id == 0) {
        if (!take(db, goods, requisition.quantity))
            return Refusal{kMoreThanStock, kQuantityField};
        map().insert(db, requisition);
    } else {
        // What is stored counts, not what the window remembers of it.
        if (const std::optional<Requisition> stored = map().load(db, requisition.id)) {
            if (stored->goodsId == requisition.goodsId) {
                if (!take(db, goods, requisition.quantity - stored->quantity))
                    return Refusal{kMoreThanStock, kQuantityField};
            } else {
                if (!take(db, goods, requisition.quantity))
                    return Refusal{kMoreThanStock, kQuantityField};
                if (stored->goodsId)
                    goods_store::moveStock(db, *stored->goodsId, stored->quantity, goods_store::IfGone::Skip);
            }
        }
        map().update(db, requisition); // a requisition another copy deleted is reported as gone
    }
    transaction.commit();
    return Done{};
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

ExportDescription requisition_store::exported()
{
    ExportDescription d;
    d.windowCaption = QStringLiteral("办公用品领用清单");
    d.title = QStringLiteral("物业管理系统报表");
    d.titleWidth = 8;
    d.columnWidths = {{1, 10}};
    d.family = ExportDescription::Family::OfficeGoods;
    d.failureText = QStringLiteral("Excel 启动出错，请检查！");
    using C = ExportColumn;
    d.columns = {
        C::text(QStringLiteral("物品名称"), QStringLiteral("goods_name")),
        C::text(QStringLiteral("领用人"), QStringLiteral("take_man")),
        C::text(QStringLiteral("数量"), QStringLiteral("take_num")),
        C::text(QStringLiteral("领用日期"), QStringLiteral("take_date"), FieldFormat::Date),
        C::text(QStringLiteral("型号规格"), QStringLiteral("xhgg")),
        C::text(QStringLiteral("批准人"), QStringLiteral("pzr")),
        C::text(QStringLiteral("部门"), QStringLiteral("dept_name")),
        C::text(QStringLiteral("备注"), QStringLiteral("remark")),
    };
    return d;
}
