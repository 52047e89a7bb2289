#pragma once

#include "gui/Screen.h"

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QTableView;
class QueryListModel;

// The receipt register: the receipts of a day (or of every day), found by
// number, owner or operator, exported; a receipt is voided here, with a reason.
// The edit right of the register is the right to void any receipt; browsing it
// voids nothing.
class ReceiptsScreen : public Screen
{
    Q_OBJECT
public:
    explicit ReceiptsScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    void showReceipts();
    void voidCurrent();
    void exportReceipts();

    QDateEdit* m_day;
    QCheckBox* m_allDays;
    QLineEdit* m_number;
    QLineEdit* m_owner;
    QLineEdit* m_operator;
    QueryListModel* m_model;
    QTableView* m_grid;
};
