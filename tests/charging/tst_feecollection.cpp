#include "charging/FeeCollectionScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// Fee collection: the amount due by each billing rule, the save checks in their
// order, continuous entry, the owner, day and all-records lists.
class TestFeeCollection : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnTheFirstOwnersLastRecord();
    void amountByRule_data();
    void amountByRule();
    void aRefusalKeepsWhatWasTyped();
    void monthPickersShowMonths();
    void continuousEntry();
    void paymentDate();
    void aRecordKeepsItsOwner();
    void ownersOfOneNameStayTwo();
    void dayAndAllRecords();
    void deleteAndBrowseOnly();
    void emptyDatabase();

private:
    TestDatabase* t = nullptr;
};

namespace {

QLineEdit* edit(QWidget* s, const char* name)
{
    return control<QLineEdit>(s, name);
}

QDateEdit* date(QWidget* s, const char* name)
{
    return control<QDateEdit>(s, name);
}

void chooseType(QWidget* s, const QString& name)
{
    auto* combo = control<QComboBox>(s, "cmbTypeName");
    const int index = combo->findText(name);
    if (index >= 0)
        combo->setCurrentIndex(index);
    else
        combo->setEditText(name);
}

void enter(QWidget* widget)
{
    QTest::keyClick(widget, Qt::Key_Return);
}

void click(QWidget* s, const char* name)
{
    control<QPushButton>(s, name)->click();
}

QTableView* records(QWidget* s)
{
    return control<QTableView>(s, "dbgTakeIn");
}

void selectOwner(QWidget* s, int row)
{
    auto* list = control<QListView>(s, "lstOwners");
    list->setCurrentIndex(list->model()->index(row, 1));
}

} // namespace

void TestFeeCollection::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addChargeType("物管费", "2.5", "建筑面积*单价*月份"); // 1
    e.addChargeType("服务费", "0", "普通收费");             // 2
    e.addChargeType("电费", "0.6", "表读数*单价");          // 3
    e.addChargeType("停车费", "150", "单价*月份");          // 4
    e.addChargeType("水费", "", "表读数*单价");             // 5, no price set
    const qlonglong tower = e.addBuilding("一号楼");
    e.addRoom({.id = "101", .building = tower, .buildArea = "80"});
    e.addRoom({.id = "102", .building = tower, .buildArea = "40.5"});
    e.addRoom({.id = "103", .building = tower, .buildArea = "1000"});
    e.addRoom({.id = "201", .building = tower, .buildArea = "50"});
    const qlonglong jia = e.addOwner({.name = "甲公司"});  // 1
    const qlonglong yi = e.addOwner({.name = "丰公司"});   // 2, no rooms
    const qlonglong jia2 = e.addOwner({.name = "甲公司"}); // 3, same name
    e.linkRoom(jia, "101");
    e.linkRoom(jia, "102");
    t->exec("update owner_rooms set if_manage = '否' where ownerroom_id = ?", {e.linkRoom(jia, "103")});
    e.linkRoom(jia2, "201");
    e.addFee({.owner = jia, .type = 2, .shouldPay = "100", .paid = "100", .date = "2026-12-01"});
    e.addFee({.owner = jia, .type = 3, .shouldPay = "30", .paid = "0", .date = "2026-12-10"});
    e.addFee({.owner = jia2, .type = 2, .shouldPay = "55", .paid = "50", .date = "2026-12-10"});
    e.addFee({.owner = yi, .type = 2, .shouldPay = "7", .paid = "7", .date = "2026-11-30"});
    t->exec(
        "update charge_take set start_num = '100', end_num = '150', remarks = '十二月' where take_id = 2");
}

void TestFeeCollection::cleanup()
{
    delete t;
}

