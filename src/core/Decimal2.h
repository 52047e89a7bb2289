#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <compare>
#include <cstdint>
#include <optional>

// An exact decimal with two places, held as a whole number of hundredths in a
// 64-bit integer. Money is counted in fen (分) this way, floor areas in
// hundredths of a square metre; the database keeps the same integer, so every
// sum over a column is exact. There is no arithmetic on double anywhere.
//
// One rounding rule everywhere: half away from zero.
class Decimal2
{
public:
    constexpr Decimal2() = default;
    static constexpr Decimal2 fromHundredths(std::int64_t hundredths) { return Decimal2(hundredths); }
    static constexpr Decimal2 fromWhole(std::int64_t units) { return Decimal2(units * 100); }

    // Parses typed text such as "12", "-3.5", " 1234.56 ", "+7.", ".5". Blanks around
    // the number are ignored; more than two decimals, however many, are rounded half
    // away from zero. Anything else (empty text, letters, grouping commas, exponents,
    // a number beyond 64 bits of hundredths) gives nothing. Text of any length is
    // read in one pass without overflow.
    static std::optional<Decimal2> parse(const QString& text);

    // The database value of a decimal(p,2) column: an integer count of hundredths, or
    // null for a missing value.
    static std::optional<Decimal2> fromDb(const QVariant& value);
    QVariant toDb() const { return QVariant::fromValue<qlonglong>(m_hundredths); }

    constexpr std::int64_t hundredths() const { return m_hundredths; }

    // Fixed-point text with the given number of decimals (0, 1 or 2), rounded:
    // "1234.50", "-0.3", "12". No grouping separators.
    QString toString(int decimals = 2) const;

    // The same value rounded to `decimals` places (0, 1 or 2).
    Decimal2 rounded(int decimals) const;

    // Exact product with a whole number (months, quantities).
    Decimal2 times(std::int64_t factor) const { return Decimal2(m_hundredths * factor); }

    // Product of two decimals, rounded once to `decimals` places (0, 1 or 2):
    // area × unit price rounded to one decimal is area.times(price, 1).
    Decimal2 times(Decimal2 other, int decimals = 2) const;

    constexpr Decimal2 operator+(Decimal2 o) const { return Decimal2(m_hundredths + o.m_hundredths); }
    constexpr Decimal2 operator-(Decimal2 o) const { return Decimal2(m_hundredths - o.m_hundredths); }
    constexpr Decimal2 operator-() const { return Decimal2(-m_hundredths); }
    Decimal2& operator+=(Decimal2 o)
    {
        m_hundredths += o.m_hundredths;
        return *this;
    }
    Decimal2& operator-=(Decimal2 o)
    {
        m_hundredths -= o.m_hundredths;
        return *this;
    }
    constexpr auto operator<=>(const Decimal2&) const = default;

    constexpr bool isZero() const { return m_hundredths == 0; }

private:
    constexpr explicit Decimal2(std::int64_t hundredths) : m_hundredths(hundredths) {}
    std::int64_t m_hundredths = 0;
};

// Amounts of money, in fen.
using Money = Decimal2;
// Floor areas, in hundredths of a square metre.
using Area = Decimal2;

Q_DECLARE_METATYPE(Decimal2)
