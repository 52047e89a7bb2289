#include "WorkbookReader.h"
#include "output/ExportFileName.h"
#include "output/MemoryRecordSource.h"
#include "output/QueryModelRecordSource.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTest>
#include <QThread>
#include <QTimer>

class TestSpreadsheetExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesAndOpensTheWorkbook();
    void emptyList();
    void failureText_data();
    void failureText();
    void refusedStatementShowsTheEngineText();
    void cancelledExportLeavesNoFile();
    void fileNames_data();
    void fileNames();
};

namespace {

ExportDescription ownerDescription()
{
    ExportDescription d;
    d.title = "物业管理系统住户资料";
    d.columnWidths = {{1, 16}, {2, 6}};
    d.columns = {ExportColumn::text("单位名称", "owner_name"), ExportColumn::text("是否搬出", "in_out"),
                 ExportColumn::text("联系电话", "link_tel"), ExportColumn::date("入住日期", "in_date")};
    return d;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A list that takes a millisecond per row.
class SlowSource final : public RecordSource
{
public:
    bool first() override
    {
        m_row = 0;
        return true;
    }
    bool next() override
    {
        QThread::msleep(1);
        return ++m_row < 5000;
    }
    int fieldIndex(const QString&) const override { return 0; }
    QVariant value(int) const override { return m_row; }

private:
    int m_row = 0;
};

} // namespace

void TestSpreadsheetExport::writesAndOpensTheWorkbook()
{
    TestDatabase t;
    Estate e = t.estate();
    e.addOwner({.name = "乙公司", .linkTel = "0551-001", .inDate = "2026-03-01"});
    e.addOwner({.name = "甲公司", .linkTel = "00123"});
    e.addOwner({.name = "丙公司", .inOut = "搬出", .inDate = "2020-01-01"});
    QSqlQuery query(t.db());
    query.prepare("select * from owner_info where in_out = ? order by owner_name desc");
    query.addBindValue("居住");
    QVERIFY(query.exec());
    QSqlQueryModel model;
    model.setQuery(std::move(query));
    QueryModelRecordSource rows(model);

    QVERIFY(exportList(t.context(), ownerDescription(), rows, nullptr));
    QCOMPARE(t.messages().texts(), QStringList());
    const QString expected =
        QDir(t.desktop().exportsFolder()).filePath("物业管理系统住户资料_20261210_093000.xlsx");
    QCOMPARE(t.desktop().opened(), QStringList{expected});
    const WorkbookReader book(expected);
    QCOMPARE(book.cell("A1")->text, "物业管理系统住户资料");
    QCOMPARE(book.lastRow(), 5);
    QCOMPARE(book.cell("A4")->text, "甲公司"); // the list's order
    QCOMPARE(book.cell("C4")->text, "00123");
    QCOMPARE(book.cell("D4")->text, "");
    QCOMPARE(book.cell("A5")->text, "乙公司");
    QCOMPARE(book.cell("D5")->text, QString::number(QDate(1899, 12, 30).daysTo(QDate(2026, 3, 1))));

    // Another export within the same second gets a name of its own.
    QVERIFY(exportList(t.context(), ownerDescription(), rows, nullptr));
    QCOMPARE(t.desktop().opened().last(),
             QDir(t.desktop().exportsFolder()).filePath("物业管理系统住户资料_20261210_093000(2).xlsx"));
    QCOMPARE(filesIn(t.desktop().exportsFolder()).size(), 2);
}

void TestSpreadsheetExport::emptyList()
{
    TestDatabase t;
    MemoryRecordSource none({"owner_name"}, {});
    QVERIFY(!exportList(t.context(), ownerDescription(), none, nullptr));
    QCOMPARE(t.messages().errors(), QStringList{"没有数据可打印！"});
    QVERIFY(t.desktop().opened().isEmpty());
    QVERIFY(filesIn(t.desktop().exportsFolder()).isEmpty());

    // The department-goods list has no empty check: its sheet holds title and captions.
    t.messages().clear();
    const ExportDescription goods =
        ExportDescription::departmentGoods("财务部", {ExportColumn::plain("序号", "id")});
    QVERIFY(exportList(t.context(), goods, none, nullptr));
    QCOMPARE(t.messages().texts(), QStringList());
    QCOMPARE(t.desktop().opened().size(), 1);
    QVERIFY(t.desktop().opened().first().endsWith("财务部办公用品清单_20261210_093000.xlsx"));
}

void TestSpreadsheetExport::failureText_data()
{
    QTest::addColumn<bool>("folderIsAFile");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("failureText");
    QTest::newRow("cannot open") << false << false << "Excel 运行失败，请重新登录WINDOWS ！";
    QTest::newRow("cannot write") << true << true << "Excel 启动出错，请检查！";
}

void TestSpreadsheetExport::failureText()
{
    QFETCH(bool, folderIsAFile);
    QFETCH(bool, opens);
    QFETCH(QString, failureText);
    TestDatabase t;
    const QString folder = t.desktop().exportsFolder();
    if (folderIsAFile) {
        QVERIFY(QDir(folder).removeRecursively());
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    t.desktop().setOpenSucceeds(opens);
    ExportDescription d = ownerDescription();
    d.failureText = failureText;
    MemoryRecordSource rows({"owner_name"}, {{"甲公司"}});
    QVERIFY(!exportList(t.context(), d, rows, nullptr));
    QCOMPARE(t.messages().errors(), QStringList{failureText});
    QCOMPARE(t.desktop().opened().size(), folderIsAFile ? 0 : 1);
}

void TestSpreadsheetExport::refusedStatementShowsTheEngineText()
{
    TestDatabase t;
    StatementRecordSource rows(t.db(), "select * from no_such_list");
    QVERIFY(!exportList(t.context(), ownerDescription(), rows, nullptr));
    QCOMPARE(t.messages().errors().size(), 1);
    QVERIFY(t.messages().errors().first().contains("no_such_list"));
    QVERIFY(filesIn(t.desktop().exportsFolder()).isEmpty());
}

void TestSpreadsheetExport::cancelledExportLeavesNoFile()
{
    TestDatabase t;
    bool shown = false;
    QTimer cancelWhenShown;
    connect(&cancelWhenShown, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<QProgressDialog*>(w); progress && progress->isVisible()) {
                shown = true;
                progress->cancel();
            }
        }
    });
    cancelWhenShown.start(10);
    SlowSource rows;
    ExportDescription d;
    d.title = "慢";
    d.columns = {ExportColumn::plain("序号", "n")};
    QVERIFY(!exportList(t.context(), d, rows, nullptr));
    QVERIFY(shown);
    QCOMPARE(t.messages().texts(), QStringList());
    QVERIFY(t.desktop().opened().isEmpty());
    QCOMPARE(filesIn(t.desktop().exportsFolder()), QStringList());
}

void TestSpreadsheetExport::fileNames_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("title") << "业主欠费清单"
                           << "业主欠费清单_20261210_093000";
    QTest::newRow("period") << "缴费记录清单(2026-01-01 - 2026-12-31)"
                            << "缴费记录清单(2026-01-01 - 2026-12-31)_20261210_093000";
    QTest::newRow("forbidden characters") << "a/b\\c:d*e?f\"g<h>i|j\tk"
                                          << "a_b_c_d_e_f_g_h_i_j_k_20261210_093000";
    QTest::newRow("apostrophe") << "'物业管理系统报表"
                                << "物业管理系统报表_20261210_093000";
    QTest::newRow("empty") << "  "
                           << "导出_20261210_093000";
    QTest::newRow("dots") << ".."
                          << "导出_20261210_093000";
    QTest::newRow("long") << QString(200, QChar(0x623F)) << QString(80, QChar(0x623F)) + "_20261210_093000";
}

void TestSpreadsheetExport::fileNames()
{
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(export_file_name::baseName(title, QDateTime(QDate(2026, 12, 10), QTime(9, 30))), name);
}

QTEST_MAIN(TestSpreadsheetExport)
#include "tst_spreadsheetexport.moc"
