#include "output/SpreadsheetProgram.h"
#include "output/WorkbookReader.h"
#include "services/CustomerServiceScreen.h"
#include "support/Controls.h"
#include "support/EveryControl.h"
#include "support/TestDatabase.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// Customer service: the chosen owner's service jobs, complaints and fit-out
// permits, edited where they are listed; the owner list keeps each owner.
class TestCustomerService : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnTheFirstOwner();
    void ownersOfOneNameStayTwo();
    void jobsOneAfterAnother();
    void typedValuesChecked_data();
    void typedValuesChecked();
    void complaintsAndPermits_data();
    void complaintsAndPermits();
    void leavingAChangedRowStoresIt();
    void deleteAsksFirst();
    void browseOnly();
    void browseOnlyStoresNothing_data();
    void browseOnlyStoresNothing();
    void exportTheOwnersJobs();
    void previewsCoverEveryOwner();
    void noOwners();
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

QStringList listed(QWidget* s, const char* grid, int column = 1)
{
    return columnTexts(control<QTableView>(s, grid)->model(), column);
}

QListView* owners(QWidget* s)
{
    return control<QListView>(s, "lstOwner");
}

void chooseOwner(QWidget* s, int row)
{
    auto* list = owners(s);
    list->setCurrentIndex(list->model()->index(row, 1));
    QCoreApplication::processEvents();
}

void showPage(QWidget* s, int page)
{
    control<QTabWidget>(s, "PageControl1")->setCurrentIndex(page);
}

QString cellText(const WorkbookReader& book, const QString& ref)
{
    const std::optional<WorkbookReader::Cell> c = book.cell(ref);
    return c ? c->text : QString();
}

} // namespace

void TestCustomerService::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    const qlonglong yi = e.addOwner({.name = "乙公司"});   // 1
    const qlonglong jia = e.addOwner({.name = "甲公司"});  // 2
    const qlonglong jia2 = e.addOwner({.name = "甲公司"}); // 3
    e.addOwner({.name = "丙公司", .inOut = "搬出"});       // 4, moved out
    e.addService({.owner = jia,
                  .worker = "张师傅",
                  .startTime = "2026-12-01 09:00:00",
                  .finishTime = "2026-12-01 11:30:00",
                  .materialMoney = "12.5",
                  .serveMoney = "30",
                  .needMaterial = "灯管",
                  .ownerCheck = "满意",
                  .ifTake = "是",
                  .contents = "更换灯管\n两支"});
    e.addService({.owner = jia, .worker = "李师傅"});
    e.addService({.owner = jia2, .worker = "王师傅"});
    e.addService({.owner = yi, .worker = "赵师傅", .serveMoney = "8"});
    e.addComplaint({.owner = jia,
                    .name = "噪音",
                    .time = "2026-11-05",
                    .serveName = "刘经理",
                    .revert = "陈",
                    .revertType = "电话",
                    .satisfy = "一般",
                    .type = "环境",
                    .content = "夜间施工",
                    .dealContent = "已协调"});
    e.addComplaint({.owner = yi, .name = "停车", .time = "2026-11-06"});
    e.addFitOut({.owner = "2",
                 .company = "华美装饰",
                 .startDate = "2026-10-01",
                 .endDate = "2026-12-31",
                 .licence = "L-001",
                 .tel = "0755-1234",
                 .address = "一号楼101",
                 .checker = "钱",
                 .content = "吊顶"});
    e.addFitOut({.owner = "3", .company = "金装"});
}

void TestCustomerService::cleanup()
{
    delete t;
}

