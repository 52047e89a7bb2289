#include "PdfText.h"
#include "base/Owner.h"
#include "core/Decimal2.h"
#include "db/PinyinCollation.h"
#include "db/Schema.h"
#include "db/Sql.h"
#include "output/Fonts.h"
#include "output/ListReportLayouts.h"
#include "output/MemoryRecordSource.h"
#include "output/QueryModelRecordSource.h"
#include "output/ReportPaginator.h"
#include "output/ReportRenderer.h"
#include "output/ServiceReportLayouts.h"
#include "output/StatementRecordSource.h"
#include "support/TestDatabase.h"

#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>

class TestReportLayouts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void everyLayoutPrintsItsTexts_data();
    void everyLayoutPrintsItsTexts();
    void ownerListOverSeveralPages();
    void arrearsTotalIsTheSumOwed();
    void emptyListsStillPrint_data();
    void emptyListsStillPrint();
    void ownerGroupContinuesAfterABreak();
    void everyValueWholeAtFullLength_data();
    void everyValueWholeAtFullLength();
    void boldTextPrintsBold_data();
    void boldTextPrintsBold();
    void emojiPrintInColour();
};

namespace {

const QString kPrintDate = "2026-12-10";

// A test database whose connection orders names by pinyin, as the lists ask.
struct PinyinDatabase : TestDatabase
{
    PinyinDatabase() { registerPinyinCollation(db()); }
};

struct LayoutCase
{
    std::function<ReportLayout()> layout;
    // Fills the database and returns the rows the report prints.
    std::function<std::unique_ptr<RecordSource>(TestDatabase&)> rows;
    QStringList printed;    // texts the report must print
    QStringList notPrinted; // texts it must not print
};

std::unique_ptr<RecordSource> statement(TestDatabase& t, const ReportStatement& s)
{
    return std::make_unique<StatementRecordSource>(t.db(), s.text, s.values);
}

qlonglong owner(TestDatabase& t, const QString& name, qlonglong bail = 0, const QString& inOut = "居住")
{
    return t.estate().addOwner({.name = name,
                                .inOut = inOut,
                                .linker = "王五",
                                .linkTel = "010-12345678",
                                .bailMoney = Decimal2::fromHundredths(bail).toString()});
}

QMap<QString, LayoutCase> layoutCases()
{
    QMap<QString, LayoutCase> cases;
    cases["rptOwner"] = {
        reports::rptOwner,
        [](TestDatabase&) -> std::unique_ptr<RecordSource> {
            return std::make_unique<MemoryRecordSource>(
                QStringList{"owner_name", "linker", "link_tel", "credit", "bail_money", "jjlink"},
                QList<QVariantList>{{"华信公司", "王五", "01088886666", "A", 150000, "李六"}});
        },
        {"住户信息一览表", "住户名称", "联系人", "联系电话", "信誉等级", "保证金", "紧急联系", "华信公司",
         "01088886666", "1500.00", "总住户数:", "1", "保证金:", "打印日期:", kPrintDate},
        {}};
    cases["rptOwe"] = {reports::rptOwe,
                       [](TestDatabase&) -> std::unique_ptr<RecordSource> {
                           return std::make_unique<MemoryRecordSource>(
                               QStringList{"owner_name", "sum_should", "sum_payment", "owe_money"},
                               QList<QVariantList>{{"华信公司", 30000, 12000, 18000}});
                       },
                       {"住户欠费信息", "住户名称", "应付款", "减免款", "实付款", "欠费金额", "300.00",
                        "120.00", "180.00", "欠费总金额:", "打印日期:", kPrintDate},
                       {}};
    cases["rptTake"] = {
        reports::rptTake,
        [](TestDatabase&) -> std::unique_ptr<RecordSource> {
            return std::make_unique<MemoryRecordSource>(
                QStringList{"take_id", "type_name", "should_pay", "payment_real", "take_date"},
                QList<QVariantList>{{17, "物业费", 45050, 45050, "2026-11-03 10:20:00"}});
        },
        {"缴费记录清单", "序号", "费用名", "应付款", "减免金额", "实付款", "付款日期", "上期节余", "17",
         "物业费", "450.50", "2026-11-03", "实付总金额:", "打印日期:", kPrintDate},
        {}};
    cases["rptEmp"] = {
        reports::rptEmp,
        [](TestDatabase&) -> std::unique_ptr<RecordSource> {
            return std::make_unique<MemoryRecordSource>(
                QStringList{"emp_name", "dept_name", "school", "special", "link_tel", "home_address"},
                QList<QVariantList>{{"张三", "工程部", "建筑学院", "暖通", "13900001111", "和平路"}});
        },
        {"员工信息一览表", "姓名", "部门", "毕业学校", "所学专业", "联系电话", "家庭地址", "张三", "工程部",
         "建筑学院", "暖通", "13900001111", "和平路", "打印日期:", kPrintDate},
        {}};
    cases["rptServe"] = {reports::rptServe,
                         [](TestDatabase& t) {
                             const qlonglong a = owner(t, "甲公司");
                             const qlonglong b = owner(t, "乙公司");
                             owner(t, "丙公司"); // no service jobs: not printed
                             t.exec("insert into service (owner_id, worker, material_money, serve_money, "
                                    "need_material, owner_check) values (?, ?, ?, ?, ?, ?)",
                                    {b, "赵师傅", 1250, 3000, "水管", "满意"});
                             t.exec("insert into service (owner_id, worker, material_money, serve_money) "
                                    "values (?, ?, ?, ?)",
                                    {a, "钱师傅", 0, 500});
                             return statement(t, reports::serveStatement());
                         },
                         {"住户服务资料", "住户名称", "服务人", "材料费", "服务费", "所需材料", "用户验收",
                          "甲公司", "乙公司", "赵师傅", "12.50", "30.00", "水管", "满意",
                          "打印日期:" + kPrintDate},
                         {"丙公司"}};
    cases["rptAdvice"] = {
        reports::rptAdvice,
        [](TestDatabase& t) {
            const qlonglong a = owner(t, "甲公司");
            t.exec("insert into advice (owner_id, advice_name, advice_time, revert_type, satisfy, "
                   "serve_name) values (?, ?, ?, ?, ?, ?)",
                   {a, "保安", "2026-11-05 14:30:00", "电话", "满意", "孙经理"});
            return statement(t, reports::adviceStatement());
        },
        {"客户投诉信息", "住户名称", "投诉对象", "投诉时间", "回访方式", "满意程度", "处理人", "甲公司",
         "保安", "2026-11-05", "电话", "满意", "孙经理", "打印日期:" + kPrintDate},
        {}};
    cases["rptFitMent"] = {
        reports::rptFitMent,
        [](TestDatabase& t) {
            const qlonglong a = owner(t, "甲公司");
            t.exec("insert into fitment (owner_id, address, company_name, fit_tel, start_date, "
                   "end_date) values (?, ?, ?, ?, ?, ?)",
                   {QString::number(a), "三层东", "美家装饰", "0105551234", "2026-11-01", "2026-12-01"});
            t.exec("insert into fitment (owner_id, address) values (?, ?)", {"99", "无主之地"});
            return statement(t, reports::fitmentStatement());
        },
        {"二次装修信息", "住户名称", "装修地址", "装修公司", "联系电话", "起始日期", "结束日期", "甲公司",
         "三层东", "美家装饰", "0105551234", "2026-11-01", "2026-12-01", "打印日期:" + kPrintDate},
        {"无主之地"}};
    cases["rptDevice"] = {
        reports::rptDevice,
        [](TestDatabase& t) {
            const qlonglong lift = t.insert("insert into dev_type (type_name) values (?)", {"电梯"});
            const qlonglong pump = t.insert("insert into dev_type (type_name) values (?)", {"水泵"});
            for (const QVariantList& d : QList<QVariantList>{
                     {lift, "DT-002", "客梯"}, {lift, "DT-001", "货梯"}, {pump, "SB-001", "消防泵"}}) {
                t.exec("insert into device (type_id, dev_no, dev_name, factory, link_tel, palace) "
                       "values (?, ?, ?, ?, ?, ?)",
                       d + QVariantList{"奥的斯", "4008", "大堂"});
            }
            return statement(t, reports::deviceStatement(lift));
        },
        {"工程设备一览表", "设备类别", "设备名称", "设备编号", "生产厂家", "厂家电话", "安装位置", "电梯",
         "货梯", "DT-001", "客梯", "DT-002", "奥的斯", "大堂", "打印日期:" + kPrintDate},
        {"消防泵", "水泵"}};
    cases["rptRepair"] = {
        reports::rptRepair,
        [](TestDatabase& t) {
            const qlonglong dev =
                t.insert("insert into device (dev_no, dev_name) values (?, ?)", {"DT-001", "客梯"});
            const qlonglong other =
                t.insert("insert into device (dev_no, dev_name) values (?, ?)", {"DT-009", "货梯"});
            t.exec("insert into repair (dev_id, fault_time, finish_time, repair_money, result) "
                   "values (?, ?, ?, ?, ?)",
                   {dev, "2026-10-01 08:00:00", "2026-10-02", 88000, "已修复"});
            t.exec("insert into repair (dev_id, result) values (?, ?)", {other, "别的设备"});
            return statement(t, reports::repairStatement(dev));
        },
        {"故障维修信息", "设备编号DT-001", "维修序号", "故障时间", "完成时间", "维修费用", "结果",
         "2026-10-0108:00", "2026-10-02", "880.00", "已修复", "打印日期:" + kPrintDate},
        {"别的设备", "DT-009"}};
    cases["rptEvent"] = {
        reports::rptEvent,
        [](TestDatabase& t) {
            t.exec("insert into event (event_name, event_type, deal_man, take_time, take_address) "
                   "values (?, ?, ?, ?, ?)",
                   {"停电", "设备", "周主管", "2026-09-09 21:00:00", "地下室"});
            return statement(t, reports::eventStatement());
        },
        {"重大事件一览表", "事件名称", "事件类型", "处理人", "发生时间", "发生地点", "停电", "设备", "周主管",
         "2026-09-0921:00", "地下室", "打印日期:" + kPrintDate},
        {}};
    cases["rptFire"] = {reports::rptFire,
                        [](TestDatabase& t) {
                            t.exec("insert into fire_area (area_name, grade, address, fireman, cycle) "
                                   "values (?, ?, ?, ?, ?)",
                                   {"东区", "一级", "一至三层", "吴队长", "每月"});
                            return statement(t, reports::fireStatement());
                        },
                        {"消防片区资料", "片区名", "消防等级", "消防地点", "负责人", "查验周期", "东区",
                         "一级", "一至三层", "吴队长", "每月", "打印日期:" + kPrintDate},
                        {}};
    cases["rptConnt"] = {reports::rptConnt,
                         [](TestDatabase& t) {
                             t.exec("insert into condition (area_name, charger, cycle) values (?, ?, ?)",
                                    {"大堂", "郑阿姨", "每日"});
                             return statement(t, reports::conditionStatement());
                         },
                         {"环境保洁", "序号", "区域名称", "负责人", "保洁周期", "大堂", "郑阿姨", "每日",
                          "打印日期:" + kPrintDate},
                         {}};
    cases["rptPloy"] = {
        reports::rptPloy,
        [](TestDatabase& t) {
            t.exec("insert into community (ploy_name, main_dept, start_date, end_date, charge_man, "
                   "ploy_money) values (?, ?, ?, ?, ?, ?)",
                   {"新年联欢", "物业办", "2026-12-30", "2026-12-31", "冯主任", "5000元"});
            return statement(t, reports::communityStatement());
        },
        {"社区活动信息", "活动名称", "主办单位", "开始日期", "结束日期", "负责人", "活动经费", "新年联欢",
         "物业办", "2026-12-30", "2026-12-31", "冯主任", "5000元", "打印日期:" + kPrintDate},
        {}};
    return cases;
}

PlacedReport paginate(const ReportLayout& layout, RecordSource& rows)
{
    return ReportPaginator(layout).paginate(rows, QDate(2026, 12, 10));
}

// The texts of a page joined without blanks, as pdftotext gives them back.
QString joined(const PlacedPage& page)
{
    return page.textsInReadingOrder().join("").remove(' ');
}

QString writePdf(const PlacedReport& report, const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name + ".pdf");
    return ReportRenderer(report).writePdf(path) ? path : QString();
}

