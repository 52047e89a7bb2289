#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// An item of office supplies a department holds, and how many (table
// dept_goods): a register of its own that never touches the stock.
struct DeptGoods
{
    qlonglong id = 0;
    std::optional<int> deptId;
    std::optional<int> goodsId;
    std::optional<int> quantity; // goods_num; whole, as the stock is
    QString remark;
};

// A row of what a department holds as its boxes hold it, the quantity as typed.
struct DeptGoodsInput
{
    qlonglong id = 0;
    std::optional<int> deptId;
    std::optional<int> goodsId; // none chosen
    QString quantity;
    QString remark;
};

// Reading and writing what departments hold. Every function throws DbError.
namespace dept_goods_store {

// What the department holds, in the order it was entered, with the item's name
// (goods_name) beside the columns of dept_goods.
ListQuery list(qlonglong deptId);
std::optional<DeptGoods> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, DeptGoods goods);
// Stores the row; it stays with the department it was entered for.
void update(const QSqlDatabase& db, const DeptGoods& goods);
// The row the input stands for (the remark trimmed), or the first check it fails:
// a quantity, if given, whole and in the stock's range.
Checked<DeptGoods> check(const DeptGoodsInput& input);
// Checks the input and stores the row, new (number 0) or changed; its number.
Checked<qlonglong> save(const QSqlDatabase& db, const DeptGoodsInput& input);
void remove(const QSqlDatabase& db, qlonglong id);

} // namespace dept_goods_store
