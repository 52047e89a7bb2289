#include "base/OwnerDetailScreen.h"
#include "base/OwnersScreen.h"
#include "base/RoomsScreen.h"
#include "db/PinyinCollation.h"
#include "output/Fonts.h"
#include "output/SpreadsheetProgram.h"
#include "output/WorkbookReader.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The lists of the base screens as they reach the workbook and the printed page.
class TestBaseOutput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }
    void init();
    void cleanup();
    void roomsExportTheFilteredList();
    void emptyListsExportNothing();
    void ownersExport();
    void ownersPrintTheListAsShown();
    void ownerDetailExportsEveryLink();
    void ownersInPinyinOrderEverywhere();

private:
    TestDatabase* t = nullptr;
};

namespace {

QString cellText(const WorkbookReader& book, const QString& ref)
{
    const std::optional<WorkbookReader::Cell> c = book.cell(ref);
    return c ? c->text : QString();
}

QStringList rowTexts(const WorkbookReader& book, int row)
{
    QStringList texts;
    for (const QString& ref : book.cellsOfRow(row))
        texts << cellText(book, ref);
    return texts;
}

bool isTextCell(const WorkbookReader& book, const QString& ref)
{
    const QString type = book.cell(ref).value_or(WorkbookReader::Cell{}).type;
    return type == "s" || type == "inlineStr" || type == "str";
}

} // namespace

void TestBaseOutput::init()
{
    t = new TestDatabase;
    registerPinyinCollation(t->db());
    Estate e = t->estate();
    const qlonglong one = e.addBuilding("一号楼");
    const qlonglong two = e.addBuilding("二号楼");
    e.addRoom({.id = "00123", .building = one, .buildArea = "100.50", .useState = "公司", .match = "空调"});
    e.addRoom({.id = "201", .building = one, .buildArea = "80"});
    e.addRoom({.id = "B01", .building = two, .buildArea = "50"});
    const qlonglong yi = e.addOwner({.name = "乙公司",
                                     .linker = "李四",
                                     .linkTel = "0551-001",
                                     .inDate = "2026-03-01",
                                     .jjlink = "王五",
                                     .bailMoney = "1500.50",
                                     .credit = "良好"});
    const qlonglong jia = e.addOwner({.name = "甲公司", .linkTel = "00123", .bailMoney = "200"});
    const qlonglong bing = e.addOwner({.name = "丙公司", .inOut = "搬出"});
    e.linkRoom(yi, "00123", "主楼");
    e.linkRoom(bing, "B01");
    e.linkRoom(jia, "201");
}

void TestBaseOutput::cleanup()
{
    delete t;
}

void TestBaseOutput::roomsExportTheFilteredList()
{
    RoomsScreen screen(t->context());
    auto* combo = control<QComboBox>(&screen, "cmbGarden");
    combo->setCurrentIndex(0);
    emit combo->textActivated("一号楼");
    control<QTableView>(&screen, "dbgRoom")->selectRow(1);
    control<QPushButton>(&screen, "Btnexcela")->click();

    QCOMPARE(t->desktop().opened().size(), 1);
    const WorkbookReader book(t->desktop().opened().first());
    QVERIFY(book.isValid());
    QCOMPARE(cellText(book, "A1"), QStringLiteral("物业管理系统房间资料"));
    QCOMPARE(book.merges(), QStringList{"A1:M1"});
    QCOMPARE(int(book.column(1)->width), 10); // the writer adds its padding
    QCOMPARE(rowTexts(book, 3), (QStringList{"房号", "使用状态", "建筑面积", "使用面积", "房屋类型", "朝向",
                                             "楼层", "装修情况", "配套设施"}));
    QCOMPARE(book.lastRow(), 5); // only the rooms of the chosen building
    QCOMPARE(cellText(book, "A4"), QStringLiteral("00123"));
    QVERIFY(isTextCell(book, "A4"));
    QCOMPARE(cellText(book, "C4"), QStringLiteral("100.50"));
    QVERIFY(isTextCell(book, "C4"));
    QCOMPARE(cellText(book, "A5"), QStringLiteral("201"));
    // As the spreadsheet program shows it: texts keep their zeros and decimals.
    const QList<QStringList> sheet = spreadsheetProgramRows(t->desktop().opened().first());
    QCOMPARE(sheet.value(0).value(0), QStringLiteral("物业管理系统房间资料"));
    QCOMPARE(sheet.value(2), rowTexts(book, 3));
    QCOMPARE(sheet.value(3), (QStringList{"00123", "公司", "100.50", "", "", "", "", "", "空调"}));
    QCOMPARE(sheet.size(), 5);
    // Back on the first room.
    QCOMPARE(control<QTableView>(&screen, "dbgRoom")->currentIndex().row(), 0);
}