void TestFeeCollection::opensOnTheFirstOwnersLastRecord()
{
    FeeCollectionScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QString("收费界面"));
    QCOMPARE(columnTexts(control<QListView>(&screen, "lstOwners")->model(), 1),
             (QStringList{"丰公司", "甲公司", "甲公司"}));
    selectOwner(&screen, 1); // the first 甲公司
    QCOMPARE(columnTexts(records(&screen)->model(), 1), (QStringList{"服务费", "电费"}));
    QCOMPARE(records(&screen)->currentIndex().row(), 1); // its last record, shown
    QCOMPARE(control<QComboBox>(&screen, "cmbTypeName")->currentText(), QString("电费"));
    QCOMPARE(edit(&screen, "edtStart")->text(), QString("100"));
    QCOMPARE(edit(&screen, "edtEnd")->text(), QString("150"));
    QCOMPARE(edit(&screen, "edtShouldPay")->text(), QString("30.00"));
    QCOMPARE(control<QPlainTextEdit>(&screen, "memRemark")->toPlainText(), QString("十二月"));
    QCOMPARE(control<QLabel>(&screen, "labLast")->text(), QString("上次度数"));
    QVERIFY(!edit(&screen, "edtStart")->isHidden());
    QVERIFY(date(&screen, "dtpStart")->isHidden());

    chooseType(&screen, "物管费"); // the inputs follow the type as it is chosen
    QCOMPARE(control<QLabel>(&screen, "labLast")->text(), QString("起缴月份"));
    QCOMPARE(control<QLabel>(&screen, "labCurrent")->text(), QString("缴止月份"));
    QVERIFY(edit(&screen, "edtStart")->isHidden());
    QVERIFY(!date(&screen, "dtpStart")->isHidden());
    chooseType(&screen, "服务费"); // typed by hand: everything disabled where it is
    QVERIFY(!date(&screen, "dtpStart")->isEnabled());
    QVERIFY(!date(&screen, "dtpStart")->isHidden());
    QCOMPARE(control<QLabel>(&screen, "labLast")->text(), QString("起缴月份"));
}

void TestFeeCollection::amountByRule_data()
{
    QTest::addColumn<int>("owner"); // row in the owner list
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("previous"); // reading, or first month yyyy-MM-dd
    QTest::addColumn<QString>("current");  // reading, or last month
    QTest::addColumn<QString>("amount");   // shown in the amount box, or the refusal

    // 甲公司 is billed for 80 + 40.5 m² (its third room is not counted).
    QTest::newRow("area") << 1 << "物管费"
                          << "2003-11-15"
                          << "2004-02-03"
                          << "1205.0";
    QTest::newRow("area, one month") << 1 << "物管费"
                                     << "2003-08-05"
                                     << "2003-08-20"
                                     << "301.3"; // 301.25
    QTest::newRow("area, months reversed") << 1 << "物管费"
                                           << "2003-08-20"
                                           << "2003-08-05"
                                           << "起始日期不能大于结束日期！";
    QTest::newRow("area, no counted room") << 0 << "物管费"
                                           << "2003-08-05"
                                           << "2003-08-20"
                                           << "此住户还未设置付费房间！";
    QTest::newRow("price × months") << 0 << "停车费"
                                    << "2003-01-31"
                                    << "2003-02-01"
                                    << "300.0";
    QTest::newRow("meter, previous empty") << 0 << "电费"
                                           << ""
                                           << "120"
                                           << "72.0";
    QTest::newRow("meter, current below") << 0 << "电费"
                                          << "100"
                                          << "95"
                                          << "当前度数不能小于上次的度数！";
    QTest::newRow("meter, not a number") << 0 << "电费"
                                         << "一百"
                                         << "120"
                                         << "上次度数需要填写数字！";
    QTest::newRow("meter, three decimals") << 0 << "电费"
                                           << "1"
                                           << "1.005"
                                           << "本次度数需要填写数字！";
    QTest::newRow("meter, no price") << 0 << "水费"
                                     << "1"
                                     << "2"
                                     << "还未设置物业费参数！";
    QTest::newRow("no such type") << 0 << "燃气费"
                                  << "1"
                                  << "2"
                                  << "没有此费用的信息,请重新输入！";
}

