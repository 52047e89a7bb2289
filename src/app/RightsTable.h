#pragma once

#include "app/Rights.h"

#include <QString>

#include <array>
#include <functional>
#include <span>

// What the two tick boxes of a function ("浏览", "编辑") show. The charging run
// can only be edited ("0" or "2"), the queries only browsed ("0" or "1"): their
// rows have one box.
struct RightsTicks
{
    bool browse = false;
    bool edit = false;
};

namespace rights_table {

// The length of a group's string as the editor writes it: the highest position
// of the group's functions (5, 7, 3, 6, 3, 3 for the office's functions).
int stringLength(std::span<const FunctionRow> functions, RightsGroup group);

// Reading: "2" ticks both boxes, "1" "浏览" only, anything else (or a missing
// character) neither.
RightsTicks ticksOf(QChar character);
// Writing: "编辑" gives "2" whatever "浏览" shows, else "浏览" gives "1", else "0".
QChar characterOf(const RightsTicks& ticks);

// The six strings written from the ticks of every function, each at its length.
std::array<QString, kRightsGroupCount> strings(std::span<const FunctionRow> functions,
                                               const std::function<RightsTicks(const FunctionRow&)>& ticks);

} // namespace rights_table
