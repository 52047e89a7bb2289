#pragma once

#include "charging/FeeRecord.h"
#include "core/Checked.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// What the operator typed into the fee screen's entry boxes.
struct FeeInput
{
    qlonglong ownerId = 0;  // the owner chosen in the list; 0 for none
    qlonglong recordId = 0; // the record shown; 0 for a new one
    qlonglong typeId = 0;   // the type chosen from the list; 0 when typed by hand
    QString typeName;       // a typed name is looked up by name
    QString previousReading;
    QString currentReading;
    QDate firstMonth;
    QDate lastMonth;
    QString shouldPay;
    QString paid;
    QDate takeDate;
    QString remarks;
};

// The rules of the fee screen, without the screen: the amount due by a type's
// billing rule, and the checks a record passes before it is stored. Every
// function throws DbError.
namespace fee_entry {

// The amount due of the input's type (Enter in the amount box) as the screen
// writes it ("1205.0"; empty for a fee typed by hand), or why it cannot be
// computed. The floor area is that of the record's own owner for a stored
// record, else the chosen owner's.
Checked<QString> computeAmount(const QSqlDatabase& db, const FeeInput& input);

// The record Save stores, or the first of the save checks, in their order, that
// refuses. A stored record keeps its owner, a new one takes the chosen owner.
// The periods are stored by the type's rule: the readings as typed, or the
// months as "yyyy-MM-dd", or nothing.
Checked<FeeRecord> check(const QSqlDatabase& db, const FeeInput& input);

} // namespace fee_entry
