#pragma once

#include "gui/GridEditScreen.h"

#include <functional>

// The goods types of the catalogue, kept in their grid (page "物品类别"): the
// names are typed in place, a type that still has goods is not deleted.
class GoodsTypesPage : public GridEditScreen
{
    Q_OBJECT
public:
    explicit GoodsTypesPage(const ScreenContext& context, QWidget* parent = nullptr);

    // Reads the types again and stands on the type of `key` (the first when not listed).
    using GridEditScreen::reload;

    // The stored type the grid stands on, with its name; none on a new row or a
    // type without a name.
    struct Current
    {
        qlonglong id = 0;
        QString name;
    };
    // Called whenever the grid shows another row as current (also after a reload).
    void onCurrentType(std::function<void(const std::optional<Current>&)> handler)
    {
        m_onCurrent = std::move(handler);
    }
    int typeCount() const;

protected:
    ListQuery listQuery() const override;
    bool storeRows(const QList<int>& rows) override;
    Checked<> deleteRefusal(const QVariant& key) override;
    Checked<> removeRecord(const QVariant& key) override;
    void currentRowShown(int row) override;

private:
    std::function<void(const std::optional<Current>&)> m_onCurrent;
};
