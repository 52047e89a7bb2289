#include "services/Cleaning.h"

#include "db/RecordMap.h"

namespace cleaning_store {
namespace {

const RecordMap<CleaningArea>& map()
{
    using M = RecordMap<CleaningArea>;
    static const M m = M(QStringLiteral("condition"), "cond_id", &CleaningArea::id)
                           .field("area_name", &CleaningArea::areaName)
                           .field("charger", &CleaningArea::charger)
                           .field("cycle", &CleaningArea::cycle)
                           .memo("remark", &CleaningArea::remark);
    return m;
}

} // namespace

ListQuery list()
{
    return {QStringLiteral("condition"), {}, {}, {QStringLiteral("cond_id")}};
}

std::optional<CleaningArea> load(const QSqlDatabase& db, qlonglong id)
{
    return map().load(db, id);
}

qlonglong insert(const QSqlDatabase& db, CleaningArea area)
{
    return map().insert(db, area).toLongLong();
}

void update(const QSqlDatabase& db, const CleaningArea& area)
{
    map().update(db, area);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

Checked<qlonglong> save(const QSqlDatabase& db, CleaningArea area)
{
    for (QString* text : {&area.areaName, &area.charger, &area.cycle})
        *text = text->trimmed();
    if (area.areaName.isEmpty())
        return Refusal{QStringLiteral("请输入区域名称！"), QStringLiteral("area_name")};
    if (area.id == 0)
        return insert(db, area);
    update(db, area);
    return area.id;
}

} // namespace cleaning_store
