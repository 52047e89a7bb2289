#pragma once

#include "output/ExportDescription.h"
#include "output/RecordSource.h"

#include <QDate>
#include <QString>

// What one exported cell holds, decided once for the workbook and the CSV file:
// a text, a number that reads back as its text, an amount with two decimals, a
// date, or nothing.
struct ExportedCell
{
    enum class Kind { Blank, Text, Number, Amount, Date };

    Kind kind = Kind::Blank;
    QString text;      // as shown: "00123", "12", "12.50", "2026-12-10"
    double number = 0; // Number and Amount
    QDate date = {};   // Date

    // The cell of `column` for the current record of `rows`; `field` is the
    // column's field index in `rows` (-1 for a screen value or a missing field).
    static ExportedCell of(const ExportColumn& column, int field, const RecordSource& rows);
};
