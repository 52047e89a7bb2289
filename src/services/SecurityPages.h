#pragma once

#include "gui/WorkingCopyForm.h"
#include "services/Security.h"

// The security events ("重大事件"): name, kind, who dealt with it, the day, the
// place, what happened and how it was dealt with.
class SecurityEventsPage : public WorkingCopyForm<SecurityEvent>
{
    Q_OBJECT
public:
    SecurityEventsPage(const ScreenContext& context, QWidget* parent);

protected:
    void clearForNew() override;
    void print() override;
};

// The fire-protection zones ("消防片区"): name, grade, place, area, who checks
// it and how often, who is responsible, the equipment and a remark.
class FireZonesPage : public WorkingCopyForm<FireZone>
{
    Q_OBJECT
public:
    FireZonesPage(const ScreenContext& context, QWidget* parent);

protected:
    void print() override;
};
