#pragma once

#include "admin/Requisition.h"
#include "gui/Screen.h"

class EditorSet;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableView;
class QueryListModel;
class RowForm;

// Requisitions of office supplies: the requisitions a query chose, edited in
// boxes bound to the row the list stands on. Saving a requisition takes its
// quantity out of the stock of its item, never more than the stock holds;
// deleting it gives the quantity back.
class RequisitionsScreen : public Screen
{
    Q_OBJECT
public:
    explicit RequisitionsScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillChoosers();
    void showStock();
    void showRequisition(int row);
    bool storeRequisition();
    void addRequisition();
    void saveRequisition();
    // Saves a changed requisition as Save does, before the list is read anew.
    bool saveIfModified();
    void removeRequisition();
    void query();
    void exportRequisitions();

    QueryListModel* m_list;
    QTableView* m_grid;
    RowForm* m_form;
    EditorSet* m_editors;
    QComboBox* m_dept;
    QComboBox* m_goods;
    QDateEdit* m_date;
    QLabel* m_stock;
    QLineEdit* m_quantity;
    QLineEdit* m_xhgg;
    QLineEdit* m_takeMan;
    QLineEdit* m_pzr;
    QLineEdit* m_remark;
    std::optional<RequisitionFilter> m_filter; // of the last query; none lists nothing
    QList<qlonglong> m_kept;                   // requisitions stored since the last query
    qlonglong m_shownId = 0;                   // the requisition in the boxes (0: a new one)
    std::optional<int> m_shownDept;            // its department as stored
    std::optional<qlonglong> m_lastDept;       // the department the chooser showed last
};
