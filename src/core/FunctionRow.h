#pragma once

#include <QString>
#include <QStringList>

#include <span>

class QWidget;
struct ScreenContext;

// The six function groups of the main window, in the order of their rights
// strings on an operator row.
enum class RightsGroup { Base, Admin, Charge, Manage, Query, Para };
inline constexpr int kRightsGroupCount = 6;

// Makes a function screen for the main window. The screen is a top-level window
// owned by `parent`; the main window shows it and forgets it.
using ScreenFactory = QWidget* (*)(const ScreenContext& context, QWidget* parent);

template <class Screen> QWidget* makeScreen(const ScreenContext& context, QWidget* parent)
{
    return new Screen(context, parent);
}

// One function of the office, declared once by the subsystem that holds its
// screen: which rights character governs it, the label of its entry in the main
// window, the two tick boxes ("浏览", "编辑") of the rights editor, and the screen
// it opens. The main window, the rights editor and the tests read these rows.
// A screen not built yet has no factory; its entry stays disabled whatever the
// rights say until the factory is filled in.
struct FunctionRow
{
    RightsGroup group;
    int position;           // of the governing character, from 1; also the panel order
    const char* objectName; // of the entry's label
    const char* caption;    // UTF-8
    const char* browseBox;  // null when the function cannot be browsed alone
    const char* editBox;    // null when the function cannot be edited
    ScreenFactory open = nullptr;
    bool modal = false;
    const char* screenCaption = nullptr; // UTF-8; in place of the screen's own

    QString text() const { return QString::fromUtf8(caption); }
};

namespace function_rows {

// What keeps a set of rows from being one function table, one line per fault
// (empty when none): a row without a name, caption or tick box, a position
// below 1, two rows on one position, name or tick box, and a group whose
// positions leave a gap.
QStringList problems(std::span<const FunctionRow> rows);

} // namespace function_rows
