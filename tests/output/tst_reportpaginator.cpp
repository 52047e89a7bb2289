#include "db/DbError.h"
#include "output/Fonts.h"
#include "output/MemoryRecordSource.h"
#include "output/ReportPaginator.h"

#include <QTest>

class TestReportPaginator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }
    void longListBreaksPages();
    void summaryStaysWithTheLastRecord_data();
    void summaryStaysWithTheLastRecord();
    void emptySourceStillPrints();
    void groupHeaderWhenTheValueChanges();
    void framedRowsAtTheTopOfAPageAreClosed_data();
    void framedRowsAtTheTopOfAPageAreClosed();
    void sumsAreExact();
    void sumRefusesWhatItCannotAdd_data();
    void sumRefusesWhatItCannotAdd();
    void longValuesWrapWithinTheirColumn();
    void slightlyLongValuesPrintSmaller();
    void wrappedValuesKeepTheirWords_data();
    void wrappedValuesKeepTheirWords();
    void itemsBelowAWrappedValueMoveDown();
    void aBandTallerThanAPageIsPrintedSmaller();
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
    layout.pageFooter.items = {ReportItem::printDate("打印日期: ", 120, 2), ReportItem::pageNumber(5, 2)};
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

const PlacedText* find(const PlacedPage& page, const QString& text)
{
    for (const PlacedText& t : page.texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

bool hasLine(const PlacedPage& page, const QLineF& line)
{
    return std::any_of(page.lines.begin(), page.lines.end(),
                       [&](const PlacedLine& l) { return l.line == line; });
}

// Two texts of the page that print over each other, if any.
QString overprinted(const PlacedPage& page)
{
    for (qsizetype i = 0; i < page.texts.size(); ++i) {
        for (qsizetype j = i + 1; j < page.texts.size(); ++j) {
            const QRectF a = page.texts[i].rect.adjusted(0.01, 0.01, -0.01, -0.01);
            if (a.intersects(page.texts[j].rect))
                return page.texts[i].text + " / " + page.texts[j].text;
        }
    }
    return {};
}

const QString kLongName = "北京市朝阳区建国门外大街甲十二号新华保险大厦二十三层东侧办公室";

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
        // Captions on page 1 only; page number and date at the foot of every page.
        QCOMPARE(texts.contains("名称"), p == 0);
        QCOMPARE(texts.contains("测试清单"), p == 0);
        QCOMPARE(texts.count("打印日期: 2026-12-10"), 1);
        QCOMPARE(texts.mid(texts.size() - 2),
                 QStringList({QString("第 %1 页 共 3 页").arg(p + 1), "打印日期: 2026-12-10"}));
        QCOMPARE(texts.contains("总数:"), p == 2);
        for (const PlacedText& t : page.texts) {
            if (t.text.startsWith("户"))
                QVERIFY(t.rect.bottom() <= 277 - 10);
            if (t.text.startsWith("打印日期"))
                QCOMPARE(t.rect.top(), 277 - 10 + 2);
        }
        QCOMPARE(overprinted(page), QString());
    }
    // The summary once, right after the last record, with the count and the exact sum.
    const QStringList last = textsOf(report.pages[2]);
    const qsizetype summary = last.indexOf("总数:");
    QCOMPARE(last.mid(summary, 4), QStringList({"总数:", "60", "合计:", "1833.00"}));
    QCOMPARE(last[summary - 1], "60.05"); // the value of 户60

    // The detail band frames each record; the title band has a line along its foot.
    QVERIFY(hasLine(report.pages[0], QLineF(0, 30, 190, 30)));
    QVERIFY(hasLine(report.pages[0], QLineF(0, 40, 190, 40)));
    QVERIFY(hasLine(report.pages[0], QLineF(190, 30, 190, 40)));
}

void TestReportPaginator::summaryStaysWithTheLastRecord_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QList<int>>("perPage"); // records on each page; the summary on the last
    QTest::newRow("summary fits below") << 22 << QList<int>{22};
    QTest::newRow("last record fills the page") << 23 << QList<int>{22, 1};
    QTest::newRow("page full before the last") << 24 << QList<int>{23, 1};
    QTest::newRow("second page full") << 49 << QList<int>{23, 25, 1};
}

