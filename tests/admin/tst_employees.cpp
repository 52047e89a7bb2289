#include "admin/EmployeesScreen.h"
#include "output/SpreadsheetProgram.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// The staff register: departments kept where they are listed, employees entered
// in plain boxes, the department filter keeping each department's number.
class TestEmployees : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void departments();
    void employees();
    void departmentFilter();
    void theDepartmentChoiceFollowsTheEmployee();
    void anEmptyListSavesNoEmployee();
    void aDepartmentWithOfficeSuppliesStays();
    void printAndExport();
    void browseOnly();

private:
    TestDatabase* t = nullptr;
};

namespace {

void click(QWidget* s, const char* name)
{
    control<QPushButton>(s, name)->click();
}

void type(QWidget* s, const char* name, const QString& text)
{
    auto* edit = control<QLineEdit>(s, name);
    edit->setText(text);
    emit edit->textEdited(text);
}

QStringList names(QWidget* s, const char* grid)
{
    return columnTexts(control<QTableView>(s, grid)->model(), 1);
}

void showEmployees(QWidget* s)
{
    control<QTabWidget>(s, "pgcDeptEmp")->setCurrentIndex(1);
}

} // namespace

void TestEmployees::init()
{
    t = new TestDatabase;
    t->exec("insert into department (dept_name, manager) values ('工程部', '王工'), ('保安部', '李队'), "
            "('工程部', '同名')");
    t->exec("insert into employee (dept_id, emp_name, link_tel, identity_card, birthday) values "
            "(1, '张三', '0755-26543210', '440301198005170011', '1980-05-17'), (2, '李四', '13900001111', "
            "null, null), "
            "(3, '王五', null, null, null)");
}

void TestEmployees::cleanup()
{
    delete t;
}

void TestEmployees::departments()
{
    EmployeesScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QString("部门员工信息"));
    QCOMPARE(control<QTabWidget>(&screen, "pgcDeptEmp")->currentIndex(), 0);
    QCOMPARE(control<QLineEdit>(&screen, "dedtDeptName")->text(), names(&screen, "DBGrid1").first());

    // A new department's name must be new; an empty one is refused, and the
    // cursor waits in the name.
    screen.show();
    click(&screen, "btnAdd");
    control<QLineEdit>(&screen, "DBEdit2")->setFocus();
    click(&screen, "btnSave");
    QCOMPARE(t->messages().lastText(), QString("请填写部门名称！"));
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, "dedtDeptName"));
    type(&screen, "dedtDeptName", " 保安部 ");
    click(&screen, "btnSave");
    QCOMPARE(t->messages().lastText(), QString("部门名称不能重复！"));
    type(&screen, "dedtDeptName", "财务部");
    control<QPlainTextEdit>(&screen, "DBMemo1")->setPlainText(" 管账 ");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select dept_name || '|' || duty_desc from department where dept_id = 4").toString(),
             QString("财务部| 管账 "));

    // Departments in pinyin order (保 bao, 财 cai, 工 gong; by code point 财 comes
    // last), in the list and in both department choosers.
    EmployeesScreen reopened(t->context());
    const QStringList order{"保安部", "财务部", "工程部", "工程部"};
    QCOMPARE(names(&reopened, "DBGrid1"), order);
    showEmployees(&reopened); // fills the department filter
    for (const char* chooser : {"DBLookupComboBox1", "cmbDept"}) {
        auto* box = control<QComboBox>(&reopened, chooser);
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        items.removeAll(QString());
        QCOMPARE(items, order);
    }

    // Renaming an existing department to a name in use is accepted; moving on stores it.
    auto* grid = control<QTableView>(&screen, "DBGrid1");
    const int finance = names(&screen, "DBGrid1").indexOf("财务部");
    grid->selectRow(finance);
    type(&screen, "dedtDeptName", "工程部");
    grid->selectRow(finance == 0 ? 1 : 0);
    QCoreApplication::processEvents();
    QCOMPARE(t->scalar("select count(*) from department where dept_name = '工程部'").toInt(), 3);

    // Deleting asks nothing; a department with employees stays.
    t->messages().clear();
    grid->selectRow(names(&screen, "DBGrid1").indexOf("保安部"));
    click(&screen, "btnDel");
    QCOMPARE(t->messages().texts(), QStringList{"此部门有存在员工记录，不能删除！"});
    t->exec("delete from employee where dept_id = 2");
    click(&screen, "btnDel");
    QCOMPARE(t->scalar("select count(*) from department").toInt(), 3);
    QCOMPARE(t->messages().texts().size(), 1); // no question
}

