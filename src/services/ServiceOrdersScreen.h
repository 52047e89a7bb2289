#pragma once

#include "gui/FormFields.h"
#include "gui/Screen.h"
#include "services/ServiceOrders.h"

class EditorSet;
class OwnerPicker;
class QPushButton;
class QTableView;
class QueryListModel;
class RowForm;

// Paid service orders: every owner on the left; on the right the chosen owner's
// orders, edited in the boxes above their list. Choosing an owner shows the
// owner's latest order. Leaving a changed order stores it; Save stores the order
// shown (a new one on an empty list) and stays on it. Delete asks nothing.
// Nothing is stored without an owner: with none, Add and Save are disabled.
class ServiceOrdersScreen : public Screen
{
    Q_OBJECT
public:
    explicit ServiceOrdersScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Shown { None, New, Stored };

    void selectOwner(qlonglong ownerId);
    void orderShown(int row);
    bool storeShown();
    void add();
    void save();
    void removeCurrent();
    void updateButtons();

    OwnerPicker* m_owners;
    qlonglong m_ownerId = 0;

    QueryListModel* m_orders;
    QTableView* m_orderGrid;
    RowForm* m_form;
    EditorSet* m_editors;
    Shown m_shown = Shown::None;
    qlonglong m_shownId = 0;
    qlonglong m_stored = 0; // the order the last store wrote

    FormFields<ServiceOrderInput> m_fields{"serveorder"};

    QPushButton* m_add;
    QPushButton* m_save;
    QPushButton* m_remove;
};
