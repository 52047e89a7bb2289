#include "output/SpreadsheetProgram.h"
#include "queries/ArrearsScreen.h"
#include "queries/IncomeByTypeScreen.h"
#include "queries/PaymentRecordsScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QDateEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// The three query screens: a period queried, the owner switched, printed and
// exported with the figures of the grid.
class TestQueryScreens : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void paymentRecords();
    void arrears();
    void incomeByType();
    void incomeChartHasABarPerRowUnderItsOwnName();

private:
    TestDatabase* t = nullptr;
};

namespace {

void query(QWidget* s, const QDate& first, const QDate& last)
{
    control<QDateEdit>(s, "dtpStart")->setDate(first);
    control<QDateEdit>(s, "dtpEnd")->setDate(last);
    control<QPushButton>(s, "btnQuery")->click();
}

QTableView* result(QWidget* s)
{
    return control<QTableView>(s, "dbgTakeIn");
}

void selectOwner(QWidget* s, int row)
{
    control<QTableView>(s, "DBGrid1")->selectRow(row);
}

} // namespace

void TestQueryScreens::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addChargeType("物管费", "2.5", "建筑面积*单价*月份");
    e.addChargeType("电费", "0.6", "表读数*单价");
    // Names at the column's full length print and export whole.
    const QString longName = QString("长") + QString(99, QChar(u'名'));
    const qlonglong jia = e.addOwner({.name = "甲公司"});
    const qlonglong yi = e.addOwner({.name = longName});
    e.addOwner({.name = "丙公司", .inOut = "搬出"});
    e.addFee({.owner = jia, .type = 1, .shouldPay = "480", .paid = "300", .date = "2003-08-31"});
    e.addFee({.owner = jia, .type = 2, .shouldPay = "72", .paid = "72", .date = "2003-08-01"});
    e.addFee({.owner = yi, .type = 1, .shouldPay = "10.5", .paid = "0", .date = "2003-08-15"});
    t->exec("update charge_take set start_num = '100', end_num = '220' where take_id = 2");
}

void TestQueryScreens::cleanup()
{
    delete t;
}

void TestQueryScreens::paymentRecords()
{
    PaymentRecordsScreen screen(t->context(false));
    QCOMPARE(columnTexts(control<QTableView>(&screen, "DBGrid1")->model(), 1).size(), 2); // current occupants
    QCOMPARE(control<QTableView>(&screen, "DBGrid1")->model()->headerData(1, Qt::Horizontal).toString(),
             QString("住户名称"));
    QCOMPARE(result(&screen)->model()->rowCount(), 0); // nothing before the first query
    control<QPushButton>(&screen, "Btnexcela")->click();
    QCOMPARE(t->messages().errors(), QStringList{"没有数据可打印！"});
    control<QPushButton>(&screen, "btnPrint")->click(); // the title and captions, no rows
    QVERIFY(t->reports().pageTexts(0).contains("实付总金额:"));

    query(&screen, QDate(2003, 8, 1), QDate(2003, 8, 31));
    QCOMPARE(columnTexts(result(&screen)->model(), 2), (QStringList{"480.00", "72.00"}));
    selectOwner(&screen, 1); // another owner, the same period, no new query
    QCOMPARE(columnTexts(result(&screen)->model(), 2), QStringList{"10.50"});
    selectOwner(&screen, 0);

    // The pickers moved on without a new query: the title names the period of the rows.
    control<QDateEdit>(&screen, "dtpStart")->setDate(QDate(2003, 1, 1));
    control<QDateEdit>(&screen, "dtpEnd")->setDate(QDate(2003, 1, 31));
    control<QPushButton>(&screen, "Btnexcela")->click();
    const QList<QStringList> sheet = spreadsheetProgramRows(t->desktop().opened().last());
    QCOMPARE(sheet.value(0).value(0), QString("缴费记录清单(2003-08-01 - 2003-08-31)"));
    QCOMPARE(sheet.value(2), (QStringList{"序号", "费用名", "应付款", "实付款", "欠款金额", "本次抄数",
                                          "上次抄数", "付款日期", "备注"}));
    QCOMPARE(sheet.value(3),
             (QStringList{"1", "物管费", "480.00", "300.00", "180.00", "", "", "2003-08-31"}));
    QCOMPARE(sheet.value(4),
             (QStringList{"2", "电费", "72.00", "72.00", "0.00", "220", "100", "2003-08-01"}));

    control<QPushButton>(&screen, "btnPrint")->click();
    const QStringList page = t->reports().pageTexts(0);
    QVERIFY(page.contains("480.00"));
    QVERIFY(page.contains("372.00")); // the total paid
}

