#include "services/SecurityScreen.h"
#include "support/Controls.h"
#include "support/EveryControl.h"
#include "support/TestDatabase.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// Security events and fire zones: the boxes beside each list are a working copy
// of its current record, which Save alone writes back.
class TestSecurity : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnTheFirstRecords();
    void typingIsAWorkingCopy();
    void saveWritesTheBoxes();
    void entryOneAfterAnother();
    void saveOnAnEmptyListAdds();
    void nameRequired_data();
    void nameRequired();
    void enterSaves();
    void deleteAsksFirst();
    void browseOnly();
    void browseOnlyStoresNothing_data();
    void browseOnlyStoresNothing();
    void previewsListEveryRecord();
    void recordRemovedMeanwhile();
    void escapeCloses();

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

QStringList listed(QWidget* s, const char* grid)
{
    return columnTexts(control<QTableView>(s, grid)->model(), 1);
}

void selectRow(QWidget* s, const char* grid, int row)
{
    control<QTableView>(s, grid)->selectRow(row);
    QCoreApplication::processEvents();
}

} // namespace

void TestSecurity::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addEvent({.name = "大堂失窃",
                .type = "治安",
                .dealMan = "李队",
                .takeTime = "2026-11-02",
                .address = "一号楼大堂",
                .detail = " 夜间\n门未锁",
                .dealResult = "已报警"});
    e.addEvent({.name = "电梯困人", .takeTime = "2026-11-20"});
    e.addFireZone({.areaName = "地下车库",
                   .grade = "一级",
                   .address = "B1",
                   .fireArea = "3000平方米",
                   .checker = "王工",
                   .cycle = "每周",
                   .fireman = "赵六",
                   .equipment = "灭火器20具",
                   .remark = "禁止吸烟 "});
    e.addFireZone({.areaName = "配电房"});
}

void TestSecurity::cleanup()
{
    delete t;
}

void TestSecurity::opensOnTheFirstRecords()
{
    SecurityScreen screen(t->context());
    QCOMPARE(screen.objectName(), QString("TsecurityFrm"));
    QCOMPARE(screen.windowTitle(), QString("保安消防"));
    auto* pages = control<QTabWidget>(&screen, "PageControl1");
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(pages->tabText(0), QString("重大事件"));
    QCOMPARE(pages->tabText(1), QString("消防片区"));
    auto* events = control<QTableView>(&screen, "DBGrid1");
    QCOMPARE(events->model()->headerData(0, Qt::Horizontal).toString(), QString("序号"));
    QCOMPARE(events->model()->headerData(1, Qt::Horizontal).toString(), QString("事件名称"));
    QCOMPARE(control<QTableView>(&screen, "DBGrid2")->model()->headerData(1, Qt::Horizontal).toString(),
             QString("区域名称"));
    QCOMPARE(listed(&screen, "DBGrid1"), (QStringList{"大堂失窃", "电梯困人"}));

    QCOMPARE(text(&screen, "edtEventName"), QString("大堂失窃"));
    QCOMPARE(text(&screen, "edtEventType"), QString("治安"));
    QCOMPARE(text(&screen, "edtDealMan"), QString("李队"));
    QCOMPARE(text(&screen, "edtAddress"), QString("一号楼大堂"));
    QCOMPARE(control<QDateEdit>(&screen, "dtpTakeTime")->date(), QDate(2026, 11, 2));
    QCOMPARE(control<QPlainTextEdit>(&screen, "memDetail")->toPlainText(), QString(" 夜间\n门未锁"));
    QCOMPARE(control<QPlainTextEdit>(&screen, "memDealResult")->toPlainText(), QString("已报警"));

    QCOMPARE(text(&screen, "edtAreaName"), QString("地下车库"));
    QCOMPARE(text(&screen, "edtGrade"), QString("一级"));
    QCOMPARE(text(&screen, "edtAddressFire"), QString("B1"));
    QCOMPARE(text(&screen, "edtFireArea"), QString("3000平方米"));
    QCOMPARE(text(&screen, "edtChecker"), QString("王工"));
    QCOMPARE(text(&screen, "edtCycle"), QString("每周"));
    QCOMPARE(text(&screen, "edtFireMan"), QString("赵六"));
    QCOMPARE(text(&screen, "edtEquipment"), QString("灭火器20具"));
    QCOMPARE(control<QPlainTextEdit>(&screen, "memRemark")->toPlainText(), QString("禁止吸烟 "));

    const QList<std::pair<const char*, const char*>> captions{
        {"btnPrintEvent", "预览 &p."}, {"btnAdd", "增加 &a"},      {"btnDel", "删除 &d."},
        {"btnSave", "保存 &s."},       {"btnCancel2", "退出 &e."}, {"btnPrintArea", "预览 &p."},
        {"btnAddFire", "增加 &a"},     {"btnDelFire", "删除 &d."}, {"btnSaveFire", "保存 &s."},
        {"BitBtn1", "退出 &e."}};
    for (const auto& [name, caption] : captions)
        QCOMPARE(control<QPushButton>(&screen, name)->text(), QString(caption));
}

