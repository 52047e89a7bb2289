#include "db/Schema.h"
#include "output/Fonts.h"
#include "output/PdfText.h"
#include "output/ReportRenderer.h"
#include "services/CustomerServiceScreen.h"
#include "services/DevicesScreen.h"
#include "services/SecurityScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The printed lists of the property services as the screens print them: written
// to PDF from an estate whose texts fill their columns, and read back with
// pdftotext. Every list reads back with its title and captions, and every value
// whole, within its own place on the page.
class TestServiceOutput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void printedListsReadBack_data();
    void printedListsReadBack();

private:
    TestDatabase* t = nullptr;
};

namespace {

enum class Opens { CustomerService, Devices, Security };

// Characters the office's texts are made of, in the installed Chinese font.
const QString kPool =
    QStringLiteral("物业管理服务中心维修保养检查记录安全消防设备电梯水泵配电照明空调通风给排水绿化保洁"
                   "停车收费客户投诉装修公司执照联系地址审批事件处理结果片区等级地点负责人周期华美");

// A text as long as its column holds, different for each seed.
QString full(const char* table, const char* column, int seed = 0)
{
    const int length = schema::maxLength(QString::fromLatin1(table), QString::fromLatin1(column));
    QString text;
    for (int i = 0; i < length; ++i)
        text += kPool[(seed * 11 + i * 7) % kPool.size()];
    return text;
}

// A telephone number as long as its column holds.
QString digits(const char* table, const char* column, int seed = 0)
{
    const int length = schema::maxLength(QString::fromLatin1(table), QString::fromLatin1(column));
    QString text = QStringLiteral("0755-");
    for (int i = text.size(); i < length; ++i)
        text += QChar(u'0' + (seed + i) % 10);
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

} // namespace

void TestServiceOutput::initTestCase()
{
    installFontSubstitutions();
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QFAIL("pdftotext (poppler-utils) is needed: scripts/install-deps.sh --tests");
}

void TestServiceOutput::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    for (int seed = 1; seed <= 2; ++seed) {
        const qlonglong owner = e.addOwner({.name = full("owner_info", "owner_name", seed)});
        e.addService({.owner = owner,
                      .worker = full("service", "worker", seed),
                      .materialMoney = "12345678.91",
                      .serveMoney = "98765432.10",
                      .needMaterial = full("service", "need_material", seed),
                      .ownerCheck = full("service", "owner_check", seed)});
        e.addComplaint({.owner = owner,
                        .name = full("advice", "advice_name", seed),
                        .time = "2026-11-05",
                        .serveName = full("advice", "serve_name", seed),
                        .revertType = full("advice", "revert_type", seed),
                        .satisfy = full("advice", "satisfy", seed)});
        e.addFitOut({.owner = QString::number(owner),
                     .company = full("fitment", "company_name", seed),
                     .startDate = "2026-10-01",
                     .endDate = "2026-12-31",
                     .tel = digits("fitment", "fit_tel", seed),
                     .address = full("fitment", "address", seed)});
    }
    const qlonglong kind = e.addDeviceType(full("dev_type", "type_name"));
    for (int seed = 1; seed <= 2; ++seed) {
        const qlonglong device = e.addDevice({.type = kind,
                                              .number = QString("DT-%1").arg(seed, 17, 10, QChar('0')),
                                              .name = full("device", "dev_name", seed),
                                              .factory = full("device", "factory", seed),
                                              .linkTel = digits("device", "link_tel", seed),
                                              .palace = full("device", "palace", seed)});
        if (seed == 1) {
            for (int r = 1; r <= 2; ++r)
                e.addRepair({.device = device,
                             .faultDesc = "门不关",
                             .faultTime = "2026-11-01 08:15:00",
                             .finishTime = "2026-11-02 17:45:00",
                             .result = full("repair", "result", r),
                             .money = "76543210.98"});
        }
        e.addEvent({.name = full("event", "event_name", seed),
                    .type = full("event", "event_type", seed),
                    .dealMan = full("event", "deal_man", seed),
                    .takeTime = "2026-11-02",
                    .address = full("event", "take_address", seed)});
        e.addFireZone({.areaName = full("fire_area", "area_name", seed),
                       .grade = full("fire_area", "grade", seed),
                       .address = full("fire_area", "address", seed),
                       .cycle = full("fire_area", "cycle", seed),
                       .fireman = full("fire_area", "fireman", seed)});
    }
}

void TestServiceOutput::cleanup()
{
    delete t;
}

