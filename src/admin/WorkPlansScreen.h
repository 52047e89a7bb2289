#pragma once

#include "gui/Screen.h"

class EditorSet;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QTableView;
class QTimeEdit;
class QueryListModel;
class RowForm;

// The operator's own work plans: title, type, state, reminder time, period,
// superior and content, edited where they are listed. A plan in state "提醒"
// reminds once its reminder minute has passed (the main window asks).
class WorkPlansScreen : public Screen
{
    Q_OBJECT
public:
    explicit WorkPlansScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    void showPlan(int row);
    bool storePlan();

    QueryListModel* m_plans;
    QTableView* m_grid;
    RowForm* m_form;
    EditorSet* m_editors;
    QLineEdit* m_title;
    QComboBox* m_state;
    QDateEdit* m_awokeDate;
    QTimeEdit* m_awokeTime;
    QComboBox* m_manager;
    QComboBox* m_planType;
    QLineEdit* m_startEnd;
    QPlainTextEdit* m_contents;
    qlonglong m_shownId = 0;
};
