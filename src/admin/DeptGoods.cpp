#include "admin/DeptGoods.h"

#include "db/NumberInput.h"
#include "db/RecordMap.h"

namespace dept_goods_store {
namespace {

const RecordMap<DeptGoods>& map()
{
    using M = RecordMap<DeptGoods>;
    static const M m = M(QStringLiteral("dept_goods"), "id", &DeptGoods::id)
                           .field("dept_id", &DeptGoods::deptId, M::Write::OnInsert)
                           .field("goods_id", &DeptGoods::goodsId)
                           .field("goods_num", &DeptGoods::quantity)
                           .field("remark", &DeptGoods::remark);
    return m;
}

} // namespace

ListQuery list(qlonglong deptId)
{
    return {QStringLiteral("(select d.*, g.goods_name from dept_goods d "
                           "left join goods g on g.goods_id = d.goods_id) h"),
            QStringLiteral("dept_id = ?"),
            {deptId},
            {QStringLiteral("id")}};
}

std::optional<DeptGoods> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, DeptGoods goods)
{
    return map().insert(db, goods).toLongLong();
}

void update(const QSqlDatabase& db, const DeptGoods& goods)
{
    map().update(db, goods);
}

Checked<DeptGoods> check(const DeptGoodsInput& input)
{
    // Whole numbers, as the stock counts them.
    const number_input::Whole quantity = number_input::whole(input.quantity, "goods", "store_num");
    if (quantity.result == number_input::Result::NotANumber)
        return Refusal{QStringLiteral("数量必须是-32768至32767之间的整数！"), QStringLiteral("goods_num")};
    DeptGoods held;
    held.id = input.id;
    held.deptId = input.deptId;
    held.goodsId = input.goodsId;
    if (quantity.result == number_input::Result::Number)
        held.quantity = static_cast<int>(quantity.value);
    held.remark = input.remark.trimmed();
    return held;
}

Checked<qlonglong> save(const QSqlDatabase& db, const DeptGoodsInput& input)
{
    Checked<DeptGoods> checked = check(input);
    if (!checked.ok())
        return checked.refusal();
    DeptGoods& held = checked.value();
    if (held.id == 0)
        held.id = insert(db, held);
    else
        update(db, held);
    return held.id;
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

} // namespace dept_goods_store
