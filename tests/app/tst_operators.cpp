#include "app/LoginDialog.h"
#include "app/OperatorAccounts.h"
#include "app/OperatorRegister.h"
#include "app/OperatorsScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

// The operators' editor: operators made from employees and removed again, and
// the rights per function written as the six strings of fixed lengths.
class TestOperators : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void rightsAreReadAndWritten_data();
    void rightsAreReadAndWritten();
    void selectAllTogglesTheShownPage();
    void makeAndRemoveOperators();
    void theLastOperatorEditorStays();
    void twoOperatorsOfOneName();
    void browseOnly();
    void passwordsChangeAtTheLogin();

private:
    TestDatabase* t = nullptr;
};

namespace {

QListWidget* list(QWidget* s, const char* name)
{
    return control<QListWidget>(s, name);
}

QStringList texts(QListWidget* l)
{
    QStringList result;
    for (int i = 0; i < l->count(); ++i)
        result << l->item(i)->text();
    return result;
}

void pick(QListWidget* l, int row)
{
    l->setCurrentRow(row);
    l->item(row)->setSelected(true);
    emit l->itemClicked(l->item(row));
}

bool ticked(QWidget* s, const char* box)
{
    return control<QCheckBox>(s, box)->isChecked();
}

QString rightsOf(TestDatabase* t, const QString& code)
{
    return t
        ->scalar("select popebase || '|' || popeadmin || '|' || popecharge || '|' || popemanage || '|' || "
                 "popequery || '|' || popepara from operator where op_code = ?",
                 {code})
        .toString();
}

} // namespace

void TestOperators::init()
{
    t = new TestDatabase;
    t->exec("insert into operator (op_code, op_name, password, popebase) values "
            "('admin', '管理员', '', '22222222222'), ('w', '王五', '', '21')");
    t->exec("insert into employee (emp_name) values ('张三'), ('李四'), ('王五')");
}

void TestOperators::cleanup()
{
    delete t;
}

void TestOperators::rightsAreReadAndWritten_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("saved");
    QTest::newRow("21 and nulls") << "w"
                                  << "21000|0000000|0000|000000|000|000";
    QTest::newRow("the default administrator") << "admin"
                                               << "22222|0000000|0000|000000|000|000";
}

void TestOperators::rightsAreReadAndWritten()
{
    QFETCH(QString, code);
    QFETCH(QString, saved);
    OperatorsScreen screen(t->context());
    control<QTabWidget>(&screen, "PageControl1")->setCurrentIndex(1);
    QListWidget* operators = list(&screen, "lstOperProp");
    for (int row = 0; row < operators->count(); ++row) {
        if (operators->item(row)->data(Qt::UserRole).toString() == code)
            pick(operators, row);
    }
    if (code == "w") {
        QVERIFY(ticked(&screen, "cbxBuildR") && ticked(&screen, "cbxBuildW"));
        QVERIFY(ticked(&screen, "cbxRoomR") && !ticked(&screen, "cbxRoomW"));
        QVERIFY(!ticked(&screen, "cbxOwnerR") && !ticked(&screen, "cbxOperW"));
    } else {
        for (const char* box : {"cbxBuildW", "cbxRoomW", "cbxOwnerW", "cbxOwnerRoomW", "cbxOperW"})
            QVERIFY2(ticked(&screen, box), box);
    }
    control<QPushButton>(&screen, "btnSaveProp")->click();
    QCOMPARE(rightsOf(t, code), saved);

    // Ticking only "编辑" writes "2"; a query can only be browsed, the run only edited.
    control<QCheckBox>(&screen, "cbxBuildR")->setChecked(false);
    control<QCheckBox>(&screen, "cbxMeetW")->setChecked(true);
    control<QCheckBox>(&screen, "cbxManageW")->setChecked(true);
    control<QCheckBox>(&screen, "cbxOweR")->setChecked(true);
    control<QPushButton>(&screen, "btnSaveProp")->click();
    QCOMPARE(rightsOf(t, code).section('|', 1), QString("0002000|2000|000000|001|000"));
    QCOMPARE(rightsOf(t, code).left(1), QString("2"));
}

void TestOperators::selectAllTogglesTheShownPage()
{
    OperatorsScreen screen(t->context());
    control<QTabWidget>(&screen, "PageControl1")->setCurrentIndex(1); // shows the first operator
    auto* pages = control<QTabWidget>(&screen, "PageControl2");
    QCOMPARE(pages->currentIndex(), 0);
    const bool buildEdit = ticked(&screen, "cbxBuildW");
    control<QPushButton>(&screen, "BitBtn2")->click();
    QCOMPARE(ticked(&screen, "cbxBuildW"), !buildEdit);
    QVERIFY(!ticked(&screen, "cbxDeptW")); // another page is not touched
    control<QPushButton>(&screen, "BitBtn2")->click();
    QCOMPARE(ticked(&screen, "cbxBuildW"), buildEdit);

    pages->setCurrentIndex(4); // the queries: their "浏览" boxes
    control<QPushButton>(&screen, "BitBtn2")->click();
    QVERIFY(ticked(&screen, "cbxHistoryR") && ticked(&screen, "cbxMonthTakeR") && ticked(&screen, "cbxOweR"));
}

