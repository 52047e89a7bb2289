#include "app/OperatorsScreen.h"

#include "app/FunctionTable.h"
#include "app/OperatorRegister.h"
#include "app/RightsTable.h"
#include "gui/WidgetFactory.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Each list item keeps its person's key: the operator's code, the employee's number.
constexpr int kKeyRole = Qt::UserRole;

QListWidgetItem* addItem(QListWidget* list, const QString& name, const QVariant& key)
{
    auto* item = new QListWidgetItem(name, list);
    item->setData(kKeyRole, key);
    return item;
}

QListWidgetItem* selected(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

void removeByKey(QListWidget* list, const QVariant& key)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->data(kKeyRole) == key) {
            delete list->takeItem(row);
            return;
        }
    }
}

struct RightsPage
{
    RightsGroup group;
    const char* name;
    const char* caption;
};

constexpr RightsPage kRightsPages[] = {
    {RightsGroup::Base, "tabBase", "基础资料"},     {RightsGroup::Admin, "tabAdmin", "行政管理"},
    {RightsGroup::Charge, "tabCharge", "收费中心"}, {RightsGroup::Manage, "tabManage", "物业管理"},
    {RightsGroup::Query, "tabQuery", "查询统计"},   {RightsGroup::Para, "tabPara", "参数设置"},
};

} // namespace

OperatorsScreen::OperatorsScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("ToperFrm"));
    setWindowTitle(QStringLiteral("操作员"));
    resize(720, 520);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildOperatorsPage(), QStringLiteral("操作员"));
    m_pages->addTab(buildRightsPage(), QStringLiteral("赋权限"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);

    run([&] {
        for (const NamedKey& e : operator_register::employeesNotOperators(db()))
            addItem(m_employees, e.name, e.id);
        for (const OperatorEntry& op : operator_register::operators(db())) {
            addItem(m_operators, op.name, op.code);
            addItem(m_rightsOperators, op.name, op.code);
        }
    });
    // The rights of the first operator whenever the page changes.
    connect(m_pages, &QTabWidget::currentChanged, this, [this] {
        if (m_rightsOperators->count() > 0) {
            m_rightsOperators->setCurrentRow(0);
            showRights(m_rightsOperators->item(0)->data(kKeyRole).toString());
        }
    });
}

QWidget* OperatorsScreen::buildOperatorsPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* operatorsBox = new QGroupBox(QStringLiteral("系统操作员"), page);
    // No length limit: a code longer than six characters is refused, never cut.
    m_code = widgets::lineEdit(operatorsBox, "edtOp_code");
    widgets::setField(m_code, "op_code");
    m_operators = new QListWidget(operatorsBox);
    m_operators->setObjectName(QStringLiteral("lstOper"));
    auto* operatorsLayout = new QVBoxLayout(operatorsBox);
    operatorsLayout->addWidget(m_code);
    operatorsLayout->addWidget(m_operators);

    auto* employeesBox = new QGroupBox(QStringLiteral("公司员工"), page);
    m_employees = new QListWidget(employeesBox);
    m_employees->setObjectName(QStringLiteral("lstEmp"));
    auto* employeesLayout = new QVBoxLayout(employeesBox);
    employeesLayout->addWidget(m_employees);

    auto* left = widgets::button(page, "btnLeft", QStringLiteral("→"));
    auto* right = widgets::button(page, "btnRight", QStringLiteral("←"));
    left->setToolTip(QStringLiteral("去除操作员"));
    right->setToolTip(QStringLiteral("设为操作员"));
    left->setEnabled(canWrite());
    right->setEnabled(canWrite());
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(right);
    arrows->addWidget(left);
    arrows->addStretch();
    auto* exit = widgets::button(page, "btnExit", QStringLiteral("退出 &e."));

    auto* lists = new QHBoxLayout;
    lists->addWidget(operatorsBox, 1);
    lists->addLayout(arrows);
    lists->addWidget(employeesBox, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(lists, 1);
    layout->addLayout(widgets::buttonRow({exit}));

    connect(m_operators, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { m_code->setText(item->data(kKeyRole).toString()); });
    connect(m_operators, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            m_code->setText(item->data(kKeyRole).toString());
    });
    connect(m_employees, &QListWidget::itemClicked, this, [this] { m_code->clear(); });
    connect(right, &QPushButton::clicked, this, &OperatorsScreen::makeOperator);
    connect(left, &QPushButton::clicked, this, &OperatorsScreen::removeOperator);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