// The value printed right after a text on a page.
QString after(const PlacedPage& page, const QString& text)
{
    const QStringList texts = page.textsInReadingOrder();
    const qsizetype at = texts.indexOf(text);
    return at >= 0 && at + 1 < texts.size() ? texts[at + 1] : QString();
}

} // namespace

void TestReportLayouts::initTestCase()
{
    installFontSubstitutions();
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QFAIL("pdftotext (poppler-utils) is needed: scripts/install-deps.sh --tests");
}

void TestReportLayouts::everyLayoutPrintsItsTexts_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : layoutCases().keys())
        QTest::newRow(qPrintable(name)) << name;
}

void TestReportLayouts::everyLayoutPrintsItsTexts()
{
    QFETCH(QString, name);
    const LayoutCase c = layoutCases().value(name);
    PinyinDatabase t;
    const std::unique_ptr<RecordSource> rows = c.rows(t);
    const ReportLayout layout = c.layout();
    QCOMPARE(layout.name, name);
    const PlacedReport report = paginate(layout, *rows);
    QCOMPARE(report.pages.size(), 1);

    QTemporaryDir dir;
    const QString pdf = writePdf(report, dir, name);
    QVERIFY(!pdf.isEmpty());
    const QStringList extracted = pdfPageTexts(pdf);
    QCOMPARE(extracted.size(), 1);
    const QString onPage = joined(report.pages[0]);
    for (const QString& text : c.printed) {
        QVERIFY2(onPage.contains(QString(text).remove(' ')), qPrintable("not laid out: " + text));
        QVERIFY2(extracted[0].contains(QString(text).remove(' ')), qPrintable("not in the PDF: " + text));
    }
    for (const QString& text : c.notPrinted)
        QVERIFY2(!extracted[0].contains(text), qPrintable("printed: " + text));
    QVERIFY(extracted[0].contains("第1页共1页"));
    // Chinese text comes from the mapped CJK font, never from Noto CJK.
    for (const QString& font : pdfFonts(pdf))
        QVERIFY2(!font.contains("Noto", Qt::CaseInsensitive), qPrintable(font));
}

