#pragma once

#include "core/FunctionRow.h"

#include <span>

// The functions of the queries: browsed only, so each has the "浏览" box alone.
std::span<const FunctionRow> queryFunctions();
