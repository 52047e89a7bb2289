#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// The areas the cleaning staff look after (table condition): the area, who is
// responsible for it, how often it is cleaned and the duties. Every function
// throws DbError.
struct CleaningArea
{
    qlonglong id = 0;
    QString areaName = {};
    QString charger = {};
    QString cycle = {};
    QString remark = {}; // the duties, as typed
};

namespace cleaning_store {

// Every area in the order they were entered, every column.
ListQuery list();
std::optional<CleaningArea> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, CleaningArea area);
void update(const QSqlDatabase& db, const CleaningArea& area);
void remove(const QSqlDatabase& db, qlonglong id);

// Stores a new area (id 0) or the area shown once it is named; one-line texts
// are stored trimmed, the duties as typed.
Checked<qlonglong> save(const QSqlDatabase& db, CleaningArea area);

} // namespace cleaning_store
