#pragma once

#include "admin/Purchase.h"
#include "admin/StockMovesScreen.h"
#include "gui/FormFields.h"

class QComboBox;
class QGroupBox;

// Purchases of office supplies: the purchases a query chose, edited in boxes
// bound to the row the list stands on. Saving or deleting a purchase moves the
// stock of its item with it.
class PurchasesScreen : public StockMovesScreen
{
    Q_OBJECT
public:
    explicit PurchasesScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    ListQuery listQuery(const QList<qlonglong>& kept) const override;
    void showRecord(qlonglong id, bool isNew) override;
    Checked<qlonglong> storeRecord(qlonglong id) override;
    void removeRecord(qlonglong id) override;
    void showStock() override;
    void query() override;
    void exportRecords() override;

private:
    void fillGoods();
    void selectGoods(const std::optional<int>& goodsId);
    void pickGoods();

    FormFields<PurchaseInput> m_fields{"goods_buy"};
    QGroupBox* m_detail;
    QComboBox* m_goods;
    std::optional<PurchaseFilter> m_filter; // of the last query; none lists nothing
};
