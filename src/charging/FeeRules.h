#pragma once

#include "core/Decimal2.h"

#include <QDate>
#include <QString>

#include <optional>

// The arithmetic of fees, exact to the fen: amounts due are rounded once, to one
// decimal place, halves away from zero ("0.05" → "0.1", "0.04" → "0.0").
namespace fee_rules {

// Months billed from the first to the last month, both counted; the days play no
// part (2003-01-31 to 2003-02-01 is two months). Negative when last is before first.
int months(const QDate& first, const QDate& last);

// months × unit price × floor area.
Money areaAmount(int months, Money unitPrice, Area area);
// months × unit price.
Money priceAmount(int months, Money unitPrice);
// (current − previous reading) × unit price.
Money meterAmount(Decimal2 previous, Decimal2 current, Money unitPrice);

// An amount due as the fee screen writes it: one decimal, no grouping ("1205.0").
QString amountText(Money amount);

// A meter reading as typed: a number of at most ten characters (it is kept as
// typed in a ten-character column) with at most two decimals; empty is 0.
// Nothing for anything else.
std::optional<Decimal2> reading(const QString& text);

} // namespace fee_rules
