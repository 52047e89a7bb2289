#include "services/Activities.h"

#include "db/RecordMap.h"

namespace activity_store {
namespace {

const RecordMap<CommunityActivity>& map()
{
    using A = CommunityActivity;
    using M = RecordMap<A>;
    static const M m = M(QStringLiteral("community"), "ploy_id", &A::id)
                           .field("ploy_name", &A::name)
                           .field("main_dept", &A::mainDept)
                           .field("second_dept", &A::secondDept)
                           .field("affiche", &A::affiche)
                           .field("start_date", &A::startDate)
                           .field("end_date", &A::endDate)
                           .field("charge_man", &A::chargeMan)
                           .field("ploy_money", &A::ployMoney)
                           .field("money_take", &A::moneyTake)
                           .field("take_people", &A::takePeople)
                           .memo("circs", &A::circs)
                           .memo("remark", &A::remark);
    return m;
}

} // namespace

ListQuery list()
{
    return {QStringLiteral("community"), {}, {}, {QStringLiteral("ploy_id")}};
}

std::optional<CommunityActivity> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, CommunityActivity activity)
{
    return map().insert(db, activity).toLongLong();
}

void update(const QSqlDatabase& db, const CommunityActivity& activity)
{
    map().update(db, activity);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

Checked<qlonglong> save(const QSqlDatabase& db, CommunityActivity a)
{
    for (QString* text : {&a.name, &a.mainDept, &a.secondDept, &a.affiche, &a.chargeMan, &a.ployMoney,
                          &a.moneyTake, &a.takePeople, &a.circs, &a.remark})
        *text = text->trimmed();
    if (a.name.isEmpty())
        return Refusal{QStringLiteral("请输入活动名称！"), QStringLiteral("ploy_name")};
    if (a.id == 0)
        return insert(db, a);
    update(db, a);
    return a.id;
}

} // namespace activity_store