void TestQueryScreens::arrears()
{
    ArrearsScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QString("业主欠费清单"));
    QCOMPARE(columnTexts(control<QTableView>(&screen, "DBGrid1")->model(), 1).size(),
             3); // moved-out owners too
    // Before a query: every total of the first owner over all dates, settled ones too.
    QCOMPARE(columnTexts(result(&screen)->model(), 4), (QStringList{"180.00", "0.00"}));
    QCOMPARE(control<QDateEdit>(&screen, "dtpStart")->date(), QDate(2026, 12, 10));

    query(&screen, QDate(2003, 8, 1), QDate(2003, 8, 31));
    QCOMPARE(columnTexts(result(&screen)->model(), 1), QStringList{"物管费"});
    QCOMPARE(columnTexts(result(&screen)->model(), 4), QStringList{"180.00"});

    selectOwner(&screen, 1); // the owner of the long name
    const QString longName = QString("长") + QString(99, QChar(u'名'));
    QCOMPARE(columnTexts(result(&screen)->model(), 0), QStringList{longName});
    control<QPushButton>(&screen, "btnPrint")->click();
    QCOMPARE(t->reports().last().layoutName, QString("rptOwe"));
    QVERIFY(t->reports().pageTexts(0).contains("10.50"));

    selectOwner(&screen, 0);
    control<QPushButton>(&screen, "Btnexcela")->click();
    const QList<QStringList> sheet = spreadsheetProgramRows(t->desktop().opened().last());
    QCOMPARE(sheet.value(0).value(0), QString("业主欠费清单"));
    QCOMPARE(sheet.value(2), (QStringList{"业主名称", "费用名", "应付款", "实付款", "欠款金额"}));
    QCOMPARE(sheet.value(3), (QStringList{"甲公司", "物管费", "480.00", "300.00", "-180.00"}));
    QCOMPARE(sheet.size(), 4);
}

void TestQueryScreens::incomeByType()
{
    IncomeByTypeScreen screen(t->context());
    auto* tabs = control<QTabWidget>(&screen, "PageControl1");
    QCOMPARE(tabs->tabText(0), QString("图形"));
    QCOMPARE(tabs->tabText(1), QString("数据"));
    control<QPushButton>(&screen, "Btnexcela")->click();
    QCOMPARE(t->messages().errors(), QStringList{"没有数据可打印！"});

    query(&screen, QDate(2003, 8, 1), QDate(2003, 8, 31));
    QCOMPARE(columnTexts(result(&screen)->model(), 1), (QStringList{"物管费", "电费"}));
    QCOMPARE(columnTexts(result(&screen)->model(), 4), (QStringList{"-190.50", "0.00"}));
    auto* chart = control<QChartView>(&screen, "dbcOwe")->chart();
    QCOMPARE(chart->series().size(), 1);
    QBarSet* bars = static_cast<QBarSeries*>(chart->series().first())->barSets().first();
    QCOMPARE(bars->count(), 2);
    QCOMPARE(bars->at(0), 300.0);
    QCOMPARE(bars->at(1), 72.0);
    QCOMPARE(bars->color(), QColor(Qt::red));
    QVERIFY(!chart->legend()->isVisible());

    control<QPushButton>(&screen, "Btnexcela")->click();
    const QList<QStringList> sheet = spreadsheetProgramRows(t->desktop().opened().last());
    QCOMPARE(sheet.value(2), (QStringList{"费用名", "应付款", "实付款", "欠款金额"}));
    QCOMPARE(sheet.value(3), (QStringList{"物管费", "490.50", "300.00", "-190.50"}));

    // A period without records: an empty table, an empty chart.
    query(&screen, QDate(2001, 1, 1), QDate(2001, 1, 31));
    QCOMPARE(result(&screen)->model()->rowCount(), 0);
    QCOMPARE(static_cast<QBarSeries*>(chart->series().first())->barSets().first()->count(), 0);
}

void TestQueryScreens::incomeChartHasABarPerRowUnderItsOwnName()
{
    // June: two types named 广告位费 and a deleted type, besides the property fee.
    Estate e = t->estate();
    const qlonglong advert = e.addChargeType("广告位费", "0", "普通收费");
    const qlonglong deleted = e.addChargeType("临时费", "0", "普通收费");
    const qlonglong advert2 = e.addChargeType("广告位费", "0", "普通收费");
    for (const auto& [type, paid] : {std::pair{1LL, "500"}, std::pair{advert, "1000"},
                                     std::pair{deleted, "20"}, std::pair{advert2, "30"}})
        e.addFee({.owner = 1, .type = type, .shouldPay = paid, .paid = paid, .date = "2003-06-10"});
    t->exec("delete from charge_type where type_id = ?", {deleted});

    IncomeByTypeScreen screen(t->context());
    query(&screen, QDate(2003, 6, 1), QDate(2003, 6, 30));
    QAbstractItemModel* table = result(&screen)->model();
    QCOMPARE(table->rowCount(), 4);
    auto* chart = control<QChartView>(&screen, "dbcOwe")->chart();
    QBarSet* bars = static_cast<QBarSeries*>(chart->series().first())->barSets().first();
    const auto* axis = static_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).first());
    QCOMPARE(bars->count(), 4);
    QCOMPARE(axis->count(), 4);
    QStringList names;
    for (int row = 0; row < 4; ++row) {
        QString label = axis->at(row);
        names << label.remove(QChar(0x200B));
        QCOMPARE(label, table->index(row, 1).data().toString());
        QCOMPARE(QString::number(bars->at(row), 'f', 2), table->index(row, 3).data().toString());
    }
    QCOMPARE(names.count(""), 1);
    QCOMPARE(names.count("广告位费"), 2);
    QVERIFY(names.contains("物管费"));
}

QTEST_MAIN(TestQueryScreens)
#include "tst_queryscreens.moc"
