#include "services/ActivitiesScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// Community activities: the boxes above the list are a working copy of the
// activity chosen, which Save alone writes back.
class TestActivities : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnTheFirstActivity();
    void choosingAnotherDiscardsTyping();
    void saveTrimsEveryText();
    void entryOneAfterAnother();
    void nameRequired();
    void deleteAsksFirst();
    void browseOnly();
    void previewListsEveryActivity();

private:
    TestDatabase* t = nullptr;
};

namespace {

void click(QWidget* s, const char* name)
{
    control<QPushButton>(s, name)->click();
}

QString text(QWidget* s, const char* name)
{
    return control<QLineEdit>(s, name)->text();
}

void type(QWidget* s, const char* name, const QString& value)
{
    auto* edit = control<QLineEdit>(s, name);
    edit->setText(value);
    emit edit->textEdited(value);
}

QDate date(QWidget* s, const char* name)
{
    return control<QDateEdit>(s, name)->date();
}

QStringList listed(QWidget* s)
{
    return columnTexts(control<QTableView>(s, "dbgPloy")->model(), 1);
}

void selectRow(QWidget* s, int row)
{
    control<QTableView>(s, "dbgPloy")->selectRow(row);
    QCoreApplication::processEvents();
}

} // namespace

void TestActivities::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addActivity({.name = "新年联欢",
                   .mainDept = "物业办",
                   .secondDept = "业委会",
                   .affiche = "公告栏",
                   .startDate = "2026-12-30",
                   .endDate = "2026-12-31",
                   .chargeMan = "冯主任",
                   .ployMoney = "5000元",
                   .moneyTake = "物业出资",
                   .takePeople = "全体住户",
                   .circs = "圆满",
                   .remark = "拍照留念"});
    e.addActivity({.name = "消防讲座", .startDate = "2026-06-01", .endDate = "2026-06-02"});
}

void TestActivities::cleanup()
{
    delete t;
}

void TestActivities::opensOnTheFirstActivity()
{
    ActivitiesScreen screen(t->context());
    QCOMPARE(screen.objectName(), QString("TcommuFrm"));
    QCOMPARE(screen.windowTitle(), QString("社区活动"));
    const QAbstractItemModel* model = control<QTableView>(&screen, "dbgPloy")->model();
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"序号", "活动名称", "主办单位", "协办单位", "affiche", "开始日期",
                                  "结束日期", "负责人", "活动经费", "经费筹措", "参加人员"}));
    QCOMPARE(columnTexts(model, 5), (QStringList{"2026-12-30", "2026-06-01"}));

    const QList<std::pair<const char*, const char*>> boxes{
        {"edtPloyName", "新年联欢"},  {"edtMainDept", "物业办"},    {"edtSecondDept", "业委会"},
        {"edtAffiche", "公告栏"},     {"edtChargeMan", "冯主任"},   {"edtPloyMoney", "5000元"},
        {"edtMoneyTake", "物业出资"}, {"edtTakePeople", "全体住户"}};
    for (const auto& [name, value] : boxes)
        QCOMPARE(text(&screen, name), QString(value));
    QCOMPARE(control<QPlainTextEdit>(&screen, "memCircs")->toPlainText(), QString("圆满"));
    QCOMPARE(control<QPlainTextEdit>(&screen, "memRemark")->toPlainText(), QString("拍照留念"));
    // The activity's own days, not today.
    QCOMPARE(date(&screen, "dtpStartDate"), QDate(2026, 12, 30));
    QCOMPARE(date(&screen, "dtpEndDate"), QDate(2026, 12, 31));

    const QList<std::pair<const char*, const char*>> captions{{"btnPrintcomm", "预览 &p."},
                                                              {"btnAdd", "增加 &a"},
                                                              {"btnDel", "删除 &d."},
                                                              {"btnSave", "保存 &s."},
                                                              {"btnClose", "退出 &e."}};
    for (const auto& [name, caption] : captions)
        QCOMPARE(control<QPushButton>(&screen, name)->text(), QString(caption));
}

void TestActivities::choosingAnotherDiscardsTyping()
{
    ActivitiesScreen screen(t->context());
    type(&screen, "edtPloyName", "改过");
    control<QDateEdit>(&screen, "dtpStartDate")->setDate(QDate(2020, 1, 1));
    selectRow(&screen, 1);
    QCOMPARE(text(&screen, "edtPloyName"), QString("消防讲座"));
    QCOMPARE(text(&screen, "edtMainDept"), QString());
    QCOMPARE(date(&screen, "dtpStartDate"), QDate(2026, 6, 1));
    QVERIFY(control<QPlainTextEdit>(&screen, "memCircs")->toPlainText().isEmpty());
    QCOMPARE(t->scalar("select group_concat(ploy_name || start_date) from community").toString(),
             QString("新年联欢2026-12-30,消防讲座2026-06-01"));
}

