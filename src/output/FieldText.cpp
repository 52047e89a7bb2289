#include "output/FieldText.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace {

int digitsAt(const QString& s, qsizetype at, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = s[at + i];
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// "yyyy-MM-dd" at the start of a text; the time part, when any, is not read.
std::optional<QDate> dateAtStart(const QString& s)
{
    if (s.size() < 10 || s[4] != u'-' || s[7] != u'-' || (s.size() > 10 && s[10] != u' ' && s[10] != u'T'))
        return std::nullopt;
    const int y = digitsAt(s, 0, 4);
    const int m = digitsAt(s, 5, 2);
    const int d = digitsAt(s, 8, 2);
    if (y < 0 || m < 0 || d < 0)
        return std::nullopt;
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString plainText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return value.toString();
    }
}

} // namespace

std::optional<QDate> fieldDate(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().isValid() ? std::optional<QDate>(value.toDate()) : std::nullopt;
    case QMetaType::QDateTime:
        return value.toDateTime().isValid() ? std::optional<QDate>(value.toDateTime().date()) : std::nullopt;
    case QMetaType::QString:
        return dateAtStart(value.toString());
    default:
        return std::nullopt;
    }
}

QString fieldText(const QVariant& value, FieldFormat format)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (format) {
    case FieldFormat::Plain:
        return plainText(value);
    case FieldFormat::Decimal:
        if (const std::optional<Decimal2> d = fieldHundredths(value))
            return d->toString(2);
        return plainText(value);
    case FieldFormat::Date:
        if (const std::optional<QDate> d = fieldDate(value))
            return d->toString(Qt::ISODate);
        return plainText(value);
    case FieldFormat::DateTime: {
        const std::optional<QDate> d = fieldDate(value);
        if (!d)
            return plainText(value);
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        const QString s = value.toString();
        // "yyyy-MM-dd HH:mm:ss" loses its seconds; a date alone stays a date.
        return s.size() >= 16 ? s.left(16).replace(u'T', u' ') : d->toString(Qt::ISODate);
    }
    }
    return plainText(value);
}

std::optional<Decimal2> fieldHundredths(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return Decimal2::fromHundredths(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        if (value.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return Decimal2::fromHundredths(value.toLongLong());
    case QMetaType::Double: {
        // A sum the engine computed in floating point, exact while it is whole
        // and within 2^53.
        const double d = value.toDouble();
        if (!std::isfinite(d) || d != std::trunc(d) || std::abs(d) > 9007199254740992.0)
            return std::nullopt;
        return Decimal2::fromHundredths(static_cast<std::int64_t>(d));
    }
    default:
        return std::nullopt;
    }
}

QString printDateText(const QDate& date)
{
    return date.toString(Qt::ISODate);
}