void TestReportLayouts::ownerListOverSeveralPages()
{
    PinyinDatabase t;
    t.exec("begin");
    for (int i = 1; i <= 60; ++i)
        owner(t, QString("住户%1").arg(i, 2, 10, QChar('0')), 10 * i + 1, i % 3 == 0 ? "搬出" : "居住");
    t.exec("commit");
    // The owner register's list: current occupants, sorted by name as on screen.
    QSqlQuery query(t.db());
    query.prepare("select * from owner_info where in_out = ? order by owner_name desc");
    query.addBindValue("居住");
    QVERIFY(query.exec());
    QSqlQueryModel model;
    model.setQuery(std::move(query));
    QueryModelRecordSource rows(model);

    const PlacedReport report = paginate(reports::rptOwner(), rows);
    QCOMPARE(report.pages.size(), 2);
    QTemporaryDir dir;
    const QStringList extracted = pdfPageTexts(writePdf(report, dir, "owners"));
    QCOMPARE(extracted.size(), 2);
    for (int p = 0; p < 2; ++p) {
        QCOMPARE(extracted[p].contains("住户信息一览表"), p == 0);
        for (const QString caption : {"住户名称", "联系人", "联系电话", "紧急联系"})
            QCOMPARE(extracted[p].contains(caption), p == 0);
        QVERIFY(extracted[p].contains("打印日期:"));
        QVERIFY(extracted[p].contains(kPrintDate));
        QVERIFY(extracted[p].contains(QString("第%1页共2页").arg(p + 1)));
        QCOMPARE(extracted[p].contains("总住户数:"), p == 1);
    }
    QVERIFY(report.pages[0].textsInReadingOrder().indexOf("住户59") <
            report.pages[0].textsInReadingOrder().indexOf("住户58"));
    QVERIFY(!joined(report.pages[0]).contains("住户57"));
    // 40 current owners; their deposits 10 × i + 1 fen.
    qlonglong deposits = 0;
    for (int i = 1; i <= 60; ++i)
        deposits += i % 3 == 0 ? 0 : 10 * i + 1;
    QCOMPARE(after(report.pages[1], "总住户数:"), "40");
    QCOMPARE(after(report.pages[1], "保证金:"),
             QString::number(deposits / 100) + "." + QString::number(deposits % 100).rightJustified(2, '0'));
}

