#pragma once

#include "gui/GridEditScreen.h"

// The charge types, kept in their grid: name, unit price and billing rule. The
// fees every office bills keep their name and rule and cannot be deleted.
class ChargeTypesScreen : public GridEditScreen
{
    Q_OBJECT
public:
    explicit ChargeTypesScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    ListQuery listQuery() const override;
    bool storeRows(const QList<int>& rows) override;
    Checked<> removeRecord(const QVariant& key) override;
    bool cellEditable(int row, int column) const override;
    bool canDelete(int row) const override;

private:
    bool isProtectedRow(int row) const;
};
