#include "base/Owner.h"

#include "db/Sql.h"

#include <QSqlQuery>

namespace owner_store {
namespace {

sql::Fields fieldsOf(const Owner& o)
{
    return {
        {QStringLiteral("owner_name"), o.name},      {QStringLiteral("in_out"), o.inOut},
        {QStringLiteral("linker"), o.linker},        {QStringLiteral("credit"), o.credit},
        {QStringLiteral("link_tel"), o.linkTel},     {QStringLiteral("in_date"), sql::dateValue(o.inDate)},
        {QStringLiteral("paper_name"), o.paperName}, {QStringLiteral("paper_id"), o.paperId},
        {QStringLiteral("work_time"), o.workTime},   {QStringLiteral("fare"), o.fare},
        {QStringLiteral("remarks"), o.remarks},
    };
}

} // namespace

std::optional<Owner> load(const QSqlDatabase& db, qlonglong id)
{
    QSqlQuery q =
        sql::exec(db,
                  QStringLiteral("select owner_id, owner_name, in_out, linker, credit, link_tel, in_date, "
                                 "paper_name, paper_id, work_time, fare, remarks "
                                 "from owner_info where owner_id = ?"),
                  {id});
    if (!q.next())
        return std::nullopt;
    Owner o;
    o.id = q.value(0).toLongLong();
    o.name = q.value(1).toString().trimmed();
    o.inOut = q.value(2).toString().trimmed();
    o.linker = q.value(3).toString().trimmed();
    o.credit = q.value(4).toString().trimmed();
    o.linkTel = q.value(5).toString().trimmed();
    o.inDate = sql::toDate(q.value(6));
    o.paperName = q.value(7).toString().trimmed();
    o.paperId = q.value(8).toString().trimmed();
    o.workTime = q.value(9).toString().trimmed();
    o.fare = q.value(10).toString().trimmed();
    o.remarks = q.value(11).toString().trimmed();
    return o;
}

qlonglong insert(const QSqlDatabase& db, const Owner& owner)
{
    return sql::insert(db, QStringLiteral("owner_info"), fieldsOf(owner));
}

void update(const QSqlDatabase& db, const Owner& owner)
{
    sql::update(db, QStringLiteral("owner_info"), fieldsOf(owner), QStringLiteral("owner_id"), owner.id);
}

Removal removeUnlessInUse(const QSqlDatabase& db, qlonglong id)
{
    Transaction transaction(db);
    if (sql::exists(db, QStringLiteral("select owner_id from charge_take where owner_id = ? limit 1"), {id}))
        return Removal::HasCharges;
    if (sql::exists(db, QStringLiteral("select owner_id from owner_rooms where owner_id = ? limit 1"), {id}))
        return Removal::HasRooms;
    sql::remove(db, QStringLiteral("owner_info"), QStringLiteral("owner_id"), id);
    transaction.commit();
    return Removal::Removed;
}

QString containsPattern(const QString& fragment)
{
    QString escaped = fragment;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

std::optional<qlonglong> findByName(const QSqlDatabase& db, const QString& fragment, bool currentOnly)
{
    QString statement = QStringLiteral("select owner_id from owner_info where owner_name like ? escape '\\'");
    QVariantList values{containsPattern(fragment)};
    if (currentOnly) {
        statement += QStringLiteral(" and in_out = ?");
        values << Owner::kLiving;
    }
    const QVariant id = sql::scalar(db, statement + QStringLiteral(" order by owner_id limit 1"), values);
    if (!id.isValid())
        return std::nullopt;
    return id.toLongLong();
}

} // namespace owner_store