void TestSecurity::typingIsAWorkingCopy()
{
    SecurityScreen screen(t->context());
    type(&screen, "edtEventName", "改过的名字");
    control<QDateEdit>(&screen, "dtpTakeTime")->setDate(QDate(2020, 1, 1));
    selectRow(&screen, "DBGrid1", 1);
    QCOMPARE(text(&screen, "edtEventName"), QString("电梯困人"));
    QCOMPARE(control<QDateEdit>(&screen, "dtpTakeTime")->date(), QDate(2026, 11, 20));
    QCOMPARE(text(&screen, "edtEventType"), QString()); // the second event has none
    selectRow(&screen, "DBGrid1", 0);
    QCOMPARE(text(&screen, "edtEventName"), QString("大堂失窃"));
    QCOMPARE(t->scalar("select event_name || take_time from event where event_id = 1").toString(),
             QString("大堂失窃2026-11-02"));
    QVERIFY(t->messages().texts().isEmpty());
}

void TestSecurity::saveWritesTheBoxes()
{
    SecurityScreen screen(t->context());
    selectRow(&screen, "DBGrid1", 1);
    type(&screen, "edtEventName", "  电梯困人两小时 ");
    type(&screen, "edtEventType", " 设备 ");
    control<QDateEdit>(&screen, "dtpTakeTime")->setDate(QDate(2026, 11, 21));
    control<QPlainTextEdit>(&screen, "memDealResult")->setPlainText("  已救出\n");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select event_name || '|' || event_type || '|' || take_time || '|' || deal_result "
                       "from event where event_id = 2")
                 .toString(),
             QString("电梯困人两小时|设备|2026-11-21|  已救出\n"));
    QCOMPARE(listed(&screen, "DBGrid1"), (QStringList{"大堂失窃", "电梯困人两小时"}));
    QCOMPARE(control<QTableView>(&screen, "DBGrid1")->currentIndex().row(), 1);

    control<QTabWidget>(&screen, "PageControl1")->setCurrentIndex(1);
    type(&screen, "edtCycle", " 每月 ");
    control<QPlainTextEdit>(&screen, "memRemark")->setPlainText(" 禁止吸烟\n");
    click(&screen, "btnSaveFire");
    QCOMPARE(t->scalar("select cycle || '|' || remark from fire_area where fire_id = 1").toString(),
             QString("每月| 禁止吸烟\n"));
    QCOMPARE(t->scalar("select count(*) from fire_area").toInt(), 2);
}

void TestSecurity::entryOneAfterAnother()
{
    t->clock().set(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    SecurityScreen screen(t->context());
    auto* date = control<QDateEdit>(&screen, "dtpTakeTime");
    click(&screen, "btnAdd");
    for (const char* box : {"edtEventName", "edtEventType", "edtDealMan", "edtAddress"})
        QVERIFY2(text(&screen, box).isEmpty(), box);
    QVERIFY(control<QPlainTextEdit>(&screen, "memDetail")->toPlainText().isEmpty());
    QCOMPARE(date->date(), QDate(2026, 12, 10));
    type(&screen, "edtEventName", "停电");
    date->setDate(QDate(2026, 12, 9));
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select event_name || take_time from event where event_id = 3").toString(),
             QString("停电2026-12-09"));
    // The next event is ready: empty boxes, today, a new row after the one saved.
    QVERIFY(text(&screen, "edtEventName").isEmpty());
    QCOMPARE(date->date(), QDate(2026, 12, 10));
    QCOMPARE(listed(&screen, "DBGrid1"), (QStringList{"大堂失窃", "电梯困人", "停电", ""}));
    QCOMPARE(control<QTableView>(&screen, "DBGrid1")->currentIndex().row(), 3);
    type(&screen, "edtEventName", "漏水");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select group_concat(event_name, ',') from event").toString(),
             QString("大堂失窃,电梯困人,停电,漏水"));

    // Leaving the new row drops it; what was typed into it is gone.
    type(&screen, "edtEventName", "未保存");
    selectRow(&screen, "DBGrid1", 0);
    QCOMPARE(listed(&screen, "DBGrid1").size(), 4);
    QCOMPARE(t->scalar("select count(*) from event").toInt(), 4);
}

