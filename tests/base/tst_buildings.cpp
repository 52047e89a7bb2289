#include "base/BuildingsScreen.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/Sql.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

class TestBuildings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addOneAfterAnother();
    void addRefusals_data();
    void addRefusals();
    void modifyShowsAndStores();
    void deleteRules();
    void browseOnly();
    void anotherCopyRemovedTheBuilding();
};

namespace {

struct Fixture
{
    explicit Fixture(bool canWrite = true) : screen(t.context(canWrite)) { screen.show(); }

    QTableView* grid() { return control<QTableView>(&screen, "dbgGarden"); }
    QStringList names() { return columnTexts(grid()->model(), 1); }
    QDialog* editor() { return openChild<QDialog>(&screen, "TbuildmFrm"); }
    void click(const char* name) { control<QPushButton>(&screen, name)->click(); }
    void type(const char* name, const QString& text) { control<QLineEdit>(editor(), name)->setText(text); }
    void save() { control<QPushButton>(editor(), "btnSave")->click(); }

    TestDatabase t;
    BuildingsScreen screen;
};

} // namespace

void TestBuildings::addOneAfterAnother()
{
    Fixture f;
    QAbstractItemModelTester tester(f.grid()->model());
    f.click("btnAdd");
    QDialog* editor = f.editor();
    QVERIFY(editor);
    QCOMPARE(control<QDateEdit>(editor, "dtpFinishDate")->date(), QDate(2002, 7, 10));
    QCOMPARE(control<QPushButton>(editor, "btnSave")->text(), QStringLiteral("保存 &s."));
    QCOMPARE(control<QLineEdit>(editor, "edtGardenName")->maxLength(), 30);

    f.type("edtGardenName", "  一号楼 'A' 100%  ");
    f.type("edtBuildArea", "12000.5");
    f.type("edtUseArea", " ");
    f.type("edtRoomsNum", "");
    f.type("edtDeveloper", "万达");
    f.type("edtBuilder", "中建");
    f.type("edtHigh", "80米");
    control<QPlainTextEdit>(editor, "memRemarks")->setPlainText("东侧");
    f.save();
    QVERIFY(f.t.messages().texts().isEmpty());

    QCOMPARE(f.t.scalar("select garden_name from garden").toString(), QStringLiteral("一号楼 'A' 100%"));
    QCOMPARE(f.t.scalar("select build_area from garden").toLongLong(), 1200050LL);
    QVERIFY(f.t.scalar("select use_area from garden").isNull());
    QVERIFY(f.t.scalar("select rooms_num from garden").isNull());
    QCOMPARE(f.t.scalar("select finish_date from garden").toString(), QStringLiteral("2002-07-10"));
    QCOMPARE(f.t.scalar("select remarks from garden").toString(), QStringLiteral("东侧"));

    // Ready for the next building: developer and builder stay, the date is today.
    QVERIFY(editor->isVisible());
    QCOMPARE(control<QLineEdit>(editor, "edtGardenName")->text(), QString());
    QCOMPARE(control<QLineEdit>(editor, "edtHigh")->text(), QString());
    QCOMPARE(control<QLineEdit>(editor, "edtBuildArea")->text(), QString());
    QCOMPARE(control<QPlainTextEdit>(editor, "memRemarks")->toPlainText(), QString());
    QCOMPARE(control<QLineEdit>(editor, "edtDeveloper")->text(), QStringLiteral("万达"));
    QCOMPARE(control<QLineEdit>(editor, "edtBuilder")->text(), QStringLiteral("中建"));
    QCOMPARE(control<QDateEdit>(editor, "dtpFinishDate")->date(), QDate(2026, 12, 10));

    f.type("edtGardenName", "二号楼");
    f.save();
    QCOMPARE(f.names(), (QStringList{"一号楼 'A' 100%", "二号楼"}));
    // The list shows the building just stored.
    QCOMPARE(f.grid()->currentIndex().row(), 1);
    QCOMPARE(f.grid()->model()->index(0, 5).data().toString(), QStringLiteral("12000.50"));
}

void TestBuildings::addRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("rooms");
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("isError");

    QTest::newRow("blank name") << "   "
                                << ""
                                << ""
                                << "请输入大楼名称" << false;
    QTest::newRow("name taken, blanks around") << " 一号楼 "
                                               << ""
                                               << ""
                                               << "已有此大楼的信息！" << false;
    QTest::newRow("rooms not a number") << "三号楼"
                                        << "十"
                                        << ""
                                        << "“十”不是有效的数值。" << true;
    QTest::newRow("area not a number") << "三号楼"
                                       << ""
                                       << "12,5"
                                       << "“12,5”不是有效的数值。" << true;
}

void TestBuildings::addRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, rooms);
    QFETCH(QString, area);
    QFETCH(QString, message);
    QFETCH(bool, isError);
    Fixture f;
    f.t.estate().addBuilding("一号楼");
    f.click("btnAdd");
    f.type("edtGardenName", name);
    f.type("edtRoomsNum", rooms);
    f.type("edtBuildArea", area);
    f.save();
    QCOMPARE(f.t.messages().texts(), QStringList{message});
    QCOMPARE(f.t.messages().errors().size(), isError ? 1 : 0);
    QCOMPARE(f.t.scalar("select count(*) from garden").toInt(), 1);
    QVERIFY(f.editor());
}

