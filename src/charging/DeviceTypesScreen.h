#pragma once

#include "gui/GridEditScreen.h"

// The kinds of engineering device, kept in their grid; a kind still used by a
// device cannot be deleted.
class DeviceTypesScreen : public GridEditScreen
{
    Q_OBJECT
public:
    explicit DeviceTypesScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    ListQuery listQuery() const override;
    bool storeRows(const QList<int>& rows) override;
    Checked<> removeRecord(const QVariant& key) override;
    bool saveAllowed(int row) override;
};
