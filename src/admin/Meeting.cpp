#include "admin/Meeting.h"

#include "db/RecordMap.h"

namespace meeting_store {
namespace {

const RecordMap<Meeting>& map()
{
    static const RecordMap<Meeting> m = RecordMap<Meeting>(QStringLiteral("meet"), "id", &Meeting::id)
                                            .field("title", &Meeting::title)
                                            .field("take_man", &Meeting::takeMan)
                                            .field("take_date", &Meeting::takeDate)
                                            .field("take_people", &Meeting::takePeople)
                                            .memo("contents", &Meeting::contents);
    return m;
}

} // namespace

ListQuery list()
{
    return {QStringLiteral("meet"), {}, {}, {QStringLiteral("id")}};
}

std::optional<Meeting> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, Meeting meeting)
{
    return map().insert(db, meeting).toLongLong();
}

void update(const QSqlDatabase& db, const Meeting& meeting)
{
    map().update(db, meeting);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

} // namespace meeting_store
