#pragma once

#include "gui/WorkingCopyForm.h"
#include "services/Cleaning.h"

// The areas the cleaning staff look after: the list on the left, beside it the
// boxes holding a working copy of the area chosen, which Save writes back. The
// list previews as a printed list.
class CleaningScreen : public WorkingCopyForm<CleaningArea>
{
    Q_OBJECT
public:
    explicit CleaningScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void print() override;
};
