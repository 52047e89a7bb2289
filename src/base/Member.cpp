#include "base/Member.h"

#include "db/RecordMap.h"

namespace member_store {
namespace {

const RecordMap<Member>& map()
{
    using M = RecordMap<Member>;
    static const M m = M(QStringLiteral("member"), "member_id", &Member::id)
                           .field("owner_id", &Member::ownerId, M::Write::OnInsert)
                           .field("member_name", &Member::name)
                           .field("sex", &Member::sex)
                           .field("duty", &Member::duty)
                           .field("connect_tel", &Member::connectTel)
                           .field("birthday", &Member::birthday)
                           .field("degree", &Member::degree)
                           .field("polity", &Member::polity);
    return m;
}

} // namespace

ListQuery list(qlonglong ownerId)
{
    return {
        QStringLiteral("member"), QStringLiteral("owner_id = ?"), {ownerId}, {QStringLiteral("member_id")}};
}

std::optional<Member> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong save(const QSqlDatabase& db, Member member)
{
    if (member.id != 0)
        map().update(db, member);
    else
        map().insert(db, member);
    return member.id;
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

} // namespace member_store