// The summary never stands alone at the top of a page: when it does not fit
// below the last record, that record goes over with it.
void TestReportPaginator::summaryStaysWithTheLastRecord()
{
    QFETCH(int, records);
    QFETCH(QList<int>, perPage);
    MemoryRecordSource rows = numbered(records);
    const PlacedReport report = ReportPaginator(testLayout()).paginate(rows, kPrinted);
    QCOMPARE(report.pages.size(), perPage.size());
    for (qsizetype p = 0; p < perPage.size(); ++p)
        QCOMPARE(namesOn(report.pages[p]).size(), perPage[p]);
    const QStringList last = textsOf(report.pages.last());
    const qsizetype summary = last.indexOf("总数:");
    QVERIFY(summary > 0);
    QCOMPARE(last[summary - 2], QString("户%1").arg(records));
    QCOMPARE(last[summary + 1], QString::number(records));
}

void TestReportPaginator::emptySourceStillPrints()
{
    MemoryRecordSource none({"name", "money"}, {});
    const PlacedReport report = ReportPaginator(testLayout()).paginate(none, kPrinted);
    QCOMPARE(report.pages.size(), 1);
    QCOMPARE(textsOf(report.pages[0]), QStringList({"测试清单", "名称", "金额", "总数:", "0", "合计:", "0.00",
                                                    "第 1 页 共 1 页", "打印日期: 2026-12-10"}));
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
    QCOMPARE(textsOf(report.pages[2]),
             QStringList({"乙", "名称", "户48", "1.00", "户49", "1.00", "甲", "名称", "户50", "1.00",
                          "第 3 页 共 3 页", "打印日期: 2026-12-10"}));
}

void TestReportPaginator::framedRowsAtTheTopOfAPageAreClosed_data()
{
    QTest::addColumn<bool>("grouped");
    QTest::newRow("rows") << false;
    QTest::newRow("a group over the break") << true;
}

// Rows drawn open at the top (the row above closes them) get their top rule
// where they start a page; on page 1 the title band's foot closes the first.
void TestReportPaginator::framedRowsAtTheTopOfAPageAreClosed()
{
    QFETCH(bool, grouped);
    ReportLayout layout = testLayout();
    layout.detail.lines = kOpenTop;
    if (grouped) {
        layout.groupField = "owner";
        layout.groupHeader.height = 8;
        layout.groupHeader.lines = kOpenTop;
        layout.groupHeader.items = {ReportItem::fieldValue("owner", 2, 2)};
    }
    MemoryRecordSource rows = numbered(60, "甲");
    const PlacedReport report = ReportPaginator(layout).paginate(rows, kPrinted);
    QCOMPARE(report.pages.size(), 3);
    QVERIFY(!hasLine(report.pages[0], QLineF(0, 0, 190, 0)));
    QVERIFY(hasLine(report.pages[0], QLineF(0, 30, 190, 30)));
    for (int p = 1; p < report.pages.size(); ++p) {
        QVERIFY2(hasLine(report.pages[p], QLineF(0, 0, 190, 0)), qPrintable(QString::number(p + 1)));
        QVERIFY(hasLine(report.pages[p], QLineF(0, 0, 0, 10)));
        // Only the first row of the page: the others are closed by the row above.
        QCOMPARE(std::count_if(report.pages[p].lines.begin(), report.pages[p].lines.end(),
                               [](const PlacedLine& l) { return l.line.dy() == 0 && l.line.y1() < 10; }),
                 1);
    }
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

void TestReportPaginator::sumRefusesWhatItCannotAdd_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("total"); // empty: refused

    const int money = int(FieldFormat::Decimal);
    const int plain = int(FieldFormat::Plain);
    QTest::newRow("hundredths") << "money" << QVariant(qlonglong(18000)) << money << "180.05";
    QTest::newRow("hundredths computed in floating point")
        << "money" << QVariant(18000.0) << money << "180.05";
    QTest::newRow("no value") << "money" << QVariant() << money << "0.05";
    QTest::newRow("amount as text") << "money" << QVariant("  180.00") << money << "";
    QTest::newRow("digits as text") << "money" << QVariant("18000") << money << "";
    QTest::newRow("fraction of a hundredth") << "money" << QVariant(12.5) << money << "";
    QTest::newRow("plain number text") << "money" << QVariant(" 12") << plain << "12.05";
    QTest::newRow("plain words") << "money" << QVariant("十二") << plain << "";
    QTest::newRow("field the list lacks") << "amount" << QVariant(qlonglong(100)) << money << "";
}

