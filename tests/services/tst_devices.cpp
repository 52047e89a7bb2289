#include "output/SpreadsheetProgram.h"
#include "services/DevicesScreen.h"
#include "support/Controls.h"
#include "support/EveryControl.h"
#include "support/TestDatabase.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>

// Engineering devices: the kind chosen lists its devices, the device shown lists
// its repairs; both edited where they are listed.
class TestDevices : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnTheFirstKind();
    void kindsKeepTheirNumbers();
    void deviceChecks_data();
    void deviceChecks();
    void devicesOneAfterAnother();
    void repairEntry();
    void leavingADeviceStoresItsRepair();
    void deleteAsksFirst();
    void previews();
    void exportTheKindsDevices();
    void browseOnly();
    void browseOnlyStoresNothing_data();
    void browseOnlyStoresNothing();
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

QStringList listed(QWidget* s, const char* grid, int column)
{
    return columnTexts(control<QTableView>(s, grid)->model(), column);
}

QStringList devices(QWidget* s)
{
    return listed(s, "DBGrid2", 2);
}

QStringList repairsListed(QWidget* s)
{
    return listed(s, "DBGrid1", 2);
}

void chooseKind(QWidget* s, int index)
{
    control<QComboBox>(s, "cmbTypeName")->setCurrentIndex(index);
    QCoreApplication::processEvents();
}

void typeKind(QWidget* s, const QString& name)
{
    auto* kind = control<QComboBox>(s, "cmbTypeName");
    kind->setCurrentIndex(-1);
    kind->setEditText(name);
    QCoreApplication::processEvents();
}

void selectRow(QWidget* s, const char* grid, int row)
{
    control<QTableView>(s, grid)->selectRow(row);
    QCoreApplication::processEvents();
}

} // namespace

void TestDevices::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    const qlonglong lifts = e.addDeviceType("电梯");  // 1
    const qlonglong pumps = e.addDeviceType("水泵");  // 2
    const qlonglong lifts2 = e.addDeviceType("电梯"); // 3, same name
    e.addDeviceType("空调");                          // 4, no devices
    const qlonglong lift = e.addDevice({.type = lifts,
                                        .number = "DT-01",
                                        .name = "一号客梯",
                                        .useDate = "2020-05-01",
                                        .factoryDate = "2019-12-01",
                                        .factory = "奥的斯",
                                        .linkTel = "400-800",
                                        .voltage = "380V",
                                        .power = "15kW",
                                        .curr = "30A",
                                        .oldYear = 15,
                                        .palace = "一号楼",
                                        .remark = "每月保养"});
    e.addDevice({.type = lifts, .number = "DT-02", .name = "二号客梯"});
    e.addDevice({.type = pumps, .number = "SB-01", .name = "生活水泵"});
    e.addDevice({.type = lifts2, .number = "DT-09", .name = "货梯"});
    e.addRepair({.device = lift,
                 .faultDesc = "门不关",
                 .faultTime = "2026-11-01 08:15:00",
                 .finishTime = "2026-11-01 10:40:00",
                 .cause = "门机老化",
                 .result = "已修复",
                 .repairer = "孙工",
                 .money = "350"});
    e.addRepair({.device = lift, .faultDesc = "异响", .faultTime = "2026-12-02 16:00:00"});
}

void TestDevices::cleanup()
{
    delete t;
}

