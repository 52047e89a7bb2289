#pragma once

#include "charging/FeeRecord.h"

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

struct Amount
{
    QString text;    // the amount due as the screen writes it ("1205.0"); empty for typed fees
    QString refusal; // or why it cannot be computed
};

// The amount due of the input's type (Enter in the amount box). The floor area is
// that of the record's own owner for a stored record, else the chosen owner's.
Amount computeAmount(const QSqlDatabase& db, const FeeInput& input);

struct Checked
{
    std::optional<FeeRecord> record; // what Save stores
    QString refusal;                 // or why it refuses, the first check that fails
};

// The save checks in their order; a stored record keeps its owner, a new one
// takes the chosen owner. The periods are stored by the type's rule: the readings
// as typed, or the months as "yyyy-MM-dd", or nothing.
Checked check(const QSqlDatabase& db, const FeeInput& input);

} // namespace fee_entry
