#include "app/Fonts.h"
#include "output/MemoryRecordSource.h"
#include "output/ReportPaginator.h"

#include <QTest>

class TestReportPaginator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }
    void longListBreaksPages();
    void summaryGoesOnANewPageWhenFull();
    void emptySourceStillPrints();
    void groupHeaderWhenTheValueChanges();
    void sumsAreExact();
    void longValuesAreCutShort();
};

namespace {

const QDate kPrinted(2026, 12, 10);

// A4 with 10 mm margins (printable 190 × 277 mm): title 30 mm, detail 10 mm,
// footer 10 mm, summary 10 mm.
ReportLayout testLayout()
{
    ReportLayout layout;
    layout.name = "rptTest";
    layout.title = "测试清单";
    layout.titleBand.height = 30;
    layout.titleBand.lines = BandLine::Bottom;
    layout.titleBand.items = {ReportItem::fixedText("测试清单", 70, 5), ReportItem::fixedText("名称", 5, 22),
                              ReportItem::fixedText("金额", 60, 22)};
    layout.detail.height = 10;
    layout.detail.lines = kFrame;
    layout.detail.items = {ReportItem::fieldValue("NAME", 5, 1),
                           ReportItem::fieldValue("Money", 60, 1, {}, FieldFormat::Decimal)};
    layout.pageFooter.height = 10;
    layout.pageFooter.items = {ReportItem::printDate("打印日期: ", 120, 2),
                               ReportItem::pageNumber("第", 5, 2)};
    ReportBand summary;
    summary.height = 10;
    summary.items = {ReportItem::fixedText("总数:", 5, 2), ReportItem::count(30, 2),
                     ReportItem::fixedText("合计:", 60, 2),
                     ReportItem::sum("money", FieldFormat::Decimal, 90, 2)};
    layout.summary = summary;
    return layout;
}

MemoryRecordSource numbered(int count, const QString& group = {})
{
    QList<QVariantList> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QString("户%1").arg(i), qlonglong(i * 100 + 5), group});
    return MemoryRecordSource({"name", "money", "owner"}, rows);
}

QStringList textsOf(const PlacedPage& page)
{
    return page.textsInReadingOrder();
}

// The detail values of a page: the texts that name a record.
QStringList namesOn(const PlacedPage& page)
{
    QStringList names;
    for (const QString& text : page.textsInReadingOrder()) {
        if (text.startsWith("户"))
            names << text;
    }
    return names;
}

} // namespace

void TestReportPaginator::longListBreaksPages()
{
    const ReportLayout layout = testLayout();
    MemoryRecordSource rows = numbered(60);
    const PlacedReport report = ReportPaginator(layout).paginate(rows, kPrinted);

    // Page 1 holds (277 - 30 - 10) / 10 = 23 records, the next 26, the last 11 and the summary.
    QCOMPARE(report.pages.size(), 3);
    QCOMPARE(namesOn(report.pages[0]).size(), 23);
    QCOMPARE(namesOn(report.pages[1]).size(), 26);
    QCOMPARE(namesOn(report.pages[2]).size(), 11);
    QCOMPARE(namesOn(report.pages[0]).first(), "户1");
    QCOMPARE(namesOn(report.pages[2]).last(), "户60");

    for (int p = 0; p < report.pages.size(); ++p) {
        const PlacedPage& page = report.pages[p];
        const QStringList texts = textsOf(page);
        // Captions on page 1 only; date and page number at the foot of every page.
        QCOMPARE(texts.contains("名称"), p == 0);
        QCOMPARE(texts.contains("测试清单"), p == 0);
        QCOMPARE(texts.count("打印日期: 2026-12-10"), 1);
        QCOMPARE(texts.mid(texts.size() - 2),
                 QStringList({"第" + QString::number(p + 1), "打印日期: 2026-12-10"}));
        QCOMPARE(texts.contains("总数:"), p == 2);
        for (const PlacedText& t : page.texts) {
            if (t.text.startsWith("户"))
                QVERIFY(t.rect.bottom() <= 277 - 10);
            if (t.text.startsWith("打印日期"))
                QCOMPARE(t.rect.top(), 277 - 10 + 2);
        }
    }
    // The summary once, right after the last record, with the count and the exact sum.
    const QStringList last = textsOf(report.pages[2]);
    const qsizetype summary = last.indexOf("总数:");
    QCOMPARE(last.mid(summary, 4), QStringList({"总数:", "60", "合计:", "1833.00"}));
    QCOMPARE(last[summary - 1], "60.05"); // the value of 户60

    // The detail band frames each record; the title band has a line along its foot.
    const QList<PlacedLine>& lines = report.pages[0].lines;
    QVERIFY(std::any_of(lines.begin(), lines.end(),
                        [](const PlacedLine& l) { return l.line == QLineF(0, 30, 190, 30); }));
    QVERIFY(std::any_of(lines.begin(), lines.end(),
                        [](const PlacedLine& l) { return l.line == QLineF(0, 40, 190, 40); }));
    QVERIFY(std::any_of(lines.begin(), lines.end(),
                        [](const PlacedLine& l) { return l.line == QLineF(190, 30, 190, 40); }));
}

