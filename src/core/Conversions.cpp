#include "core/Conversions.h"

#include "db/DbError.h"

#include <limits>

namespace convert {
namespace {

DbError notANumber(const QString& text)
{
    return DbError(QStringLiteral("“%1”不是有效的数值。").arg(text));
}

} // namespace

std::optional<Decimal2> optionalDecimal(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const std::optional<Decimal2> value = Decimal2::parse(trimmed);
    if (!value)
        throw notANumber(trimmed);
    return value;
}

std::optional<int> optionalInteger(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok)
        throw notANumber(trimmed);
    return value;
}

} // namespace convert
