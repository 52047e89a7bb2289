#pragma once

#include "admin/Purchase.h"
#include "gui/Screen.h"

class EditorSet;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QTableView;
class QueryListModel;
class RowForm;

// Purchases of office supplies: the purchases a query chose, edited in boxes
// bound to the row the list stands on. Saving or deleting a purchase moves the
// stock of its item with it.
class PurchasesScreen : public Screen
{
    Q_OBJECT
public:
    explicit PurchasesScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillGoods();
    void selectGoods(const std::optional<int>& goodsId);
    void showStock();
    void showPurchase(int row);
    bool storePurchase();
    void addPurchase();
    void savePurchase();
    // Saves a changed purchase as Save does, before the list is read anew.
    bool saveIfModified();
    void removePurchase();
    void query();
    void pickGoods();
    void exportPurchases();

    QueryListModel* m_list;
    QTableView* m_grid;
    RowForm* m_form;
    EditorSet* m_editors;
    QGroupBox* m_detail;
    QComboBox* m_goods;
    QLineEdit* m_xhgg;
    QLineEdit* m_price;
    QLineEdit* m_buyer;
    QDateEdit* m_date;
    QLineEdit* m_quantity;
    QLineEdit* m_pzr;
    QPlainTextEdit* m_remark;
    std::optional<PurchaseFilter> m_filter; // of the last query; none lists nothing
    QList<qlonglong> m_kept;                // purchases stored since the last query
    qlonglong m_shownId = 0;                // the purchase in the boxes (0: a new one)
};
