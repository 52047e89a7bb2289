#pragma once

#include "core/FunctionRow.h"

#include <span>

// The functions of the charging centre, and the charge and device types among the
// parameters.
std::span<const FunctionRow> chargingFunctions();
