#include "admin/Goods.h"

#include "db/DbError.h"
#include "db/NumberInput.h"
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

const Refusal kTypeUsed{QStringLiteral("此类别已经有详细物品存在，请先删除其子类物品，再删除此条记录！")};
const Refusal kRequisitioned{QStringLiteral("此物品已经在领用清单里存在，不能删除！")};

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

Checked<> checkRemove(const QSqlDatabase& db, qlonglong id)
{
    if (sql::exists(db, QStringLiteral("select goods_id from goods where type_id = ? limit 1"), {id}))
        return kTypeUsed;
    return Done{};
}

Checked<> removeUnlessUsed(const QSqlDatabase& db, qlonglong id)
{
    // The check and the delete in one transaction: no item can join the type in between.
    Transaction transaction(db);
    const Checked<> allowed = checkRemove(db, id);
    if (!allowed.ok())
        return allowed;
    typeMap().remove(db, id);
    transaction.commit();
    return Done{};
}

} // namespace goods_type_store

namespace goods_store {

ListQuery list(std::optional<qlonglong> typeId)
{
    ListQuery q{
        QStringLiteral("(select g.*, t.type_name as typename from goods g "
                       "left join goods_type t on t.type_id = g.type_id) g"),
        {},
        {},
        // Items without an order number first, whichever way the engine
        // places nulls.
        {QStringLiteral("sort_id is not null"), QStringLiteral("sort_id"), QStringLiteral("goods_id")}};
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

GoodsInput typed(const Goods& goods)
{
    const auto number = [](const std::optional<int>& n) { return n ? QString::number(*n) : QString(); };
    return {goods.id, number(goods.sortId), goods.typeId, goods.name, number(goods.stock), goods.remark};
}

Checked<Goods> check(const GoodsInput& input)
{
    Goods goods;
    goods.id = input.id;
    goods.name = input.name.trimmed();
    if (goods.name.isEmpty())
        return Refusal{QStringLiteral("请填写用品名称！"), QStringLiteral("goods_name")};
    const number_input::Whole sortId = number_input::whole(input.sortId, "goods", "sort_id");
    if (sortId.result == number_input::Result::NotANumber)
        return Refusal{QStringLiteral("序号必须是整数！"), QStringLiteral("sort_id")};
    const number_input::Whole stock = number_input::whole(input.stock, "goods", "store_num");
    if (stock.result == number_input::Result::NotANumber)
        return Refusal{QStringLiteral("库存数量必须是-32768至32767之间的整数！"),
                       QStringLiteral("store_num")};
    if (sortId.result == number_input::Result::Number)
        goods.sortId = static_cast<int>(sortId.value);
    if (stock.result == number_input::Result::Number)
        goods.stock = static_cast<int>(stock.value);
    goods.typeId = input.typeId;
    goods.remark = input.remark.trimmed();
    return goods;
}

Checked<qlonglong> save(const QSqlDatabase& db, const GoodsInput& input, bool withStock)
{
    Checked<Goods> checked = check(input);
    if (!checked.ok())
        return checked.refusal();
    Goods& goods = checked.value();
    if (goods.id == 0)
        goods.id = insert(db, goods);
    else
        update(db, goods, withStock);
    return goods.id;
}

Checked<> checkRemove(const QSqlDatabase& db, qlonglong id)
{
    if (sql::exists(db, QStringLiteral("select id from take_goods where goods_id = ? limit 1"), {id}))
        return kRequisitioned;
    return Done{};
}

Checked<> removeUnlessRequisitioned(const QSqlDatabase& db, qlonglong id)
{
    // The check and the delete in one transaction: no requisition can name it in between.
    Transaction transaction(db);
    const Checked<> allowed = checkRemove(db, id);
    if (!allowed.ok())
        return allowed;
    goodsMap().remove(db, id);
    transaction.commit();
    return Done{};
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

ExportDescription goods_store::exported()
{
    ExportDescription d;
    d.windowCaption = QStringLiteral("办公用品登记报表");
    d.title = QStringLiteral("物业管理系统");
    d.titleWidth = 5;
    d.columnWidths = {{1, 6}, {2, 10}, {3, 10}, {4, 10}, {5, 15}};
    d.family = ExportDescription::Family::OfficeGoods;
    d.failureText = QStringLiteral("Excel 可能还没有安装，请检查！");
    using C = ExportColumn;
    d.columns = {
        C::plain(QStringLiteral("序号"), QStringLiteral("goods_id")),
        C::plain(QStringLiteral("用品名称"), QStringLiteral("goods_name")),
        C::plain(QStringLiteral("库存数量"), QStringLiteral("store_num")),
        C::plain(QStringLiteral("物品类别"), QStringLiteral("typename")),
        C::plain(QStringLiteral("备注"), QStringLiteral("remark")),
    };
    return d;
}