void TestActivities::saveTrimsEveryText()
{
    ActivitiesScreen screen(t->context());
    selectRow(&screen, 1);
    type(&screen, "edtPloyName", "  消防讲座（二） ");
    type(&screen, "edtPloyMoney", " 800 ");
    control<QPlainTextEdit>(&screen, "memCircs")->setPlainText("  到场百人\n");
    control<QPlainTextEdit>(&screen, "memRemark")->setPlainText("\n备注 ");
    // An end before the start is stored as given.
    control<QDateEdit>(&screen, "dtpStartDate")->setDate(QDate(2026, 7, 5));
    control<QDateEdit>(&screen, "dtpEndDate")->setDate(QDate(2026, 7, 1));
    click(&screen, "btnSave");
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(t->scalar("select ploy_name || '|' || ploy_money || '|' || circs || '|' || remark || '|' || "
                       "start_date || '|' || end_date from community where ploy_id = 2")
                 .toString(),
             QString("消防讲座（二）|800|到场百人|备注|2026-07-05|2026-07-01"));
    QCOMPARE(listed(&screen), (QStringList{"新年联欢", "消防讲座（二）"}));
    QCOMPARE(control<QTableView>(&screen, "dbgPloy")->currentIndex().row(), 1);
}

void TestActivities::entryOneAfterAnother()
{
    ActivitiesScreen screen(t->context());
    click(&screen, "btnAdd");
    for (const char* box : {"edtPloyName", "edtMainDept", "edtSecondDept", "edtAffiche", "edtChargeMan",
                            "edtPloyMoney", "edtMoneyTake", "edtTakePeople"})
        QVERIFY2(text(&screen, box).isEmpty(), box);
    QVERIFY(control<QPlainTextEdit>(&screen, "memCircs")->toPlainText().isEmpty());
    QVERIFY(control<QPlainTextEdit>(&screen, "memRemark")->toPlainText().isEmpty());
    // The days stay as last shown.
    QCOMPARE(date(&screen, "dtpStartDate"), QDate(2026, 12, 30));
    QCOMPARE(date(&screen, "dtpEndDate"), QDate(2026, 12, 31));
    type(&screen, "edtPloyName", "元宵灯会");
    click(&screen, "btnSave");
    QCOMPARE(
        t->scalar("select ploy_name || start_date || end_date from community where ploy_id = 3").toString(),
        QString("元宵灯会2026-12-302026-12-31"));
    QVERIFY(text(&screen, "edtPloyName").isEmpty());
    QCOMPARE(listed(&screen), (QStringList{"新年联欢", "消防讲座", "元宵灯会", ""}));
}

void TestActivities::nameRequired()
{
    ActivitiesScreen screen(t->context());
    type(&screen, "edtPloyName", "   ");
    type(&screen, "edtChargeMan", "某人");
    click(&screen, "btnSave");
    QCOMPARE(t->messages().texts(), QStringList{"请输入活动名称！"});
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, "edtPloyName"));
    QCOMPARE(
        t->scalar("select group_concat(ploy_name || coalesce(charge_man, '')) from community").toString(),
        QString("新年联欢冯主任,消防讲座"));
    QCOMPARE(text(&screen, "edtChargeMan"), QString("某人"));
}

void TestActivities::deleteAsksFirst()
{
    ActivitiesScreen screen(t->context());
    t->messages().answerConfirm(false);
    click(&screen, "btnDel");
    QCOMPARE(t->messages().shown().last().text, QString("确实要删除此记录吗?"));
    QCOMPARE(t->messages().shown().last().caption, QString("提醒"));
    QCOMPARE(t->scalar("select count(*) from community").toInt(), 2);
    click(&screen, "btnDel");
    QCOMPARE(t->scalar("select group_concat(ploy_name) from community").toString(), QString("消防讲座"));
    QCOMPARE(listed(&screen), QStringList{"消防讲座"});
}

void TestActivities::browseOnly()
{
    ActivitiesScreen screen(t->context(false));
    for (const char* name : {"btnAdd", "btnDel", "btnSave"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name : {"btnPrintcomm", "btnClose"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    type(&screen, "edtPloyName", "改名");
    QTest::keyClick(control<QLineEdit>(&screen, "edtPloyName"), Qt::Key_Return);
    click(&screen, "btnSave");
    selectRow(&screen, 1);
    QCOMPARE(t->scalar("select group_concat(ploy_name) from community").toString(),
             QString("新年联欢,消防讲座"));
    QVERIFY(!(control<QTableView>(&screen, "dbgPloy")->editTriggers() & QAbstractItemView::AllEditTriggers));
    QVERIFY(t->messages().texts().isEmpty());
}

void TestActivities::previewListsEveryActivity()
{
    ActivitiesScreen screen(t->context(false));
    click(&screen, "btnPrintcomm");
    QCOMPARE(t->reports().last().layoutName, QString("rptPloy"));
    const QStringList page = t->reports().pageTexts(0);
    for (const QString text :
         {"社区活动信息", "活动名称", "主办单位", "开始日期", "结束日期", "负责人", "活动经费", "新年联欢",
          "物业办", "2026-12-30", "2026-12-31", "冯主任", "5000元", "消防讲座", "2026-06-01"})
        QVERIFY2(page.contains(text), qPrintable(text));

    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QTest::keyClick(control<QLineEdit>(&screen, "edtPloyName"), Qt::Key_Escape);
    QVERIFY(!screen.isVisible());
}

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