// A value the sum cannot add stops the report with an error the screen shows:
// never a total that silently left it out.
void TestReportPaginator::sumRefusesWhatItCannotAdd()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(int, format);
    QFETCH(QString, total);

    ReportLayout layout = testLayout();
    layout.detail.items.clear();
    layout.summary->items = {ReportItem::fixedText("合计:", 60, 2),
                             ReportItem::sum(field, FieldFormat(format), 90, 2)};
    // A first record of 5 hundredths (or 0.05 summed plainly), then the value.
    const QVariant first = format == int(FieldFormat::Decimal) ? QVariant(qlonglong(5)) : QVariant("0.05");
    MemoryRecordSource rows({"name", "money"}, {{"户1", first}, {"户2", value}});
    if (total.isEmpty()) {
        try {
            ReportPaginator(layout).paginate(rows, kPrinted);
            QFAIL("summed");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains(field), qPrintable(e.text()));
        }
        return;
    }
    const PlacedReport report = ReportPaginator(layout).paginate(rows, kPrinted);
    const QStringList texts = textsOf(report.pages.last());
    QCOMPARE(texts.value(texts.indexOf("合计:") + 1), total);
}

// A value too long for its column wraps within it, whole: the row grows, and
// neither the next column nor the next row is printed over.
void TestReportPaginator::longValuesWrapWithinTheirColumn()
{
    ReportLayout layout = testLayout();
    layout.detail.limitFieldWidths(layout.printableWidth());
    QCOMPARE(layout.detail.items[0].width, 60 - 5 - 1.0);   // up to the next column
    QCOMPARE(layout.detail.items[1].width, 190 - 60 - 1.0); // up to the right margin

    MemoryRecordSource rows({"name", "money"}, {{kLongName, 100}, {"户1", 100}});
    const PlacedReport report = ReportPaginator(layout).paginate(rows, kPrinted);
    const PlacedPage& page = report.pages[0];
    const PlacedText* wrapped = find(page, kLongName);
    QVERIFY(wrapped);
    QVERIFY(wrapped->lines.size() >= 3);
    QCOMPARE(wrapped->lines.join(""), kLongName);
    QCOMPARE(wrapped->font.pointSizeF(), 10.0);
    QCOMPARE(wrapped->rect.left(), 5.0);
    QVERIFY(wrapped->rect.width() <= 54.0);
    QCOMPARE(wrapped->rect.height(),
             wrapped->lineHeight * double(wrapped->lines.size() - 1) + find(page, "户1")->rect.height());
    QCOMPARE(overprinted(page), QString());

    // The row is as tall as its lines with the band's own room below them; the
    // next row starts there, with the rule between them.
    const double extra = wrapped->rect.height() - find(page, "户1")->rect.height();
    const double bottom = 30 + 10 + extra;
    QVERIFY(hasLine(page, QLineF(0, bottom, 190, bottom)));
    QVERIFY(hasLine(page, QLineF(0, 30, 0, bottom)));
    QCOMPARE(find(page, "户1")->rect.top(), bottom + 1);
    QCOMPARE(find(page, "1.00")->rect.top(), 31.0); // the next column keeps its line
}

// A value a little too wide prints a little smaller on its one line.
void TestReportPaginator::slightlyLongValuesPrintSmaller()
{
    ReportLayout layout = testLayout();
    layout.detail.items[0].width = 26;
    const QString phone = "0755-26543210-8";
    MemoryRecordSource rows({"name", "money"}, {{phone, 100}});
    const PlacedReport report = ReportPaginator(layout).paginate(rows, kPrinted);
    const PlacedText* placed = find(report.pages[0], phone);
    QVERIFY(placed);
    QVERIFY(placed->lines.isEmpty());
    QVERIFY(placed->rect.width() <= 26.0);
    QVERIFY(placed->font.pointSizeF() < 10.0);
    QVERIFY(placed->font.pointSizeF() >= 8.0);
    // The row keeps its height.
    QVERIFY(hasLine(report.pages[0], QLineF(0, 40, 190, 40)));
}