void TestReportLayouts::arrearsTotalIsTheSumOwed()
{
    PinyinDatabase t;
    const qlonglong a = owner(t, "甲公司");
    const qlonglong b = owner(t, "乙公司");
    for (const Estate::Fee& fee : {Estate::Fee{.owner = a, .shouldPay = "100.10", .paid = "0"},
                                   Estate::Fee{.owner = a, .shouldPay = "200.20", .paid = "100"},
                                   Estate::Fee{.owner = b, .shouldPay = "3.33", .paid = "1.11"}})
        t.estate().addFee(fee);
    // The arrears list as its screen computes it, without sum_derate.
    StatementRecordSource rows(
        t.db(), "select b.owner_name, sum(a.should_pay) as sum_should, "
                "sum(a.payment_real) as sum_payment, sum(a.should_pay - a.payment_real) as owe_money "
                "from charge_take a, owner_info b where a.owner_id = b.owner_id "
                "group by b.owner_id, b.owner_name order by b.owner_name");
    const PlacedReport report = paginate(reports::rptOwe(), rows);
    const QStringList texts = report.pages[0].textsInReadingOrder();
    QVERIFY(texts.contains("200.30")); // 甲公司 owes 100.10 + 100.20
    QVERIFY(texts.contains("2.22"));
    QCOMPARE(after(report.pages[0], "欠费总金额:"), "202.52");
    // The reduction column has no field in this list and prints nothing.
    QCOMPARE(texts.count(QString()), 0);
    QCOMPARE(texts.filter(".").size(), 3 * 2 + 1);
}