void TestBaseOutput::emptyListsExportNothing()
{
    t->exec("delete from owner_rooms where owner_id = 2");
    RoomsScreen rooms(t->context());
    auto* combo = control<QComboBox>(&rooms, "cmbGarden");
    combo->lineEdit()->setText("三号楼");
    emit combo->lineEdit()->textEdited("三号楼");
    control<QPushButton>(&rooms, "Btnexcela")->click();

    // The owner detail looks at the links of the owner chosen; a new row with
    // nothing typed is no link.
    OwnerDetailScreen detail(t->context());
    control<QTableView>(&detail, "dbgOwner")->selectRow(1); // 甲公司, no links left
    control<QPushButton>(&detail, "Btnexcela")->click();
    control<QPushButton>(&detail, "btnAddRoom")->click();
    control<QPushButton>(&detail, "Btnexcela")->click();

    QCOMPARE(t->messages().errors(),
             (QStringList{"没有数据可打印！", "没有数据可打印！", "没有数据可打印！"}));
    QVERIFY(t->desktop().opened().isEmpty());
}

void TestBaseOutput::ownersExport()
{
    OwnersScreen screen(t->context());
    control<QCheckBox>(&screen, "cbxAll")->setChecked(true);
    control<QPushButton>(&screen, "Btnexcela")->click();
    const WorkbookReader book(t->desktop().opened().first());
    QCOMPARE(cellText(book, "A1"), QStringLiteral("物业管理系统住户资料"));
    QCOMPARE(book.merges(), QStringList{"A1:M1"});
    QCOMPARE(int(book.column(1)->width), 16);  // the writer adds its padding
    QCOMPARE(int(book.column(2)->width), 6);   // the writer adds its padding
    QCOMPARE(int(book.column(10)->width), 10); // the writer adds its padding
    QCOMPARE(rowTexts(book, 3).size(), 11);
    QCOMPARE(cellText(book, "F3"), QStringLiteral("迁入日期"));
    // Three owners in rows 4 to 6, in the list's order: by pinyin, bing, jia, yi.
    QCOMPARE(book.lastRow(), 6);
    QCOMPARE(cellText(book, "A4"), QStringLiteral("丙公司"));
    QCOMPARE(cellText(book, "A5"), QStringLiteral("甲公司"));
    QCOMPARE(cellText(book, "E5"), QStringLiteral("00123"));
    QVERIFY(isTextCell(book, "E5"));
    // The move-in date is a real date; a missing one an empty cell.
    const WorkbookReader::Cell date = *book.cell("F6");
    QVERIFY(!isTextCell(book, "F6"));
    QCOMPARE(book.style(date.style).numberFormat.toLower(), QStringLiteral("yyyy-mm-dd"));
    QVERIFY(cellText(book, "F5").isEmpty());
    const QList<QStringList> sheet = spreadsheetProgramRows(t->desktop().opened().first());
    QCOMPARE(sheet.value(4), (QStringList{"甲公司", "居住", "", "", "00123"})); // no move-in date
    QCOMPARE(sheet.value(5).mid(0, 6),
             (QStringList{"乙公司", "居住", "李四", "良好", "0551-001", "2026-03-01"}));
    QCOMPARE(sheet.size(), 6);
}

