#pragma once

#include "core/Decimal2.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

// How the stored value of a field is shown in a printed list or an exported
// workbook.
enum class FieldFormat {
    Plain,    // as stored: texts as they are, numbers in full
    Decimal,  // a decimal(p,2) column held in hundredths, shown with two decimals: "12.50"
    Date,     // a date or date-time text, shown "yyyy-MM-dd"
    DateTime, // a date-time text, shown "yyyy-MM-dd HH:mm"; a date alone "yyyy-MM-dd"
};

// The text a field shows. A missing value (null or invalid) shows empty; a value
// that does not fit the format (a date field holding other text, a decimal field
// holding text or a fraction of a hundredth) shows as stored.
QString fieldText(const QVariant& value, FieldFormat format);

// The amount a decimal field holds: a whole number of hundredths, stored as an
// integer (or a floating-point number without fraction). Nothing for a missing
// value and for anything else (a text such as "  180.00", 12.5 hundredths).
std::optional<Decimal2> fieldHundredths(const QVariant& value);

// The date of a stored date ("yyyy-MM-dd") or date-time ("yyyy-MM-dd HH:mm:ss")
// text, or of a QDate/QDateTime; nothing for anything else.
std::optional<QDate> fieldDate(const QVariant& value);

// The date of printing as the printed lists show it.
QString printDateText(const QDate& date);
