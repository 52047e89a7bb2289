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

Checked<Meeting> check(const Meeting& input)
{
    Meeting meeting = input;
    meeting.title = input.title.trimmed();
    meeting.takeMan = input.takeMan.trimmed();
    meeting.takePeople = input.takePeople.trimmed();
    if (meeting.title.isEmpty())
        return Refusal{QStringLiteral("请填写会议主题！"), QStringLiteral("title")};
    return meeting;
}

Checked<qlonglong> save(const QSqlDatabase& db, const Meeting& input)
{
    Checked<Meeting> checked = check(input);
    if (!checked.ok())
        return checked.refusal();
    Meeting& meeting = checked.value();
    if (meeting.id == 0)
        meeting.id = insert(db, meeting);
    else
        update(db, meeting);
    return meeting.id;
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

} // namespace meeting_store

ExportDescription meeting_store::exported()
{
    ExportDescription d;
    d.title = QStringLiteral("物业管理系统会议资料");
    d.titleWidth = 6;
    d.columnWidths = {{1, 10}, {2, 10}, {3, 10}};
    using C = ExportColumn;
    // Written as they are, without the apostrophe that keeps texts as text.
    d.columns = {
        C::plain(QStringLiteral("会议主题"), QStringLiteral("title")),
        C::plain(QStringLiteral("召开人"), QStringLiteral("take_man")),
        C::plain(QStringLiteral("会议日期"), QStringLiteral("take_date")),
        C::plain(QStringLiteral("参加人员"), QStringLiteral("take_people")),
        C::plain(QStringLiteral("会议内容"), QStringLiteral("contents")),
    };
    return d;
}
