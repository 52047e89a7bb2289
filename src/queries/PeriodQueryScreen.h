#pragma once

#include "core/Period.h"
#include "db/ListQuery.h"
#include "gui/Screen.h"

#include <optional>

class OwnerPicker;
class QDateEdit;
class QHBoxLayout;
class QPushButton;
class QTableView;
class QVBoxLayout;
class QueryListModel;

// A read-only query over a period: two date pickers ("开始日期", "结束日期", both
// days included, starting today), "查询", the result grid, and the buttons to
// print, export and close. Some queries list the records of the owner chosen in
// an owner list beside the result; choosing another owner shows that owner's
// rows of the last query's period without a new query. Nothing is written, so
// the operator's right makes no difference. Payments and owners written elsewhere
// show in the result of the last query and in the owner list at once.
class PeriodQueryScreen : public Screen
{
    Q_OBJECT
public:
    struct Parts
    {
        QList<ListColumn> columns; // of the result grid, dbgTakeIn
        bool withOwners = false;   // an owner list, DBGrid1, titled "住户名称"
        bool currentOwnersOnly = false;
        bool withPrint = false; // "打印 &p."
    };

    PeriodQueryScreen(const ScreenContext& context, const Parts& parts, QWidget* parent);

protected:
    QueryListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    // Where a subclass puts the result (the grid, or tabs holding it).
    QVBoxLayout* resultArea() const { return m_result; }
    QDateEdit* firstPicker() const { return m_first; }
    QDateEdit* lastPicker() const { return m_last; }
    // The period of the last query; none before the first.
    const std::optional<Period>& period() const { return m_period; }
    qlonglong ownerId() const;
    // Shows the result again for the period of the last query and the owner chosen.
    void showResult();
    // Puts the grid back on its first row (after an export).
    void backToFirstRow();

    // What the result holds for the owner chosen (0 without an owner list) and the
    // period of the last query (none before the first).
    virtual std::optional<ListQuery> result(qlonglong ownerId, const std::optional<Period>& period) const = 0;
    // The result shown anew (the chart of the income).
    virtual void resultShown() {}
    virtual void print() {}
    virtual void exportResult() = 0;

private:
    QueryListModel* m_model;
    QTableView* m_grid;
    OwnerPicker* m_owners = nullptr;
    QDateEdit* m_first;
    QDateEdit* m_last;
    QVBoxLayout* m_result;
    std::optional<Period> m_period;
};