void TestOperators::makeAndRemoveOperators()
{
    OperatorsScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QString("操作员"));
    // 王五 is an operator already: not among the employees. Both lists are in
    // pinyin order (李 li before 张 zhang, 管 guan before 王 wang), not by code point.
    QCOMPARE(texts(list(&screen, "lstEmp")), (QStringList{"李四", "张三"}));
    QCOMPARE(texts(list(&screen, "lstOper")), (QStringList{"管理员", "王五"}));
    QCOMPARE(texts(list(&screen, "lstOperProp")), (QStringList{"管理员", "王五"}));
    QListWidget* employees = list(&screen, "lstEmp");
    auto* code = control<QLineEdit>(&screen, "edtOp_code");
    auto* make = control<QPushButton>(&screen, "btnRight");

    make->click();
    QCOMPARE(t->messages().lastText(), QString("请先选择一个员工！"));
    pick(employees, 0); // 李四
    make->click();
    QCOMPARE(t->messages().lastText(), QString("请填写操作员代码!"));
    code->setText("admin");
    make->click();
    QCOMPARE(t->messages().lastText(), QString("此操作员代码已经存在了，请另写一个代码！"));
    code->setText("lisi007"); // seven characters: refused, never cut
    make->click();
    QCOMPARE(t->messages().lastText(), QString("操作员代码最多6个字符，请另写一个代码！"));
    QCOMPARE(t->scalar("select count(*) from operator").toInt(), 2);

    code->setText(" lisi ");
    make->click();
    QCOMPARE(texts(list(&screen, "lstOper")).last(), QString("李四"));
    QCOMPARE(texts(list(&screen, "lstOperProp")).last(), QString("李四"));
    QCOMPARE(texts(employees), QStringList{"张三"});
    QVERIFY(code->text().isEmpty());
    // The default password, stored hashed, and no rights.
    QVERIFY(t->scalar("select password from operator where op_code = 'lisi'").toString() != "123");
    const std::optional<operator_accounts::Login> login = operator_accounts::verify(t->db(), "lisi", "123");
    QVERIFY(login);
    QVERIFY(login->rights.isEmpty());

    QListWidget* operators = list(&screen, "lstOper");
    control<QPushButton>(&screen, "btnLeft")->click();
    QCOMPARE(t->messages().lastText(), QString("请选择要去除的操作员！"));
    pick(operators, texts(operators).indexOf("李四"));
    QCOMPARE(code->text(), QString("lisi"));
    t->messages().answerConfirm(false);
    control<QPushButton>(&screen, "btnLeft")->click();
    QCOMPARE(t->messages().shown().last().text, QString("确实要去除此操作员吗?"));
    QCOMPARE(t->scalar("select count(*) from operator").toInt(), 3);
    control<QPushButton>(&screen, "btnLeft")->click();
    QCOMPARE(t->scalar("select count(*) from operator where op_code = 'lisi'").toInt(), 0);
    QCOMPARE(texts(employees), (QStringList{"张三", "李四"})); // back at the end
    QVERIFY(!texts(list(&screen, "lstOperProp")).contains("李四"));
}

void TestOperators::theLastOperatorEditorStays()
{
    // The administrator is the only operator who may edit operators (王五's
    // base rights are "21").
    const QString refusal = "至少要保留一个有“操作员信息”编辑权限的操作员，否则以后无人能再管理操作员和权限。"
                            "未做任何改动。";
    const QString adminRights = rightsOf(t, "admin");
    OperatorsScreen screen(t->context());
    QListWidget* operators = list(&screen, "lstOper");
    pick(operators, texts(operators).indexOf("管理员"));
    control<QPushButton>(&screen, "btnLeft")->click();
    QCOMPARE(t->messages().lastText(), refusal);
    QCOMPARE(t->scalar("select count(*) from operator").toInt(), 2);
    QCOMPARE(texts(operators), (QStringList{"管理员", "王五"}));

    // "全选" on a fully granted administrator takes every 编辑 tick away.
    control<QTabWidget>(&screen, "PageControl1")->setCurrentIndex(1);
    QListWidget* rightsList = list(&screen, "lstOperProp");
    pick(rightsList, texts(rightsList).indexOf("管理员"));
    control<QPushButton>(&screen, "BitBtn2")->click();
    QVERIFY(!ticked(&screen, "cbxOperW"));
    t->messages().clear();
    control<QPushButton>(&screen, "btnSaveProp")->click();
    QCOMPARE(t->messages().texts(), QStringList{refusal});
    QCOMPARE(rightsOf(t, "admin"), adminRights);

    // Once 王五 may edit operators too, the administrator may lose the right,
    // and then be removed.
    pick(rightsList, texts(rightsList).indexOf("王五"));
    control<QCheckBox>(&screen, "cbxOperW")->setChecked(true);
    control<QPushButton>(&screen, "btnSaveProp")->click();
    pick(rightsList, texts(rightsList).indexOf("管理员"));
    control<QCheckBox>(&screen, "cbxOperW")->setChecked(false);
    t->messages().clear();
    control<QPushButton>(&screen, "btnSaveProp")->click();
    QCOMPARE(t->messages().texts(), QStringList{});
    QCOMPARE(rightsOf(t, "admin").left(5), QString("22221"));
    pick(operators, texts(operators).indexOf("管理员"));
    control<QPushButton>(&screen, "btnLeft")->click();
    QCOMPARE(t->scalar("select count(*) from operator").toInt(), 1);
}

