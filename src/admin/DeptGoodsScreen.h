#pragma once

#include "gui/Screen.h"

#include <optional>

class EditorSet;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QueryListModel;
class RowForm;

// The office supplies each department holds: the departments on the left, what
// the department chosen holds on the right, edited in boxes bound to the row the
// list stands on. A register of its own: no stock moves.
class DeptGoodsScreen : public Screen
{
    Q_OBJECT
public:
    explicit DeptGoodsScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void departmentShown(int row);
    void showHeld(int row);
    bool storeHeld();
    void removeHeld();
    void exportHeld();

    QueryListModel* m_departments;
    QTableView* m_deptGrid;
    RowForm* m_deptForm;
    QueryListModel* m_held;
    QTableView* m_grid;
    RowForm* m_form;
    EditorSet* m_editors;
    QComboBox* m_goods;
    QLineEdit* m_quantity;
    QPlainTextEdit* m_remark;
    QPushButton* m_add;
    QPushButton* m_save;
    QPushButton* m_remove;
    std::optional<qlonglong> m_deptId; // the department chosen
    QString m_deptName;
    qlonglong m_shownId = 0;              // the row in the boxes (0: a new one)
    std::optional<qlonglong> m_shownDept; // the department the row in the boxes is of
};
