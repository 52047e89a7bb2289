#pragma once

#include "core/FunctionRow.h"

#include <span>

// The functions of the administration, and the office supplies among the parameters.
std::span<const FunctionRow> adminFunctions();
