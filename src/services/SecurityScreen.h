#pragma once

#include "gui/Screen.h"

class QTabWidget;

// Security and fire protection: the log of notable security events and the list
// of fire-protection zones, one tab each. The boxes beside each list hold a
// working copy of its current record, which Save writes back; each list previews
// as a printed list.
class SecurityScreen : public Screen
{
    Q_OBJECT
public:
    explicit SecurityScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    QTabWidget* m_pages;
};
