#pragma once

#include "core/Decimal2.h"

#include <QString>

#include <optional>

// Numbers typed into the boxes of the screens, read for the column they are
// stored in. One parse for every box: an optional sign, digits, and for decimal
// columns at most two decimals; full-width digits, point and signs are read as
// their ASCII forms; blanks around the number are ignored. A value beyond the
// column's range is no number either, so it never reaches the database wrapped
// or cut. There is no arithmetic on double.
namespace number_input {

enum class Result { Empty, Number, NotANumber };

struct Decimal
{
    Result result = Result::Empty;
    Decimal2 value;
};

struct Whole
{
    Result result = Result::Empty;
    qlonglong value = 0;
};

// The longest number read, blanks around it not counted: more than any column's
// digits, sign and point; anything longer is no number.
inline constexpr int kMaxLength = 24;

// Money, areas and other decimal(p,2) columns.
Decimal decimal(const QString& text, const char* table, const char* column);
// Whole numbers of an integer column, within its range (a byte 0 to 255 ...).
Whole whole(const QString& text, const char* table, const char* column);

// For boxes whose refusal is the general conversion error ("“十”不是有效的数值。"):
// the value, or nothing for an empty box; anything else throws DbError.
std::optional<Decimal2> optionalDecimal(const QString& text, const char* table, const char* column);
std::optional<int> optionalWhole(const QString& text, const char* table, const char* column);

// The text trimmed, with full-width digits, point and signs as ASCII.
QString normalised(const QString& text);

} // namespace number_input
