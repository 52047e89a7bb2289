#pragma once

#include "core/Checked.h"
#include "core/Decimal2.h"
#include "core/Period.h"
#include "db/ListQuery.h"
#include "output/ExportDescription.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// A purchase of office supplies (table goods_buy): saving it brings its quantity
// into the stock of the item bought.
struct Purchase
{
    qlonglong id = 0;
    std::optional<int> goodsId;
    QDate buyDate;
    // Kept in the table's floating-point column as the nearest double to the
    // amount; read back as the amount in fen it stands for.
    std::optional<Money> unitPrice;
    int quantity = 0; // num
    QString buyer;
    QString xhgg; // model and size (型号规格)
    QString pzr;  // who approved it
    QString remark;
};

// A purchase as its boxes hold it, the numbers as typed.
struct PurchaseInput
{
    qlonglong id = 0;
    std::optional<int> goodsId; // none when no item is chosen
    QString unitPrice;
    QString quantity;
    QDate buyDate;
    QString buyer;
    QString xhgg;
    QString pzr;
    QString remark;
};

// Which purchases the purchase window lists; every condition given must hold.
struct PurchaseFilter
{
    std::optional<qlonglong> goodsId;
    QString buyer; // contained in the buyer's name, as typed ("%" and "_" are plain)
    QString xhgg;  // contained in the model and size (型号规格), as typed
    std::optional<Period> period;

    bool isEmpty() const { return !goodsId && buyer.isEmpty() && xhgg.isEmpty() && !period; }
};

// Reading and writing purchases. Every function throws DbError.
namespace purchase_store {

// The purchases that meet the filter (none without one), and those of `kept`
// whatever the filter says (purchases the window stored since its query), in
// the order they were entered. Besides the columns of goods_buy: goodsname (the
// item's name) and price (the unit price in fen).
ListQuery list(const std::optional<PurchaseFilter>& filter, const QList<qlonglong>& kept);
// How the purchase window's "Excel" button and `pelm export purchases` write the list.
ExportDescription exported();
std::optional<Purchase> load(const QSqlDatabase& db, qlonglong id);

// The purchase as its boxes show it: the price in yuan, the quantity of a stored one.
PurchaseInput typed(const Purchase& purchase);

// The purchase the input stands for, or the first check it fails: a quantity
// (whole, in the stock's range), an item, a price that is money if given.
Checked<Purchase> check(const PurchaseInput& input);

// Stores a new purchase (number 0; its number is set) or a changed one, and moves
// the stock with it in one transaction: a new purchase adds its quantity to its
// item; a changed one the difference to the stored quantity, or, bought as
// another item now, takes the stored quantity off the stored item and adds the
// new one to the new item. A move that would take an item's stock below zero (a
// return to the supplier, a purchase made smaller) is refused, checked against
// the stock read under the transaction's write lock. A refusal or a failure
// leaves purchase and stock as they were.
Checked<> save(const QSqlDatabase& db, Purchase& purchase);
// Checks the input and saves the purchase it stands for; its number.
Checked<qlonglong> save(const QSqlDatabase& db, const PurchaseInput& input);
// Deletes the purchase and takes its stored quantity off its stored item, in one
// transaction.
void remove(const QSqlDatabase& db, qlonglong id);

} // namespace purchase_store
