#pragma once

#include "gui/WorkingCopyForm.h"
#include "services/Activities.h"

// The community activities: the boxes on top hold a working copy of the
// activity chosen in the list below them, which Save writes back. The list
// previews as a printed list.
class ActivitiesScreen : public WorkingCopyForm<CommunityActivity>
{
    Q_OBJECT
public:
    explicit ActivitiesScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void print() override;
};