void TestDevices::opensOnTheFirstKind()
{
    DevicesScreen screen(t->context());
    QCOMPARE(screen.objectName(), QString("TdeviceFrm"));
    QCOMPARE(screen.windowTitle(), QString("设备资料"));
    auto* kind = control<QComboBox>(&screen, "cmbTypeName");
    QCOMPARE(kind->count(), 4);
    QCOMPARE(kind->currentText(), QString("电梯"));
    auto* pages = control<QTabWidget>(&screen, "PageControl1");
    QCOMPARE((QStringList{pages->tabText(0), pages->tabText(1)}), (QStringList{"设备资料", "故障维修"}));
    QCOMPARE(listed(&screen, "DBGrid2", 1), (QStringList{"DT-01", "DT-02"}));
    QCOMPARE(control<QTableView>(&screen, "DBGrid2")->model()->headerData(1, Qt::Horizontal).toString(),
             QString("编号"));
    QCOMPARE(text(&screen, "dbeDevNo"), QString("DT-01"));
    QCOMPARE(text(&screen, "dbeDevName"), QString("一号客梯"));
    QCOMPARE(text(&screen, "DBEdit1"), QString("奥的斯"));
    QCOMPARE(text(&screen, "DBEdit5"), QString("400-800"));
    QCOMPARE(text(&screen, "DBEdit7"), QString("380V"));
    QCOMPARE(text(&screen, "DBEdit8"), QString("15kW"));
    QCOMPARE(text(&screen, "DBEdit2"), QString("30A"));
    QCOMPARE(text(&screen, "DBEdit9"), QString("15"));
    QCOMPARE(text(&screen, "DBEdit6"), QString("一号楼"));
    QCOMPARE(control<QPlainTextEdit>(&screen, "DBMemo1")->toPlainText(), QString("每月保养"));
    QCOMPARE(control<QDateEdit>(&screen, "dtpUseDate")->date(), QDate(2020, 5, 1));
    QCOMPARE(control<QDateEdit>(&screen, "dtpFactoryDate")->date(), QDate(2019, 12, 1));

    // The device's repairs, the first one shown.
    QCOMPARE(repairsListed(&screen), (QStringList{"门不关", "异响"}));
    auto* grid = control<QTableView>(&screen, "DBGrid1");
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"序号", "故障时间", "现象", "维修结果", "原因", "维修人员", "维修时间",
                                  "维修金额", "完工时间"}));
    QCOMPARE(control<QDateTimeEdit>(&screen, "dtpFaultTime")->dateTime(),
             QDateTime(QDate(2026, 11, 1), QTime(8, 15)));
    QCOMPARE(control<QTimeEdit>(&screen, "dtpTime1")->time(), QTime(8, 15));
    QCOMPARE(control<QDateTimeEdit>(&screen, "dtpFinishTime")->date(), QDate(2026, 11, 1));
    QCOMPARE(control<QTimeEdit>(&screen, "dtpTime2")->time(), QTime(10, 40));
    QCOMPARE(text(&screen, "DBEdit11"), QString("门机老化"));
    QCOMPARE(text(&screen, "DBEdit13"), QString("350.00"));
    QCOMPARE(control<QDateTimeEdit>(&screen, "dtpFaultTime")->displayFormat(), QString("yyyy-MM-dd HH:mm"));
    QCOMPARE(control<QTimeEdit>(&screen, "dtpTime1")->displayFormat(), QString("HH:mm"));
    // Unfinished: the completion date shows blank.
    selectRow(&screen, "DBGrid1", 1);
    QCOMPARE(control<QDateTimeEdit>(&screen, "dtpFinishTime")->text().trimmed(), QString());
}

void TestDevices::kindsKeepTheirNumbers()
{
    DevicesScreen screen(t->context());
    chooseKind(&screen, 2); // the second 电梯
    QCOMPARE(devices(&screen), QStringList{"货梯"});
    QVERIFY(repairsListed(&screen).isEmpty());
    chooseKind(&screen, 3); // 空调: none yet, but devices can be added
    QVERIFY(devices(&screen).isEmpty());
    QVERIFY(control<QPushButton>(&screen, "btnAddDev")->isEnabled());
    chooseKind(&screen, 0);
    QCOMPARE(devices(&screen), (QStringList{"一号客梯", "二号客梯"}));
    typeKind(&screen, "水泵"); // a typed name is found by name
    QCOMPARE(devices(&screen), QStringList{"生活水泵"});
    // A name of no kind lists nothing, and nothing can be added or saved under it.
    typeKind(&screen, "风机");
    QVERIFY(devices(&screen).isEmpty());
    QVERIFY(!control<QPushButton>(&screen, "btnAddDev")->isEnabled());
    QVERIFY(!control<QPushButton>(&screen, "btnSaveDev")->isEnabled());
    QVERIFY(control<QLineEdit>(&screen, "dbeDevNo")->isReadOnly());
    QVERIFY(t->messages().texts().isEmpty());
}

void TestDevices::deviceChecks_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("no number") << "dbeDevNo"
                               << " "
                               << "请输入设备编号！";
    QTest::newRow("no name") << "dbeDevName"
                             << ""
                             << "请输入设备名称！";
    QTest::newRow("years in words") << "DBEdit9"
                                    << "十年"
                                    << "折旧年限需要填写整数！";
}

void TestDevices::deviceChecks()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    DevicesScreen screen(t->context());
    type(&screen, "DBEdit1", "三菱");
    type(&screen, qPrintable(box), typed);
    click(&screen, "btnSaveDev");
    QCOMPARE(t->messages().texts(), QStringList{message});
    // The cursor is in the box refused.
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, qPrintable(box)));
    QCOMPARE(
        t->scalar("select factory || dev_no || dev_name || old_year from device where dev_id = 1").toString(),
        QString("奥的斯DT-01一号客梯15"));
    QCOMPARE(text(&screen, "DBEdit1"), QString("三菱"));
}

