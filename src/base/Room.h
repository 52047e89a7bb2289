#pragma once

#include "core/Checked.h"
#include "core/Decimal2.h"
#include "db/ListQuery.h"
#include "db/NamedKey.h"
#include "output/ExportDescription.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// A room (unit) of a building (table rooms_info), keyed by its number.
struct Room
{
    QString id; // room number
    qlonglong buildingId = 0;
    QString useState;
    Area buildArea;
    std::optional<Area> useArea;
    QString roomType;
    QString direct;
    QString floor;
    QString fitment;
    QString match;
    QString remarks;
};

// A room as the editor's boxes hold it, the areas as typed.
struct RoomInput
{
    QString id;
    QString buildingText;                // the building box as it reads
    std::optional<qlonglong> buildingId; // the building it names; none when no building has that name
    QString useState;
    QString buildArea;
    QString useArea;
    QString roomType;
    QString direct;
    QString floor;
    QString fitment;
    QString match;
    QString remarks;
};

// Which rooms a list shows.
struct RoomScope
{
    enum class Kind { All, Building, NoBuilding };
    Kind kind = Kind::All;
    qlonglong buildingId = 0;

    static RoomScope all() { return {}; }
    static RoomScope of(std::optional<qlonglong> building)
    {
        return building ? RoomScope{Kind::Building, *building} : RoomScope{Kind::NoBuilding, 0};
    }
};

// Reading and writing rooms. Every function throws DbError.
namespace room_store {

// The rooms of the scope, in the order of their numbers.
ListQuery list(const RoomScope& scope);
// The columns the room list shows and exports.
QList<ListColumn> columns();
// How the room list's "Excel" button and `pelm export rooms` write the list.
ExportDescription exported();
// The first room of the scope, in list order, whose number begins with `prefix`.
std::optional<QString> firstStartingWith(const QSqlDatabase& db, const RoomScope& scope,
                                         const QString& prefix);

// The room the input stands for (texts trimmed), or the first check it fails: a
// building named, a building area that is a number, a usable area that is a
// number if given, a building of that name.
Checked<Room> check(const RoomInput& input);

std::optional<Room> load(const QSqlDatabase& db, const QString& id);
bool exists(const QSqlDatabase& db, const QString& id);
// Every room number, in order: what a room link may name.
QStringList numbers(const QSqlDatabase& db);
void insert(const QSqlDatabase& db, Room room);
// Stores the room that had the number `oldId`. A changed number is changed in the
// owners' room links as well, in the same transaction, so that fee areas stay right.
void update(const QSqlDatabase& db, const QString& oldId, const Room& room);
// Deletes the room, or refuses naming the first owner who holds it.
Checked<> removeUnlessOwned(const QSqlDatabase& db, const QString& id);

// Every building, in the order of their numbers.
QList<NamedKey> buildings(const QSqlDatabase& db);
// The number of the first building of that name.
std::optional<qlonglong> buildingIdByName(const QSqlDatabase& db, const QString& name);
std::optional<QString> buildingName(const QSqlDatabase& db, qlonglong id);

} // namespace room_store
