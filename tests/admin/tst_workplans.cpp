#include "admin/MeetingsScreen.h"
#include "admin/WorkPlansScreen.h"
#include "app/LoginDialog.h"
#include "app/MainWindow.h"
#include "app/PasswordHash.h"
#include "app/WorkPlanReminder.h"
#include "output/SpreadsheetProgram.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>

// Work plans with their reminder, and meeting records.
class TestWorkPlans : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void plansAreTheOperatorsOwn();
    void reminderTime_data();
    void reminderTime();
    void theReminderOpensThePlansOnce();
    void meetings();
    void aTypedMeetingNeedsItsTopic_data();
    void aTypedMeetingNeedsItsTopic();
    void meetingsBrowseOnly();
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

} // namespace

void TestWorkPlans::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestWorkPlans::plansAreTheOperatorsOwn()
{
    TestDatabase t;
    t.exec("insert into operator (op_code, op_name) values ('admin', '管理员'), ('boss', '老板')");
    t.exec("insert into work_plan (op_code, title, plan_type, state, awoke_date) values "
           "('admin', '巡查', '工作', '提醒', '2026-12-11 14:30'), ('boss', '别人的', '工作', '提醒', null)");
    WorkPlansScreen screen(t.context(false)); // the right to write is not asked
    QCOMPARE(screen.windowTitle(), QString("管理员的工作计划"));
    auto* grid = control<QTableView>(&screen, "dbgPlan");
    QCOMPARE(columnTexts(grid->model(), 1), QStringList{"巡查"});
    QCOMPARE(control<QDateEdit>(&screen, "dtpAwoke")->date(), QDate(2026, 12, 11));
    QCOMPARE(control<QTimeEdit>(&screen, "dtpAwokeTime")->time(), QTime(14, 30));

    click(&screen, "btnAdd");
    QCOMPARE(control<QComboBox>(&screen, "dcmbState")->currentText(), QString("提醒"));
    QCOMPARE(control<QComboBox>(&screen, "dcmbPlanType")->currentText(), QString("工作"));
    control<QLineEdit>(&screen, "dedtTitle")->setText("月报");
    control<QComboBox>(&screen, "dcmbPlanType")->setEditText("杂事");
    click(&screen, "btnModi");
    QCOMPARE(t.messages().texts(), QStringList{"请正确填写计划类别！"});
    control<QComboBox>(&screen, "dcmbPlanType")->setEditText("私人");
    control<QDateEdit>(&screen, "dtpAwoke")->setDate(QDate(2003, 5, 12));
    control<QTimeEdit>(&screen, "dtpAwokeTime")->setTime(QTime(8, 5));
    auto* manager = control<QComboBox>(&screen, "DBLookupComboBox1");
    manager->setCurrentIndex(manager->findData("boss"));
    click(&screen, "btnModi");
    QCOMPARE(
        t.scalar("select op_code || '|' || title || '|' || plan_type || '|' || awoke_date || '|' || manager "
                 "from work_plan where plan_id = 3")
            .toString(),
        QString("admin|月报|私人|2003-05-12 08:05|boss"));
    QCOMPARE(columnTexts(grid->model(), 1), (QStringList{"巡查", "月报"}));

    grid->selectRow(0); // another plan shows its own reminder time
    QCOMPARE(control<QTimeEdit>(&screen, "dtpAwokeTime")->time(), QTime(14, 30));
}

void TestWorkPlans::reminderTime_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("due");
    const QString awoke = "2026-12-10 09:30";
    QTest::newRow("the reminder minute itself")
        << "提醒" << QDateTime(QDate(2026, 12, 10), QTime(9, 30, 59)) << 0;
    QTest::newRow("one minute later") << "提醒" << QDateTime(QDate(2026, 12, 10), QTime(9, 31)) << 1;
    QTest::newRow("started") << "开始" << QDateTime(QDate(2026, 12, 11), QTime(9, 0)) << 0;
    QTest::newRow("a state typed freely") << "待办" << QDateTime(QDate(2026, 12, 11), QTime(9, 0)) << 0;
}

void TestWorkPlans::reminderTime()
{
    QFETCH(QString, state);
    QFETCH(QDateTime, now);
    QFETCH(int, due);
    TestDatabase t;
    t.exec("insert into work_plan (op_code, state, awoke_date) values ('admin', ?, '2026-12-10 09:30')",
           {state});
    QCOMPARE(WorkPlanReminder::dueCount(t.db(), "admin", now), due);
}

void TestWorkPlans::theReminderOpensThePlansOnce()
{
    TestDatabase t;
    t.exec("insert into operator (op_code, op_name, password, popeadmin) values ('clerk', '职员', ?, '0')",
           {password_hash::hash("1")});
    t.exec("insert into work_plan (op_code, state, awoke_date) values ('clerk', '提醒', '2026-12-10 09:00')");
    MainWindow window(t.context());
    window.startUp();
    LoginDialog* login = window.findChild<LoginDialog*>();
    QVERIFY(login);
    control<QLineEdit>(login, "edtName")->setText("clerk");
    control<QLineEdit>(login, "edtPass")->setText("1");
    control<QPushButton>(login, "btnOk")->click();
    window.checkConnectionAndReminder();
    window.checkConnectionAndReminder();
    const QList<QWidget*> opened = window.findChildren<QWidget*>("TworkPlanFrm");
    QCOMPARE(opened.size(), 1); // once, even without the right to open it from the panel
    QCOMPARE(opened.first()->windowTitle(), QString("职员的工作计划"));
    opened.first()->close();
    t.exec("insert into work_plan (op_code, state, awoke_date) values ('clerk', '提醒', '2026-12-10 09:10')");
    window.checkConnectionAndReminder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(window.findChildren<QWidget*>("TworkPlanFrm").size(), 0); // not again in this run
}