void TestDevices::devicesOneAfterAnother()
{
    DevicesScreen screen(t->context());
    chooseKind(&screen, 3); // 空调
    click(&screen, "btnAddDev");
    QVERIFY(text(&screen, "dbeDevNo").isEmpty());
    // A device not saved yet has no repairs.
    QVERIFY(repairsListed(&screen).isEmpty());
    QVERIFY(!control<QPushButton>(&screen, "btnAddRepair")->isEnabled());
    QVERIFY(!control<QPushButton>(&screen, "btnSaveRepair")->isEnabled());
    type(&screen, "dbeDevNo", " KT-01 ");
    type(&screen, "dbeDevName", "中央空调");
    type(&screen, "DBEdit9", "10");
    control<QDateEdit>(&screen, "dtpUseDate")->setDate(QDate(2025, 6, 1));
    control<QDateEdit>(&screen, "dtpFactoryDate")->setDate(QDate(2025, 1, 15));
    click(&screen, "btnSaveDev");
    QCOMPARE(t->scalar("select type_id || '|' || dev_no || '|' || use_date || '|' || factory_date || '|' || "
                       "old_year from device where dev_id = 5")
                 .toString(),
             QString("4|KT-01|2025-06-01|2025-01-15|10"));
    QCOMPARE(devices(&screen), (QStringList{"中央空调", ""}));
    QVERIFY(text(&screen, "dbeDevName").isEmpty());
    // The next device starts with the dates last shown.
    QCOMPARE(control<QDateEdit>(&screen, "dtpUseDate")->date(), QDate(2025, 6, 1));
    // The same number again is allowed.
    type(&screen, "dbeDevNo", "KT-01");
    type(&screen, "dbeDevName", "备用空调");
    click(&screen, "btnSaveDev");
    QCOMPARE(t->scalar("select count(*) from device where dev_no = 'KT-01' and type_id = 4").toInt(), 2);
    QVERIFY(t->messages().texts().isEmpty());
}

void TestDevices::repairEntry()
{
    DevicesScreen screen(t->context());
    control<QTabWidget>(&screen, "PageControl1")->setCurrentIndex(1);
    click(&screen, "btnAddRepair");
    QVERIFY(text(&screen, "dbeFaultDesc").isEmpty());
    type(&screen, "DBEdit11", "电压不稳"); // the cause, not the description
    click(&screen, "btnSaveRepair");
    QCOMPARE(t->messages().texts(), QStringList{"请输入故障原因！"});
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, "dbeFaultDesc"));
    type(&screen, "dbeFaultDesc", "停梯");
    type(&screen, "DBEdit13", "两百");
    click(&screen, "btnSaveRepair");
    QCOMPARE(t->messages().lastText(), QString("维修费需要填写数字！"));
    QCOMPARE(screen.focusWidget(), control<QWidget>(&screen, "DBEdit13"));
    QCOMPARE(t->scalar("select count(*) from repair").toInt(), 2);

    // The fault time is the date picker's day at the time picker's hour and minute.
    type(&screen, "DBEdit13", "120.5");
    control<QDateTimeEdit>(&screen, "dtpFaultTime")
        ->setDateTime(QDateTime(QDate(2026, 12, 9), QTime(23, 59)));
    control<QTimeEdit>(&screen, "dtpTime1")->setTime(QTime(14, 25));
    control<QDateTimeEdit>(&screen, "dtpFinishTime")
        ->setDateTime(QDateTime(QDate(2026, 12, 10), QTime(0, 0)));
    control<QTimeEdit>(&screen, "dtpTime2")->setTime(QTime(8, 5));
    click(&screen, "btnSaveRepair");
    QCOMPARE(
        t->scalar("select dev_id || '|' || fault_time || '|' || finish_time || '|' || fault_desc || '|' || "
                  "cause || '|' || repair_money from repair where repair_id = 3")
            .toString(),
        QString("1|2026-12-09 14:25:00|2026-12-10 08:05:00|停梯|电压不稳|12050"));
    // The next repair is ready, with the times last shown.
    QCOMPARE(repairsListed(&screen), (QStringList{"门不关", "异响", "停梯", ""}));
    QVERIFY(text(&screen, "dbeFaultDesc").isEmpty());
    QCOMPARE(control<QTimeEdit>(&screen, "dtpTime1")->time(), QTime(14, 25));

    // A repair changed in place.
    selectRow(&screen, "DBGrid1", 1);
    type(&screen, "DBEdit15", "已更换轴承");
    click(&screen, "btnSaveRepair");
    QCOMPARE(t->scalar("select result || fault_time from repair where repair_id = 2").toString(),
             QString("已更换轴承2026-12-02 16:00:00"));
}

