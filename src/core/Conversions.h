#pragma once

#include "core/Decimal2.h"

#include <QString>

#include <optional>

// Numbers typed into editors. Empty text is no value; text that is no number is a
// conversion error: a DbError whose text the general error box shows.
namespace convert {

std::optional<Decimal2> optionalDecimal(const QString& text);
std::optional<int> optionalInteger(const QString& text);

} // namespace convert
