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

Checked<Member> check(const Member& member)
{
    Member m = member;
    m.name = m.name.trimmed();
    if (m.name.isEmpty())
        return Refusal{QStringLiteral("请填写姓名！"), QStringLiteral("member_name")};
    m.sex = m.sex.trimmed();
    m.duty = m.duty.trimmed();
    m.connectTel = m.connectTel.trimmed();
    m.degree = m.degree.trimmed();
    m.polity = m.polity.trimmed();
    return m;
}

Checked<qlonglong> save(const QSqlDatabase& db, const Member& member)
{
    Checked<Member> checked = check(member);
    if (!checked.ok())
        return checked.refusal();
    Member& m = checked.value();
    if (m.id != 0)
        map().update(db, m);
    else
        map().insert(db, m);
    return m.id;
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

} // namespace member_store