void TestReportLayouts::emptyListsStillPrint_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("texts");
    const QString page = "第 1 页 共 1 页";
    QTest::newRow("rptOwner") << "rptOwner" << QStringList{"住户信息一览表", "住户名称",  "联系人",
                                                           "联系电话",       "信誉等级",  "保证金",
                                                           "紧急联系",       "总住户数:", "0",
                                                           "保证金:",        "0.00",      page,
                                                           "打印日期:",      kPrintDate};
    QTest::newRow("rptTake") << "rptTake" << QStringList{"缴费记录清单", "序号",   "费用名",   "应付款",
                                                         "减免金额",     "实付款", "付款日期", "上期节余",
                                                         "实付总金额:",  "0.00",   page,       "打印日期:",
                                                         kPrintDate};
    QTest::newRow("rptEmp") << "rptEmp"
                            << QStringList{"员工信息一览表", "姓名",     "部门", "毕业学校",  "所学专业",
                                           "联系电话",       "家庭地址", page,   "打印日期:", kPrintDate};
    QTest::newRow("rptServe") << "rptServe"
                              << QStringList{"住户服务资料", "住户名称", page, "打印日期: " + kPrintDate};
    QTest::newRow("rptEvent") << "rptEvent"
                              << QStringList{
                                     "重大事件一览表", "事件名称", "事件类型", "处理人",
                                     "发生时间",       "发生地点", page,       "打印日期: " + kPrintDate};
}

void TestReportLayouts::emptyListsStillPrint()
{
    QFETCH(QString, name);
    QFETCH(QStringList, texts);
    const ReportLayout layout = layoutCases().value(name).layout();
    PinyinDatabase t;
    StatementRecordSource none(t.db(), "select * from owner_info where owner_id < ?", {0});
    const PlacedReport report = paginate(layout, none);
    QCOMPARE(report.pages.size(), 1);
    QCOMPARE(report.pages[0].textsInReadingOrder(), texts);
}

void TestReportLayouts::ownerGroupContinuesAfterABreak()
{
    PinyinDatabase t;
    const qlonglong yi = owner(t, "乙公司");
    const qlonglong jia = owner(t, "甲公司");
    t.exec("begin");
    t.exec("insert into service (owner_id, worker) values (?, ?)", {yi, "乙的工"});
    for (int i = 1; i <= 40; ++i)
        t.exec("insert into service (owner_id, worker) values (?, ?)", {jia, QString("甲%1").arg(i)});
    t.exec("commit");
    const ReportStatement s = reports::serveStatement();
    StatementRecordSource rows(t.db(), s.text, s.values);
    const PlacedReport report = paginate(reports::rptServe(), rows);

    // 甲公司 (jia) sorts before 乙公司 (yi) by pinyin, though not by code point;
    // its 40 jobs run onto page 2 without a second header, and 乙公司's group
    // follows with its own.
    QCOMPARE(report.pages.size(), 2);
    const QStringList first = report.pages[0].textsInReadingOrder();
    const QStringList second = report.pages[1].textsInReadingOrder();
    QCOMPARE(first.count("甲公司"), 1);
    QCOMPARE(first.count("服务人"), 1);
    QCOMPARE(first.count("乙公司"), 0);
    QCOMPARE(second.count("甲公司"), 0);
    QCOMPARE(second.count("乙公司"), 1);
    QCOMPARE(second.count("服务人"), 1);
    QCOMPARE(first.filter(QRegularExpression("^甲\\d+$")).size() +
                 second.filter(QRegularExpression("^甲\\d+$")).size(),
             40);
    QVERIFY(second.indexOf("甲40") < second.indexOf("乙公司"));
    QCOMPARE(second.indexOf("乙公司") + 6, second.indexOf("乙的工")); // header: name and five captions
    QCOMPARE(second.mid(second.size() - 2), QStringList({"第 2 页 共 2 页", "打印日期: " + kPrintDate}));
    // The rows that continue the group on page 2 are closed at the top.
    QVERIFY(std::any_of(report.pages[1].lines.begin(), report.pages[1].lines.end(),
                        [](const PlacedLine& l) { return l.line == QLineF(0, 0, 190, 0); }));
}

