#pragma once

#include "admin/Requisition.h"
#include "gui/Screen.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

// Chooses which requisitions the requisition window lists: a department, an
// item, a fragment of the name of who took it, a period of dates and a goods
// type (which also narrows the items offered). "查询" accepts the dialog,
// "退出" (and Esc) rejects it. Opened window-modal with open(); read filter()
// once it was accepted.
class RequisitionQueryDialog : public ScreenDialog
{
    Q_OBJECT
public:
    explicit RequisitionQueryDialog(const ScreenContext& context, QWidget* parent = nullptr);

    // The conditions chosen; none when nothing was chosen. The name box counts
    // when it holds any text, blanks too.
    std::optional<RequisitionFilter> filter() const;

private:
    void fillGoods();

    QComboBox* m_dept;
    QComboBox* m_goods;
    QLineEdit* m_takeMan;
    QCheckBox* m_byDate;
    QDateEdit* m_first;
    QDateEdit* m_last;
    QComboBox* m_type;
};
