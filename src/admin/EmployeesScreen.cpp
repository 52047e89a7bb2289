#include "admin/EmployeesScreen.h"

#include "admin/Department.h"
#include "admin/Employee.h"
#include "db/LabelledColumns.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/NameChoice.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"
#include "output/ListReportLayouts.h"
#include "output/ReportPreview.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kEmpId = QStringLiteral("emp_id");

// The employee columns the printed list and the export read, by their names.

} // namespace

EmployeesScreen::EmployeesScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TemployFrm"));
    setWindowTitle(QStringLiteral("部门员工信息"));
    resize(980, 600);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pgcDeptEmp"));
    m_pages->addTab(buildDepartmentPage(), QStringLiteral("部门信息"));
    m_pages->addTab(buildEmployeePage(), QStringLiteral("员工信息"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    // The department filter lists the departments as they are when the pages switch.
    connect(m_pages, &QTabWidget::currentChanged, this, &EmployeesScreen::fillDepartmentFilter);

    for (const char* column : {"birthday", "graduate"})
        form_fields::setDate(m_empFields.box(column), context.clock->today());
    m_empFields.box<QComboBox>("sextype")->setCurrentIndex(0);
    m_deptForm->reload();
    run([&] { fillDepartmentChoices(); });
    m_empForm->reload();
}

QWidget* EmployeesScreen::buildDepartmentPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabDept"));
    m_departments = new QueryListModel(
        QList<ListColumn>{{QStringLiteral("dept_id"), QString(), ListColumn::Kind::Number}} +
            labelledColumns("department", {{"dept_name"}}),
        this);
    m_deptGrid = widgets::grid(page, "DBGrid1", m_departments);
    m_deptGrid->setMaximumWidth(260);
    // One caption and box a row.
    m_deptFields.text("dept_name", "dedtDeptName", &Department::name)
        .endsRow()
        .text("manager", "DBEdit2", &Department::manager)
        .endsRow()
        .memo("duty_desc", "DBMemo1", &Department::dutyDesc);
    m_deptEditors = new EditorSet(this);
    QGridLayout* form = m_deptFields.build(page, m_deptEditors);
    m_deptEditors->setReadOnly(!canWrite()); // browsing never writes
    // The department's boxes edit the row the list stands on: leaving it stores it.
    m_deptForm =
        new RowForm(context(), m_deptGrid, m_departments, QStringLiteral("dept_id"),
                    {[] { return department_store::list(); }, [this](int row) { showDepartment(row); },
                     [this] { return m_deptEditors->isModified(); }, [this] { return storeDepartment(); }});

    auto* add = widgets::button(page, "btnAdd", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnDel", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnSave", QStringLiteral("保存 &s."));
    auto* exit = widgets::button(page, "btnExit", QStringLiteral("退出 &e."));
    for (QPushButton* b : {add, remove, save})
        b->setEnabled(canWrite());
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addStretch();
    right->addLayout(widgets::buttonRow({add, remove, save, exit}));
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(m_deptGrid);
    layout->addLayout(right, 1);

    connect(add, &QPushButton::clicked, this, [this] {
        if (m_deptForm->addNewRow())
            m_deptFields.box("dept_name")->setFocus();
    });
    connect(save, &QPushButton::clicked, this,
            [this] { m_deptForm->storeAndReload([this] { return QVariant(m_shownDept); }); });
    // Deleting a department asks nothing.
    connect(remove, &QPushButton::clicked, this, [this] {
        m_deptForm->removeCurrent({}, [this](const QVariant& key) -> Checked<> {
            const Checked<> removed = department_store::removeUnlessUsed(db(), key.toLongLong());
            if (!removed.ok())
                return removed;
            fillDepartmentChoices(); // a department deleted can no longer be chosen
            return Done{};
        });
    });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

void EmployeesScreen::showDepartment(int row)
{
    Department department;
    if (row >= 0 && !m_departments->isNewRow(row))
        run([&] {
            department =
                department_store::load(db(), m_deptForm->keyAt(row).toLongLong()).value_or(Department{});
        });
    const EditorSet::Loading loading(*m_deptEditors);
    m_shownDept = department.id;
    m_deptFields.show(department);
    m_deptEditors->setModified(false);
}

bool EmployeesScreen::storeDepartment()
{
    if (!canWrite())
        return true;
    Department department = m_deptFields.read();
    department.id = m_shownDept;
    const Checked<qlonglong> saved = department_store::save(db(), department);
    if (!saved.ok()) {
        refuse(saved.refusal()); // a new department stays open to be put right
        return false;
    }
    m_shownDept = saved.value();
    m_deptEditors->setModified(false);
    fillDepartmentChoices(); // a new or renamed department is chosen by its name as it is now
    return true;
}

void EmployeesScreen::fillDepartmentChoices()
{
    // The employee shown keeps the department chosen for it.
    const QVariant chosen = m_dept->currentIndex() >= 0 ? m_dept->currentData() : QVariant();
    name_choice::fill(m_dept, department_store::names(db()));
    m_dept->setCurrentIndex(chosen.isValid() ? m_dept->findData(chosen) : -1);
}

QWidget* EmployeesScreen::buildEmployeePage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabEmp"));
    m_deptFilter = widgets::comboBox(page, "cmbDept", {}, "department", "dept_name");
    // The filter only takes the name's length: a refused department name puts the
    // cursor into the department's own box, not here.
    m_deptFilter->setProperty(widgets::kField, QVariant());
    m_employees = new QueryListModel(QList<ListColumn>{{kEmpId, QString(), ListColumn::Kind::Number}} +
                                         labelledColumns("employee", {{"emp_name"}}),
                                     this);
    m_empGrid = widgets::grid(page, "dbgEmp", m_employees);
    m_empGrid->setMaximumWidth(220);
    m_all = new QCheckBox(QStringLiteral("所有员工"), page);
    m_all->setObjectName(QStringLiteral("cbxFull"));
    // The boxes are plain: Save alone writes them; moving on shows the next employee.
    m_empForm =
        new RowForm(context(), m_empGrid, m_employees, kEmpId,
                    {[this] { return employee_store::list(m_scope); }, [this](int row) { showEmployee(row); },
                     [] { return false; }, [] { return true; }},
                    RowForm::OnLeave::Discard);

    // The identity card, the choices and the dates stay for a new employee: the
    // next one often shares them.
    using E = Employee;
    m_empFields.text("emp_name", "edtName", &E::name)
        .keyed("dept_id", "DBLookupComboBox1", &E::deptId)
        .choice("sextype", "cmbSex", {QStringLiteral("男"), QStringLiteral("女")}, &E::sex)
        .keptOnClear()
        .text("link_tel", "edtLinkTel", &E::linkTel)
        .choice("polity", "cmbPolity",
                {QStringLiteral("党员"), QStringLiteral("团员"), QStringLiteral("民主党"),
                 QStringLiteral("群众"), QStringLiteral("其它")},
                &E::polity)
        .keptOnClear()
        .date("birthday", "dtpBirthday", &E::birthday)
        .keptOnClear()
        .text("identity_card", "edtID", &E::identityCard)
        .keptOnClear()
        .choice("marry", "cmbMarry", {QStringLiteral("是"), QStringLiteral("否")}, &E::marry)
        .keptOnClear()
        .text("school", "edtSchool", &E::school)
        .date("graduate", "dtpGraduate", &E::graduate)
        .keptOnClear()
        .text("special", "edtSpecial", &E::special)
        .choice("grade", "cmbGrade",
                {QStringLiteral("小学"), QStringLiteral("初中"), QStringLiteral("高中"),
                 QStringLiteral("中专"), QStringLiteral("大专"), QStringLiteral("大学")},
                &E::grade)
        .keptOnClear()
        .text("post", "edtPost", &E::post)
        .text("position", "edtPosition", &E::position)
        .text("old_company", "edtOldCompany", &E::oldCompany)
        .wide()
        .text("home_address", "edtHomeAddress", &E::homeAddress)
        .wide()
        .text("regist_address", "edtRegistAddress", &E::registAddress)
        .wide()
        .memo("remarks", "memRemark", &E::remarks)
        .wide()
        .height(56);
    // The boxes are plain: no editor set watches them.
    QGridLayout* grid = m_empFields.build(page);
    m_dept = m_empFields.box<QComboBox>("dept_id");

    auto* add = widgets::button(page, "btnEadd", QStringLiteral("增加 &a."));
    auto* remove = widgets::button(page, "btnEdel", QStringLiteral("删除 &d."));
    auto* save = widgets::button(page, "btnEsave", QStringLiteral("保存 &s."));
    auto* exit = widgets::button(page, "BitBtn4", QStringLiteral("退出 &e."));
    auto* print = widgets::button(page, "btnPrint", QStringLiteral("打印 &p."));
    auto* excel = widgets::button(page, "Btnexcela", QStringLiteral("Excel"));
    for (QPushButton* b : {add, remove, save})
        b->setEnabled(canWrite());

    auto* left = new QVBoxLayout;
    left->addWidget(m_deptFilter);
    left->addWidget(m_empGrid, 1);
    left->addWidget(m_all);
    auto* right = new QVBoxLayout;
    right->addLayout(grid);
    right->addStretch();
    right->addLayout(widgets::buttonRow({add, remove, save, print, excel, exit}));
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(m_deptFilter, &QComboBox::currentTextChanged, this, &EmployeesScreen::filterByDepartment);
    // Every employee, or again the department chosen last (everyone before any).
    connect(m_all, &QCheckBox::toggled, this, [this](bool all) {
        m_scope = all || !m_filtered ? employee_store::Scope{} : employee_store::Scope{false, m_filterId};
        m_empForm->reload();
    });
    connect(add, &QPushButton::clicked, this, &EmployeesScreen::addEmployee);
    connect(save, &QPushButton::clicked, this, &EmployeesScreen::saveEmployee);
    connect(remove, &QPushButton::clicked, this, [this] {
        if (!canWrite())
            return;
        m_empForm->removeCurrent(QStringLiteral("确实要删除此记录吗?"), [this](const QVariant& key) {
            employee_store::remove(db(), key.toLongLong());
            return Done{};
        });
    });
    connect(print, &QPushButton::clicked, this, &EmployeesScreen::printEmployees);
    connect(excel, &QPushButton::clicked, this, &EmployeesScreen::exportEmployees);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    return page;
}