void TestWorkPlans::meetings()
{
    TestDatabase t;
    t.exec("insert into meet (title, take_man, take_date) values ('周会', '王', '2026-12-01'), "
           "('月会', '李', '2026-11-30')");
    MeetingsScreen screen(t.context());
    QCOMPARE(screen.windowTitle(), QString("会议记录"));
    QCOMPARE(control<QDateEdit>(&screen, "dtpTakeDate")->date(), QDate(2026, 12, 1));

    click(&screen, "btnAdd");
    QCOMPARE(control<QDateEdit>(&screen, "dtpTakeDate")->date(), QDate(2026, 12, 10)); // today
    control<QLineEdit>(&screen, "dbeTitle")->setText("   ");
    click(&screen, "btnSave");
    QCOMPARE(t.messages().texts(), QStringList{"请填写会议主题！"});
    // Every box reaches the stored meeting.
    control<QLineEdit>(&screen, "dbeTitle")->setText("年会");
    control<QLineEdit>(&screen, "DBEdit2")->setText("张");
    control<QLineEdit>(&screen, "DBEdit4")->setText("全体");
    control<QPlainTextEdit>(&screen, "DBMemo1")->setPlainText("总结");
    click(&screen, "btnSave");
    QCOMPARE(t.scalar("select take_date || '|' || take_man || '|' || take_people || '|' || contents "
                      "from meet where title = '年会'")
                 .toString(),
             QString("2026-12-10|张|全体|总结"));

    // The date is changed in its picker.
    auto* grid = control<QTableView>(&screen, "DBGrid1");
    grid->selectRow(0);
    control<QDateEdit>(&screen, "dtpTakeDate")->setDate(QDate(2026, 12, 2));
    click(&screen, "btnSave");
    QCOMPARE(t.scalar("select take_date from meet where id = 1").toString(), QString("2026-12-02"));

    // Delete asks yes or no.
    t.messages().clear();
    t.messages().answerConfirm(false);
    click(&screen, "btnDel");
    QCOMPARE(t.messages().shown().last().text, QString("确实要删除此条记录吗！"));
    QCOMPARE(t.scalar("select count(*) from meet").toInt(), 3);
    click(&screen, "btnDel");
    QCOMPARE(t.scalar("select count(*) from meet").toInt(), 2);

    click(&screen, "Btnexcela");
    const QList<QStringList> sheet = spreadsheetProgramRows(t.desktop().opened().last());
    QCOMPARE(sheet.value(0).value(0), QString("物业管理系统会议资料"));
    QCOMPARE(sheet.value(2), (QStringList{"会议主题", "召开人", "会议日期", "参加人员", "会议内容"}));
    QCOMPARE(sheet.value(3), (QStringList{"月会", "李", "2026-11-30"}));
    QCOMPARE(grid->currentIndex().row(), 1); // on the last meeting
}

void TestWorkPlans::aTypedMeetingNeedsItsTopic_data()
{
    QTest::addColumn<QString>("leaving"); // how the operator leaves the new meeting
    QTest::newRow("to another meeting") << "DBGrid1";
    QTest::newRow("增加") << "btnAdd";
    QTest::newRow("Excel") << "Btnexcela";
}

void TestWorkPlans::aTypedMeetingNeedsItsTopic()
{
    QFETCH(QString, leaving);
    TestDatabase t;
    t.exec("insert into meet (title, take_date) values ('周会', '2026-12-01')");
    MeetingsScreen screen(t.context());
    screen.show();
    auto* grid = control<QTableView>(&screen, "DBGrid1");
    const auto leave = [&] {
        if (leaving == "DBGrid1")
            grid->selectRow(0);
        else
            click(&screen, qPrintable(leaving));
        QCoreApplication::processEvents();
    };
    // A new meeting nobody typed into is dropped without a word.
    click(&screen, "btnAdd");
    leave();
    QCOMPARE(t.messages().texts(), QStringList());
    QCOMPARE(t.scalar("select count(*) from meet").toInt(), 1);

    // One with a convener and minutes but no topic is refused, and the operator
    // stays on it with what was typed.
    click(&screen, "btnAdd");
    type(&screen, "DBEdit2", "王经理");
    control<QPlainTextEdit>(&screen, "DBMemo1")->setPlainText("年度总结");
    control<QPlainTextEdit>(&screen, "DBMemo1")->setFocus();
    leave();
    QCOMPARE(t.messages().texts(), QStringList{"请填写会议主题！"});
    QCOMPARE(t.scalar("select count(*) from meet").toInt(), 1);
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit2")->text(), QString("王经理"));
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, "dbeTitle")); // the cursor waits for the topic

    // Named, it is stored on the way out.
    type(&screen, "dbeTitle", "年会");
    leave();
    QCOMPARE(t.scalar("select take_man || '|' || contents from meet where title = '年会'").toString(),
             QString("王经理|年度总结"));
    QCOMPARE(t.messages().texts().size(), 1);
}

void TestWorkPlans::meetingsBrowseOnly()
{
    TestDatabase t;
    t.exec("insert into meet (title, take_date) values ('周会', '2026-12-01')");
    MeetingsScreen screen(t.context(false));
    for (const char* name : {"btnAdd", "btnSave", "btnDel"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    QVERIFY(control<QLineEdit>(&screen, "dbeTitle")->isReadOnly());
    QVERIFY(!control<QDateEdit>(&screen, "dtpTakeDate")->isEnabled());
    QVERIFY(control<QPushButton>(&screen, "Btnexcela")->isEnabled());
}

QTEST_MAIN(TestWorkPlans)
#include "tst_workplans.moc"
