#pragma once

#include "core/FunctionRow.h"

#include <QString>

#include <array>

// What an operator may do in one function: "0" nothing, "1" browse, "2" edit.
enum class Access { None, Browse, Edit };

// The six rights strings of an operator: one character per function of a group.
// A function is available when its character sorts after "0" ("1" and "2"; a
// missing character or an empty string make it unavailable) and writable when the
// character is "2".
class OperatorRights
{
public:
    OperatorRights() = default;
    // The strings in group order; each is trimmed.
    explicit OperatorRights(const std::array<QString, kRightsGroupCount>& strings);

    const QString& string(RightsGroup group) const { return m_strings[index(group)]; }
    // `position` counts from 1.
    Access access(RightsGroup group, int position) const;
    bool isEmpty() const;
    // Whether the operator may edit operators and their rights (the fifth
    // base-information function, which also governs the backup of the data).
    bool mayEditOperators() const
    {
        return access(RightsGroup::Base, kOperatorEditorPosition) == Access::Edit;
    }
    static constexpr int kOperatorEditorPosition = 5;

    // The operator column that holds a group's string.
    static QString columnName(RightsGroup group);

private:
    static std::size_t index(RightsGroup group) { return static_cast<std::size_t>(group); }
    std::array<QString, kRightsGroupCount> m_strings;
};