void EmployeesScreen::showEmployee(int row)
{
    if (row < 0) {
        // An empty list shows no employee: nothing of the last one stays in the
        // boxes but the choices and the dates.
        m_empFields.clear();
        form_fields::clear(m_empFields.box("identity_card"));
        return;
    }
    if (m_employees->isNewRow(row)) {
        m_dept->setCurrentIndex(-1); // the new employee's department is chosen anew
        return;
    }
    run([&] {
        if (const std::optional<Employee> e = employee_store::load(db(), m_empForm->keyAt(row).toLongLong()))
            m_empFields.show(*e);
    });
}

void EmployeesScreen::addEmployee()
{
    if (!m_empForm->addNewRow())
        return;
    m_empFields.clear();
    m_empFields.box("emp_name")->setFocus();
}

void EmployeesScreen::saveEmployee()
{
    // With no employee shown (an empty list) there is nothing to save.
    const int row = m_empForm->currentRow();
    if (!canWrite() || row < 0)
        return;
    Employee e = m_empFields.read();
    e.id = m_empForm->keyAt(row).toLongLong(); // 0 for a new employee
    run(
        [&] {
            const Checked<qlonglong> saved = employee_store::save(db(), e);
            if (!saved.ok()) {
                refuse(saved.refusal());
                return;
            }
            m_empForm->reload(saved.value());
        },
        [this] { m_empForm->reload(); });
}

void EmployeesScreen::fillDepartmentFilter()
{
    const QSignalBlocker blocker(m_deptFilter);
    m_deptFilter->clear();
    run([&] { name_choice::fill(m_deptFilter, department_store::names(db())); });
    m_deptFilter->setEditText(QString());
}

void EmployeesScreen::filterByDepartment()
{
    // The department chosen, or the first of a typed name; a name of no
    // department shows no employee. "所有员工" is left as it is.
    run([&] {
        m_filterId = name_choice::chosen(
            m_deptFilter, [this](const QString& name) { return department_store::idByName(db(), name); });
    });
    m_filtered = true;
    m_scope = {false, m_filterId};
    m_empForm->reload();
}

void EmployeesScreen::printEmployees()
{
    run([&] {
        // The list as it stands, its filter included.
        StatementRecordSource rows(db(), m_employees->query(), employee_store::listedColumns());
        context().reports->preview(reports::rptEmp(), rows, this);
    });
}

void EmployeesScreen::exportEmployees()
{
    StatementRecordSource rows(db(), m_employees->query(), employee_store::listedColumns());
    if (exportList(context(), employee_store::exported(), rows, this))
        widgets::selectRow(m_empGrid, 0);
}