void TestReportPaginator::summaryGoesOnANewPageWhenFull()
{
    MemoryRecordSource rows = numbered(23); // fills page 1 exactly
    const PlacedReport report = ReportPaginator(testLayout()).paginate(rows, kPrinted);
    QCOMPARE(report.pages.size(), 2);
    QCOMPARE(namesOn(report.pages[0]).size(), 23);
    QCOMPARE(textsOf(report.pages[1]),
             QStringList({"总数:", "23", "合计:", "277.15", "第2", "打印日期: 2026-12-10"}));
}

void TestReportPaginator::emptySourceStillPrints()
{
    MemoryRecordSource none({"name", "money"}, {});
    const PlacedReport report = ReportPaginator(testLayout()).paginate(none, kPrinted);
    QCOMPARE(report.pages.size(), 1);
    QCOMPARE(textsOf(report.pages[0]), QStringList({"测试清单", "名称", "金额", "总数:", "0", "合计:", "0.00",
                                                    "第1", "打印日期: 2026-12-10"}));
}

void TestReportPaginator::groupHeaderWhenTheValueChanges()
{
    ReportLayout layout = testLayout();
    layout.summary.reset();
    layout.groupField = "OWNER";
    layout.groupHeader.height = 8;
    layout.groupHeader.items = {ReportItem::fieldValue("owner", 2, 2), ReportItem::fixedText("名称", 40, 2)};

    // 甲 runs over the break of page 1; 乙's header would fall on the last line of
    // page 2 and moves to page 3 with its first record.
    QList<QVariantList> rows;
    for (int i = 1; i <= 48; ++i)
        rows.append({QString("户%1").arg(i), 100, i <= 47 ? "甲" : "乙"});
    rows.append({"户49", 100, "乙"});
    rows.append({"户50", 100, "甲"}); // a value that returns is a new group
    MemoryRecordSource source({"name", "money", "owner"}, rows);
    const PlacedReport report = ReportPaginator(layout).paginate(source, kPrinted);

    // Page 1: title 30 + header 8 + 22 records; page 2: 25 records (1 mm left,
    // too little for 乙's header and first record); page 3: the rest.
    QCOMPARE(report.pages.size(), 3);
    QCOMPARE(textsOf(report.pages[0]).count("甲"), 1);
    QCOMPARE(namesOn(report.pages[0]).size(), 22);
    QCOMPARE(textsOf(report.pages[1]).count("甲"), 0);
    QCOMPARE(textsOf(report.pages[1]).count("名称"), 0);
    QCOMPARE(namesOn(report.pages[1]).size(), 25);
    QCOMPARE(textsOf(report.pages[2]), QStringList({"乙", "名称", "户48", "1.00", "户49", "1.00", "甲",
                                                    "名称", "户50", "1.00", "第3", "打印日期: 2026-12-10"}));
}

void TestReportPaginator::sumsAreExact()
{
    // 20,000 × 0.10 sums to 2000.00 exactly; a REAL column would not.
    QList<QVariantList> rows(20000, QVariantList{"户", qlonglong(10)});
    MemoryRecordSource source({"name", "money"}, rows);
    ReportLayout layout = testLayout();
    layout.detail.items.clear();
    const PlacedReport report = ReportPaginator(layout).paginate(source, kPrinted);
    const QStringList last = textsOf(report.pages.last());
    QCOMPARE(last.mid(last.indexOf("总数:"), 4), QStringList({"总数:", "20000", "合计:", "2000.00"}));
}

void TestReportPaginator::longValuesAreCutShort()
{
    ReportLayout layout = testLayout();
    layout.detail.limitFieldWidths(layout.printableWidth());
    QCOMPARE(layout.detail.items[0].width, 60 - 5 - 1.0); // up to the next column
    QCOMPARE(layout.detail.items[1].width, 190 - 60.0);   // up to the right margin

    const QString longName = QString("北京市朝阳区建国门外大街甲十二号新华保险大厦二十三层东侧办公室");
    MemoryRecordSource rows({"name", "money"}, {{longName, 100}, {"户1", 100}});
    const PlacedReport report = ReportPaginator(layout).paginate(rows, kPrinted);
    const QList<PlacedText>& texts = report.pages[0].texts;
    const auto cut =
        std::find_if(texts.begin(), texts.end(), [](const PlacedText& t) { return t.text.endsWith("…"); });
    QVERIFY(cut != texts.end());
    QVERIFY(longName.startsWith(cut->text.chopped(1)));
    QVERIFY(cut->rect.width() <= 54.0);
    QCOMPARE(cut->rect.left(), 5.0);
    const auto shortName =
        std::find_if(texts.begin(), texts.end(), [](const PlacedText& t) { return t.text == "户1"; });
    QVERIFY(shortName != texts.end());
    QVERIFY(shortName->rect.width() > 1 && shortName->rect.width() < 15);
}

QTEST_MAIN(TestReportPaginator)
#include "tst_reportpaginator.moc"
