#include "db/Schema.h"
#include "output/Fonts.h"
#include "output/PdfText.h"
#include "output/ReportRenderer.h"
#include "services/ActivitiesScreen.h"
#include "services/CleaningScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The printed lists of the cleaning areas and the community activities as their
// screens print them: written to PDF from values that fill their columns and
// read back with pdftotext, each value whole within its own place on the page.
class TestCleaningActivityOutput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void printedListsReadBack_data();
    void printedListsReadBack();
};

namespace {

enum class Opens { Cleaning, Activities };

const QString kPool = QStringLiteral("物业管理服务中心保洁区域大堂车库花园楼梯电梯社区活动联欢讲座主办协办"
                                     "负责人经费筹措参加人员每日每周");

// A text as long as its column holds, different for each seed.
QString full(const char* table, const char* column, int seed)
{
    const int length = schema::maxLength(QString::fromLatin1(table), QString::fromLatin1(column));
    QString text;
    for (int i = 0; i < length; ++i)
        text += kPool[(seed * 11 + i * 7) % kPool.size()];
    return text;
}

QString withoutBlanks(QString text)
{
    return text.remove(QRegularExpression("\\s"));
}

// The words of the PDF whose middle lies within a place of page `page`, line by line.
QString readIn(const QList<PdfWord>& words, int page, const QRectF& place)
{
    QList<PdfWord> inside;
    const QRectF area = place.adjusted(-0.5, -0.5, 0.5, 0.5);
    for (const PdfWord& word : words) {
        if (word.page == page && area.contains(word.rect.center()))
            inside << word;
    }
    std::stable_sort(inside.begin(), inside.end(), [](const PdfWord& a, const PdfWord& b) {
        return std::abs(a.rect.top() - b.rect.top()) > 1 ? a.rect.top() < b.rect.top()
                                                         : a.rect.left() < b.rect.left();
    });
    QString read;
    for (const PdfWord& word : inside)
        read += word.text;
    return read;
}

void fill(TestDatabase& t)
{
    Estate e = t.estate();
    for (int seed = 1; seed <= 2; ++seed) {
        e.addCleaningArea({.areaName = full("condition", "area_name", seed),
                           .charger = full("condition", "charger", seed),
                           .cycle = full("condition", "cycle", seed)});
        e.addActivity({.name = full("community", "ploy_name", seed),
                       .mainDept = full("community", "main_dept", seed),
                       .startDate = QString("2026-0%1-01").arg(seed),
                       .endDate = QString("2026-0%1-28").arg(seed),
                       .chargeMan = full("community", "charge_man", seed),
                       .ployMoney = QString("9876543.2%1").arg(seed)});
    }
}

} // namespace

void TestCleaningActivityOutput::initTestCase()
{
    installFontSubstitutions();
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QFAIL("pdftotext (poppler-utils) is needed: scripts/install-deps.sh --tests");
}

void TestCleaningActivityOutput::printedListsReadBack_data()
{
    QTest::addColumn<Opens>("opens");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("texts");  // title and captions
    QTest::addColumn<QStringList>("values"); // printed whole

    const auto bothSeeds = [](const char* table, const char* column) {
        return QStringList{full(table, column, 1), full(table, column, 2)};
    };
    QTest::newRow("cleaning areas") << Opens::Cleaning << "btnPrintDevice"
                                    << "rptConnt"
                                    << QStringList{"环境保洁", "序号", "区域名称", "负责人", "保洁周期"}
                                    << bothSeeds("condition", "area_name") +
                                           bothSeeds("condition", "charger") +
                                           bothSeeds("condition", "cycle") + QStringList{"1", "2"};
    QTest::newRow("community activities")
        << Opens::Activities << "btnPrintcomm"
        << "rptPloy"
        << QStringList{"社区活动信息", "活动名称", "主办单位", "开始日期", "结束日期", "负责人", "活动经费"}
        << bothSeeds("community", "ploy_name") + bothSeeds("community", "main_dept") +
               bothSeeds("community", "charge_man") + QStringList{"2026-01-01", "2026-01-28", "2026-02-01",
                                                                  "2026-02-28", "9876543.21", "9876543.22"};
}

void TestCleaningActivityOutput::printedListsReadBack()
{
    QFETCH(Opens, opens);
    QFETCH(QString, button);
    QFETCH(QString, layout);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, values);

    TestDatabase t;
    fill(t);
    std::unique_ptr<QWidget> screen;
    if (opens == Opens::Cleaning)
        screen = std::make_unique<CleaningScreen>(t.context(false));
    else
        screen = std::make_unique<ActivitiesScreen>(t.context(false));
    control<QPushButton>(screen.get(), qPrintable(button))->click();
    QVERIFY(t.messages().texts().isEmpty());
    QCOMPARE(t.reports().last().layoutName, layout);
    const PlacedReport& report = t.reports().last().report;

    QTemporaryDir dir;
    const QString pdf = dir.filePath(layout + ".pdf");
    QVERIFY(ReportRenderer(report).writePdf(pdf));
    const QStringList pages = pdfPageTexts(pdf);
    QCOMPARE(pages.size(), report.pages.size());
    for (const QString& text : texts)
        QVERIFY2(pages.value(0).contains(withoutBlanks(text)), qPrintable("not on the first page: " + text));
    QVERIFY(pages.last().contains("打印日期:2026-12-10"));

    const QList<PdfWord> words = pdfWords(pdf);
    const QMarginsF margins = report.pageLayout.margins(QPageLayout::Millimeter);
    for (const QString& value : values) {
        bool found = false;
        for (int p = 0; p < report.pages.size() && !found; ++p) {
            for (const PlacedText& placed : report.pages[p].texts) {
                if (placed.text != value)
                    continue;
                found = true;
                const QString read = readIn(words, p, placed.rect.translated(margins.left(), margins.top()));
                QCOMPARE(withoutBlanks(read), withoutBlanks(value));
                break;
            }
        }
        QVERIFY2(found, qPrintable("not printed whole: " + value));
    }
}

QTEST_MAIN(TestCleaningActivityOutput)
#include "tst_cleaningactivityoutput.moc"