namespace {

// A value of a column at the full length the schema allows: telephone numbers
// as numbers, device numbers as letters and digits without a blank, other texts
// from the column's label; the largest amount; the highest number.
QVariant fullValue(const schema::Column& column, int row)
{
    using T = schema::ColumnType;
    const QString name = QString::fromLatin1(column.name);
    switch (column.type) {
    case T::Text:
    case T::Char: {
        const QString seed = name.contains("tel")   ? QString("0755-2654321%1 ").arg(row % 10)
                             : name.endsWith("_no") ? QString("DT%1-ABCDEFGHJK-").arg(row)
                                                    : QString::fromUtf8(column.label) + QString::number(row);
        QString text;
        while (text.size() < column.size)
            text += seed;
        return text.left(column.size);
    }
    case T::Decimal:
        return qlonglong(std::pow(10.0, column.size)) - 1;
    case T::Integer:
        return 2147483647;
    case T::SmallInteger:
        return 32767;
    case T::Byte:
        return 255;
    case T::Float:
        return 12345678.25;
    case T::DateTime:
        return QString("2026-12-31 23:59:59");
    case T::Memo:
        return QString::fromUtf8(column.label).repeated(50);
    case T::AutoNumber:
        return 1000000000 + row; // numbers of ten digits
    }
    return {};
}

// Inserts a row of `table` with every column at its full length, but for the
// values given; returns its key.
qlonglong insertFull(TestDatabase& t, const char* table, int row, const QVariantMap& given = {})
{
    for (const schema::Table& candidate : schema::tables()) {
        if (qstrcmp(candidate.name, table) != 0)
            continue;
        sql::Fields fields;
        qlonglong key = 0;
        for (const schema::Column& column : candidate.columns) {
            const QString name = QString::fromLatin1(column.name);
            const QVariant value = given.contains(name) ? given.value(name) : fullValue(column, row);
            if (column.type == schema::ColumnType::AutoNumber)
                key = value.toLongLong();
            fields.append({name, value});
        }
        sql::insert(t.db(), QString::fromLatin1(table), fields);
        return key;
    }
    qFatal("no table %s", table);
    return 0;
}

// Fills the database with the rows of one report, every text at its full length,
// and returns the rows the report prints: the list of its screen, or its statement.
std::unique_ptr<RecordSource> fullLengthRows(TestDatabase& t, const QString& layout)
{
    t.exec("begin");
    const auto owners = [&](int count) {
        QList<qlonglong> keys;
        for (int i = 1; i <= count; ++i)
            keys << insertFull(t, "owner_info", i);
        return keys;
    };
    std::unique_ptr<RecordSource> rows;
    if (layout == "rptOwner") {
        owners(6);
        rows = std::make_unique<StatementRecordSource>(
            t.db(), owner_store::list(owner_store::Occupants::All, owner_store::OwnerOrder::ByName));
    } else if (layout == "rptOwe" || layout == "rptTake") {
        const qlonglong type = insertFull(t, "charge_type", 1, {{"type_id", 7}});
        int fee = 0;
        for (const qlonglong o : owners(4)) {
            for (int i = 0; i < 3; ++i)
                insertFull(t, "charge_take", ++fee,
                           {{"owner_id", o}, {"type_id", type}, {"payment_real", 0}});
        }
        rows = std::make_unique<StatementRecordSource>(
            t.db(),
            layout == "rptOwe"
                ? "select b.owner_name, sum(a.should_pay) as sum_should, sum(a.derate) as sum_derate, "
                  "sum(a.payment_real) as sum_payment, sum(a.should_pay - a.payment_real) as owe_money "
                  "from charge_take a, owner_info b where a.owner_id = b.owner_id "
                  "group by b.owner_id, b.owner_name order by b.owner_id"
                : "select c.*, t.type_name from charge_take c left join charge_type t "
                  "on t.type_id = c.type_id where c.take_id > ? order by c.take_id",
            layout == "rptOwe" ? QVariantList{} : QVariantList{0});
    } else if (layout == "rptEmp") {
        const qlonglong department = insertFull(t, "department", 1, {{"sup_deptid", 0}});
        for (int i = 1; i <= 6; ++i)
            insertFull(t, "employee", i, {{"dept_id", department}});
        rows = std::make_unique<StatementRecordSource>(
            t.db(),
            "select e.*, d.dept_name from employee e left join department d on d.dept_id = e.dept_id "
            "where e.emp_id > ? order by e.emp_id",
            QVariantList{0});
    } else if (layout == "rptServe" || layout == "rptAdvice" || layout == "rptFitMent") {
        const char* table = layout == "rptServe" ? "service" : layout == "rptAdvice" ? "advice" : "fitment";
        int record = 0;
        for (const qlonglong o : owners(2)) {
            const QVariant key = layout == "rptFitMent" ? QVariant(QString::number(o)) : QVariant(o);
            for (int i = 0; i < 3; ++i)
                insertFull(t, table, ++record, {{"owner_id", key}});
        }
        rows = statement(t, layout == "rptServe"    ? reports::serveStatement()
                            : layout == "rptAdvice" ? reports::adviceStatement()
                                                    : reports::fitmentStatement());
    } else if (layout == "rptDevice") {
        const qlonglong type = insertFull(t, "dev_type", 1);
        for (int i = 1; i <= 6; ++i)
            insertFull(t, "device", i, {{"type_id", type}});
        rows = statement(t, reports::deviceStatement(type));
    } else if (layout == "rptRepair") {
        const qlonglong device = insertFull(t, "device", 1, {{"type_id", 0}});
        for (int i = 1; i <= 5; ++i)
            insertFull(t, "repair", i, {{"dev_id", device}});
        rows = statement(t, reports::repairStatement(device));
    } else {
        const QMap<QString, std::pair<const char*, ReportStatement>> single{
            {"rptEvent", {"event", reports::eventStatement()}},
            {"rptFire", {"fire_area", reports::fireStatement()}},
            {"rptConnt", {"condition", reports::conditionStatement()}},
            {"rptPloy", {"community", reports::communityStatement()}}};
        const auto [table, s] = single.value(layout);
        for (int i = 1; i <= 6; ++i)
            insertFull(t, table, i);
        rows = statement(t, s);
    }
    t.exec("commit");
    return rows;
}

// The texts the report's field items show for every record of `rows`.
QStringList fieldTexts(const ReportLayout& layout, RecordSource& rows)
{
    QStringList texts;
    for (bool more = rows.first(); more; more = rows.next()) {
        for (const ReportBand* band : {&layout.titleBand, &layout.groupHeader, &layout.detail}) {
            for (const ReportItem& item : band->items) {
                if (item.kind == ReportItem::Kind::Field)
                    texts << fieldText(rows.fieldValue(item.field), item.format);
            }
        }
    }
    texts.removeAll(QString());
    return texts;
}

QString withoutBlanks(QString text)
{
    return text.remove(QRegularExpression("\\s"));
}

} // namespace

