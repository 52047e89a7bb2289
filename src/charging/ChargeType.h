#pragma once

#include "core/Checked.h"
#include "core/Decimal2.h"
#include "db/ListQuery.h"
#include "db/NamedKey.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// How the fee screen computes the amount due of a charge type, from its rule text
// (charge_type.take_type). Only the exact texts have a meaning; any other text is
// an amount typed by hand.
enum class BillingRule {
    Meter,       // "表读数*单价": (current − previous reading) × unit price
    AreaMonths,  // "建筑面积*单价*月份": months × unit price × the owner's floor area
    PriceMonths, // "单价*月份": months × unit price
    Typed,       // "普通收费" or anything else: typed by the operator
};

// A kind of fee the office bills (table charge_type).
struct ChargeType
{
    static inline const QString kMeterRule = QStringLiteral("表读数*单价");
    static inline const QString kAreaMonthsRule = QStringLiteral("建筑面积*单价*月份");
    static inline const QString kPriceMonthsRule = QStringLiteral("单价*月份");

    qlonglong id = 0;
    QString name;
    std::optional<Money> unitPrice;
    QString takeType;

    BillingRule rule() const;
    // The fees every office bills ("电费", "物管费", "服务费") keep their name and
    // rule and cannot be deleted; their price may change.
    bool isProtected() const { return isProtectedName(name); }
    static bool isProtectedName(const QString& name);
};

BillingRule billingRuleOf(const QString& takeType);

// A charge type as its grid row holds it, the price as typed.
struct ChargeTypeInput
{
    qlonglong id = 0;
    QString name;
    QString unitPrice;
    QString takeType;
};

// Reading and writing charge types. Every function throws DbError.
namespace charge_type_store {

// Every type in the order of their numbers.
ListQuery list();
QList<NamedKey> names(const QSqlDatabase& db);
std::optional<ChargeType> load(const QSqlDatabase& db, qlonglong id);
// The first type (by number) of that name.
std::optional<ChargeType> findByName(const QSqlDatabase& db, const QString& name);

// Stores new types (number 0) and changed ones in one transaction. A protected
// type keeps its stored name and rule whatever was typed.
void store(const QSqlDatabase& db, const QList<ChargeType>& types);
// The same for the rows as typed: types are stored as typed, and a price that is
// no number throws the general conversion error (DbError) before anything is
// stored.
void store(const QSqlDatabase& db, const QList<ChargeTypeInput>& rows);
// Deletes a type, or refuses while it is protected or fee records are of it
// (they would lose their type's name and could not be saved again). The check
// and the delete are one transaction.
Checked<> removeUnlessInUse(const QSqlDatabase& db, qlonglong id);

} // namespace charge_type_store
