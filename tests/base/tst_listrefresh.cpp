#include "base/BuildingsScreen.h"
#include "base/OwnersScreen.h"
#include "charging/ChargeTypesScreen.h"
#include "db/QueryListModel.h"
#include "db/Sql.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

// Open lists follow what other windows write, without the operator pressing
// anything, and never over what the operator typed and did not store.
class TestListRefresh : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ownerAddedShowsInOtherOwnerList();
    void typedOwnerWaitsForItsStore();
    void listKeepsItsRecord();
    void manyWritesOneReadAndOwnSaveReadOnce();
    void hiddenListReadWhenShown();
    void typedCellsHoldTheGrid();
};

namespace {

QTableView* grid(const QWidget* screen, const char* name)
{
    return control<QTableView>(screen, name);
}

QueryListModel* model(const QWidget* screen, const char* name)
{
    return qobject_cast<QueryListModel*>(grid(screen, name)->model());
}

// The key of the row the grid stands on.
QVariant currentKey(const QWidget* screen, const char* name, const QString& field)
{
    const int row = grid(screen, name)->currentIndex().row();
    return row < 0 ? QVariant() : model(screen, name)->value(row, field);
}

void click(QWidget* s, const char* name)
{
    control<QPushButton>(s, name)->click();
}

// Types into a line editor as the operator would.
void type(QWidget* s, const char* name, const QString& text)
{
    auto* edit = control<QLineEdit>(s, name);
    edit->setText(text);
    emit edit->textEdited(text);
}

QString text(QWidget* s, const char* name)
{
    return control<QLineEdit>(s, name)->text();
}

void goTo(QWidget* s, const char* gridName, int row)
{
    QTableView* g = grid(s, gridName);
    g->setCurrentIndex(g->model()->index(row, 1));
}

// Lets every zero-timer and posted event run.
void settle()
{
    QTest::qWait(50);
}

} // namespace

void TestListRefresh::ownerAddedShowsInOtherOwnerList()
{
    TestDatabase t;
    Estate e = t.estate();
    e.addOwner({.name = "甲公司"});
    const qlonglong yi = e.addOwner({.name = "乙公司"});
    OwnersScreen first(t.context());
    OwnersScreen second(t.context());
    first.show();
    second.show();
    goTo(&second, "dbgOwner", 1);
    QCOMPARE(text(&second, "dbeOwnerName"), "乙公司");

    click(&first, "btnAdd");
    type(&first, "dbeOwnerName", "丙公司");
    click(&first, "btnModi");

    // In pinyin order the new owner comes first; the second window stays on its owner.
    QTRY_COMPARE(columnTexts(model(&second, "dbgOwner"), 1), (QStringList{"丙公司", "甲公司", "乙公司"}));
    QCOMPARE(currentKey(&second, "dbgOwner", "owner_id").toLongLong(), yi);
    QCOMPARE(text(&second, "dbeOwnerName"), "乙公司");

    // A change to the owner shown shows in the other window's editors too.
    goTo(&first, "dbgOwner", 2);
    type(&first, "DBEdit5", "李经理");
    click(&first, "btnModi");
    QTRY_COMPARE(text(&second, "DBEdit5"), "李经理");
    QCOMPARE(t.messages().texts(), QStringList());
}

void TestListRefresh::typedOwnerWaitsForItsStore()
{
    TestDatabase t;
    const qlonglong jia = t.estate().addOwner({.name = "甲公司"});
    OwnersScreen first(t.context());
    OwnersScreen second(t.context());
    first.show();
    second.show();
    type(&second, "DBEdit5", "张三"); // typed, not yet stored

    click(&first, "btnAdd");
    type(&first, "dbeOwnerName", "丙公司");
    click(&first, "btnModi");
    settle();
    QCOMPARE(text(&second, "DBEdit5"), "张三");
    QCOMPARE(text(&second, "dbeOwnerName"), "甲公司");
    QCOMPARE(columnTexts(model(&second, "dbgOwner"), 1), QStringList{"甲公司"});

    // Stored, the list shows what the other window wrote, still on its owner.
    click(&second, "btnModi");
    QCOMPARE(t.scalar("select linker from owner_info where owner_id = ?", {jia}).toString(), "张三");
    QCOMPARE(columnTexts(model(&second, "dbgOwner"), 1), (QStringList{"丙公司", "甲公司"}));
    QCOMPARE(currentKey(&second, "dbgOwner", "owner_id").toLongLong(), jia);
    QCOMPARE(t.messages().texts(), QStringList());
}