void TestDevices::leavingADeviceStoresItsRepair()
{
    DevicesScreen screen(t->context());
    type(&screen, "DBEdit12", "周工"); // the first repair's repairer
    selectRow(&screen, "DBGrid2", 1);
    QCOMPARE(t->scalar("select repair from repair where repair_id = 1").toString(), QString("周工"));
    QVERIFY(repairsListed(&screen).isEmpty());

    // A repair that cannot be stored keeps its device.
    selectRow(&screen, "DBGrid2", 0);
    type(&screen, "dbeFaultDesc", "");
    selectRow(&screen, "DBGrid2", 1);
    QCOMPARE(t->messages().texts(), QStringList{"请输入故障原因！"});
    QCOMPARE(control<QTableView>(&screen, "DBGrid2")->currentIndex().row(), 0);
    QCOMPARE(text(&screen, "dbeDevNo"), QString("DT-01"));
    QCOMPARE(repairsListed(&screen), (QStringList{"门不关", "异响"}));
    // Nor may the kind change under it.
    chooseKind(&screen, 1);
    QCOMPARE(t->messages().texts().size(), 2);
    QCOMPARE(control<QComboBox>(&screen, "cmbTypeName")->currentIndex(), 0);
    QCOMPARE(devices(&screen), (QStringList{"一号客梯", "二号客梯"}));
    QCOMPARE(t->scalar("select fault_desc from repair where repair_id = 1").toString(), QString("门不关"));
}

void TestDevices::deleteAsksFirst()
{
    DevicesScreen screen(t->context());
    t->messages().answerConfirm(false);
    click(&screen, "btnDelRepair");
    QCOMPARE(t->messages().shown().last().text, QString("确实要删除此维修记录吗?"));
    QCOMPARE(t->messages().shown().last().caption, QString("提醒"));
    click(&screen, "btnDelRepair");
    QCOMPARE(repairsListed(&screen), QStringList{"异响"});
    QCOMPARE(t->scalar("select count(*) from repair").toInt(), 1);

    t->messages().answerConfirm(false);
    click(&screen, "btnDelDev");
    QCOMPARE(t->messages().shown().last().text, QString("确实要删除此设备吗?"));
    QCOMPARE(t->scalar("select count(*) from device").toInt(), 4);
    click(&screen, "btnDelDev");
    QCOMPARE(devices(&screen), QStringList{"二号客梯"});
    // Its repairs stay.
    QCOMPARE(t->scalar("select count(*) from repair where dev_id = 1").toInt(), 1);
}

void TestDevices::previews()
{
    DevicesScreen screen(t->context(false));
    click(&screen, "btnPrintDevice");
    QCOMPARE(t->reports().last().layoutName, QString("rptDevice"));
    QStringList page = t->reports().pageTexts(0);
    for (const QString text :
         {"工程设备一览表", "电梯", "一号客梯", "DT-01", "奥的斯", "400-800", "一号楼", "二号客梯"})
        QVERIFY2(page.contains(text), qPrintable(text));
    QVERIFY(!page.contains("生活水泵"));
    QVERIFY(!page.contains("货梯")); // the other kind of the same name

    click(&screen, "BitBtn3");
    QCOMPARE(t->reports().last().layoutName, QString("rptRepair"));
    page = t->reports().pageTexts(0);
    for (const QString text : {"故障维修信息", "DT-01", "2026-11-01 08:15", "2026-11-01 10:40", "350.00",
                               "已修复", "2026-12-02 16:00"})
        QVERIFY2(page.contains(text), qPrintable(text));

    // A device without repairs prints an empty list; no device, no list.
    selectRow(&screen, "DBGrid2", 1);
    click(&screen, "BitBtn3");
    QVERIFY(!t->reports().pageTexts(0).contains("DT-01"));
    const int shown = t->reports().shown().size();
    chooseKind(&screen, 3);
    click(&screen, "BitBtn3");
    QCOMPARE(t->messages().texts(), QStringList{"请先选择设备！"});
    QCOMPARE(t->reports().shown().size(), shown);
}

