#include "charging/MonthlyRunScreen.h"

#include "charging/MonthlyRun.h"
#include "gui/WidgetFactory.h"

#include <QApplication>
#include <QDateEdit>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

MonthlyRunScreen::MonthlyRunScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TmanageMonthFrm"));
    setWindowTitle(QStringLiteral("物管费收取月份"));

    // Year and month only; the day they hold is today's, and is written into the bills.
    const auto monthPicker = [&](const char* name) {
        QDateEdit* picker = widgets::monthEdit(this, name);
        picker->setDate(context.clock->today());
        return picker;
    };
    m_first = monthPicker("dtpStart");
    m_last = monthPicker("dtpEnd");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("起始月份"), m_first);
    form->addRow(QStringLiteral("截止月份"), m_last);

    auto* ok = widgets::button(this, "btnOk", QStringLiteral("确定 &o."));
    ok->setDefault(true);
    auto* close = widgets::button(this, "btnClose", QStringLiteral("退出 &e."));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(widgets::buttonRow({ok, close}));

    // Whoever may open the run may run it.
    connect(ok, &QPushButton::clicked, this, &MonthlyRunScreen::runMonths);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void MonthlyRunScreen::runMonths()
{
    monthly_run::Outcome outcome;
    // One statement in one transaction: every owner is billed or none. It takes a
    // moment on a large estate and cannot be cancelled half-way.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ran = run(
        [&] { outcome = monthly_run::run(db(), m_first->date(), m_last->date(), context().clock->today()); });
    QApplication::restoreOverrideCursor();
    if (!ran)
        return;
    if (outcome.kind != monthly_run::Outcome::Kind::Billed) {
        messages().information(monthly_run::refusalText(outcome), {}, monthly_run::refusalDetail(outcome));
        return;
    }
    messages().information(QStringLiteral("收费完成!"));
    close();
}