void TestSecurity::saveOnAnEmptyListAdds()
{
    t->exec("delete from event");
    SecurityScreen screen(t->context());
    QVERIFY(listed(&screen, "DBGrid1").isEmpty());
    type(&screen, "edtEventName", "火警演习");
    click(&screen, "btnSave");
    QCOMPARE(t->scalar("select group_concat(event_name) from event").toString(), QString("火警演习"));
    QCOMPARE(listed(&screen, "DBGrid1"), (QStringList{"火警演习", ""}));
}

void TestSecurity::nameRequired_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("nameBox");
    QTest::addColumn<QString>("otherBox");
    QTest::addColumn<QString>("add");
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("table");

    QTest::newRow("event shown") << 0 << "edtEventName"
                                 << "edtEventType"
                                 << ""
                                 << "btnSave"
                                 << "请输入事件名称！"
                                 << "event";
    QTest::newRow("new event") << 0 << "edtEventName"
                               << "edtDealMan"
                               << "btnAdd"
                               << "btnSave"
                               << "请输入事件名称！"
                               << "event";
    QTest::newRow("zone shown") << 1 << "edtAreaName"
                                << "edtGrade"
                                << ""
                                << "btnSaveFire"
                                << "请输入片区名称！"
                                << "fire_area";
    QTest::newRow("new zone") << 1 << "edtAreaName"
                              << "edtEquipment"
                              << "btnAddFire"
                              << "btnSaveFire"
                              << "请输入片区名称！"
                              << "fire_area";
}

void TestSecurity::nameRequired()
{
    QFETCH(int, page);
    QFETCH(QString, nameBox);
    QFETCH(QString, otherBox);
    QFETCH(QString, add);
    QFETCH(QString, save);
    QFETCH(QString, message);
    QFETCH(QString, table);
    SecurityScreen screen(t->context());
    control<QTabWidget>(&screen, "PageControl1")->setCurrentIndex(page);
    const QString before =
        t->scalar("select group_concat(" + QString(page ? "area_name" : "event_name") + " || coalesce(" +
                  QString(page ? "grade" : "deal_man") + ", '')) from " + table)
            .toString();
    if (!add.isEmpty())
        click(&screen, qPrintable(add));
    type(&screen, qPrintable(otherBox), "某人");
    type(&screen, qPrintable(nameBox), "  ");
    click(&screen, qPrintable(save));
    QCOMPARE(t->messages().texts(), QStringList{message});
    // The cursor is in the name's box.
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, qPrintable(nameBox)));
    QCOMPARE(t->scalar("select group_concat(" + QString(page ? "area_name" : "event_name") + " || coalesce(" +
                       QString(page ? "grade" : "deal_man") + ", '')) from " + table)
                 .toString(),
             before);
    // The boxes keep what was typed, to be put right.
    QCOMPARE(text(&screen, qPrintable(otherBox)), QString("某人"));
}

void TestSecurity::enterSaves()
{
    SecurityScreen screen(t->context());
    type(&screen, "edtAddress", "二号楼");
    QTest::keyClick(control<QLineEdit>(&screen, "edtAddress"), Qt::Key_Return);
    QCOMPARE(t->scalar("select take_address from event where event_id = 1").toString(), QString("二号楼"));
    control<QDateEdit>(&screen, "dtpTakeTime")->setDate(QDate(2026, 10, 1));
    QTest::keyClick(control<QDateEdit>(&screen, "dtpTakeTime"), Qt::Key_Enter);
    QCOMPARE(t->scalar("select take_time from event where event_id = 1").toString(), QString("2026-10-01"));
    // A memo takes Enter as a line break.
    auto* memo = control<QPlainTextEdit>(&screen, "memDetail");
    memo->setPlainText("甲");
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QCOMPARE(memo->toPlainText(), QString("甲\n"));
    QCOMPARE(t->scalar("select detail from event where event_id = 1").toString(), QString(" 夜间\n门未锁"));
}

void TestSecurity::deleteAsksFirst()
{
    SecurityScreen screen(t->context());
    t->messages().answerConfirm(false);
    click(&screen, "btnDel");
    QCOMPARE(t->messages().shown().last().text, QString("确实要删除此记录吗?"));
    QCOMPARE(t->messages().shown().last().caption, QString("提醒"));
    QCOMPARE(t->scalar("select count(*) from event").toInt(), 2);

    click(&screen, "btnDel");
    QCOMPARE(t->scalar("select group_concat(event_name) from event").toString(), QString("电梯困人"));
    QCOMPARE(listed(&screen, "DBGrid1"), QStringList{"电梯困人"});
    QCOMPARE(text(&screen, "edtEventName"), QString("电梯困人"));
    // The last one gone, the boxes keep its text.
    click(&screen, "btnDel");
    QVERIFY(listed(&screen, "DBGrid1").isEmpty());
    QCOMPARE(text(&screen, "edtEventName"), QString("电梯困人"));
    // Nothing to delete: nothing asked.
    t->messages().clear();
    click(&screen, "btnDel");
    QVERIFY(t->messages().texts().isEmpty());

    // A new zone not saved yet is only dropped.
    control<QTabWidget>(&screen, "PageControl1")->setCurrentIndex(1);
    click(&screen, "btnAddFire");
    type(&screen, "edtAreaName", "屋顶");
    click(&screen, "btnDelFire");
    QCOMPARE(listed(&screen, "DBGrid2"), (QStringList{"地下车库", "配电房"}));
    QCOMPARE(t->scalar("select count(*) from fire_area").toInt(), 2);
}