void TestFeeCollection::amountByRule()
{
    QFETCH(int, owner);
    QFETCH(QString, type);
    QFETCH(QString, previous);
    QFETCH(QString, current);
    QFETCH(QString, amount);
    FeeCollectionScreen screen(t->context());
    selectOwner(&screen, owner);
    click(&screen, "btnAdd");
    chooseType(&screen, type);
    if (previous.contains('-') && previous.size() == 10) {
        date(&screen, "dtpStart")->setDate(QDate::fromString(previous, Qt::ISODate));
        date(&screen, "dtpEnd")->setDate(QDate::fromString(current, Qt::ISODate));
    } else {
        edit(&screen, "edtStart")->setText(previous);
        edit(&screen, "edtEnd")->setText(current);
    }
    enter(edit(&screen, "edtShouldPay"));
    const bool refused = !t->messages().texts().isEmpty();
    QCOMPARE(refused ? t->messages().lastText() : edit(&screen, "edtShouldPay")->text(), amount);

    // Enter in the paid box: paid in full.
    enter(edit(&screen, "edtPaymentReal"));
    QCOMPARE(edit(&screen, "edtPaymentReal")->text(), edit(&screen, "edtShouldPay")->text());
}

void TestFeeCollection::aRefusalKeepsWhatWasTyped()
{
    // The checks themselves are the store's (tst_feeentry); the screen shows the
    // refusal, puts the cursor where it points and keeps what was typed.
    FeeCollectionScreen screen(t->context());
    screen.show();
    selectOwner(&screen, 0); // 丰公司
    click(&screen, "btnAdd");
    chooseType(&screen, "电费");
    edit(&screen, "edtShouldPay")->setText("10");
    edit(&screen, "edtStart")->setText("1");
    edit(&screen, "edtEnd")->setText("y");
    click(&screen, "btnModi");
    QCOMPARE(t->messages().texts(), QStringList{"本次缴费度数需要填写数字！"});
    QCOMPARE(screen.focusWidget(), edit(&screen, "edtEnd"));
    QCOMPARE(edit(&screen, "edtEnd")->text(), QString("y"));
    QCOMPARE(t->scalar("select count(*) from charge_take").toInt(), 4);

    edit(&screen, "edtEnd")->setText("2");
    click(&screen, "btnModi");
    QCOMPARE(t->scalar("select owner_id || '|' || should_pay || '|' || start_num || '-' || end_num "
                       "from charge_take where take_id = 5")
                 .toString(),
             QString("2|1000|1-2"));
}

void TestFeeCollection::monthPickersShowMonths()
{
    // A period record: its months show as "yyyy-MM", as the monthly run's pickers
    // show them; the dates stored keep their days, also when a month is stepped.
    t->exec("update charge_take set type_id = 4, start_num = '2003-11-15', end_num = '2004-02-03' "
            "where take_id = 2");
    FeeCollectionScreen screen(t->context());
    selectOwner(&screen, 1); // the first 甲公司, on that record
    QDateEdit* first = date(&screen, "dtpStart");
    QDateEdit* last = date(&screen, "dtpEnd");
    QCOMPARE(first->text(), QString("2003-11"));
    QCOMPARE(last->text(), QString("2004-02"));
    QCOMPARE(date(&screen, "dtpTakeDate")->text(), QString("2026-12-10")); // a day stays a day

    click(&screen, "btnModi");
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(t->scalar("select start_num || '|' || end_num from charge_take where take_id = 2").toString(),
             QString("2003-11-15|2004-02-03"));

    last->setFocus();
    last->setCurrentSection(QDateTimeEdit::MonthSection);
    QTest::keyClick(last, Qt::Key_Up);
    QCOMPARE(last->text(), QString("2004-03"));
    click(&screen, "btnModi");
    QCOMPARE(t->scalar("select end_num from charge_take where take_id = 2").toString(),
             QString("2004-03-03"));
}

