#pragma once

#include "admin/Purchase.h"
#include "gui/Screen.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

// Chooses which purchases the purchase window lists: an item, a fragment of the
// buyer's name, of the model and size (型号规格), and a period of purchase dates.
// "确定" accepts the dialog, "退出" (and Esc) rejects it. Opened window-modal with
// open(); read filter() once it was accepted.
class PurchaseQueryDialog : public ScreenDialog
{
    Q_OBJECT
public:
    explicit PurchaseQueryDialog(const ScreenContext& context, QWidget* parent = nullptr);

    // The conditions chosen; none when nothing was chosen. A box counts when it
    // holds any text, blanks too.
    std::optional<PurchaseFilter> filter() const;

private:
    QComboBox* m_goods;
    QLineEdit* m_buyer;
    QLineEdit* m_xhgg;
    QCheckBox* m_byDate;
    QDateEdit* m_first;
    QDateEdit* m_last;
};
