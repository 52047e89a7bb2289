#pragma once

#include "admin/Requisition.h"
#include "admin/StockMovesScreen.h"
#include "gui/FormFields.h"

class QComboBox;
class QLabel;

// Requisitions of office supplies: the requisitions a query chose, edited in
// boxes bound to the row the list stands on. Saving a requisition takes its
// quantity out of the stock of its item, never more than the stock holds;
// deleting it gives the quantity back.
class RequisitionsScreen : public StockMovesScreen
{
    Q_OBJECT
public:
    explicit RequisitionsScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    ListQuery listQuery(const QList<qlonglong>& kept) const override;
    void showRecord(qlonglong id, bool isNew) override;
    Checked<qlonglong> storeRecord(qlonglong id) override;
    void removeRecord(qlonglong id) override;
    void showStock() override;
    void query() override;
    void exportRecords() override;

private:
    void fillChoosers();

    FormFields<RequisitionInput> m_fields{"take_goods"};
    QComboBox* m_dept;
    QComboBox* m_goods;
    QLabel* m_stock;
    std::optional<RequisitionFilter> m_filter; // of the last query; none lists nothing
    std::optional<int> m_shownDept;            // the department of the requisition shown, as stored
    std::optional<qlonglong> m_lastDept;       // the department the chooser showed last
};