void TestReportPaginator::wrappedValuesKeepTheirWords_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("lines"); // empty: broken within a word, whole all the same
    QTest::addColumn<bool>("smaller");
    // A contact and a telephone number a little too wide for the column: the
    // number stays on one line, printed a little smaller.
    QTest::newRow("name and telephone")
        << "张女士 0755-2345678" << QStringList{"张女士", "0755-2345678"} << true;
    QTest::newRow("two numbers") << "0755-2345678 13900001111" << QStringList{"0755-2345678", "13900001111"}
                                 << true;
    // Words that fit wrap at their own size.
    QTest::newRow("short words") << "甲 乙 丙 丁 戊 己 庚 辛 壬 癸 子 丑 寅 卯 辰 巳 午 未 申 酉"
                                 << QStringList{} << false;
    // A word far too wide for the column is broken at its own size.
    QTest::newRow("one long word") << "DT1-ABCDEFGHJK-DT1-ABCDEFGHJK-DT1-ABCDEFGHJK" << QStringList{}
                                   << false;
}

// A value that wraps breaks between its words: a telephone number is never
// split over two lines while printing it a little smaller keeps it whole.
void TestReportPaginator::wrappedValuesKeepTheirWords()
{
    QFETCH(QString, value);
    QFETCH(QStringList, lines);
    QFETCH(bool, smaller);
    ReportLayout layout = testLayout();
    layout.detail.items[0].width = 19;
    MemoryRecordSource rows({"name", "money"}, {{value, 100}, {"户1", 100}});
    const PlacedReport report = ReportPaginator(layout).paginate(rows, kPrinted);
    const PlacedPage& page = report.pages[0];
    const PlacedText* placed = find(page, value);
    QVERIFY(placed);
    QVERIFY(placed->lines.size() >= 2);
    QCOMPARE(placed->lines.join("").remove(' '), QString(value).remove(' '));
    if (!lines.isEmpty())
        QCOMPARE(placed->lines, lines);
    QCOMPARE(placed->font.pointSizeF() < 10.0, smaller);
    QVERIFY(placed->font.pointSizeF() >= 8.0);
    QVERIFY(placed->rect.width() <= 19.0 + 0.01);
    QCOMPARE(overprinted(page), QString());
}

void TestReportPaginator::itemsBelowAWrappedValueMoveDown()
{
    ReportLayout layout = testLayout();
    layout.summary.reset();
    layout.detail.height = 20;
    layout.detail.items = {ReportItem::fieldValue("name", 5, 1), ReportItem::fixedText("下方", 5, 12),
                           ReportItem::fixedText("旁边", 60, 12)};
    layout.detail.items[0].width = 40;
    MemoryRecordSource rows({"name"}, {{kLongName}});
    const PlacedReport report = ReportPaginator(layout).paginate(rows, kPrinted);
    const PlacedPage& page = report.pages[0];
    const PlacedText* wrapped = find(page, kLongName);
    QVERIFY(wrapped && wrapped->lines.size() >= 3);
    const double extra = wrapped->rect.height() - find(page, "下方")->rect.height();
    QCOMPARE(find(page, "下方")->rect.top(), 30 + 12 + extra);
    QCOMPARE(find(page, "旁边")->rect.top(), 30 + 12.0);
    QVERIFY(hasLine(page, QLineF(0, 30 + 20 + extra, 190, 30 + 20 + extra)));
    QCOMPARE(overprinted(page), QString());
}

void TestReportPaginator::aBandTallerThanAPageIsPrintedSmaller()
{
    ReportLayout layout = testLayout();
    layout.summary.reset();
    layout.detail.limitFieldWidths(layout.printableWidth());
    const QString huge = kLongName.repeated(60);
    MemoryRecordSource rows({"name", "money"}, {{"户1", 100}, {huge, 100}});
    const PlacedReport report = ReportPaginator(layout).paginate(rows, kPrinted);
    const PlacedPage& page = report.pages.last();
    const PlacedText* placed = find(page, huge);
    QVERIFY(placed);
    QCOMPARE(placed->lines.join(""), huge);
    QVERIFY(placed->font.pointSizeF() < 10.0);
    QVERIFY(placed->rect.top() >= 0 && placed->rect.bottom() <= 277 - 10);
    QCOMPARE(overprinted(page), QString());
}

QTEST_MAIN(TestReportPaginator)
#include "tst_reportpaginator.moc"
