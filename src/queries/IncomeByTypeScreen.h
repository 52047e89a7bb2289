#pragma once

#include "queries/PeriodQueryScreen.h"

class QChartView;

// The income of a period per charge type: the paid totals as a bar chart, the
// totals as a table, and its export.
class IncomeByTypeScreen : public PeriodQueryScreen
{
    Q_OBJECT
public:
    explicit IncomeByTypeScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    std::optional<ListQuery> result(qlonglong ownerId, const std::optional<Period>& period) const override;
    void resultShown() override;
    void exportResult() override;

private:
    QChartView* m_chart;
};
