#pragma once

#include "app/Rights.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <span>

// The rights editor's view of the 27 functions: per function its group, its
// position in the group's string, its caption and the two check boxes ("浏览",
// "编辑") that show it. The charging run can only be edited ("0" or "2"), the
// queries only browsed ("0" or "1").
struct RightsFunction
{
    RightsGroup group;
    int position;          // from 1
    const char* caption;   // UTF-8
    const char* browseBox; // null when the function cannot be browsed alone
    const char* editBox;   // null when the function cannot be edited
};

// What the two boxes of a function show.
struct RightsTicks
{
    bool browse = false;
    bool edit = false;
};

namespace rights_table {

std::span<const RightsFunction> functions();
// The length of a group's string as the editor writes it: 5, 7, 3, 6, 3, 3.
int stringLength(RightsGroup group);

// Reading: "2" ticks both boxes, "1" "浏览" only, anything else (or a missing
// character) neither.
RightsTicks ticksOf(QChar character);
// Writing: "编辑" gives "2" whatever "浏览" shows, else "浏览" gives "1", else "0".
QChar characterOf(const RightsTicks& ticks);

// The six strings written from the ticks of every function, each at its length.
std::array<QString, kRightsGroupCount>
strings(const std::function<RightsTicks(const RightsFunction&)>& ticks);

} // namespace rights_table
