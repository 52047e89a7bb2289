#pragma once

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

} // namespace deposit_store
