#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"
#include "output/ExportDescription.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// An owner or tenant of the estate (table owner_info), as the owner register
// edits it.
struct Owner
{
    static inline const QString kLiving = QStringLiteral("居住");
    static inline const QString kMovedOut = QStringLiteral("搬出");

    qlonglong id = 0;
    QString name;
    QString inOut = kLiving;
    QString linker;
    QString credit;
    QString linkTel;
    QDate inDate;
    QString paperName;
    QString paperId;
    QString workTime;
    QString fare;
    QString remarks;
};

// Reading and writing owners. Every function throws DbError.
namespace owner_store {

// Which owners a list shows, and in which order.
enum class Occupants { Current, All };
enum class OwnerOrder { ByName, ByNumber };
// The owners with at least owner_id and owner_name (every column for exports and
// printed lists), ties in name broken by number.
ListQuery list(Occupants occupants, OwnerOrder order);
// How the register's "Excel" button and `pelm export owners` write the list.
ExportDescription exported();

std::optional<Owner> load(const QSqlDatabase& db, qlonglong id);
// The owner as typed, texts trimmed, or the first check it fails: a name.
Checked<Owner> check(const Owner& owner);
// Checks the owner, then inserts it (number 0) or stores what the register edits;
// returns its number.
Checked<qlonglong> save(const QSqlDatabase& db, const Owner& owner);
// Returns the new owner's number.
qlonglong insert(const QSqlDatabase& db, Owner owner);
// Stores what the register edits; the deposit and the other columns stay.
void update(const QSqlDatabase& db, const Owner& owner);

// Deletes the owner, or refuses while fee records or room links name it (fee
// records are checked first). Members, cars and parking places stay in their
// tables.
Checked<> removeUnlessInUse(const QSqlDatabase& db, qlonglong id);

// The first owner, in the order of their numbers, whose name contains `fragment`
// as typed ("%" and "_" are plain characters); nothing when none does. Refuses an
// empty fragment.
Checked<std::optional<qlonglong>> findByName(const QSqlDatabase& db, const QString& fragment,
                                             Occupants occupants);

} // namespace owner_store