void TestFeeCollection::continuousEntry()
{
    FeeCollectionScreen screen(t->context());
    selectOwner(&screen, 0); // 丰公司
    click(&screen, "btnAdd");
    chooseType(&screen, "停车费");
    date(&screen, "dtpStart")->setDate(QDate(2026, 1, 5));
    date(&screen, "dtpEnd")->setDate(QDate(2026, 3, 5));
    enter(edit(&screen, "edtShouldPay"));
    enter(edit(&screen, "edtPaymentReal"));
    click(&screen, "btnModi");
    QCOMPARE(t->scalar("select should_pay || '|' || payment_real || '|' || start_num || '|' || end_num "
                       "from charge_take where take_id = 5")
                 .toString(),
             QString("45000|45000|2026-01-05|2026-03-05"));
    // The next fee is ready, of the same type; the list shows the one stored.
    QCOMPARE(columnTexts(records(&screen)->model(), 1), (QStringList{"服务费", "停车费"}));
    QVERIFY(edit(&screen, "edtShouldPay")->text().isEmpty());
    QCOMPARE(control<QComboBox>(&screen, "cmbTypeName")->currentText(), QString("停车费"));
    edit(&screen, "edtShouldPay")->setText("150");
    click(&screen, "btnModi");
    QCOMPARE(t->scalar("select count(*) from charge_take where owner_id = 2").toInt(), 3);

    // A stored record is changed in place, and stays current.
    records(&screen)->selectRow(1);
    control<QPlainTextEdit>(&screen, "memRemark")->setPlainText("三个月");
    click(&screen, "btnModi");
    QCOMPARE(t->scalar("select remarks from charge_take where take_id = 5").toString(), QString("三个月"));
    QCOMPARE(t->scalar("select count(*) from charge_take").toInt(), 6);
    QCOMPARE(records(&screen)->currentIndex().row(), 1);

    // What was paid is never lowered here: money is given back by voiding its receipt.
    edit(&screen, "edtPaymentReal")->setText("400");
    click(&screen, "btnModi");
    QCOMPARE(t->messages().texts().last(),
             QString("实付款不能改小：已收的款项有收据，请在收据登记中作废收据。"));
    QCOMPARE(t->scalar("select payment_real from charge_take where take_id = 5").toLongLong(), 45000);
}

void TestFeeCollection::paymentDate()
{
    // 丰公司: a payment of 2026-11-30, and a bill of 2026-10-01 with nothing paid.
    t->estate().addFee({.owner = 2, .type = 1, .shouldPay = "300", .paid = "0", .date = "2026-10-01"});
    const QDate today = t->clock().today();
    FeeCollectionScreen screen(t->context());
    selectOwner(&screen, 0);
    const auto takeDate = [&](int id) {
        return t->scalar("select take_date from charge_take where take_id = ?", {id}).toString();
    };

    // A new fee is paid today, though an older record was shown.
    records(&screen)->selectRow(0);
    QCOMPARE(date(&screen, "dtpTakeDate")->date(), QDate(2026, 11, 30));
    click(&screen, "btnAdd");
    QCOMPARE(date(&screen, "dtpTakeDate")->date(), today);
    chooseType(&screen, "服务费");
    edit(&screen, "edtShouldPay")->setText("9");
    click(&screen, "btnModi");
    QCOMPARE(takeDate(6), today.toString(Qt::ISODate));
    QCOMPARE(date(&screen, "dtpTakeDate")->date(), today); // and so is the next one

    // Paying a bill that had nothing paid moves its date to today.
    records(&screen)->selectRow(1);
    QCOMPARE(date(&screen, "dtpTakeDate")->date(), QDate(2026, 10, 1));
    edit(&screen, "edtPaymentReal")->clear();
    QTest::keyClicks(edit(&screen, "edtPaymentReal"), "300");
    QCOMPARE(date(&screen, "dtpTakeDate")->date(), today);
    click(&screen, "btnModi");
    QCOMPARE(takeDate(5), today.toString(Qt::ISODate));

    // Paying more on a bill that had a payment keeps its date.
    t->exec("update charge_take set should_pay = 900 where take_id = 4");
    records(&screen)->selectRow(1);
    records(&screen)->selectRow(0);
    edit(&screen, "edtPaymentReal")->clear();
    QTest::keyClicks(edit(&screen, "edtPaymentReal"), "8");
    QCOMPARE(date(&screen, "dtpTakeDate")->date(), QDate(2026, 11, 30));
    click(&screen, "btnModi");
    QCOMPARE(takeDate(4), QString("2026-11-30"));
    QCOMPARE(t->scalar("select payment_real from charge_take where take_id = 4").toInt(), 800);
}

