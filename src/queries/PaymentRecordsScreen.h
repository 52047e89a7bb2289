#pragma once

#include "queries/PeriodQueryScreen.h"

// The fee records of one current occupant paid in a period, with what each still
// owes; printed as the payment list and exported.
class PaymentRecordsScreen : public PeriodQueryScreen
{
    Q_OBJECT
public:
    explicit PaymentRecordsScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    std::optional<ListQuery> result(qlonglong ownerId, const std::optional<Period>& period) const override;
    void print() override;
    void exportResult() override;
};