void TestDevices::exportTheKindsDevices()
{
    DevicesScreen screen(t->context(false));
    selectRow(&screen, "DBGrid2", 1);
    click(&screen, "Btnexcela");
    QCOMPARE(t->desktop().opened().size(), 1);
    const QList<QList<SpreadsheetCell>> sheet = spreadsheetProgramCells(t->desktop().opened().first());
    QCOMPARE(sheet.value(0).value(0).shown, QString("工程设备一览表"));
    QStringList header;
    for (const SpreadsheetCell& c : sheet.value(2))
        header << c.shown;
    QCOMPARE(header, (QStringList{"设备编号", "设备名称", "安装日期", "生产厂家", "厂家电话", "额定电压",
                                  "出厂日期", "额定功率", "额定电流", "折旧年限", "安装位置", "说明"}));
    const QList<SpreadsheetCell> first = sheet.value(3);
    QStringList shown;
    for (const SpreadsheetCell& c : first)
        shown << c.shown;
    QCOMPARE(shown, (QStringList{"DT-01", "一号客梯", "2020-05-01", "奥的斯", "400-800", "380V", "2019-12-01",
                                 "15kW", "30A", "15", "一号楼", "每月保养"}));
    // The dates are dates, everything else text (the years too).
    for (int c = 0; c < first.size(); ++c)
        QCOMPARE(first[c].isText, c != 2 && c != 6);
    QCOMPARE(sheet.size(), 5);
    QCOMPARE(control<QTableView>(&screen, "DBGrid2")->currentIndex().row(), 0);

    chooseKind(&screen, 3);
    click(&screen, "Btnexcela");
    QCOMPARE(t->messages().errors(), QStringList{"没有数据可打印！"});
}

void TestDevices::browseOnly()
{
    DevicesScreen screen(t->context(false));
    for (const char* name :
         {"btnAddDev", "btnDelDev", "btnSaveDev", "btnAddRepair", "btnDelRepair", "btnSaveRepair"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name : {"btnPrintDevice", "BitBtn3", "Btnexcela", "btnClose", "BitBtn2"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name : {"dbeDevNo", "DBEdit9", "dbeFaultDesc", "DBEdit13"})
        QVERIFY2(control<QLineEdit>(&screen, name)->isReadOnly(), name);
    QVERIFY(control<QDateEdit>(&screen, "dtpUseDate")->isReadOnly());
    QVERIFY(control<QTimeEdit>(&screen, "dtpTime1")->isReadOnly());
    for (const char* grid : {"DBGrid1", "DBGrid2"})
        QVERIFY2(!(control<QTableView>(&screen, grid)->editTriggers() & QAbstractItemView::AllEditTriggers),
                 grid);
    chooseKind(&screen, 1);
    QCOMPARE(devices(&screen), QStringList{"生活水泵"});
    QVERIFY(t->messages().texts().isEmpty());
}

void TestDevices::browseOnlyStoresNothing_data()
{
    QTest::addColumn<bool>("canWrite");
    QTest::newRow("browse only") << false;
    QTest::newRow("may write") << true; // the same moves do store: the check can fail
}

void TestDevices::browseOnlyStoresNothing()
{
    QFETCH(bool, canWrite);
    DevicesScreen screen(t->context(canWrite));
    auto* pages = control<QTabWidget>(&screen, "PageControl1");
    const QString before = contents(t);
    // Every control on both pages, for every kind, moving on from changed rows.
    for (int kind = 0; kind < control<QComboBox>(&screen, "cmbTypeName")->count(); ++kind) {
        for (int page = 0; page < pages->count(); ++page) {
            chooseKind(&screen, kind);
            pages->setCurrentIndex(page);
            workEveryControl(&screen);
            selectRow(&screen, "DBGrid1", 0);
            selectRow(&screen, "DBGrid2", 0);
        }
    }
    if (canWrite)
        QVERIFY(contents(t) != before);
    else
        QCOMPARE(contents(t), before);
}

void TestDevices::escapeCloses()
{
    DevicesScreen screen(t->context());
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QTest::keyClick(control<QLineEdit>(&screen, "dbeDevName"), Qt::Key_Escape);
    QVERIFY(!screen.isVisible());
    for (const char* close : {"btnClose", "BitBtn2"}) {
        screen.show();
        click(&screen, close);
        QVERIFY2(!screen.isVisible(), close);
    }
}

QTEST_MAIN(TestDevices)
#include "tst_devices.moc"