void TestReportLayouts::everyValueWholeAtFullLength_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : layoutCases().keys())
        QTest::newRow(qPrintable(name)) << name;
}

// Every text column of every layout at its full length prints whole: in the
// PDF, the words within each text's place read that text, nothing more and
// nothing less; no two texts print over each other, none runs off the page;
// every page says which page of how many it is.
void TestReportLayouts::everyValueWholeAtFullLength()
{
    QFETCH(QString, name);
    PinyinDatabase t;
    const std::unique_ptr<RecordSource> rows = fullLengthRows(t, name);
    const ReportLayout layout = layoutCases().value(name).layout();
    const PlacedReport report = paginate(layout, *rows);

    // Each value of the records is laid out whole.
    QStringList placed;
    for (const PlacedPage& page : report.pages) {
        for (const PlacedText& text : page.texts)
            placed << text.text;
    }
    const QStringList values = fieldTexts(layout, *rows);
    QVERIFY(values.size() >= 10);
    for (const QString& value : values)
        QVERIFY2(placed.contains(value), qPrintable("not laid out whole: " + value));

    QTemporaryDir dir;
    const QString pdf = writePdf(report, dir, name);
    const QList<PdfWord> words = pdfWords(pdf);
    const QStringList pages = pdfPageTexts(pdf);
    QCOMPARE(pages.size(), report.pages.size());
    const QPointF margin(layout.margins.left(), layout.margins.top());
    for (qsizetype p = 0; p < report.pages.size(); ++p) {
        QVERIFY2(pages[p].contains(QString("第%1页共%2页").arg(p + 1).arg(pages.size())),
                 qPrintable(pages[p].left(200)));
        const QList<PlacedText>& texts = report.pages[p].texts;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QRectF place = texts[i].rect;
            QVERIFY2(place.left() >= 0 && place.right() <= layout.printableWidth() + 0.01 &&
                         place.top() >= 0 && place.bottom() <= layout.printableHeight() + 0.01,
                     qPrintable("off the page: " + texts[i].text));
            for (qsizetype j = i + 1; j < texts.size(); ++j) {
                QVERIFY2(!place.adjusted(0.01, 0.01, -0.01, -0.01).intersects(texts[j].rect),
                         qPrintable("printed over each other: " + texts[i].text + " / " + texts[j].text));
            }
            // The words of the PDF whose middle lies in the text's place, line by line.
            QList<PdfWord> inside;
            const QRectF area = place.translated(margin).adjusted(-0.5, -0.5, 0.5, 0.5);
            for (const PdfWord& word : words) {
                if (word.page == p && area.contains(word.rect.center()))
                    inside << word;
            }
            std::stable_sort(inside.begin(), inside.end(), [](const PdfWord& a, const PdfWord& b) {
                return std::abs(a.rect.top() - b.rect.top()) > 1 ? a.rect.top() < b.rect.top()
                                                                 : a.rect.left() < b.rect.left();
            });
            QString read;
            for (const PdfWord& word : inside)
                read += word.text;
            QCOMPARE(withoutBlanks(read), withoutBlanks(texts[i].text));
        }
    }
}