void TestFeeCollection::aRecordKeepsItsOwner()
{
    // Under "全部记录" a record of another owner is changed for that owner, and its
    // amount is computed from that owner's rooms.
    FeeCollectionScreen screen(t->context());
    selectOwner(&screen, 0); // 丰公司 chosen
    control<QCheckBox>(&screen, "cbxFull")->setChecked(true);
    QCOMPARE(records(&screen)->model()->rowCount(), 4);
    QCOMPARE(control<QCheckBox>(&screen, "cbxFull")->palette().color(QPalette::WindowText),
             QColor(Qt::yellow));
    records(&screen)->selectRow(2); // 55 due from the second 甲公司
    chooseType(&screen, "物管费");
    date(&screen, "dtpStart")->setDate(QDate(2026, 1, 1));
    date(&screen, "dtpEnd")->setDate(QDate(2026, 1, 1));
    enter(edit(&screen, "edtShouldPay"));
    QCOMPARE(edit(&screen, "edtShouldPay")->text(), QString("125.0")); // 50 m² of its own owner
    click(&screen, "btnModi");
    QCOMPARE(
        t->scalar("select owner_id || '|' || type_id || '|' || should_pay from charge_take where take_id = 3")
            .toString(),
        QString("3|1|12500"));

    control<QCheckBox>(&screen, "cbxFull")->setChecked(false); // the owner's list again
    QCOMPARE(records(&screen)->model()->rowCount(), 1);
    QCOMPARE(control<QCheckBox>(&screen, "cbxFull")->palette().color(QPalette::WindowText),
             QPalette().color(QPalette::WindowText));
}

void TestFeeCollection::ownersOfOneNameStayTwo()
{
    FeeCollectionScreen screen(t->context());
    selectOwner(&screen, 2); // the second 甲公司
    QCOMPARE(columnTexts(records(&screen)->model(), 2), QStringList{"55.00"});
    click(&screen, "btnAdd");
    chooseType(&screen, "服务费");
    edit(&screen, "edtShouldPay")->setText("9");
    click(&screen, "btnModi");
    QCOMPARE(t->scalar("select owner_id from charge_take where take_id = 5").toLongLong(), 3);
}

void TestFeeCollection::dayAndAllRecords()
{
    FeeCollectionScreen screen(t->context());
    selectOwner(&screen, 0);
    date(&screen, "dtpDate")->setDate(QDate(2026, 12, 10));
    enter(date(&screen, "dtpDate"));
    QCOMPARE(columnTexts(records(&screen)->model(), 0), (QStringList{"2", "3"}));
    // Enter in the payment date lists the day of dtpDate too.
    date(&screen, "dtpDate")->setDate(QDate(2026, 11, 30));
    control<QCheckBox>(&screen, "cbxFull")->setChecked(true);
    enter(date(&screen, "dtpTakeDate"));
    QVERIFY(!control<QCheckBox>(&screen, "cbxFull")->isChecked());
    QCOMPARE(columnTexts(records(&screen)->model(), 0), QStringList{"4"});
}

void TestFeeCollection::deleteAndBrowseOnly()
{
    {
        FeeCollectionScreen screen(t->context());
        selectOwner(&screen, 1);
        t->messages().answerConfirm(false);
        click(&screen, "btnDel");
        QCOMPARE(t->scalar("select count(*) from charge_take").toInt(), 4);
        click(&screen, "btnDel");
        QCOMPARE(t->messages().shown().last().text, QString("确实要删除此记录吗?"));
        QCOMPARE(t->messages().shown().last().caption, QString("提醒"));
        QCOMPARE(t->scalar("select count(*) from charge_take where take_id = 2").toInt(), 0);
        QCOMPARE(records(&screen)->currentIndex().row(), 0); // the record before it
        QCOMPARE(edit(&screen, "edtShouldPay")->text(), QString("100.00"));
    }
    FeeCollectionScreen browse(t->context(false));
    for (const char* name : {"btnAdd", "btnModi", "btnDel"})
        QVERIFY2(!control<QPushButton>(&browse, name)->isEnabled(), name);
}

void TestFeeCollection::emptyDatabase()
{
    TestDatabase empty;
    FeeCollectionScreen screen(empty.context());
    QCOMPARE(empty.messages().texts(), (QStringList{"还未有费用类别记录！", "还未有住户记录,请先添加！"}));
    // Nothing is stored for no owner.
    QVERIFY(!control<QPushButton>(&screen, "btnAdd")->isEnabled());
    QVERIFY(!control<QPushButton>(&screen, "btnModi")->isEnabled());
}

QTEST_MAIN(TestFeeCollection)
#include "tst_feecollection.moc"