void TestBuildings::modifyShowsAndStores()
{
    {
        Fixture empty;
        empty.click("btnModify");
        QCOMPARE(empty.t.messages().texts(), QStringList{"请先指定修改记录！"});
        QVERIFY(!empty.editor());
    }

    TestDatabase t;
    t.exec("insert into garden (garden_name, build_area, rooms_num, finish_date, developer) "
           "values ('一号楼', 50025, 12, '1999-01-02', '万达')");
    t.estate().addBuilding("二号楼");
    BuildingsScreen screen(t.context());
    auto* grid = control<QTableView>(&screen, "dbgGarden");
    emit grid->doubleClicked(grid->model()->index(0, 1));
    QDialog* editor = openChild<QDialog>(&screen, "TbuildmFrm");
    QVERIFY(editor);
    QCOMPARE(control<QPushButton>(editor, "btnSave")->text(), QStringLiteral("保存 &S."));
    QCOMPARE(control<QLineEdit>(editor, "edtGardenName")->text(), QStringLiteral("一号楼"));
    QCOMPARE(control<QLineEdit>(editor, "edtBuildArea")->text(), QStringLiteral("500.25"));
    QCOMPARE(control<QLineEdit>(editor, "edtRoomsNum")->text(), QStringLiteral("12"));
    QCOMPARE(control<QDateEdit>(editor, "dtpFinishDate")->date(), QDate(1999, 1, 2));

    // Another building's name may be given in modify mode.
    control<QLineEdit>(editor, "edtGardenName")->setText("二号楼");
    control<QLineEdit>(editor, "edtRoomsNum")->setText("");
    control<QPushButton>(editor, "btnSave")->click();
    QVERIFY(t.messages().texts().isEmpty());
    QVERIFY(editor->isVisible());
    QCOMPARE(t.scalar("select count(*) from garden where garden_name = '二号楼'").toInt(), 2);
    QVERIFY(t.scalar("select rooms_num from garden where garden_id = 1").isNull());
    QCOMPARE(t.scalar("select developer from garden where garden_id = 1").toString(), QStringLiteral("万达"));
    QCOMPARE(t.scalar("select finish_date from garden where garden_id = 1").toString(),
             QStringLiteral("1999-01-02"));
    QCOMPARE(columnTexts(grid->model(), 1), (QStringList{"二号楼", "二号楼"}));
}

void TestBuildings::deleteRules()
{
    TestDatabase t;
    Estate e = t.estate();
    e.addRoom({.id = "101", .building = e.addBuilding("一号楼")});
    e.addBuilding("二号楼");
    BuildingsScreen screen(t.context());
    auto* grid = control<QTableView>(&screen, "dbgGarden");

    t.messages().answerConfirm(false);
    control<QPushButton>(&screen, "btnDel")->click();
    QCOMPARE(t.messages().shown().size(), 1);
    QCOMPARE(t.messages().shown()[0].caption, QStringLiteral("提醒"));
    QCOMPARE(t.messages().shown()[0].text, QStringLiteral("确实要删除此任务吗?"));
    QCOMPARE(t.scalar("select count(*) from garden").toInt(), 2);

    t.messages().clear();
    control<QPushButton>(&screen, "btnDel")->click(); // the first building has a room
    QCOMPARE(t.messages().lastText(), QStringLiteral("此幢大楼拥有房间记录，请先删除房间记录！"));
    QCOMPARE(t.scalar("select count(*) from garden").toInt(), 2);

    grid->selectRow(1);
    control<QPushButton>(&screen, "btnDel")->click();
    QCOMPARE(columnTexts(grid->model(), 1), QStringList{"一号楼"});
    QCOMPARE(t.scalar("select count(*) from garden").toInt(), 1);
}

void TestBuildings::browseOnly()
{
    TestDatabase t;
    t.estate().addBuilding("一号楼");
    BuildingsScreen screen(t.context(false));
    QVERIFY(!control<QPushButton>(&screen, "btnAdd")->isEnabled());
    QVERIFY(!control<QPushButton>(&screen, "btnDel")->isEnabled());
    control<QPushButton>(&screen, "btnModify")->click();
    QDialog* editor = openChild<QDialog>(&screen, "TbuildmFrm");
    QVERIFY(editor);
    QCOMPARE(control<QLineEdit>(editor, "edtGardenName")->text(), QStringLiteral("一号楼"));
    QVERIFY(!control<QPushButton>(editor, "btnSave")->isEnabled());
}

// A building another copy deleted meanwhile: neither a change nor a delete passes
// for done; the operator is told and the list shows what is there now.
void TestBuildings::anotherCopyRemovedTheBuilding()
{
    TestDatabase t;
    t.estate().addBuilding("一号楼");
    t.estate().addBuilding("二号楼");
    BuildingsScreen screen(t.context());
    auto* grid = control<QTableView>(&screen, "dbgGarden");
    grid->selectRow(1);
    control<QPushButton>(&screen, "btnModify")->click();
    QDialog* editor = openChild<QDialog>(&screen, "TbuildmFrm");
    QVERIFY(editor);
    QString error;
    {
        QSqlDatabase other = database::open(t.path(), "other copy", &error);
        QVERIFY(error.isEmpty());
        sql::exec(other, "delete from garden where garden_id = 2");
    }
    QSqlDatabase::removeDatabase("other copy");

    control<QLineEdit>(editor, "edtHigh")->setText("30米");
    control<QPushButton>(editor, "btnSave")->click();
    const QString gone = "该记录已被其他用户删除或修改，请刷新后重试。";
    QCOMPARE(t.messages().errors(), QStringList{gone});
    QCOMPARE(t.scalar("select count(*) from garden").toInt(), 1);
    editor->close();

    t.messages().clear();
    control<QPushButton>(&screen, "btnDel")->click();
    QCOMPARE(t.messages().texts(), (QStringList{"确实要删除此任务吗?", gone}));
    QCOMPARE(columnTexts(grid->model(), 1), QStringList{"一号楼"});
}

QTEST_MAIN(TestBuildings)
#include "tst_buildings.moc"