void TestReportLayouts::boldTextPrintsBold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("heavier"); // how much more ink the bold text takes at least
    // The Chinese font has a light face and no bold one: its bold must gain more
    // ink than a Latin bold face does to look as heavy beside it (a slight double
    // print, what the PDF engine does of itself, gains about 1.4 times).
    QTest::newRow("Chinese") << "住户信息一览表" << 1.8;
    QTest::newRow("Latin") << "Owner List" << 1.3;
}

// Bold text prints bold: darker than the same text printed regular, Chinese
// characters too, whose fonts have no bold face of their own.
void TestReportLayouts::boldTextPrintsBold()
{
    QFETCH(QString, text);
    QFETCH(double, heavier);
    QTemporaryDir dir;
    QList<double> ink;
    for (const bool bold : {false, true}) {
        ReportLayout layout;
        layout.detail.height = 20;
        layout.detail.items = {ReportItem::fieldValue("name", 10, 2, ReportFont{"Arial", 12, bold})};
        MemoryRecordSource rows({"name"}, {{text}});
        const QString pdf = writePdf(paginate(layout, rows), dir, bold ? "bold" : "regular");
        QCOMPARE(pdfPageTexts(pdf).value(0), withoutBlanks(text));
        const QImage page = pdfPageImage(pdf, 0, 150);
        QVERIFY(!page.isNull());
        double darkness = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x)
                darkness += (255 - qGray(page.pixel(x, y))) / 255.0;
        }
        ink << darkness;
    }
    QVERIFY(ink[0] > 100);
    QVERIFY2(ink[1] > ink[0] * heavier, qPrintable(QString("regular %1, bold %2").arg(ink[0]).arg(ink[1])));
}

// Emoji print in their colours, from the emoji font, among the text around them.
void TestReportLayouts::emojiPrintInColour()
{
    QTemporaryDir dir;
    QList<int> coloured;
    for (const QString& text : {QString("住户好"), QString("住户😀🏠好")}) {
        ReportLayout layout = reports::rptOwner();
        MemoryRecordSource rows({"owner_name", "bail_money"}, {{text, 0}});
        const QString pdf = writePdf(paginate(layout, rows), dir, QString::number(coloured.size()));
        const QString page = pdfPageTexts(pdf).value(0);
        QVERIFY2(page.contains("住户") && page.contains("好"), qPrintable(page));
        const QImage image = pdfPageImage(pdf, 0, 100);
        QVERIFY(!image.isNull());
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count +=
                    std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 80;
            }
        }
        coloured << count;
    }
    QCOMPARE(coloured[0], 0);
    QVERIFY2(coloured[1] > 30, qPrintable(QString::number(coloured[1])));
}

QTEST_MAIN(TestReportLayouts)
#include "tst_reportlayouts.moc"
