#pragma once

#include "queries/PeriodQueryScreen.h"

// What each owner still owes per charge type over a period; printed as the
// dunning list and exported.
class ArrearsScreen : public PeriodQueryScreen
{
    Q_OBJECT
public:
    explicit ArrearsScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    std::optional<ListQuery> result(qlonglong ownerId, const std::optional<Period>& period) const override;
    void print() override;
    void exportResult() override;
};
