#pragma once

#include "core/FunctionRow.h"

#include <span>

// The functions of the property services.
std::span<const FunctionRow> serviceFunctions();