void TestEmployees::employees()
{
    EmployeesScreen screen(t->context());
    showEmployees(&screen);
    QCOMPARE(names(&screen, "dbgEmp"), (QStringList{"张三", "李四", "王五"}));
    QCOMPARE(control<QLineEdit>(&screen, "edtID")->text(), QString("440301198005170011"));
    QCOMPARE(control<QComboBox>(&screen, "DBLookupComboBox1")->currentText(), QString("工程部"));

    // A new employee keeps the identity card, choices and dates shown; the name is cleared.
    click(&screen, "btnEadd");
    QVERIFY(control<QLineEdit>(&screen, "edtName")->text().isEmpty());
    QVERIFY(control<QLineEdit>(&screen, "edtLinkTel")->text().isEmpty());
    QCOMPARE(control<QLineEdit>(&screen, "edtID")->text(), QString("440301198005170011"));
    QCOMPARE(control<QComboBox>(&screen, "DBLookupComboBox1")->currentIndex(), -1);
    click(&screen, "btnEsave");
    QCOMPARE(t->messages().lastText(), QString("请填写员工姓名！"));
    control<QLineEdit>(&screen, "edtName")->setText(" 赵六 ");
    auto* dept = control<QComboBox>(&screen, "DBLookupComboBox1");
    dept->setCurrentIndex(dept->findText("保安部"));
    click(&screen, "btnEsave");
    QCOMPARE(t->scalar("select emp_name || '|' || dept_id || '|' || identity_card || '|' || birthday "
                       "from employee where emp_id = 4")
                 .toString(),
             QString("赵六|2|440301198005170011|1980-05-17"));
    QCOMPARE(names(&screen, "dbgEmp").last(), QString("赵六"));

    // A stored employee is changed in place.
    control<QTableView>(&screen, "dbgEmp")->selectRow(1);
    control<QLineEdit>(&screen, "edtLinkTel")->setText("0755-88888888");
    click(&screen, "btnEsave");
    QCOMPARE(t->scalar("select link_tel from employee where emp_id = 2").toString(),
             QString("0755-88888888"));
    QCOMPARE(t->scalar("select count(*) from employee").toInt(), 4);

    t->messages().answerConfirm(false);
    click(&screen, "btnEdel");
    QCOMPARE(t->scalar("select count(*) from employee").toInt(), 4);
    click(&screen, "btnEdel");
    QCOMPARE(t->messages().shown().last().text, QString("确实要删除此记录吗?"));
    QCOMPARE(t->scalar("select count(*) from employee where emp_id = 2").toInt(), 0);
}

void TestEmployees::departmentFilter()
{
    EmployeesScreen screen(t->context());
    auto* filter = control<QComboBox>(&screen, "cmbDept");
    QCOMPARE(filter->count(), 0); // filled when the pages switch
    showEmployees(&screen);
    QCOMPARE(filter->count(), 3);
    // Two departments of one name stay two: the second 工程部 lists its own employee.
    const int second = filter->findData(3);
    filter->setCurrentIndex(second);
    QCOMPARE(names(&screen, "dbgEmp"), QStringList{"王五"});
    filter->setEditText("保安部"); // a typed name is found by name
    QCOMPARE(names(&screen, "dbgEmp"), QStringList{"李四"});
    filter->setEditText("没有的部门"); // a name of no department: nobody
    QCOMPARE(names(&screen, "dbgEmp"), QStringList());

    auto* all = control<QCheckBox>(&screen, "cbxFull");
    all->setChecked(true);
    QCOMPARE(names(&screen, "dbgEmp").size(), 3);
    filter->setCurrentIndex(filter->findText("保安部")); // filters even while "所有员工" is ticked
    QCOMPARE(names(&screen, "dbgEmp"), QStringList{"李四"});
    all->setChecked(false);
    all->setChecked(true);
    QCOMPARE(names(&screen, "dbgEmp").size(), 3);
}

void TestEmployees::theDepartmentChoiceFollowsTheEmployee()
{
    EmployeesScreen screen(t->context());
    auto* dept = control<QComboBox>(&screen, "DBLookupComboBox1");
    auto* grid = control<QTableView>(&screen, "DBGrid1");
    QCOMPARE(dept->currentData().toLongLong(), 1); // 张三 of the first 工程部

    // A department saved, added or renamed: the employee shown keeps its department,
    // under the department's name as it is now.
    grid->selectRow(names(&screen, "DBGrid1").indexOf("保安部"));
    type(&screen, "DBEdit2", "新队长");
    click(&screen, "btnSave");
    QCOMPARE(dept->currentData().toLongLong(), 1);
    click(&screen, "btnAdd");
    type(&screen, "dedtDeptName", "财务部");
    click(&screen, "btnSave");
    QCOMPARE(dept->currentData().toLongLong(), 1);
    QVERIFY(dept->findText("财务部") >= 0);
    grid->selectRow(names(&screen, "DBGrid1").indexOf("工程部"));
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit2")->text(), QString("王工"));
    type(&screen, "dedtDeptName", "工程一部");
    grid->selectRow(0); // moving on stores the new name
    QCoreApplication::processEvents();
    QCOMPARE(dept->currentData().toLongLong(), 1);
    QCOMPARE(dept->currentText(), QString("工程一部"));
    showEmployees(&screen);
    click(&screen, "btnEsave");
    QCOMPARE(t->scalar("select dept_id from employee where emp_id = 1").toInt(), 1);

    // A department deleted can no longer be chosen.
    const int finance = names(&screen, "DBGrid1").indexOf("财务部");
    grid->selectRow(finance);
    click(&screen, "btnDel");
    QCOMPARE(dept->findText("财务部"), -1);
    QCOMPARE(dept->currentData().toLongLong(), 1);
    QCOMPARE(t->messages().texts(), QStringList());
}

