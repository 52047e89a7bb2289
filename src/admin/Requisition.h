#pragma once

#include "core/Checked.h"
#include "core/Period.h"
#include "db/ListQuery.h"
#include "output/ExportDescription.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// Office supplies a person of a department took (table take_goods): saving it
// takes the quantity out of the stock of the item.
struct Requisition
{
    qlonglong id = 0;
    std::optional<int> goodsId;
    std::optional<int> deptId;
    QString takeMan;
    int quantity = 0; // take_num; whole, as the stock is
    QDate takeDate;
    QString xhgg; // model and size (型号规格)
    QString pzr;  // who approved it
    QString remark;
};

// A requisition as its boxes hold it, the quantity as typed.
struct RequisitionInput
{
    qlonglong id = 0;
    std::optional<int> goodsId; // none when no item is chosen
    std::optional<int> deptId;  // none when there is no department to choose
    QString takeMan;
    QString quantity;
    QDate takeDate;
    QString xhgg;
    QString pzr;
    QString remark;
};

// Which requisitions the requisition window lists; every condition given must hold.
struct RequisitionFilter
{
    std::optional<qlonglong> deptId;
    std::optional<qlonglong> goodsId;
    QString takeMan; // contained in the name of who took it, as typed ("%" and "_" are plain)
    std::optional<Period> period;
    std::optional<qlonglong> typeId; // items of this goods type

    bool isEmpty() const { return !deptId && !goodsId && takeMan.isEmpty() && !period && !typeId; }
};

// Reading and writing requisitions. Every function throws DbError.
namespace requisition_store {

// The requisitions that meet the filter (none without one), and those of `kept`
// whatever the filter says (requisitions the window stored since its query), in
// the order they were entered; with goods_name and dept_name beside the columns
// of take_goods.
ListQuery list(const std::optional<RequisitionFilter>& filter, const QList<qlonglong>& kept);
// How the requisition window's "Excel" button and `pelm export requisitions` write the list.
ExportDescription exported();
std::optional<Requisition> load(const QSqlDatabase& db, qlonglong id);

// The requisition as its boxes show it: the quantity of a stored one.
RequisitionInput typed(const Requisition& requisition);

// The requisition the input stands for, or the first check it fails: an item,
// a department, a whole quantity in the stock's range (an empty box is none).
Checked<Requisition> check(const RequisitionInput& input);

// Stores a new requisition (number 0; its number is set) or a changed one and
// moves the stock with it, in one transaction whose check reads the stock under
// its write lock: a new requisition takes its quantity from its item; a changed
// one the difference to the stored quantity, or, taken of another item now,
// gives the stored quantity back to the stored item and takes the new one from
// the new item. What would lower an item's stock by more than it holds is
// refused, and so is a quantity that is not above zero (a return is entered as a
// purchase). A refusal or a failure leaves requisition and stock as they were.
Checked<> save(const QSqlDatabase& db, Requisition& requisition);
// Checks the input and saves the requisition it stands for; its number.
Checked<qlonglong> save(const QSqlDatabase& db, const RequisitionInput& input);

// The refusals of save() that tell about the stock.
extern const QString kMoreThanStock;
extern const QString kNotPositive;
// Deletes the requisition and gives its stored quantity back to its stored item,
// in one transaction.
void remove(const QSqlDatabase& db, qlonglong id);

} // namespace requisition_store