void TestSecurity::browseOnly()
{
    SecurityScreen screen(t->context(false));
    for (const char* name : {"btnAdd", "btnDel", "btnSave", "btnAddFire", "btnDelFire", "btnSaveFire"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name : {"btnPrintEvent", "btnPrintArea", "btnCancel2", "BitBtn1"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    // The boxes take text, which nothing stores: not Enter, not a click.
    type(&screen, "edtEventName", "改名");
    QTest::keyClick(control<QLineEdit>(&screen, "edtEventName"), Qt::Key_Return);
    control<QPushButton>(&screen, "btnSave")->click();
    type(&screen, "edtAreaName", "改名");
    QTest::keyClick(control<QLineEdit>(&screen, "edtAreaName"), Qt::Key_Return);
    selectRow(&screen, "DBGrid1", 1);
    QCOMPARE(t->scalar("select group_concat(event_name) from event").toString(),
             QString("大堂失窃,电梯困人"));
    QCOMPARE(t->scalar("select group_concat(area_name) from fire_area").toString(),
             QString("地下车库,配电房"));
    QVERIFY(!(control<QTableView>(&screen, "DBGrid1")->editTriggers() & QAbstractItemView::AllEditTriggers));
    QVERIFY(t->messages().texts().isEmpty());
}

void TestSecurity::browseOnlyStoresNothing_data()
{
    QTest::addColumn<bool>("canWrite");
    QTest::newRow("browse only") << false;
    QTest::newRow("may write") << true; // the same moves do store: the check can fail
}

void TestSecurity::browseOnlyStoresNothing()
{
    QFETCH(bool, canWrite);
    SecurityScreen screen(t->context(canWrite));
    auto* pages = control<QTabWidget>(&screen, "PageControl1");
    const QString before = contents(t);
    // Every control on both pages, on every row.
    for (int row = 0; row < 2; ++row) {
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            selectRow(&screen, "DBGrid1", row);
            selectRow(&screen, "DBGrid2", row);
            workEveryControl(&screen);
        }
    }
    if (canWrite)
        QVERIFY(contents(t) != before);
    else
        QCOMPARE(contents(t), before);
}

void TestSecurity::previewsListEveryRecord()
{
    SecurityScreen screen(t->context(false));
    click(&screen, "btnPrintEvent");
    QCOMPARE(t->reports().last().layoutName, QString("rptEvent"));
    QStringList page = t->reports().pageTexts(0);
    for (const QString text :
         {"重大事件一览表", "大堂失窃", "治安", "李队", "2026-11-02", "一号楼大堂", "电梯困人"})
        QVERIFY2(page.contains(text), qPrintable(text));
    click(&screen, "btnPrintArea");
    QCOMPARE(t->reports().last().layoutName, QString("rptFire"));
    page = t->reports().pageTexts(0);
    for (const QString text : {"消防片区资料", "地下车库", "一级", "B1", "赵六", "每周", "配电房"})
        QVERIFY2(page.contains(text), qPrintable(text));
}

void TestSecurity::recordRemovedMeanwhile()
{
    SecurityScreen screen(t->context());
    t->exec("delete from event where event_id = 1"); // another copy
    type(&screen, "edtEventName", "改名");
    click(&screen, "btnSave");
    QCOMPARE(t->messages().errors().size(), 1);
    QCOMPARE(t->scalar("select group_concat(event_name) from event").toString(), QString("电梯困人"));
    QCOMPARE(listed(&screen, "DBGrid1"), QStringList{"电梯困人"});
}

void TestSecurity::escapeCloses()
{
    SecurityScreen screen(t->context());
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QTest::keyClick(control<QLineEdit>(&screen, "edtEventName"), Qt::Key_Escape);
    QVERIFY(!screen.isVisible());
    screen.show();
    click(&screen, "BitBtn1");
    QVERIFY(!screen.isVisible());
}

QTEST_MAIN(TestSecurity)
#include "tst_security.moc"