void TestCustomerService::opensOnTheFirstOwner()
{
    CustomerServiceScreen screen(t->context());
    QCOMPARE(screen.objectName(), QString("TserveFrm"));
    QCOMPARE(screen.windowTitle(), QString("住户服务"));
    // Every owner by name, moved-out ones too; the first is chosen.
    QCOMPARE(columnTexts(owners(&screen)->model(), 1), (QStringList{"丙公司", "甲公司", "甲公司", "乙公司"}));
    QCOMPARE(owners(&screen)->currentIndex().row(), 0);
    QVERIFY(listed(&screen, "dbgServe").isEmpty());
    auto* pages = control<QTabWidget>(&screen, "PageControl1");
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE((QStringList{pages->tabText(0), pages->tabText(1), pages->tabText(2)}),
             (QStringList{"住户服务", "客户投诉", "二次装修"}));
    QCOMPARE(control<QDateEdit>(&screen, "dtpAdviceTime")->date(), QDate(2026, 12, 10));

    chooseOwner(&screen, 1);
    auto* jobs = control<QTableView>(&screen, "dbgServe");
    QStringList titles;
    for (int c = 0; c < jobs->model()->columnCount(); ++c)
        titles << jobs->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"序号", "服务人", "开始时间", "结束时间", "原料费用", "服务费用", "已付费",
                                  "所需原料", "用户验收"}));
    QCOMPARE(listed(&screen, "dbgServe"), (QStringList{"张师傅", "李师傅"}));
    QCOMPARE(listed(&screen, "dbgServe", 4), (QStringList{"12.50", ""}));
    QCOMPARE(control<QPlainTextEdit>(&screen, "dbmContents")->toPlainText(), QString("更换灯管\n两支"));
    QCOMPARE(text(&screen, "DBEdit2"), QString("张师傅"));
    QCOMPARE(text(&screen, "DBEdit3"), QString("满意"));
    QCOMPARE(text(&screen, "DBEdit4"), QString("2026-12-01 09:00:00"));
    QCOMPARE(text(&screen, "DBEdit5"), QString("2026-12-01 11:30:00"));
    QCOMPARE(text(&screen, "DBEdit6"), QString("12.50"));
    QCOMPARE(text(&screen, "DBEdit7"), QString("30.00"));
    QCOMPARE(text(&screen, "DBEdit8"), QString("灯管"));

    QCOMPARE(listed(&screen, "dbgAdvice"), QStringList{"噪音"});
    QCOMPARE(control<QDateEdit>(&screen, "dtpAdviceTime")->date(), QDate(2026, 11, 5));
    QCOMPARE(text(&screen, "DBEdit10"), QString("刘经理"));
    QCOMPARE(text(&screen, "DBEdit12"), QString("电话"));
    QCOMPARE(control<QComboBox>(&screen, "DBComboBox1")->currentText(), QString("一般"));
    QCOMPARE(control<QPlainTextEdit>(&screen, "DBMemo3")->toPlainText(), QString("已协调"));
    QCOMPARE(listed(&screen, "dbgAdvice", 7), QStringList{"环境"});
    QCOMPARE(listed(&screen, "dbgFitMent"), QStringList{"华美装饰"});
    QCOMPARE(control<QDateEdit>(&screen, "dtpStart")->date(), QDate(2026, 10, 1));
    QCOMPARE(control<QDateEdit>(&screen, "dtpEnd")->date(), QDate(2026, 12, 31));
    QCOMPARE(text(&screen, "DBEdit18"), QString("一号楼101"));
}

void TestCustomerService::ownersOfOneNameStayTwo()
{
    CustomerServiceScreen screen(t->context());
    chooseOwner(&screen, 2); // the second 甲公司
    QCOMPARE(listed(&screen, "dbgServe"), QStringList{"王师傅"});
    QVERIFY(listed(&screen, "dbgAdvice").isEmpty());
    QCOMPARE(listed(&screen, "dbgFitMent"), QStringList{"金装"});
    click(&screen, "btnAddServe");
    type(&screen, "DBEdit2", "孙师傅");
    click(&screen, "btnModify");
    QCOMPARE(t->scalar("select owner_id from service where worker = '孙师傅'").toInt(), 3);
}

void TestCustomerService::jobsOneAfterAnother()
{
    CustomerServiceScreen screen(t->context());
    chooseOwner(&screen, 3); // 乙公司
    click(&screen, "btnAddServe");
    for (const char* box : {"DBEdit2", "DBEdit3", "DBEdit4", "DBEdit5", "DBEdit6", "DBEdit7", "DBEdit8"})
        QVERIFY2(text(&screen, box).isEmpty(), box);
    QCOMPARE(listed(&screen, "dbgServe"), (QStringList{"赵师傅", ""}));
    control<QPlainTextEdit>(&screen, "dbmContents")->setPlainText(" 修水管 ");
    type(&screen, "DBEdit2", " 周师傅 ");
    type(&screen, "DBEdit4", "2026-12-10 9:05");
    type(&screen, "DBEdit6", "１５.５"); // full-width digits
    click(&screen, "btnModify");
    QCOMPARE(t->scalar("select owner_id || '|' || contents || '|' || worker || '|' || start_time || '|' || "
                       "material_money || '|' || coalesce(cast(serve_money as text), 'none') from service "
                       "where serve_id = 5")
                 .toString(),
             QString("1| 修水管 |周师傅|2026-12-10 09:05:00|1550|none"));
    // The next job is ready at once, after the one saved.
    QCOMPARE(listed(&screen, "dbgServe"), (QStringList{"赵师傅", "周师傅", ""}));
    QVERIFY(text(&screen, "DBEdit2").isEmpty());
    QVERIFY(control<QPlainTextEdit>(&screen, "dbmContents")->toPlainText().isEmpty());
    // Saved with nothing typed: an empty job, as the office enters them.
    click(&screen, "btnModify");
    QCOMPARE(t->scalar("select count(*) from service where owner_id = 1").toInt(), 3);
    // A new job nobody typed into goes when another owner is chosen.
    chooseOwner(&screen, 1);
    QCOMPARE(t->scalar("select count(*) from service").toInt(), 6);
    QCOMPARE(listed(&screen, "dbgServe"), (QStringList{"张师傅", "李师傅"}));
    QVERIFY(t->messages().texts().isEmpty());
}