QWidget* OperatorsScreen::buildRightsPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheet2"));
    m_rightsOperators = new QListWidget(page);
    m_rightsOperators->setObjectName(QStringLiteral("lstOperProp"));
    m_rightsOperators->setMaximumWidth(200);
    m_rightsPages = new QTabWidget(page);
    m_rightsPages->setObjectName(QStringLiteral("PageControl2"));
    for (const RightsPage& p : kRightsPages) {
        auto* tab = new QWidget(m_rightsPages);
        tab->setObjectName(QLatin1StringView(p.name));
        auto* grid = new QGridLayout(tab);
        int row = 0;
        for (const FunctionRow& f : functionTable()) {
            if (f.group != p.group)
                continue;
            grid->addWidget(new QLabel(QString::fromUtf8(f.caption), tab), row, 0);
            const auto box = [&](const char* name, const QString& caption, int column) {
                if (!name)
                    return;
                auto* check = new QCheckBox(caption, tab);
                check->setObjectName(QLatin1StringView(name));
                grid->addWidget(check, row, column);
                m_boxes.insert(QLatin1StringView(name), check);
            };
            box(f.browseBox, QStringLiteral("浏览"), 1);
            box(f.editBox, QStringLiteral("编辑"), 2);
            ++row;
        }
        grid->setRowStretch(row, 1);
        m_rightsPages->addTab(tab, QString::fromUtf8(p.caption));
    }

    auto* all = widgets::button(page, "BitBtn2", QStringLiteral("全选"));
    auto* save = widgets::button(page, "btnSaveProp", QStringLiteral("保存 &S."));
    save->setDefault(true);
    save->setEnabled(canWrite());
    auto* exit = widgets::button(page, "btnPexit", QStringLiteral("退出 &e."));
    auto* right = new QVBoxLayout;
    right->addWidget(m_rightsPages, 1);
    right->addLayout(widgets::buttonRow({all, save, exit}));
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(m_rightsOperators);
    layout->addLayout(right, 1);

    connect(m_rightsOperators, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showRights(item->data(kKeyRole).toString()); });
    connect(all, &QPushButton::clicked, this, &OperatorsScreen::toggleShownPage);
    connect(save, &QPushButton::clicked, this, &OperatorsScreen::saveRights);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

void OperatorsScreen::makeOperator()
{
    if (!canWrite())
        return;
    QListWidgetItem* employee = selected(m_employees);
    if (!employee) {
        messages().information(QStringLiteral("请先选择一个员工！"));
        return;
    }
    const QString code = m_code->text().trimmed();
    const QString name = employee->text();
    run([&] {
        if (const Checked<> made = operator_register::make(db(), code, name); !made.ok()) {
            refuse(made.refusal());
            return;
        }
        addItem(m_operators, name, code);
        addItem(m_rightsOperators, name, code);
        delete m_employees->takeItem(m_employees->row(employee));
        m_code->clear();
    });
}

void OperatorsScreen::removeOperator()
{
    if (!canWrite())
        return;
    QListWidgetItem* op = selected(m_operators);
    if (!op) {
        messages().information(QStringLiteral("请选择要去除的操作员！"));
        return;
    }
    if (!confirmDelete(QStringLiteral("确实要去除此操作员吗?")))
        return;
    const QString code = op->data(kKeyRole).toString();
    const QString name = op->text();
    run([&] {
        if (const Checked<> removed = operator_register::remove(db(), code); !removed.ok()) {
            refuse(removed.refusal());
            return;
        }
        addItem(m_employees, name, operator_register::employeeIdByName(db(), name));
        removeByKey(m_rightsOperators, code);
        delete m_operators->takeItem(m_operators->row(op));
        m_code->clear();
        if (m_shownOperator == code)
            m_shownOperator.clear();
    });
}

void OperatorsScreen::showRights(const QString& code)
{
    run([&] {
        const OperatorRights rights = operator_register::rights(db(), code);
        m_shownOperator = code;
        for (const FunctionRow& f : functionTable()) {
            const QString& string = rights.string(f.group);
            const RightsTicks ticks =
                rights_table::ticksOf(f.position <= string.size() ? string.at(f.position - 1) : QChar());
            if (f.browseBox)
                m_boxes.value(QLatin1StringView(f.browseBox))->setChecked(ticks.browse);
            if (f.editBox)
                m_boxes.value(QLatin1StringView(f.editBox))->setChecked(ticks.edit);
        }
    });
}

void OperatorsScreen::saveRights()
{
    // Save with no operator shown does nothing.
    if (!canWrite() || m_shownOperator.isEmpty())
        return;
    const auto ticks = [this](const FunctionRow& f) {
        const auto ticked = [this](const char* name) {
            return name && m_boxes.value(QLatin1StringView(name))->isChecked();
        };
        return RightsTicks{ticked(f.browseBox), ticked(f.editBox)};
    };
    run([&] {
        const Checked<> saved = operator_register::saveRights(db(), m_shownOperator,
                                                              rights_table::strings(functionTable(), ticks));
        if (!saved.ok())
            refuse(saved.refusal());
    });
}

void OperatorsScreen::toggleShownPage()
{
    // On the page shown, every "编辑" box changes; on the query page every "浏览" box.
    const RightsGroup group = kRightsPages[m_rightsPages->currentIndex()].group;
    for (const FunctionRow& f : functionTable()) {
        if (f.group != group)
            continue;
        const char* name = group == RightsGroup::Query ? f.browseBox : f.editBox;
        if (name) {
            QCheckBox* box = m_boxes.value(QLatin1StringView(name));
            box->setChecked(!box->isChecked());
        }
    }
}