void TestEmployees::anEmptyListSavesNoEmployee()
{
    t->estate().addDepartment("财务部");
    EmployeesScreen screen(t->context());
    showEmployees(&screen);
    auto* filter = control<QComboBox>(&screen, "cmbDept");
    filter->setCurrentIndex(filter->findText("财务部")); // nobody works there
    QCOMPARE(names(&screen, "dbgEmp"), QStringList());
    // Nothing of the employee shown before stays in the boxes, and Save stores nothing.
    for (const char* box : {"edtName", "edtID", "edtLinkTel"})
        QVERIFY2(control<QLineEdit>(&screen, box)->text().isEmpty(), box);
    QCOMPARE(control<QComboBox>(&screen, "DBLookupComboBox1")->currentIndex(), -1);
    control<QLineEdit>(&screen, "edtName")->setText("张三");
    click(&screen, "btnEsave");
    click(&screen, "btnEsave");
    QCOMPARE(t->scalar("select count(*) from employee").toInt(), 3);
    QCOMPARE(t->messages().texts(), QStringList());

    // Added there, an employee is stored as ever.
    click(&screen, "btnEadd");
    control<QLineEdit>(&screen, "edtName")->setText("赵六");
    click(&screen, "btnEsave");
    QCOMPARE(t->scalar("select count(*) from employee").toInt(), 4);
}

void TestEmployees::aDepartmentWithOfficeSuppliesStays()
{
    Estate e = t->estate();
    const qlonglong finance = e.addDepartment("财务部");
    e.addRequisition({.goods = e.addGoods({.name = "A4纸", .type = e.addGoodsType("纸张"), .stock = 5}),
                      .dept = finance,
                      .quantity = 1});
    EmployeesScreen screen(t->context());
    control<QTableView>(&screen, "DBGrid1")->selectRow(names(&screen, "DBGrid1").indexOf("财务部"));
    click(&screen, "btnDel");
    QCOMPARE(t->messages().texts(), QStringList{"此部门有存在办公用品领用或登记记录，不能删除！"});
    QCOMPARE(t->scalar("select count(*) from department where dept_id = ?", {finance}).toInt(), 1);
    QVERIFY(control<QComboBox>(&screen, "DBLookupComboBox1")->findText("财务部") >= 0);
}

void TestEmployees::printAndExport()
{
    EmployeesScreen screen(t->context(false));
    showEmployees(&screen);
    control<QComboBox>(&screen, "cmbDept")
        ->setCurrentIndex(control<QComboBox>(&screen, "cmbDept")->findData(1));
    click(&screen, "btnPrint");
    QCOMPARE(t->reports().last().layoutName, QString("rptEmp"));
    const QStringList page = t->reports().pageTexts(0);
    QVERIFY(page.contains("员工信息一览表"));
    QVERIFY(page.contains("张三"));
    QVERIFY(!page.contains("李四")); // the list as filtered

    control<QCheckBox>(&screen, "cbxFull")->setChecked(true);
    click(&screen, "Btnexcela");
    const QList<QStringList> sheet = spreadsheetProgramRows(t->desktop().opened().last());
    QCOMPARE(sheet.value(0).value(0), QString("部门员工资料"));
    QCOMPARE(sheet.value(2), (QStringList{"姓名", "部门", "联系电话", "政治面貌", "出生日期", "身份证号码",
                                          "婚姻状况", "文化程度", "家庭地址", "户口所在地", "备注"}));
    QCOMPARE(sheet.value(3),
             (QStringList{"张三", "工程部", "0755-26543210", "", "1980-05-17", "440301198005170011"}));
    QCOMPARE(sheet.size(), 6);
}

void TestEmployees::browseOnly()
{
    EmployeesScreen screen(t->context(false));
    for (const char* name : {"btnAdd", "btnDel", "btnSave", "btnEadd", "btnEdel", "btnEsave"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name : {"btnPrint", "Btnexcela", "btnExit", "BitBtn4"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    QVERIFY(control<QLineEdit>(&screen, "dedtDeptName")->isReadOnly());
}

QTEST_MAIN(TestEmployees)
#include "tst_employees.moc"