void TestCustomerService::typedValuesChecked_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    const QString time = "不是有效的时间，请按“2026-12-10 09:30”的格式填写！";
    QTest::newRow("start, no such day") << "DBEdit4"
                                        << "2026-02-30 10:00"
                                        << "开始时间" + time;
    QTest::newRow("start, words") << "DBEdit4"
                                  << "上午"
                                  << "开始时间" + time;
    QTest::newRow("finish, slashes") << "DBEdit5"
                                     << "2026/12/10"
                                     << "结束时间" + time;
    QTest::newRow("material, letters") << "DBEdit6"
                                       << "12a"
                                       << "材料费需要填写数字！";
    QTest::newRow("material, three decimals") << "DBEdit6"
                                              << "1.234"
                                              << "材料费需要填写数字！";
    QTest::newRow("service, words") << "DBEdit7"
                                    << "三十"
                                    << "服务费需要填写数字！";
    QTest::newRow("service, too large") << "DBEdit7"
                                        << "123456789"
                                        << "服务费需要填写数字！";
}

// A value that is no time or no amount is refused with one clear text per kind;
// the job stays as typed, on screen and unstored, also when the operator tries to
// leave it for another job or another owner.
void TestCustomerService::typedValuesChecked()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    CustomerServiceScreen screen(t->context());
    chooseOwner(&screen, 1);
    const QString before =
        t->scalar("select group_concat(worker || coalesce(start_time, '') || "
                  "coalesce(finish_time, '') || coalesce(cast(material_money as text), '') || "
                  "coalesce(cast(serve_money as text), '')) from service")
            .toString();
    type(&screen, "DBEdit2", "改过");
    type(&screen, qPrintable(box), typed);
    click(&screen, "btnModify");
    QCOMPARE(t->messages().texts(), QStringList{message});

    control<QTableView>(&screen, "dbgServe")->selectRow(1);
    QCoreApplication::processEvents();
    chooseOwner(&screen, 3);
    QCOMPARE(t->messages().texts(), (QStringList{message, message, message}));
    QCOMPARE(owners(&screen)->currentIndex().row(), 1);
    QCOMPARE(control<QTableView>(&screen, "dbgServe")->currentIndex().row(), 0);
    QCOMPARE(text(&screen, qPrintable(box)), typed);
    QCOMPARE(text(&screen, "DBEdit2"), QString("改过"));
    QCOMPARE(
        t->scalar("select group_concat(worker || coalesce(start_time, '') || coalesce(finish_time, '') || "
                  "coalesce(cast(material_money as text), '') || coalesce(cast(serve_money as text), '')) "
                  "from service")
            .toString(),
        before);

    // Put right, it is stored.
    type(&screen, qPrintable(box), "");
    click(&screen, "btnModify");
    QCOMPARE(t->scalar("select worker from service where serve_id = 1").toString(), QString("改过"));
}

void TestCustomerService::complaintsAndPermits_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("add");
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("nameBox");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored"); // the last record of the table, once saved

    QTest::newRow("complaint") << 1 << "btnAddAdvice"
                               << "btnSaveAdvice"
                               << "dbeAdviceName"
                               << "请填写投诉对象名称"
                               << "select owner_id || '|' || advice_name || '|' || advice_time from advice "
                                  "order by advice_id desc limit 1";
    QTest::newRow("fit-out permit")
        << 2 << "btnAddFit"
        << "btnSaveFit"
        << "dbeCompanyName"
        << "请填写装修公司名称"
        << "select owner_id || '|' || company_name || '|' || start_date || '|' || end_date from fitment "
           "order by fit_id desc limit 1";
}

