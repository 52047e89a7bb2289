#include "admin/WorkPlansScreen.h"

#include "admin/WorkPlan.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>

WorkPlansScreen::WorkPlansScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TworkPlanFrm"));
    setWindowTitle(context.op.name + QStringLiteral("的工作计划"));
    resize(760, 480);

    m_plans = new QueryListModel({{QStringLiteral("plan_id"), QString(), ListColumn::Kind::Number},
                                  {QStringLiteral("title"), QStringLiteral("标题")}},
                                 this);
    m_grid = widgets::grid(this, "dbgPlan", m_plans);
    m_grid->setMaximumWidth(200);

    m_title = widgets::lineEdit(this, "dedtTitle", "work_plan", "title");
    m_state = widgets::comboBox(this, "dcmbState",
                                {QStringLiteral("提醒"), QStringLiteral("开始"), QStringLiteral("完成")},
                                "work_plan", "state");
    m_awokeDate = widgets::dateEdit(this, "dtpAwoke");
    m_awokeTime = new QTimeEdit(this);
    m_awokeTime->setObjectName(QStringLiteral("dtpAwokeTime"));
    m_awokeTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_manager = new QComboBox(this);
    m_manager->setObjectName(QStringLiteral("DBLookupComboBox1"));
    m_planType = widgets::comboBox(this, "dcmbPlanType", {QStringLiteral("工作"), QStringLiteral("私人")},
                                   "work_plan", "plan_type");
    m_startEnd = widgets::lineEdit(this, "dedtStartEnd", "work_plan", "start_end");
    m_contents = widgets::memo(this, "dmemContent");
    m_editors = new EditorSet(this);
    m_editors->add(
        {m_title, m_state, m_awokeDate, m_awokeTime, m_manager, m_planType, m_startEnd, m_contents});
    for (QDateTimeEdit* picker :
         {static_cast<QDateTimeEdit*>(m_awokeDate), static_cast<QDateTimeEdit*>(m_awokeTime)})
        picker->setDateTime(context.clock->now());

    auto* awoke = new QHBoxLayout;
    awoke->addWidget(m_awokeDate);
    awoke->addWidget(m_awokeTime);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("标题"), m_title);
    form->addRow(QStringLiteral("执行状态"), m_state);
    form->addRow(QStringLiteral("提醒日期"), awoke);
    form->addRow(QStringLiteral("上级"), m_manager);
    form->addRow(QStringLiteral("计划类型"), m_planType);
    form->addRow(QStringLiteral("起止时间"), m_startEnd);
    form->addRow(QStringLiteral("内容"), m_contents);

    auto* add = widgets::button(this, "btnAdd", QStringLiteral("增加 &a"));
    auto* remove = widgets::button(this, "btnDelete", QStringLiteral("删除 &d"));
    auto* save = widgets::button(this, "btnModi", QStringLiteral("保存 &s."));
    auto* exit = widgets::button(this, "btnExit", QStringLiteral("退出 &e."));
    // Subordinates' plans have no screen yet: the button shows it by being disabled.
    auto* subPlans = widgets::button(this, "btnSubPlan", QStringLiteral("下属工作计划"));
    subPlans->setEnabled(false);

    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addLayout(widgets::buttonRow({subPlans, add, remove, save, exit}));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(right, 1);

    // Work plans are the operator's own: the right to write is not asked.
    m_form = new RowForm(context, m_grid, m_plans, QStringLiteral("plan_id"),
                         {[this] { return work_plan_store::list(this->context().op.code); },
                          [this](int row) { showPlan(row); }, [this] { return m_editors->isModified(); },
                          [this] { return storePlan(); }});
    connect(add, &QPushButton::clicked, this, [this] {
        if (m_form->addNewRow())
            m_title->setFocus();
    });
    connect(save, &QPushButton::clicked, this,
            [this] { m_form->storeAndReload([this] { return QVariant(m_shownId); }); });
    connect(remove, &QPushButton::clicked, this, [this] {
        m_form->removeCurrent(QStringLiteral("确实要删除此记录吗?"), [this](const QVariant& key) {
            work_plan_store::remove(db(), key.toLongLong());
            return Done{};
        });
    });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    run([&] {
        // The superior is an operator: the list keeps each operator's code.
        for (const PlanOperator& op : work_plan_store::operators(db()))
            m_manager->addItem(op.name, op.code);
    });
    m_form->reload();
}

void WorkPlansScreen::showPlan(int row)
{
    const EditorSet::Loading loading(*m_editors);
    if (m_form->isNewRow(row)) {
        // A new plan reminds, for work; the pickers keep what they show.
        m_shownId = 0;
        m_title->clear();
        m_state->setEditText(WorkPlan::kRemind);
        m_planType->setEditText(QStringLiteral("工作"));
        m_manager->setCurrentIndex(-1);
        m_startEnd->clear();
        m_contents->clear();
        m_editors->setModified(false);
        return;
    }
    WorkPlan plan;
    if (row >= 0)
        run([&] {
            plan = work_plan_store::load(db(), m_form->keyAt(row).toLongLong()).value_or(WorkPlan{});
        });
    m_shownId = plan.id;
    m_title->setText(plan.title);
    m_state->setEditText(plan.state);
    const QDateTime awoke = QDateTime::fromString(plan.awokeDate, QStringLiteral("yyyy-MM-dd HH:mm"));
    if (awoke.isValid()) {
        m_awokeDate->setDate(awoke.date());
        m_awokeTime->setTime(awoke.time());
    }
    m_manager->setCurrentIndex(m_manager->findData(plan.manager));
    m_planType->setEditText(plan.planType);
    m_startEnd->setText(plan.startEnd);
    m_contents->setPlainText(plan.contents);
    m_editors->setModified(false);
}

bool WorkPlansScreen::storePlan()
{
    WorkPlan plan;
    plan.id = m_shownId;
    plan.opCode = context().op.code; // a plan is the plan of whoever saves it
    plan.title = m_title->text();
    plan.planType = m_planType->currentText();
    plan.state = m_state->currentText();
    plan.awokeDate = work_plan_store::awokeText(m_awokeDate->date(), m_awokeTime->time());
    plan.manager = m_manager->currentIndex() >= 0 ? m_manager->currentData().toString() : QString();
    plan.startEnd = m_startEnd->text();
    plan.contents = m_contents->toPlainText();
    const Checked<qlonglong> saved = work_plan_store::save(db(), plan);
    if (!saved.ok()) {
        refuse(saved.refusal());
        return false;
    }
    m_shownId = saved.value();
    m_editors->setModified(false);
    return true;
}
