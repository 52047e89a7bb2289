#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"
#include "db/NamedKey.h"
#include "output/ExportDescription.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// A kind of office supplies (table goods_type).
struct GoodsType
{
    qlonglong id = 0;
    QString name;
};

// An item of the office-supplies catalogue (table goods) and the count of it in
// stock, which purchases raise and requisitions lower.
struct Goods
{
    qlonglong id = 0;
    std::optional<int> sortId; // the order number the office gives the item
    std::optional<int> typeId;
    QString name;
    std::optional<int> stock; // none: never counted, taken as 0 by the stock moves
    QString remark;
};

// An item as its boxes hold it, the numbers as typed.
struct GoodsInput
{
    qlonglong id = 0;
    QString sortId;
    std::optional<int> typeId; // none chosen
    QString name;
    QString stock;
    QString remark;
};

// Reading and writing goods types. Every function throws DbError.
namespace goods_type_store {

// Every type in the order of their numbers.
ListQuery list();
QList<NamedKey> names(const QSqlDatabase& db);
// Stores new types (number 0) and changed ones in one transaction, as typed.
void store(const QSqlDatabase& db, const QList<GoodsType>& types);
// Whether the type may be deleted: not while goods are of it.
Checked<> checkRemove(const QSqlDatabase& db, qlonglong id);
// Deletes the type unless goods are of it, checked in the delete's transaction.
Checked<> removeUnlessUsed(const QSqlDatabase& db, qlonglong id);

} // namespace goods_type_store

// Reading and writing the catalogue, and moving stock. Every function throws DbError.
namespace goods_store {

// The goods of one type, or every item when no type is given, in the order of
// their order numbers; with every column of goods and the name of the type
// (typename).
ListQuery list(std::optional<qlonglong> typeId);
// How the catalogue's "Excel" button and `pelm export supplies` write the list.
ExportDescription exported();
// Every item (goods_id, goods_name) in the order it was entered, or those of one type.
QList<NamedKey> names(const QSqlDatabase& db, std::optional<qlonglong> typeId = std::nullopt);
std::optional<Goods> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, Goods goods);
// Stores the item's description. The stock is written only with `withStock` (the
// operator typed a count), so that a count moved meanwhile by a purchase or a
// requisition is not put back to the figure the catalogue showed.
void update(const QSqlDatabase& db, const Goods& goods, bool withStock);

// A stored item as its boxes show it: the numbers written out, none empty.
GoodsInput typed(const Goods& goods);
// The item the input stands for (texts trimmed), or the first check it fails: a
// name, an order number that is whole, a stock count in the stock's range. Empty
// numbers are none.
Checked<Goods> check(const GoodsInput& input);
// Checks the input and stores the item, new (number 0, with its stock) or changed
// (the stock only `withStock`, as update); its number.
Checked<qlonglong> save(const QSqlDatabase& db, const GoodsInput& input, bool withStock);

// Whether the item may be deleted: not while requisitions name it (purchases do
// not keep it).
Checked<> checkRemove(const QSqlDatabase& db, qlonglong id);
// Deletes the item unless requisitions name it, checked in the delete's transaction.
Checked<> removeUnlessRequisitioned(const QSqlDatabase& db, qlonglong id);

// The stock of an item as stored now; none for an item not in the catalogue or
// never counted.
std::optional<int> stock(const QSqlDatabase& db, qlonglong id);

// What a stock move does when the item is no longer in the catalogue (another
// copy deleted it).
enum class IfGone {
    Refuse, // the move is refused as a record gone
    Skip,   // nothing to move: giving back to an item that is no more
};

// The stock of an item now, read inside the caller's transaction for a check
// before a move: 0 for an item never counted, none for an item not in the catalogue.
std::optional<qlonglong> stockForMove(const QSqlDatabase& db, qlonglong id);
// Adds `delta` (negative: takes away) to the stock of the item, in a transaction
// of its own or inside the caller's. A count beyond the column's range is refused
// by the database and nothing is moved.
void moveStock(const QSqlDatabase& db, qlonglong id, qlonglong delta, IfGone ifGone);

} // namespace goods_store
