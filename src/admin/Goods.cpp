#include "admin/Goods.h"

#include "db/DbError.h"
#include "db/RecordMap.h"

namespace {

const RecordMap<GoodsType>& typeMap()
{
    static const RecordMap<GoodsType> m =
        RecordMap<GoodsType>(QStringLiteral("goods_type"), "type_id", &GoodsType::id)
            .field("type_name", &GoodsType::name);
    return m;
}

const RecordMap<Goods>& goodsMap()
{
    using M = RecordMap<Goods>;
    // The stock is written by a new item's insert; afterwards by the stock moves
    // and by a count typed in the catalogue, never by an update of the description.
    static const M m = M(QStringLiteral("goods"), "goods_id", &Goods::id)
                           .field("sort_id", &Goods::sortId)
                           .field("type_id", &Goods::typeId)
                           .field("goods_name", &Goods::name)
                           .field("store_num", &Goods::stock, M::Write::OnInsert)
                           .field("remark", &Goods::remark);
    return m;
}

QList<NamedKey> namedKeys(QSqlQuery q)
{
    QList<NamedKey> result;
    while (q.next())
        result.append({q.value(0).toLongLong(), q.value(1).toString().trimmed()});
    return result;
}

} // namespace

namespace goods_type_store {

ListQuery list()
{
    return {QStringLiteral("goods_type"), {}, {}, {QStringLiteral("type_id")}};
}

QList<NamedKey> names(const QSqlDatabase& db)
{
    return namedKeys(
        sql::exec(db, list().statement({QStringLiteral("type_id"), QStringLiteral("type_name")})));
}

void store(const QSqlDatabase& db, const QList<GoodsType>& types)
{
    Transaction transaction(db);
    for (GoodsType type : types) {
        if (type.id == 0)
            typeMap().insert(db, type);
        else
            typeMap().update(db, type);
    }
    transaction.commit();
}

bool hasGoods(const QSqlDatabase& db, qlonglong id)
{
    return sql::exists(db, QStringLiteral("select goods_id from goods where type_id = ? limit 1"), {id});
}

bool removeUnlessUsed(const QSqlDatabase& db, qlonglong id)
{
    // The check and the delete in one transaction: no item can join the type in between.
    Transaction transaction(db);
    if (hasGoods(db, id))
        return false;
    typeMap().remove(db, id);
    transaction.commit();
    return true;
}

} // namespace goods_type_store

namespace goods_store {

ListQuery list(std::optional<qlonglong> typeId)
{
    ListQuery q{QStringLiteral("(select g.*, t.type_name as typename from goods g "
                               "left join goods_type t on t.type_id = g.type_id) g"),
                {},
                {},
                {QStringLiteral("sort_id"), QStringLiteral("goods_id")}};
    if (typeId) {
        q.where = QStringLiteral("type_id = ?");
        q.values = {*typeId};
    }
    return q;
}

QList<NamedKey> names(const QSqlDatabase& db, std::optional<qlonglong> typeId)
{
    if (typeId)
        return namedKeys(sql::exec(
            db, QStringLiteral("select goods_id, goods_name from goods where type_id = ? order by goods_id"),
            {*typeId}));
    return namedKeys(
        sql::exec(db, QStringLiteral("select goods_id, goods_name from goods order by goods_id")));
}

std::optional<Goods> load(const QSqlDatabase& db, qlonglong id)
{
    return goodsMap().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, Goods goods)
{
    return goodsMap().insert(db, goods).toLongLong();
}

void update(const QSqlDatabase& db, const Goods& goods, bool withStock)
{
    Transaction transaction(db);
    goodsMap().update(db, goods);
    if (withStock)
        sql::updateOne(db, QStringLiteral("goods"),
                       {{QStringLiteral("store_num"), record_value::toDb(goods.stock)}},
                       QStringLiteral("goods_id"), goods.id);
    transaction.commit();
}

bool isRequisitioned(const QSqlDatabase& db, qlonglong id)
{
    return sql::exists(db, QStringLiteral("select id from take_goods where goods_id = ? limit 1"), {id});
}

bool removeUnlessRequisitioned(const QSqlDatabase& db, qlonglong id)
{
    // The check and the delete in one transaction: no requisition can name it in between.
    Transaction transaction(db);
    if (isRequisitioned(db, id))
        return false;
    goodsMap().remove(db, id);
    transaction.commit();
    return true;
}

std::optional<int> stock(const QSqlDatabase& db, qlonglong id)
{
    const QVariant value =
        sql::scalar(db, QStringLiteral("select store_num from goods where goods_id = ?"), {id});
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toInt();
}

std::optional<qlonglong> stockForMove(const QSqlDatabase& db, qlonglong id)
{
    const QVariant value =
        sql::scalar(db, QStringLiteral("select coalesce(store_num, 0) from goods where goods_id = ?"), {id});
    if (!value.isValid())
        return std::nullopt;
    return value.toLongLong();
}

void moveStock(const QSqlDatabase& db, qlonglong id, qlonglong delta, IfGone ifGone)
{
    // The count is read and written under the write lock of one transaction, so
    // that a move by another copy in between cannot be lost.
    Transaction transaction(db);
    const std::optional<qlonglong> now = stockForMove(db, id);
    if (!now) {
        if (ifGone == IfGone::Skip)
            return;
        throw DbError(DbError::Kind::RecordGone, QStringLiteral("所选物品已被其他用户删除，请重新选择。"),
                      QStringLiteral("表 goods 中没有 goods_id = %1 的记录。").arg(id));
    }
    if (delta != 0)
        // A count beyond the column's range is refused by its check, never wrapped.
        sql::updateOne(db, QStringLiteral("goods"), {{QStringLiteral("store_num"), *now + delta}},
                       QStringLiteral("goods_id"), id);
    transaction.commit();
}

} // namespace goods_store
