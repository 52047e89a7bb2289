#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"
#include "output/ExportDescription.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The minutes of a meeting (table meet).
struct Meeting
{
    qlonglong id = 0;
    QString title;
    QString takeMan;
    QDate takeDate;
    QString takePeople;
    QString contents;
};

// Reading and writing meetings. Every function throws DbError.
namespace meeting_store {

// Every meeting in the order they were entered.
ListQuery list();
// How the meeting list's "Excel" button and `pelm export meetings` write it.
ExportDescription exported();
std::optional<Meeting> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, Meeting meeting);
void update(const QSqlDatabase& db, const Meeting& meeting);
// The meeting as typed (topic, convener and people trimmed, the minutes as they
// are), or the first check it fails: a topic.
Checked<Meeting> check(const Meeting& input);
// Checks the meeting and stores it, new (number 0) or changed; its number.
Checked<qlonglong> save(const QSqlDatabase& db, const Meeting& input);
void remove(const QSqlDatabase& db, qlonglong id);

} // namespace meeting_store
