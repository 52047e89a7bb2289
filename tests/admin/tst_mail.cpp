#include "admin/MailCentreScreen.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

// Internal mail: receivers checked before anything is stored, reply, delete,
// clearing exactly the messages listed, and mail between two copies.
class TestMail : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void sending_data();
    void sending();
    void readReplyAndDepartments();
    void onlyASelectedDepartmentIsAdded();
    void deleteAndClear();
    void twoCopies();

private:
    TestDatabase* t = nullptr;
};

namespace {

// The admin's context is 管理员; the other operators 张三, 李四.
void click(QWidget* s, const char* name)
{
    if (auto* link = s->findChild<QLabel*>(QLatin1StringView(name))) {
        QTest::mouseClick(link, Qt::LeftButton);
        return;
    }
    control<QPushButton>(s, name)->click();
}

QDialog* messageWindow(QWidget* centre)
{
    return openChild<QDialog>(centre, "TdetailFrm");
}

QStringList subjects(QWidget* centre)
{
    auto* list = control<QTreeWidget>(centre, "lstvMsg");
    QStringList result;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        result << list->topLevelItem(i)->text(0);
    return result;
}

void selectMessage(QWidget* centre, int row)
{
    auto* list = control<QTreeWidget>(centre, "lstvMsg");
    list->clearSelection();
    list->topLevelItem(row)->setSelected(true);
}

void compose(QDialog* window, const QString& receivers, const QString& subject, const QString& body = {})
{
    control<QLineEdit>(window, "edtReceive")->setText(receivers);
    control<QLineEdit>(window, "edtMesgHead")->setText(subject);
    control<QPlainTextEdit>(window, "memMesgContents")->setPlainText(body);
}

} // namespace

void TestMail::init()
{
    t = new TestDatabase;
    t->exec(
        "insert into operator (op_code, op_name) values ('admin', '管理员'), ('zs', '张三'), ('ls', '李四')");
    t->exec("insert into department (dept_name) values ('工程部')");
    t->exec("insert into employee (dept_id, emp_name) values (1, '张三'), (1, '李四'), (1, '王五')");
    t->exec(
        "insert into message_info (sender, receive, mesg_head, mesg_contents, send_time, mesg_type) values "
        "('张三', '管理员', '旧信', '第一行\n第二行', '2026-12-01 08:00:00', null), "
        "('李四', '管理员', '新信', '你好', '2026-12-09 08:00:00', '新'), "
        "('李四', '张三', '别人的信', '', '2026-12-09 09:00:00', '新')");
}

void TestMail::cleanup()
{
    delete t;
}

void TestMail::sending_data()
{
    QTest::addColumn<QString>("receivers");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("stored"); // receivers of the rows stored
    QTest::addColumn<QString>("box");        // where a refusal puts the cursor

    QTest::newRow("two, a blank after the separator")
        << "张三; 李四"
        << "通知"
        << "信已成功发出！" << QStringList{"张三", "李四"} << "";
    QTest::newRow("a final separator stores nothing") << "张三;"
                                                      << "通知"
                                                      << "收信人不存在！" << QStringList{} << "edtReceive";
    QTest::newRow("an unknown name in the middle") << "张三;王二;李四"
                                                   << "通知"
                                                   << "收信人不存在！" << QStringList{} << "edtReceive";
    QTest::newRow("no receiver") << "  "
                                 << "通知"
                                 << "请填写收信人!" << QStringList{} << "edtReceive";
    QTest::newRow("no subject") << "张三"
                                << " "
                                << "请填写邮件主题!" << QStringList{} << "edtMesgHead";
}

void TestMail::sending()
{
    QFETCH(QString, receivers);
    QFETCH(QString, subject);
    QFETCH(QString, message);
    QFETCH(QStringList, stored);
    QFETCH(QString, box);
    MailCentreScreen centre(t->context());
    click(&centre, "labWrite");
    QDialog* window = messageWindow(&centre);
    QVERIFY(window);
    QCOMPARE(control<QLineEdit>(window, "edtSender")->text(), QString("管理员"));
    QVERIFY(control<QPushButton>(window, "btnBack")->isHidden());
    compose(window, receivers, subject, " 正文 ");
    control<QPushButton>(window, "btnSend")->click();
    QCOMPARE(t->messages().lastText(), message);
    if (!box.isEmpty())
        QCOMPARE(window->focusWidget(), control<QWidget>(window, box.toLatin1().constData()));
    QCOMPARE(t->scalar("select coalesce(group_concat(receive, ','), '') from "
                       "(select receive from message_info where msg_id > 3 order by msg_id) m")
                 .toString(),
             stored.join(','));
    QCOMPARE(window->isVisible(), stored.isEmpty()); // refused: the window stays open to correct
    if (!stored.isEmpty()) {
        QCOMPARE(
            t->scalar(
                 "select sender || '|' || mesg_head || '|' || mesg_contents || '|' || mesg_type || '|' || "
                 "send_time from message_info where msg_id = 4")
                .toString(),
            QString("管理员|通知|正文|新|2026-12-10 09:30:00"));
        QCOMPARE(subjects(&centre), (QStringList{"新信", "旧信"})); // others' mail stays out of the list
    }
}

