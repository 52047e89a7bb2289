#pragma once

#include "app/Rights.h"
#include "core/FunctionRow.h"

#include <QString>

#include <span>

// A group button of the main window with the panel of its entries.
struct FunctionGroup
{
    RightsGroup group;
    const char* buttonName;
    const char* panelName;
    const char* caption; // UTF-8
};

// The rights-governed functions: the rows every subsystem declares, and the
// operators' own, group by group, in panel order (by position).
std::span<const FunctionRow> functionTable();
std::span<const FunctionGroup> functionGroups();
const FunctionRow* findFunction(const QString& objectName);