void TestCustomerService::complaintsAndPermits()
{
    QFETCH(int, page);
    QFETCH(QString, add);
    QFETCH(QString, save);
    QFETCH(QString, nameBox);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    CustomerServiceScreen screen(t->context());
    chooseOwner(&screen, 1); // 甲公司, owner 2
    showPage(&screen, page);
    const QString last = t->scalar(stored).toString();

    // The dates of a new record are those last shown.
    click(&screen, qPrintable(add));
    const QList<QDateEdit*> pickers = page == 1
                                          ? QList<QDateEdit*>{control<QDateEdit>(&screen, "dtpAdviceTime")}
                                          : QList<QDateEdit*>{control<QDateEdit>(&screen, "dtpStart"),
                                                              control<QDateEdit>(&screen, "dtpEnd")};
    QCOMPARE(pickers.first()->date(), page == 1 ? QDate(2026, 11, 5) : QDate(2026, 10, 1));
    QVERIFY(text(&screen, qPrintable(nameBox)).isEmpty());
    click(&screen, qPrintable(save));
    QCOMPARE(t->messages().texts(), QStringList{message});
    QCOMPARE(t->scalar(stored).toString(), last);

    type(&screen, qPrintable(nameBox), " 新的 ");
    pickers.first()->setDate(QDate(2024, 3, 5));
    if (page == 2)
        pickers.last()->setDate(QDate(2024, 1, 1)); // before the start: not compared
    click(&screen, qPrintable(save));
    QCOMPARE(t->scalar(stored).toString(),
             page == 1 ? QString("2|新的|2024-03-05") : QString("2|新的|2024-03-05|2024-01-01"));
    QCOMPARE(t->messages().texts().size(), 1);
    // The next one is ready, with the dates just stored.
    QVERIFY(text(&screen, qPrintable(nameBox)).isEmpty());
    QCOMPARE(pickers.first()->date(), QDate(2024, 3, 5));
}

void TestCustomerService::leavingAChangedRowStoresIt()
{
    CustomerServiceScreen screen(t->context());
    chooseOwner(&screen, 1);
    type(&screen, "DBEdit2", "张工");
    control<QTableView>(&screen, "dbgServe")->selectRow(1);
    QCoreApplication::processEvents();
    QCOMPARE(t->scalar("select worker from service where serve_id = 1").toString(), QString("张工"));
    QCOMPARE(text(&screen, "DBEdit2"), QString("李师傅"));

    // Choosing another owner stores what was typed for the owner shown, under that owner.
    showPage(&screen, 1);
    click(&screen, "btnAddAdvice");
    type(&screen, "dbeAdviceName", "漏水");
    chooseOwner(&screen, 3);
    QCOMPARE(t->scalar("select owner_id || advice_name from advice where advice_id = 3").toString(),
             QString("2漏水"));
    QCOMPARE(listed(&screen, "dbgAdvice"), QStringList{"停车"});

    // A complaint without its subject cannot be stored: the owner stays.
    click(&screen, "btnAddAdvice");
    type(&screen, "DBEdit10", "处理人");
    chooseOwner(&screen, 0);
    QCOMPARE(t->messages().texts(), QStringList{"请填写投诉对象名称"});
    QCOMPARE(owners(&screen)->currentIndex().row(), 3);
    QCOMPARE(text(&screen, "DBEdit10"), QString("处理人"));
    QVERIFY(t->messages().errors().isEmpty());
}