void TestMail::readReplyAndDepartments()
{
    MailCentreScreen centre(t->context());
    QCOMPARE(subjects(&centre), (QStringList{"新信", "旧信"})); // unread first
    auto* list = control<QTreeWidget>(&centre, "lstvMsg");
    QCOMPARE(list->headerItem()->text(0), QString("主　题"));
    selectMessage(&centre, 1);
    click(&centre, "labRead");
    QDialog* window = messageWindow(&centre);
    QCOMPARE(control<QLineEdit>(window, "edtSender")->text(), QString("张三"));
    control<QPushButton>(window, "btnBack")->click();
    QCOMPARE(control<QLineEdit>(window, "edtReceive")->text(), QString("张三"));
    QCOMPARE(control<QLineEdit>(window, "edtSender")->text(), QString("管理员"));
    QCOMPARE(control<QLineEdit>(window, "edtMesgHead")->text(), QString("re:  旧信"));
    QCOMPARE(control<QPlainTextEdit>(window, "memMesgContents")->toPlainText(),
             QString("\n\n\n> 第一行\n> 第二行"));

    // A department's operators are added after the names typed, in pinyin order:
    // 李四 and 张三, not 王五.
    auto* departments = control<QListWidget>(window, "lstGroup");
    QVERIFY(departments->isHidden());
    QTest::keyClick(control<QLineEdit>(window, "edtReceive"), Qt::Key_Return);
    QVERIFY(!departments->isHidden());
    departments->setCurrentRow(0);
    QTest::keyClick(departments, Qt::Key_Return);
    QCOMPARE(control<QLineEdit>(window, "edtReceive")->text(), QString("张三;李四;张三"));
    QVERIFY(departments->isHidden());
    window->close();

    // Reading the new message marks it read; its place in the list stays.
    selectMessage(&centre, 0);
    click(&centre, "labRead");
    messageWindow(&centre)->close();
    QVERIFY(t->scalar("select mesg_type from message_info where msg_id = 2").isNull());
    QCOMPARE(subjects(&centre), (QStringList{"新信", "旧信"}));
}

void TestMail::onlyASelectedDepartmentIsAdded()
{
    MailCentreScreen centre(t->context());
    click(&centre, "labWrite");
    QDialog* window = messageWindow(&centre);
    auto* receivers = control<QLineEdit>(window, "edtReceive");
    receivers->setText("张三");
    QTest::keyClick(receivers, Qt::Key_Return);
    auto* departments = control<QListWidget>(window, "lstGroup");
    QVERIFY(!departments->isHidden());
    // The list makes its first department current on the focus, without selecting it:
    // Enter then adds nobody, and the list stays for a choice.
    departments->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QVERIFY(departments->selectedItems().isEmpty());
    QTest::keyClick(departments, Qt::Key_Return);
    QCOMPARE(receivers->text(), QString("张三"));
    QVERIFY(!departments->isHidden());
    departments->item(0)->setSelected(true);
    QTest::keyClick(departments, Qt::Key_Return);
    QCOMPARE(receivers->text(), QString("张三;李四;张三"));
    QVERIFY(departments->isHidden());
    QCOMPARE(t->messages().texts(), QStringList());
    window->close();
}

void TestMail::deleteAndClear()
{
    MailCentreScreen centre(t->context());
    click(&centre, "labDelete"); // nothing selected: nothing happens
    QCOMPARE(t->scalar("select count(*) from message_info").toInt(), 3);
    selectMessage(&centre, 0);
    click(&centre, "labDelete");
    QCOMPARE(subjects(&centre), QStringList{"旧信"});
    QVERIFY(t->messages().texts().isEmpty()); // no question

    // Mail arriving meanwhile is not cleared with the list.
    t->exec("insert into message_info (sender, receive, mesg_head, send_time, mesg_type) values "
            "('李四', '管理员', '刚到', '2026-12-10 09:00:00', '新')");
    click(&centre, "labRefresh");
    QCOMPARE(subjects(&centre), QStringList());
    QCOMPARE(
        t->scalar("select group_concat(mesg_head) from message_info where receive = '管理员'").toString(),
        QString("刚到"));
    QCOMPARE(t->scalar("select count(*) from message_info where receive = '张三'").toInt(), 1);
}

void TestMail::twoCopies()
{
    // A message sent from another copy shows when the mail centre opens again.
    MailCentreScreen before(t->context());
    QString error;
    {
        QSqlDatabase other = database::open(t->path(), "other copy", &error);
        QVERIFY(error.isEmpty());
        QVERIFY(mail_store::send(other, "张三", "管理员", "从别处来", "",
                                 QDateTime(QDate(2026, 12, 10), QTime(9, 0)))
                    .ok());
    }
    QSqlDatabase::removeDatabase("other copy");
    QCOMPARE(subjects(&before).size(), 2);
    MailCentreScreen after(t->context());
    QCOMPARE(subjects(&after).first(), QString("从别处来"));

    // Sending to oneself adds the message to one's own list when the window closes.
    click(&after, "labWrite");
    QDialog* window = messageWindow(&after);
    compose(window, "管理员", "给自己");
    control<QPushButton>(window, "btnSend")->click();
    QCOMPARE(subjects(&after).last(), QString("给自己"));
}

QTEST_MAIN(TestMail)
#include "tst_mail.moc"
