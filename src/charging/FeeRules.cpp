#include "charging/FeeRules.h"

#include "db/NumberInput.h"

namespace fee_rules {

int months(const QDate& first, const QDate& last)
{
    return (last.year() - first.year()) * 12 + (last.month() - first.month()) + 1;
}

Money areaAmount(int months, Money unitPrice, Area area)
{
    return unitPrice.times(months).times(area, 1);
}

Money priceAmount(int months, Money unitPrice)
{
    return unitPrice.times(months).rounded(1);
}

Money meterAmount(Decimal2 previous, Decimal2 current, Money unitPrice)
{
    return (current - previous).times(unitPrice, 1);
}

QString amountText(Money amount)
{
    return amount.toString(1);
}

std::optional<Decimal2> reading(const QString& text)
{
    const QString typed = number_input::normalised(text);
    if (typed.isEmpty())
        return Decimal2();
    if (typed.size() > 10)
        return std::nullopt;
    // The readings' column is text; the range of an amount holds any ten characters.
    const number_input::Decimal d = number_input::decimal(typed, "charge_take", "should_pay");
    if (d.result != number_input::Result::Number)
        return std::nullopt;
    return d.value;
}

} // namespace fee_rules
