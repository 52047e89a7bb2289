#pragma once

#include "admin/Department.h"
#include "admin/Employee.h"
#include "gui/FormFields.h"
#include "gui/Screen.h"

class EditorSet;
class QCheckBox;
class QComboBox;
class QTabWidget;
class QTableView;
class QueryListModel;
class RowForm;

// The staff register: the departments (name, leader, duties), edited where they
// are listed, and the employees of a department (or all), entered in plain boxes
// that Save writes; the employee list prints and exports as it is filtered.
class EmployeesScreen : public Screen
{
    Q_OBJECT
public:
    explicit EmployeesScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    QWidget* buildDepartmentPage();
    QWidget* buildEmployeePage();
    void showDepartment(int row);
    bool storeDepartment();
    // The departments an employee can be given, as they are now. Throws DbError.
    void fillDepartmentChoices();
    void showEmployee(int row);
    void addEmployee();
    void saveEmployee();
    void fillDepartmentFilter();
    void filterByDepartment();
    void printEmployees();
    void exportEmployees();

    QTabWidget* m_pages;
    // departments
    QueryListModel* m_departments;
    QTableView* m_deptGrid;
    RowForm* m_deptForm;
    EditorSet* m_deptEditors;
    FormFields<Department> m_deptFields{"department"};
    qlonglong m_shownDept = 0;
    // employees
    QueryListModel* m_employees;
    QTableView* m_empGrid;
    RowForm* m_empForm;
    QComboBox* m_deptFilter;
    QCheckBox* m_all;
    bool m_filtered = false;             // a department was chosen in the filter
    std::optional<qlonglong> m_filterId; // the department chosen (none: a name of no department)
    employee_store::Scope m_scope;       // what the list shows
    FormFields<Employee> m_empFields{"employee"};
    QComboBox* m_dept; // the employee's department, of the departments as they are
};
