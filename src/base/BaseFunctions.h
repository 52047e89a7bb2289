#pragma once

#include "core/FunctionRow.h"

#include <span>

// The functions of the base information: buildings, rooms, owners.
std::span<const FunctionRow> baseFunctions();
