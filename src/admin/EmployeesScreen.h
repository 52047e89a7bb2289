#pragma once

#include "admin/Employee.h"
#include "gui/Screen.h"

class EditorSet;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
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
    QLineEdit* m_deptName;
    QLineEdit* m_manager;
    QPlainTextEdit* m_duties;
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
    QLineEdit* m_name;
    QComboBox* m_dept;
    QComboBox* m_sex;
    QLineEdit* m_linkTel;
    QComboBox* m_polity;
    QDateEdit* m_birthday;
    QLineEdit* m_identityCard;
    QComboBox* m_marry;
    QLineEdit* m_school;
    QDateEdit* m_graduate;
    QLineEdit* m_special;
    QComboBox* m_grade;
    QLineEdit* m_post;
    QLineEdit* m_position;
    QLineEdit* m_oldCompany;
    QLineEdit* m_homeAddress;
    QLineEdit* m_registAddress;
    QPlainTextEdit* m_remarks;
};
