#pragma once

#include "app/Rights.h"
#include "core/ScreenContext.h"

#include <QString>

#include <span>

class QWidget;

// Makes a function screen for the main window. The screen is a top-level window
// owned by `parent`; the main window shows it and forgets it.
using ScreenFactory = QWidget* (*)(const ScreenContext& context, QWidget* parent);

template <class Screen> QWidget* makeScreen(const ScreenContext& context, QWidget* parent)
{
    return new Screen(context, parent);
}

// One function entry of the main window: which rights character governs it,
// its label and the screen it opens. A screen not built yet has no factory; its
// entry stays disabled whatever the rights say until the factory is filled in.
struct FunctionEntry
{
    RightsGroup group;
    int position;           // of the governing character, from 1
    const char* objectName; // of the entry's label
    const char* caption;    // UTF-8
    ScreenFactory open = nullptr;
    bool modal = false;
    const char* screenCaption = nullptr; // UTF-8; in place of the screen's own

    QString text() const { return QString::fromUtf8(caption); }
};

// A group button of the main window with the panel of its entries.
struct FunctionGroup
{
    RightsGroup group;
    const char* buttonName;
    const char* panelName;
    const char* caption; // UTF-8
};

// The 27 rights-governed entries, group by group, in panel order.
std::span<const FunctionEntry> functionTable();
std::span<const FunctionGroup> functionGroups();
const FunctionEntry* findFunction(const QString& objectName);