void TestCustomerService::deleteAsksFirst()
{
    CustomerServiceScreen screen(t->context());
    chooseOwner(&screen, 1);
    t->messages().answerConfirm(false);
    click(&screen, "btnDel");
    QCOMPARE(t->messages().shown().last().text, QString("确实要删除此记录吗?"));
    QCOMPARE(t->messages().shown().last().caption, QString("提醒"));
    QCOMPARE(t->scalar("select count(*) from service").toInt(), 4);
    click(&screen, "btnDel");
    QCOMPARE(t->scalar("select count(*) from service where serve_id = 1").toInt(), 0);
    QCOMPARE(listed(&screen, "dbgServe"), QStringList{"李师傅"});
    QCOMPARE(text(&screen, "DBEdit2"), QString("李师傅"));

    const std::tuple<int, const char*, const char*> others[] = {{1, "btnDelAdvice", "advice"},
                                                                {2, "btnDelFit", "fitment"}};
    for (const auto& [page, name, table] : others) {
        showPage(&screen, page);
        click(&screen, name);
        QCOMPARE(t->messages().shown().last().text, QString("确实要删除此记录吗?"));
        QCOMPARE(t->scalar(QString("select count(*) from ") + table).toInt(), 1);
    }
    // An owner without records: nothing to delete, nothing asked.
    t->messages().clear();
    chooseOwner(&screen, 0);
    for (const char* name : {"btnDel", "btnDelAdvice", "btnDelFit"})
        click(&screen, name);
    QVERIFY(t->messages().texts().isEmpty());
}