void TestServiceOutput::printedListsReadBack_data()
{
    QTest::addColumn<Opens>("opens");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("texts");  // title and captions
    QTest::addColumn<QStringList>("values"); // printed whole

    QStringList owners{full("owner_info", "owner_name", 1), full("owner_info", "owner_name", 2)};
    const auto bothSeeds = [](const char* table, const char* column) {
        return QStringList{full(table, column, 1), full(table, column, 2)};
    };

    QTest::newRow("service jobs") << Opens::CustomerService << 0 << "btnPrint"
                                  << "rptServe"
                                  << QStringList{"住户服务资料", "住户名称", "服务人",  "材料费",
                                                 "服务费",       "所需材料", "用户验收"}
                                  << owners + bothSeeds("service", "worker") +
                                         bothSeeds("service", "need_material") +
                                         bothSeeds("service", "owner_check") +
                                         QStringList{"12345678.91", "98765432.10"};
    QTest::newRow("complaints") << Opens::CustomerService << 1 << "btnPrintAdvice"
                                << "rptAdvice"
                                << QStringList{"客户投诉信息", "住户名称", "投诉对象", "投诉时间",
                                               "回访方式",     "满意程度", "处理人"}
                                << owners + bothSeeds("advice", "advice_name") +
                                       bothSeeds("advice", "revert_type") + bothSeeds("advice", "satisfy") +
                                       bothSeeds("advice", "serve_name") + QStringList{"2026-11-05"};
    QTest::newRow("fit-out permits") << Opens::CustomerService << 2 << "btnFit"
                                     << "rptFitMent"
                                     << QStringList{"二次装修信息", "住户名称", "装修地址", "装修公司",
                                                    "联系电话",     "起始日期", "结束日期"}
                                     << owners + bothSeeds("fitment", "address") +
                                            bothSeeds("fitment", "company_name") +
                                            QStringList{digits("fitment", "fit_tel", 1),
                                                        digits("fitment", "fit_tel", 2), "2026-10-01",
                                                        "2026-12-31"};
    QTest::newRow("devices") << Opens::Devices << 0 << "btnPrintDevice"
                             << "rptDevice"
                             << QStringList{"工程设备一览表", "设备类别", "设备名称", "设备编号",
                                            "生产厂家",       "厂家电话", "安装位置"}
                             << QStringList{full("dev_type", "type_name"),
                                            QString("DT-%1").arg(1, 17, 10, QChar('0')),
                                            QString("DT-%1").arg(2, 17, 10, QChar('0')),
                                            digits("device", "link_tel", 1),
                                            digits("device", "link_tel", 2)} +
                                    bothSeeds("device", "dev_name") + bothSeeds("device", "factory") +
                                    bothSeeds("device", "palace");
    QTest::newRow("repairs") << Opens::Devices << 1 << "BitBtn3"
                             << "rptRepair" << QStringList{"故障维修信息", "设备编号", "维修序号", "故障时间",
                                                           "完成时间",     "维修费用", "结果"}
                             << QStringList{QString("DT-%1").arg(1, 17, 10, QChar('0')), "2026-11-01 08:15",
                                            "2026-11-02 17:45", "76543210.98"} +
                                    bothSeeds("repair", "result");
    QTest::newRow("security events") << Opens::Security << 0 << "btnPrintEvent"
                                     << "rptEvent" << QStringList{"重大事件一览表", "事件名称", "事件类型",
                                                                  "处理人",         "发生时间", "发生地点"}
                                     << bothSeeds("event", "event_name") + bothSeeds("event", "event_type") +
                                            bothSeeds("event", "deal_man") +
                                            bothSeeds("event", "take_address") + QStringList{"2026-11-02"};
    QTest::newRow("fire zones") << Opens::Security << 1 << "btnPrintArea"
                                << "rptFire" << QStringList{"消防片区资料", "片区名", "消防等级",
                                                            "消防地点",     "负责人", "查验周期"}
                                << bothSeeds("fire_area", "area_name") + bothSeeds("fire_area", "grade") +
                                       bothSeeds("fire_area", "address") + bothSeeds("fire_area", "fireman") +
                                       bothSeeds("fire_area", "cycle");
}

void TestServiceOutput::printedListsReadBack()
{
    QFETCH(Opens, opens);
    QFETCH(int, page);
    QFETCH(QString, button);
    QFETCH(QString, layout);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, values);

    std::unique_ptr<QWidget> screen;
    switch (opens) {
    case Opens::CustomerService:
        screen = std::make_unique<CustomerServiceScreen>(t->context(false));
        break;
    case Opens::Devices:
        screen = std::make_unique<DevicesScreen>(t->context(false));
        break;
    case Opens::Security:
        screen = std::make_unique<SecurityScreen>(t->context(false));
        break;
    }
    control<QTabWidget>(screen.get(), "PageControl1")->setCurrentIndex(page);
    control<QPushButton>(screen.get(), qPrintable(button))->click();
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(t->reports().last().layoutName, layout);
    const PlacedReport& report = t->reports().last().report;

    QTemporaryDir dir;
    const QString pdf = dir.filePath(layout + ".pdf");
    QVERIFY(ReportRenderer(report).writePdf(pdf));
    const QStringList pages = pdfPageTexts(pdf);
    QCOMPARE(pages.size(), report.pages.size());
    for (const QString& text : texts)
        QVERIFY2(pages.value(0).contains(withoutBlanks(text)), qPrintable("not on the first page: " + text));
    QVERIFY(pages.last().contains("打印日期:2026-12-10"));

    // Each value whole in its own place: the words there read the value, no more and no less.
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

QTEST_MAIN(TestServiceOutput)
#include "tst_serviceoutput.moc"
