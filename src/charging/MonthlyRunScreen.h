#pragma once

#include "gui/Screen.h"

class QDateEdit;

// The monthly run: bills the property fee of the months chosen to every owner
// with a room link at once.
class MonthlyRunScreen : public Screen
{
    Q_OBJECT
public:
    explicit MonthlyRunScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    void runMonths();

    QDateEdit* m_first;
    QDateEdit* m_last;
};
