#pragma once

#include "gui/Screen.h"

class QComboBox;
class QTableView;
class QueryListModel;

// Picks one item of office supplies by its type: the types in a box, the goods of
// the type chosen in a grid. "确定" picks the highlighted item; "退出 &e." and Esc
// pick nothing. Opened window-modal with open(); read result() once it finished.
class GoodsPickerDialog : public ScreenDialog
{
    Q_OBJECT
public:
    explicit GoodsPickerDialog(const ScreenContext& context, QWidget* parent = nullptr);

    // The goods_id of the item picked as text, or empty when nothing was picked
    // (left with "退出 &e." or Esc, or "确定" on an empty list).
    const QString& result() const { return m_result; }

private:
    void showGoods();

    QComboBox* m_type;
    QueryListModel* m_goods;
    QTableView* m_grid;
    QString m_result;
};
