#include "app/RightsTable.h"

namespace rights_table {

int stringLength(std::span<const FunctionRow> functions, RightsGroup group)
{
    int length = 0;
    for (const FunctionRow& f : functions) {
        if (f.group == group)
            length = std::max(length, f.position);
    }
    return length;
}

RightsTicks ticksOf(QChar character)
{
    if (character == u'2')
        return {true, true};
    if (character == u'1')
        return {true, false};
    return {};
}

QChar characterOf(const RightsTicks& ticks)
{
    if (ticks.edit)
        return u'2';
    return ticks.browse ? u'1' : u'0';
}

std::array<QString, kRightsGroupCount> strings(std::span<const FunctionRow> functions,
                                               const std::function<RightsTicks(const FunctionRow&)>& ticks)
{
    std::array<QString, kRightsGroupCount> result;
    for (int g = 0; g < kRightsGroupCount; ++g)
        result[static_cast<std::size_t>(g)] =
            QString(stringLength(functions, static_cast<RightsGroup>(g)), u'0');
    for (const FunctionRow& f : functions)
        result[static_cast<std::size_t>(f.group)][f.position - 1] = characterOf(ticks(f));
    return result;
}

} // namespace rights_table