void TestCustomerService::browseOnly()
{
    CustomerServiceScreen screen(t->context(false));
    chooseOwner(&screen, 1);
    for (const char* name : {"btnAddServe", "btnDel", "btnModify", "btnAddAdvice", "btnDelAdvice",
                             "btnSaveAdvice", "btnAddFit", "btnDelFit", "btnSaveFit"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name :
         {"BitBtn2", "btnPrint", "btnPrintAdvice", "btnFit", "btnClose", "btnCloseAdvice", "btnCloseFit"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    // Nothing that would store takes input.
    for (const char* name : {"DBEdit2", "DBEdit4", "DBEdit6", "dbeAdviceName", "DBEdit12", "dbeCompanyName"})
        QVERIFY2(control<QLineEdit>(&screen, name)->isReadOnly(), name);
    QVERIFY(control<QPlainTextEdit>(&screen, "dbmContents")->isReadOnly());
    QVERIFY(!control<QComboBox>(&screen, "DBComboBox1")->isEnabled());
    QVERIFY(control<QDateEdit>(&screen, "dtpStart")->isReadOnly());
    for (const char* grid : {"dbgServe", "dbgAdvice", "dbgFitMent"})
        QVERIFY2(!(control<QTableView>(&screen, grid)->editTriggers() & QAbstractItemView::AllEditTriggers),
                 grid);
    chooseOwner(&screen, 2);
    QCOMPARE(listed(&screen, "dbgServe"), QStringList{"王师傅"});
    QVERIFY(t->messages().texts().isEmpty());
}

void TestCustomerService::browseOnlyStoresNothing_data()
{
    QTest::addColumn<bool>("canWrite");
    QTest::newRow("browse only") << false;
    QTest::newRow("may write") << true; // the same moves do store: the check can fail
}

void TestCustomerService::browseOnlyStoresNothing()
{
    QFETCH(bool, canWrite);
    CustomerServiceScreen screen(t->context(canWrite));
    auto* pages = control<QTabWidget>(&screen, "PageControl1");
    const QString before = contents(t);
    // Every control on every page, for every owner, moving on from changed rows.
    for (int owner = 0; owner < owners(&screen)->model()->rowCount(); ++owner) {
        chooseOwner(&screen, owner);
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            workEveryControl(&screen);
            for (const char* grid : {"dbgServe", "dbgAdvice", "dbgFitMent"})
                control<QTableView>(&screen, grid)->selectRow(0);
            QCoreApplication::processEvents();
        }
    }
    if (canWrite)
        QVERIFY(contents(t) != before);
    else
        QCOMPARE(contents(t), before);
}

void TestCustomerService::exportTheOwnersJobs()
{
    CustomerServiceScreen screen(t->context(false));
    chooseOwner(&screen, 1);
    control<QTableView>(&screen, "dbgServe")->selectRow(1);
    click(&screen, "BitBtn2");
    QCOMPARE(t->desktop().opened().size(), 1);
    const WorkbookReader book(t->desktop().opened().first());
    QCOMPARE(cellText(book, "A1"), QString("住户服务信息"));
    QCOMPARE(book.merges(), QStringList{"A1:M1"});
    QCOMPARE(int(book.column(1)->width), 10);
    // Every value is kept as text, the amounts as shown.
    for (const QString ref : {"B4", "C4", "D4", "E4", "F4"})
        QVERIFY2(QStringList({"s", "inlineStr", "str"}).contains(book.cell(ref)->type), qPrintable(ref));
    const QList<QStringList> sheet = spreadsheetProgramRows(t->desktop().opened().first());
    QCOMPARE(sheet.value(0).value(0), QString("住户服务信息"));
    QCOMPARE(sheet.value(2), (QStringList{"住户名称", "服务人", "开始时间", "原料费用", "服务费用", "已付费",
                                          "所需原料", "用户验收", "装修情况", "结束时间"}));
    QCOMPARE(sheet.value(3), (QStringList{"甲公司", "张师傅", "2026-12-01 09:00:00", "12.50", "30.00", "是",
                                          "灯管", "满意", "", "2026-12-01 11:30:00"}));
    QCOMPARE(sheet.value(4), (QStringList{"甲公司", "李师傅"}));
    QCOMPARE(sheet.size(), 5);
    QCOMPARE(control<QTableView>(&screen, "dbgServe")->currentIndex().row(), 0);

    // The owner shown has no jobs: nothing to export.
    chooseOwner(&screen, 0);
    click(&screen, "BitBtn2");
    QCOMPARE(t->messages().errors(), QStringList{"没有数据可打印！"});
    QCOMPARE(t->desktop().opened().size(), 1);
}

void TestCustomerService::previewsCoverEveryOwner()
{
    CustomerServiceScreen screen(t->context(false));
    chooseOwner(&screen, 2);
    struct Preview
    {
        const char* button;
        const char* layout;
        QStringList texts;
    };
    const QList<Preview> previews{
        {"btnPrint",
         "rptServe",
         {"住户服务资料", "甲公司", "张师傅", "12.50", "灯管", "满意", "李师傅", "王师傅", "乙公司", "赵师傅",
          "8.00"}},
        {"btnPrintAdvice",
         "rptAdvice",
         {"客户投诉信息", "噪音", "2026-11-05", "电话", "一般", "刘经理", "停车"}},
        {"btnFit",
         "rptFitMent",
         {"二次装修信息", "一号楼101", "华美装饰", "0755-1234", "2026-10-01", "2026-12-31", "金装"}},
    };
    for (const Preview& p : previews) {
        click(&screen, p.button);
        QCOMPARE(t->reports().last().layoutName, QString(p.layout));
        const QStringList page = t->reports().pageTexts(0);
        for (const QString& text : p.texts)
            QVERIFY2(page.contains(text), qPrintable(QString(p.layout) + ": " + text));
    }
    // Owners in pinyin order: 甲 before 乙.
    const QStringList jobs = t->reports().shown().first().report.pages[0].textsInReadingOrder();
    QVERIFY(jobs.indexOf("张师傅") < jobs.indexOf("赵师傅"));
}

void TestCustomerService::noOwners()
{
    t->exec("delete from owner_info");
    CustomerServiceScreen screen(t->context());
    QCOMPARE(owners(&screen)->model()->rowCount(), 0);
    for (const char* grid : {"dbgServe", "dbgAdvice", "dbgFitMent"})
        QVERIFY2(listed(&screen, grid).isEmpty(), grid);
    // Nothing is stored for no owner.
    for (const char* name :
         {"btnAddServe", "btnModify", "btnAddAdvice", "btnSaveAdvice", "btnAddFit", "btnSaveFit"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    QVERIFY(control<QLineEdit>(&screen, "DBEdit2")->isReadOnly());
    QVERIFY(t->messages().texts().isEmpty());
}

void TestCustomerService::recordRemovedMeanwhile()
{
    CustomerServiceScreen screen(t->context());
    chooseOwner(&screen, 1);
    t->exec("delete from service where serve_id = 1"); // another copy
    type(&screen, "DBEdit2", "改过");
    click(&screen, "btnModify");
    QCOMPARE(t->messages().errors().size(), 1);
    QCOMPARE(listed(&screen, "dbgServe"), QStringList{"李师傅"});
    QCOMPARE(text(&screen, "DBEdit2"), QString("李师傅"));
    QCOMPARE(t->scalar("select count(*) from service").toInt(), 3);
}

void TestCustomerService::escapeCloses()
{
    CustomerServiceScreen screen(t->context());
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    chooseOwner(&screen, 1);
    QTest::keyClick(control<QLineEdit>(&screen, "DBEdit2"), Qt::Key_Escape);
    QVERIFY(!screen.isVisible());
    for (const char* close : {"btnClose", "btnCloseAdvice", "btnCloseFit"}) {
        screen.show();
        click(&screen, close);
        QVERIFY2(!screen.isVisible(), close);
    }
}

QTEST_MAIN(TestCustomerService)
#include "tst_customerservice.moc"