void TestBaseOutput::ownersPrintTheListAsShown()
{
    OwnersScreen screen(t->context());
    control<QPushButton>(&screen, "btnPrint")->click();
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(t->reports().last().layoutName, QStringLiteral("rptOwner"));
    const QStringList texts = t->reports().pageTexts(0);
    QVERIFY(texts.contains("住户信息一览表"));
    // Current occupants only, sorted as on screen, counted and summed.
    QVERIFY(texts.indexOf("甲公司") >= 0 && texts.indexOf("甲公司") < texts.indexOf("乙公司"));
    QVERIFY(!texts.contains("丙公司"));
    const int count = texts.indexOf("总住户数:");
    QVERIFY(count >= 0);
    QCOMPARE(texts.at(count + 1), QStringLiteral("2"));
    QVERIFY(texts.contains("1700.50"));
}

void TestBaseOutput::ownerDetailExportsEveryLink()
{
    OwnerDetailScreen screen(t->context());
    // A link typed but not saved yet is stored once, then exported.
    control<QPushButton>(&screen, "btnAddRoom")->click();
    auto* links = control<QTableView>(&screen, "dbgRelation");
    QVERIFY(links->model()->setData(links->model()->index(1, 1), "201"));
    control<QPushButton>(&screen, "Btnexcela")->click();
    QCOMPARE(t->scalar("select count(*) from owner_rooms where owner_id = 1").toInt(), 2);
    const WorkbookReader book(t->desktop().opened().first());
    QCOMPARE(cellText(book, "A1"), QStringLiteral("物业管理系统住户资料"));
    QCOMPARE(book.merges(), QStringList{"A1:F1"});
    QCOMPARE(rowTexts(book, 3), (QStringList{"单位名称", "房号", "备注"}));
    // The links of all owners in the order they were made; a moved-out owner's
    // link has no name, as that owner is not in the list.
    QCOMPARE(rowTexts(book, 4), (QStringList{"乙公司", "00123", "主楼"}));
    QCOMPARE(cellText(book, "A5"), QString());
    QCOMPARE(cellText(book, "B5"), QStringLiteral("B01"));
    QCOMPARE(cellText(book, "A6"), QStringLiteral("甲公司"));
    QCOMPARE(rowTexts(book, 7), (QStringList{"乙公司", "201", ""}));
    QCOMPARE(book.lastRow(), 7);
    // Written as they are: a room number keeps its zeros, as a number would not.
    const QList<QStringList> sheet = spreadsheetProgramRows(t->desktop().opened().first());
    QCOMPARE(sheet.value(3), (QStringList{"乙公司", "00123", "主楼"}));
    QCOMPARE(sheet.value(4), (QStringList{"", "B01"}));
    QCOMPARE(sheet.size(), 7);
    // The page shows the chosen owner's links again, the room "201" once.
    QCOMPARE(columnTexts(links->model(), 1), (QStringList{"00123", "201"}));
}

// The owner register lists its owners by pinyin, Latin names after the Chinese
// ones: the grid, the printed list and the workbook in the same order.
void TestBaseOutput::ownersInPinyinOrderEverywhere()
{
    Estate e = t->estate();
    for (const QString name : {"中", "O'Brien", "万", "华", "100%", "保", "阿"})
        e.addOwner({.name = name});
    const QStringList ordered{"100%", "阿", "保", "华", "甲公司", "万", "乙公司", "中", "O'Brien"};

    OwnersScreen screen(t->context());
    QCOMPARE(columnTexts(control<QTableView>(&screen, "dbgOwner")->model(), 1), ordered);

    control<QPushButton>(&screen, "btnPrint")->click();
    QStringList printed;
    for (const QString& text : t->reports().pageTexts(0)) {
        if (ordered.contains(text))
            printed << text;
    }
    QCOMPARE(printed, ordered);

    control<QPushButton>(&screen, "Btnexcela")->click();
    QStringList exported;
    for (const QStringList& row : spreadsheetProgramRows(t->desktop().opened().first()).mid(3))
        exported << row.value(0);
    QCOMPARE(exported, ordered);
}

QTEST_MAIN(TestBaseOutput)
#include "tst_baseoutput.moc"
