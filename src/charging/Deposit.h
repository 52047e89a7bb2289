#pragma once

#include "core/Checked.h"
#include "core/Decimal2.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// The deposit an owner has lodged: one amount per owner (owner_info.bail_money),
// overwritten when it changes.
struct Deposit
{
    qlonglong ownerId = 0;
    QString ownerName;
    QString linker;
    QString linkTel;
    std::optional<Money> amount; // none lodged
};

// Every function throws DbError.
namespace deposit_store {

std::optional<Deposit> load(const QSqlDatabase& db, qlonglong ownerId);
// Stores the owner's deposit (none clears it); an owner another copy removed is gone.
void save(const QSqlDatabase& db, qlonglong ownerId, const std::optional<Money>& amount);
// The amount as typed into the deposit box (empty: none lodged), or the refusal of
// what is no amount (a sign or a point alone, typed on its way to an amount).
Checked<std::optional<Money>> check(const QString& amount);
// Checks the amount as typed and stores it.
Checked<> save(const QSqlDatabase& db, qlonglong ownerId, const QString& amount);

} // namespace deposit_store