void TestListRefresh::listKeepsItsRecord()
{
    TestDatabase t;
    Estate e = t.estate();
    const qlonglong one = e.addBuilding("一号楼");
    const qlonglong two = e.addBuilding("二号楼");
    const qlonglong three = e.addBuilding("三号楼");
    BuildingsScreen screen(t.context());
    screen.show();
    goTo(&screen, "dbgGarden", 1);

    // The row before goes; the list stays on the building it stood on.
    sql::removeOne(t.db(), "garden", "garden_id", one);
    QTRY_COMPARE(model(&screen, "dbgGarden")->rowCount(), 2);
    QCOMPARE(currentKey(&screen, "dbgGarden", "garden_id").toLongLong(), two);

    // Renamed elsewhere: shown renamed, on the same row.
    sql::updateOne(t.db(), "garden", {{"garden_name", "二号大楼"}}, "garden_id", two);
    QTRY_COMPARE(columnTexts(model(&screen, "dbgGarden"), 1).value(0), "二号大楼");
    QCOMPARE(currentKey(&screen, "dbgGarden", "garden_id").toLongLong(), two);

    // The building stood on goes: the list stands on the one in its place.
    sql::removeOne(t.db(), "garden", "garden_id", two);
    QTRY_COMPARE(model(&screen, "dbgGarden")->rowCount(), 1);
    QCOMPARE(currentKey(&screen, "dbgGarden", "garden_id").toLongLong(), three);

    // A table the list does not read leaves it alone.
    QSignalSpy reads(model(&screen, "dbgGarden"), &QAbstractItemModel::modelReset);
    t.estate().addOwner({.name = "甲公司"});
    settle();
    QCOMPARE(reads.size(), 0);
}

void TestListRefresh::manyWritesOneReadAndOwnSaveReadOnce()
{
    TestDatabase t;
    const qlonglong jia = t.estate().addOwner({.name = "甲公司"});
    t.estate().addOwner({.name = "乙公司"});
    OwnersScreen screen(t.context());
    screen.show();
    QSignalSpy reads(model(&screen, "dbgOwner"), &QAbstractItemModel::modelReset);

    for (const char* name : {"丙公司", "丁公司", "戊公司"})
        sql::insert(t.db(), "owner_info", {{"owner_name", name}, {"in_out", "居住"}});
    QTRY_COMPARE(model(&screen, "dbgOwner")->rowCount(), 5);
    settle();
    QCOMPARE(reads.size(), 1);
    QCOMPARE(currentKey(&screen, "dbgOwner", "owner_id").toLongLong(), jia);

    // The window's own save: read once, by the save.
    reads.clear();
    type(&screen, "DBEdit5", "张三");
    click(&screen, "btnModi");
    settle();
    QCOMPARE(reads.size(), 1);

    // Leaving a changed row stores it and reads the list once, on the row chosen.
    reads.clear();
    type(&screen, "DBEdit5", "李四");
    goTo(&screen, "dbgOwner", 4);
    settle();
    QCOMPARE(reads.size(), 1);
    QCOMPARE(t.scalar("select linker from owner_info where owner_id = ?", {jia}).toString(), "李四");
    QCOMPARE(grid(&screen, "dbgOwner")->currentIndex().row(), 4);
    QCOMPARE(t.messages().texts(), QStringList());
}

void TestListRefresh::hiddenListReadWhenShown()
{
    TestDatabase t;
    t.estate().addBuilding("一号楼");
    BuildingsScreen screen(t.context());
    screen.show();
    screen.hide();
    QSignalSpy reads(model(&screen, "dbgGarden"), &QAbstractItemModel::modelReset);
    t.estate().addBuilding("二号楼");
    t.estate().addBuilding("三号楼");
    settle();
    QCOMPARE(reads.size(), 0);

    screen.show();
    QTRY_COMPARE(model(&screen, "dbgGarden")->rowCount(), 3);
    settle();
    QCOMPARE(reads.size(), 1);
}

void TestListRefresh::typedCellsHoldTheGrid()
{
    TestDatabase t;
    t.estate().addChargeType("广告位费", "0", "普通收费");
    ChargeTypesScreen first(t.context());
    ChargeTypesScreen second(t.context());
    first.show();
    second.show();
    const int rows = model(&second, "dbgGarden")->rowCount();

    // The second window has a typed price that is not stored yet.
    QAbstractItemModel* typed = model(&second, "dbgGarden");
    const int mine = rows - 1;
    QVERIFY(typed->setData(typed->index(mine, 2), "9.99"));

    click(&first, "btnAdd");
    QAbstractItemModel* adding = model(&first, "dbgGarden");
    QVERIFY(adding->setData(adding->index(rows, 1), "暖气费"));
    click(&first, "btnSave");
    QCOMPARE(t.scalar("select count(*) from charge_type").toInt(), rows + 1);
    settle();
    QCOMPARE(typed->rowCount(), rows);
    QCOMPARE(typed->index(mine, 2).data().toString(), "9.99");

    // Stored, the grid shows both.
    click(&second, "btnSave");
    QCOMPARE(typed->rowCount(), rows + 1);
    QCOMPARE(typed->index(mine, 2).data().toString(), "9.99");
    QCOMPARE(typed->index(rows, 1).data().toString(), "暖气费");
    QCOMPARE(t.messages().texts(), QStringList());
}

QTEST_MAIN(TestListRefresh)
#include "tst_listrefresh.moc"
