#pragma once

#include "core/Checked.h"
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

// A building as the editor's boxes hold it, the numbers as typed.
struct BuildingInput
{
    qlonglong id = 0;
    QString name;
    QString height;
    QString floors;
    QString structure;
    QString buildArea;
    QString useArea;
    QString roomsNum;
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
// The building the input stands for (texts trimmed), or the first check it fails:
// a name. The areas and the number of rooms are numbers when given; a box that
// holds no number throws the general conversion error (DbError), as the office
// knows it.
Checked<Building> check(const BuildingInput& input);
// Stores a new building and returns its number; refuses a name another building
// has (read in the insert's transaction).
Checked<qlonglong> insert(const QSqlDatabase& db, Building building);
void update(const QSqlDatabase& db, const Building& building);
// Deletes the building, or refuses while rooms of it exist.
Checked<> removeUnlessRooms(const QSqlDatabase& db, qlonglong id);

} // namespace building_store
