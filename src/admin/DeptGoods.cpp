#include "admin/DeptGoods.h"

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

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

} // namespace dept_goods_store
