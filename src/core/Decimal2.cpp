#include "core/Decimal2.h"

#include <algorithm>
#include <limits>

namespace {

// GCC and Clang both have a 128-bit integer; products of two amounts need it.
__extension__ typedef __int128 Int128;

// Divides by 10^places, rounding half away from zero.
Int128 divideRounded(Int128 value, int places)
{
    Int128 divisor = 1;
    for (int i = 0; i < places; ++i)
        divisor *= 10;
    if (divisor == 1)
        return value;
    const Int128 half = divisor / 2;
    return value >= 0 ? (value + half) / divisor : -((-value + half) / divisor);
}

bool fitsInt64(Int128 value)
{
    return value >= std::numeric_limits<std::int64_t>::min() &&
           value <= std::numeric_limits<std::int64_t>::max();
}

int clampDecimals(int decimals)
{
    return decimals < 0 ? 0 : (decimals > 2 ? 2 : decimals);
}

} // namespace

std::optional<Decimal2> Decimal2::parse(const QString& text)
{
    const QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;

    qsizetype i = 0;
    bool negative = false;
    if (s[i] == u'+' || s[i] == u'-') {
        negative = s[i] == u'-';
        ++i;
    }

    // The text is read digit by digit and never as a whole number, so that no
    // length of text can overflow anything: the whole part counts its digits
    // (leading zeros aside) and stops at the first beyond any amount; of the
    // decimals only the first two count, and the third rounds them.
    constexpr int kMaxWholeDigits = 17; // 10^17 hundredths and more do not fit in 64 bits
    std::int64_t whole = 0;
    int wholeDigits = 0;
    int fraction = 0; // the first two decimals, as hundredths
    int fractionDigits = 0;
    bool roundUp = false;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        seenDigit = true;
        const int digit = c.unicode() - u'0';
        if (!seenPoint) {
            if (wholeDigits == 0 && digit == 0)
                continue; // a leading zero
            if (++wholeDigits > kMaxWholeDigits)
                return std::nullopt;
            whole = whole * 10 + digit;
        } else if (fractionDigits < 2) {
            fraction = fraction * 10 + digit;
            ++fractionDigits;
        } else if (fractionDigits == 2) {
            // Half away from zero: the third decimal alone decides.
            roundUp = digit >= 5;
            ++fractionDigits;
        }
    }
    if (!seenDigit)
        return std::nullopt;

    for (int k = std::min(fractionDigits, 2); k < 2; ++k)
        fraction *= 10;
    // At most 17 digits of whole units: the product stays within 64 bits; the
    // sum may not, so it is taken in 128 bits and checked.
    Int128 hundredths = Int128(whole) * 100 + fraction + (roundUp ? 1 : 0);
    if (negative)
        hundredths = -hundredths;
    if (!fitsInt64(hundredths))
        return std::nullopt;
    return Decimal2(static_cast<std::int64_t>(hundredths));
}

std::optional<Decimal2> Decimal2::fromDb(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong hundredths = value.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return Decimal2(hundredths);
}

Decimal2 Decimal2::rounded(int decimals) const
{
    const int drop = 2 - clampDecimals(decimals);
    Int128 v = divideRounded(m_hundredths, drop);
    for (int k = 0; k < drop; ++k)
        v *= 10;
    return Decimal2(static_cast<std::int64_t>(v));
}

Decimal2 Decimal2::times(Decimal2 other, int decimals) const
{
    // The exact product has four decimals; round it once to the places asked for.
    const int drop = 4 - clampDecimals(decimals);
    Int128 v = divideRounded(Int128(m_hundredths) * other.m_hundredths, drop);
    for (int k = clampDecimals(decimals); k < 2; ++k)
        v *= 10;
    return Decimal2(static_cast<std::int64_t>(v));
}

QString Decimal2::toString(int decimals) const
{
    decimals = clampDecimals(decimals);
    const std::int64_t v = rounded(decimals).m_hundredths;
    const bool negative = v < 0;
    // Work on the magnitude as unsigned so that the smallest int64 does not overflow.
    const std::uint64_t magnitude = negative ? std::uint64_t(0) - std::uint64_t(v) : std::uint64_t(v);
    QString result = QString::number(magnitude / 100);
    if (decimals > 0) {
        const std::uint64_t fraction = magnitude % 100;
        QString frac = QString::number(fraction).rightJustified(2, u'0');
        result += u'.' + frac.left(decimals);
    }
    if (negative && v != 0)
        result.prepend(u'-');
    return result;
}
