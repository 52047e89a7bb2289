#include "base/Owner.h"

#include "db/PinyinCollation.h"
#include "db/RecordMap.h"

namespace owner_store {
namespace {

const RecordMap<Owner>& map()
{
    static const RecordMap<Owner> m = RecordMap<Owner>(QStringLiteral("owner_info"), "owner_id", &Owner::id)
                                          .field("owner_name", &Owner::name)
                                          .field("in_out", &Owner::inOut)
                                          .field("linker", &Owner::linker)
                                          .field("credit", &Owner::credit)
                                          .field("link_tel", &Owner::linkTel)
                                          .field("in_date", &Owner::inDate)
                                          .field("paper_name", &Owner::paperName)
                                          .field("paper_id", &Owner::paperId)
                                          .field("work_time", &Owner::workTime)
                                          .field("fare", &Owner::fare)
                                          .field("remarks", &Owner::remarks);
    return m;
}

} // namespace

ListQuery list(Occupants occupants, OwnerOrder order)
{
    ListQuery q{QStringLiteral("owner_info"), {}, {}, {}};
    if (occupants == Occupants::Current) {
        q.where = QStringLiteral("in_out = ?");
        q.values = {Owner::kLiving};
    }
    // By name in pinyin order, the same in the grid, the printed list and the export.
    if (order == OwnerOrder::ByName)
        q.orderBy << pinyin::byName(QStringLiteral("owner_name"));
    q.orderBy << QStringLiteral("owner_id");
    return q;
}

std::optional<Owner> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

Checked<Owner> check(const Owner& owner)
{
    Owner o = owner;
    o.name = o.name.trimmed();
    if (o.name.isEmpty())
        return Refusal{QStringLiteral("请填写住户名称！"), QStringLiteral("owner_name")};
    o.linker = o.linker.trimmed();
    o.credit = o.credit.trimmed();
    o.linkTel = o.linkTel.trimmed();
    o.paperName = o.paperName.trimmed();
    o.paperId = o.paperId.trimmed();
    o.workTime = o.workTime.trimmed();
    o.fare = o.fare.trimmed();
    o.remarks = o.remarks.trimmed();
    return o;
}

Checked<qlonglong> save(const QSqlDatabase& db, const Owner& owner)
{
    const Checked<Owner> checked = check(owner);
    if (!checked.ok())
        return checked.refusal();
    if (checked.value().id == 0)
        return insert(db, checked.value());
    update(db, checked.value());
    return checked.value().id;
}

qlonglong insert(const QSqlDatabase& db, Owner owner)
{
    return map().insert(db, owner).toLongLong();
}

void update(const QSqlDatabase& db, const Owner& owner)
{
    map().update(db, owner);
}

Checked<> removeUnlessInUse(const QSqlDatabase& db, qlonglong id)
{
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select owner_id from charge_take where owner_id = ? limit 1"), {id}))
        return Refusal{QStringLiteral("在收费记录里有此用户的记录，请先删除此用户的缴费记录.")};
    if (sql::exists(db, QStringLiteral("select owner_id from owner_rooms where owner_id = ? limit 1"), {id}))
        return Refusal{QStringLiteral("此用户拥有房间记录，请先删除拥有的房间！")};
    map().remove(db, id);
    transaction.commit();
    return Done{};
}

Checked<std::optional<qlonglong>> findByName(const QSqlDatabase& db, const QString& fragment,
                                             Occupants occupants)
{
    if (fragment.isEmpty())
        return Refusal{QStringLiteral("请先填写住户名称！")};
    QString statement =
        u"select owner_id from owner_info where " + sql::containsCondition(QStringLiteral("owner_name"));
    QVariantList values{sql::containsPattern(fragment)};
    if (occupants == Occupants::Current) {
        statement += QStringLiteral(" and in_out = ?");
        values << Owner::kLiving;
    }
    const QVariant id = sql::scalar(db, statement + QStringLiteral(" order by owner_id limit 1"), values);
    if (!id.isValid())
        return std::optional<qlonglong>();
    return std::optional<qlonglong>(id.toLongLong());
}

} // namespace owner_store

ExportDescription owner_store::exported()
{
    ExportDescription d;
    d.title = QStringLiteral("物业管理系统住户资料");
    d.columnWidths = {{1, 16}, {2, 6}};
    for (int column = 3; column <= 10; ++column)
        d.columnWidths.append({column, 10});
    using C = ExportColumn;
    d.columns = {
        C::text(QStringLiteral("单位名称"), QStringLiteral("owner_name")),
        C::text(QStringLiteral("是否搬出"), QStringLiteral("in_out")),
        C::text(QStringLiteral("联系人"), QStringLiteral("linker")),
        C::text(QStringLiteral("信誉等级"), QStringLiteral("credit")),
        C::text(QStringLiteral("联系电话"), QStringLiteral("link_tel")),
        C::date(QStringLiteral("迁入日期"), QStringLiteral("in_date")),
        C::text(QStringLiteral("证件名称"), QStringLiteral("paper_name")),
        C::text(QStringLiteral("证件号码"), QStringLiteral("paper_id")),
        C::text(QStringLiteral("作息时间"), QStringLiteral("work_time")),
        C::text(QStringLiteral("经营范围"), QStringLiteral("fare")),
        C::text(QStringLiteral("备注"), QStringLiteral("remarks")),
    };
    return d;
}
