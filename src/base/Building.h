#pragma once

#include "core/Decimal2.h"
#include "db/ListQuery.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// A building of the estate (table garden).
struct Building
{
    qlonglong id = 0;
    QString name;
    QString height;
    QString floors;
    QString structure;
    std::optional<Area> buildArea;
    std::optional<Area> useArea;
    std::optional<int> roomsNum;
    QDate finishDate;
    QString builder;
    QString developer;
    QString remarks;
};

// Reading and writing buildings. Every function throws DbError.
namespace building_store {

// Every building, in the order of their numbers.
ListQuery list();
std::optional<Building> load(const QSqlDatabase& db, qlonglong id);
bool nameExists(const QSqlDatabase& db, const QString& name);
// Returns the new building's number.
qlonglong insert(const QSqlDatabase& db, Building building);
void update(const QSqlDatabase& db, const Building& building);
// Deletes the building unless rooms of it exist; returns whether it was deleted.
bool removeUnlessRooms(const QSqlDatabase& db, qlonglong id);

} // namespace building_store