void TestOperators::twoOperatorsOfOneName()
{
    t->exec("insert into operator (op_code, op_name, popebase) values ('w2', '王五', '00002')");
    OperatorsScreen screen(t->context());
    control<QTabWidget>(&screen, "PageControl1")->setCurrentIndex(1);
    QListWidget* operators = list(&screen, "lstOperProp");
    QCOMPARE(texts(operators).count("王五"), 2);
    for (int row = 0; row < operators->count(); ++row) {
        if (operators->item(row)->data(Qt::UserRole).toString() == "w2")
            pick(operators, row);
    }
    QVERIFY(!ticked(&screen, "cbxBuildR"));
    QVERIFY(ticked(&screen, "cbxOperW"));
    control<QPushButton>(&screen, "btnSaveProp")->click();
    QCOMPARE(rightsOf(t, "w2").left(5), QString("00002"));
    QCOMPARE(t->scalar("select popebase from operator where op_code = 'w'").toString(), QString("21"));
}

void TestOperators::browseOnly()
{
    OperatorsScreen screen(t->context(false));
    for (const char* name : {"btnLeft", "btnRight", "btnSaveProp"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    control<QTabWidget>(&screen, "PageControl1")->setCurrentIndex(1);
    control<QPushButton>(&screen, "BitBtn2")->click(); // the boxes still work, nothing is stored
    control<QPushButton>(&screen, "btnSaveProp")->click();
    QCOMPARE(t->scalar("select popebase from operator where op_code = 'admin'").toString(),
             QString("22222222222"));
}

// The default administrator, whose password is empty, sets one at the login;
// afterwards the empty password no longer opens, and an empty old password is
// refused again. An operator made here changes the default password likewise.
void TestOperators::passwordsChangeAtTheLogin()
{
    TestDatabase fresh;
    QVERIFY(operator_accounts::ensureDefaultAdministrator(fresh.db()));
    QWidget owner;
    const auto change = [&](const QString& code, const QString& old, const QString& next) {
        LoginDialog login(fresh.db(), fresh.messages(), &owner);
        control<QLineEdit>(&login, "edtName")->setText(code);
        control<QLineEdit>(&login, "edtPass")->setText(old);
        control<QPushButton>(&login, "BitBtn1")->click();
        QDialog* dialog = openChild<QDialog>(&login, "TmodiPassFrm");
        if (!dialog)
            return false;
        control<QLineEdit>(dialog, "edtOne")->setText(next);
        control<QLineEdit>(dialog, "edtTwo")->setText(next);
        control<QPushButton>(dialog, "BitBtn1")->click();
        return true;
    };
    QVERIFY(change("admin", "", "abc"));
    QVERIFY(operator_accounts::verify(fresh.db(), "admin", "abc"));
    QVERIFY(!operator_accounts::verify(fresh.db(), "admin", ""));
    fresh.messages().clear();
    QVERIFY(!change("admin", "", "x"));
    QCOMPARE(fresh.messages().texts(), QStringList{"请输入用户代码和密码！"});

    fresh.exec("insert into employee (emp_name) values ('张三')");
    QVERIFY(operator_register::make(fresh.db(), "zs", "张三").ok());
    QVERIFY(change("zs", "123", "zs2026"));
    QVERIFY(operator_accounts::verify(fresh.db(), "zs", "zs2026"));
    // No password is kept as typed.
    QCOMPARE(
        fresh.scalar("select count(*) from operator where password in ('', '123', 'abc', 'zs2026')").toInt(),
        0);
}

QTEST_MAIN(TestOperators)
#include "tst_operators.moc"
