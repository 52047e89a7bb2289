#include "base/MembersPage.h"
#include "base/OwnerDetailScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

class TestOwnerDetail : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void listsFollowTheOwner();
    void search();
    void roomLinks();
    void roomLinkStoredWhenMovingOn();
    void members();
    void carsContinuousEntry();
    void parkingNumbers();
    void gridEditorTextIsTakenOrUndone();
    void roomNumberOffersTheRooms();
    void newCarKeepsWhatWasTyped();
    void noOwnerNothingToAdd();
    void browseOnly();

private:
    TestDatabase* t = nullptr;
};

namespace {

QTableView* grid(QWidget* s, const char* name)
{
    return control<QTableView>(s, name);
}

void click(QWidget* s, const char* name)
{
    control<QPushButton>(s, name)->click();
}

void selectOwner(QWidget* s, int row)
{
    grid(s, "dbgOwner")->selectRow(row);
}

// Types into a cell of the room-link grid.
void typeCell(QWidget* s, int row, int column, const QString& text)
{
    auto* view = grid(s, "dbgRelation");
    QVERIFY(view->model()->setData(view->model()->index(row, column), text));
}

int rows(QWidget* s, const char* name)
{
    return grid(s, name)->model()->rowCount();
}

} // namespace

void TestOwnerDetail::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    const qlonglong first = e.addOwner({.name = "甲公司"}); // 1
    e.addOwner({.name = "乙公司", .inOut = "搬出"});        // 2
    e.addOwner({.name = "丙公司"});                         // 3
    e.addRoom({.id = "101", .building = e.addBuilding("一号楼")});
    e.linkRoom(first, "101", "主楼");
    e.addMember(first, "小王", "男");
    e.addMember(first, "小李", QVariant());
    e.addCar(first, "粤A12345", " 白色 ");
    e.addParkingPlace(first, "P-01");
}

void TestOwnerDetail::cleanup()
{
    delete t;
}

void TestOwnerDetail::listsFollowTheOwner()
{
    OwnerDetailScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QStringLiteral("住户资料"));
    QCOMPARE(columnTexts(grid(&screen, "dbgOwner")->model(), 1), (QStringList{"甲公司", "丙公司"}));
    auto* tabs = control<QTabWidget>(&screen, "PageControl1");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(3), QStringLiteral(" 车位"));

    QCOMPARE(columnTexts(grid(&screen, "dbgRelation")->model(), 1), QStringList{"101"});
    QCOMPARE(columnTexts(grid(&screen, "dbgMember")->model(), 1), (QStringList{"小王", "小李"}));
    QCOMPARE(columnTexts(grid(&screen, "DBGrid1")->model(), 1), QStringList{"粤A12345"});
    QCOMPARE(columnTexts(grid(&screen, "DBGrid2")->model(), 1), QStringList{"P-01"});
    QCOMPARE(control<QLineEdit>(&screen, "edtCarNo")->text(), QStringLiteral("粤A12345"));
    // The remark of a car is shown as stored.
    QCOMPARE(control<QPlainTextEdit>(&screen, "memRemarkCar")->toPlainText(), QStringLiteral(" 白色 "));

    selectOwner(&screen, 1);
    for (const char* name : {"dbgRelation", "dbgMember", "DBGrid1", "DBGrid2"})
        QCOMPARE(rows(&screen, name), 0);
    QCOMPARE(control<QLineEdit>(&screen, "edtCarNo")->text(), QString());
}

void TestOwnerDetail::search()
{
    OwnerDetailScreen screen(t->context());
    t->messages().answerText("丙");
    click(&screen, "btnQuery");
    QCOMPARE(t->messages().shown()[0].text, QStringLiteral("请输入单位公司名称:"));
    QCOMPARE(grid(&screen, "dbgOwner")->currentIndex().row(), 1);

    // A moved-out owner is not found; the position stays.
    t->messages().answerText("乙");
    click(&screen, "btnQuery");
    QCOMPARE(grid(&screen, "dbgOwner")->currentIndex().row(), 1);
    t->messages().answerText(std::nullopt);
    click(&screen, "btnQuery");
    QCOMPARE(t->messages().lastText(), QStringLiteral("请先填写住户名称！"));
}

void TestOwnerDetail::roomLinks()
{
    OwnerDetailScreen screen(t->context());
    selectOwner(&screen, 1);       // 丙公司
    click(&screen, "btnSaveRoom"); // no links: nothing happens
    QVERIFY(t->messages().texts().isEmpty());

    // The same room may be linked to a second owner; a number of no room is kept
    // and reported.
    click(&screen, "btnAddRoom");
    typeCell(&screen, 0, 1, "101");
    typeCell(&screen, 0, 2, "分租");
    click(&screen, "btnAddRoom");
    typeCell(&screen, 1, 1, " 999 ");
    click(&screen, "btnSaveRoom");
    QCOMPARE(t->messages().texts(), QStringList{"房号999不存在，请确认!"});
    QCOMPARE(t->scalar("select count(*) from owner_rooms where room_id = '101'").toInt(), 2);
    QCOMPARE(t->scalar("select group_concat(room_id || ':' || coalesce(relation_desc, '') || ':' || "
                       "if_manage) from owner_rooms "
                       "where owner_id = 3")
                 .toString(),
             QStringLiteral("101:分租:是,999::是"));
    QCOMPARE(columnTexts(grid(&screen, "dbgRelation")->model(), 1), (QStringList{"101", "999"}));

    // Changing a link and deleting one.
    t->messages().clear();
    typeCell(&screen, 1, 1, "101");
    click(&screen, "btnSaveRoom");
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(t->scalar("select count(*) from owner_rooms where owner_id = 3 and room_id = '999'").toInt(), 0);
    grid(&screen, "dbgRelation")->selectRow(0);
    click(&screen, "btnDelRoom");
    QCOMPARE(t->messages().shown().constLast().text, QStringLiteral("确实要删除此记录吗?"));
    QCOMPARE(t->scalar("select count(*) from owner_rooms where owner_id = 3").toInt(), 1);
    QCOMPARE(t->scalar("select count(*) from rooms_info").toInt(), 1);
}

void TestOwnerDetail::roomLinkStoredWhenMovingOn()
{
    OwnerDetailScreen screen(t->context());
    click(&screen, "btnAddRoom");
    typeCell(&screen, 1, 1, "101");
    selectOwner(&screen, 1);
    QCOMPARE(t->scalar("select count(*) from owner_rooms where owner_id = 1").toInt(), 2);

    // A new row with nothing typed is no link.
    click(&screen, "btnAddRoom");
    selectOwner(&screen, 0);
    QCOMPARE(t->scalar("select count(*) from owner_rooms where owner_id = 3").toInt(), 0);
    QVERIFY(t->messages().texts().isEmpty());
}

void TestOwnerDetail::members()
{
    OwnerDetailScreen screen(t->context());
    grid(&screen, "dbgMember")->selectRow(1);
    click(&screen, "btnSaveMem");
    QDialog* editor = openChild<QDialog>(&screen, "TmemberFrm");
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), QStringLiteral("成员信息"));
    QCOMPARE(control<QPushButton>(editor, "btnSave")->text(), QStringLiteral("保存 &S."));
    QCOMPARE(control<QLineEdit>(editor, "edtName")->text(), QStringLiteral("小李"));
    QVERIFY(!control<QLineEdit>(editor, "edtID")->isEnabled());
    // A stored sex other than 男 shows 女.
    QCOMPARE(editor->findChild<QButtonGroup*>()->checkedButton()->text(), QStringLiteral("女"));
    control<QLineEdit>(editor, "edtDuty")->setText("经理");
    control<QPushButton>(editor, "btnSave")->click();
    QCOMPARE(t->scalar("select sex || duty from member where member_name = '小李'").toString(),
             QStringLiteral("女经理"));
    editor->close();

    selectOwner(&screen, 1);
    click(&screen, "btnSaveMem");
    QCOMPARE(t->messages().texts(), QStringList{"请选择需要修改的记录！"});

    click(&screen, "btnAddMem");
    editor = openChild<QDialog>(&screen, "TmemberFrm");
    QCOMPARE(control<QPushButton>(editor, "btnSave")->text(), QStringLiteral("保存(&A)"));
    control<QPushButton>(editor, "btnSave")->click();
    QCOMPARE(t->messages().lastText(), QStringLiteral("请填写姓名！"));
    control<QLineEdit>(editor, "edtName")->setText(" 小张 ");
    editor->findChildren<QRadioButton*>()[1]->setChecked(true);
    control<QComboBox>(editor, "cmbDegree")->setEditText("大学");
    control<QPushButton>(editor, "btnSave")->click();
    QCOMPARE(t->scalar("select owner_id || sex || degree from member where member_name = '小张'").toString(),
             QStringLiteral("3女大学"));
    QVERIFY(t->scalar("select birthday from member where member_name = '小张'").isNull());
    // Ready for the next member: sex kept, birthday today.
    QCOMPARE(control<QLineEdit>(editor, "edtName")->text(), QString());
    QCOMPARE(control<QComboBox>(editor, "cmbDegree")->currentText(), QString());
    QCOMPARE(editor->findChild<QButtonGroup*>()->checkedButton()->text(), QStringLiteral("女"));
    QCOMPARE(control<QDateEdit>(editor, "dtpBirthday")->date(), QDate(2026, 12, 10));
    QCOMPARE(columnTexts(grid(&screen, "dbgMember")->model(), 1), QStringList{"小张"});
    editor->close();

    click(&screen, "btnDelMem");
    QCOMPARE(t->scalar("select count(*) from member where owner_id = 3").toInt(), 0);
}

void TestOwnerDetail::carsContinuousEntry()
{
    OwnerDetailScreen screen(t->context());
    selectOwner(&screen, 1); // 丙公司, no cars
    click(&screen, "btnAddCar");
    click(&screen, "btnSaveCar");
    QCOMPARE(t->messages().texts(), QStringList{"请先填写车牌号!"});

    control<QLineEdit>(&screen, "edtCarNo")->setText(" 粤B00001 ");
    control<QLineEdit>(&screen, "edtDriver")->setText("老刘");
    control<QPlainTextEdit>(&screen, "memRemarkCar")->setPlainText(" 夜间停放 ");
    click(&screen, "btnSaveCar");
    QCOMPARE(t->scalar("select owner_id || '|' || car_no || '|' || driver || '|' || remark from car "
                       "where car_no = '粤B00001'")
                 .toString(),
             QStringLiteral("3|粤B00001|老刘| 夜间停放 "));
    // The next new car is ready, with empty editors.
    QCOMPARE(rows(&screen, "DBGrid1"), 2);
    QCOMPARE(grid(&screen, "DBGrid1")->currentIndex().row(), 1);
    QCOMPARE(control<QLineEdit>(&screen, "edtCarNo")->text(), QString());
    control<QLineEdit>(&screen, "edtCarNo")->setText("粤B00002");
    click(&screen, "btnSaveCar");
    QCOMPARE(t->scalar("select count(*) from car where owner_id = 3").toInt(), 2);

    // Changing a stored car adds nothing.
    grid(&screen, "DBGrid1")->selectRow(0);
    QCOMPARE(control<QLineEdit>(&screen, "edtCarNo")->text(), QStringLiteral("粤B00001"));
    control<QLineEdit>(&screen, "edtColor")->setText("红");
    click(&screen, "btnSaveCar");
    QCOMPARE(t->scalar("select count(*) from car").toInt(), 3);
    QCOMPARE(t->scalar("select car_color from car where car_no = '粤B00001'").toString(),
             QStringLiteral("红"));

    click(&screen, "btnDelCar");
    QCOMPARE(t->scalar("select count(*) from car where owner_id = 3").toInt(), 1);
}

void TestOwnerDetail::parkingNumbers()
{
    OwnerDetailScreen screen(t->context());
    // Re-saving a parking place under its own number is accepted.
    click(&screen, "btnSavePark");
    QVERIFY(t->messages().texts().isEmpty());

    selectOwner(&screen, 1);
    click(&screen, "btnAddPark");
    control<QLineEdit>(&screen, "edtParkNo")->setText("P-01");
    click(&screen, "btnSavePark");
    QCOMPARE(t->messages().texts(), QStringList{"车位号P-01已经存在!"});
    QCOMPARE(t->scalar("select count(*) from park").toInt(), 1);
    control<QLineEdit>(&screen, "edtParkNo")->setText("");
    click(&screen, "btnSavePark");
    QCOMPARE(t->messages().lastText(), QStringLiteral("请先填写车位号!"));
    control<QLineEdit>(&screen, "edtParkNo")->setText("P-02");
    control<QLineEdit>(&screen, "edtLendType")->setText("租");
    click(&screen, "btnSavePark");
    QCOMPARE(t->scalar("select owner_id || lend_type from park where park_no = 'P-02'").toString(),
             QStringLiteral("3租"));
}

void TestOwnerDetail::gridEditorTextIsTakenOrUndone()
{
    OwnerDetailScreen screen(t->context());
    screen.show();
    auto* view = grid(&screen, "dbgRelation");
    const auto typeInCell = [&](const QString& text) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the editor closed before
        view->edit(view->model()->index(0, 2));
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        if (!editor)
            throw std::runtime_error("no cell editor opened");
        editor->setText(text);
        return editor;
    };

    // Esc leaves the cell as it was; nothing is stored.
    QLineEdit* editor = typeInCell("改过");
    QTest::keyClick(editor, Qt::Key_Escape);
    click(&screen, "btnSaveRoom");
    QCOMPARE(t->scalar("select relation_desc from owner_rooms where owner_id = 1").toString(),
             QStringLiteral("主楼"));

    // Save takes the text still in the cell editor.
    typeInCell("副楼");
    click(&screen, "btnSaveRoom");
    QCOMPARE(t->scalar("select relation_desc from owner_rooms where owner_id = 1").toString(),
             QStringLiteral("副楼"));
    QCOMPARE(t->scalar("select count(*) from owner_rooms").toInt(), 1);
}

void TestOwnerDetail::roomNumberOffersTheRooms()
{
    const QString longest = QStringLiteral("广场东区写字楼一〇一"); // as long as a room number gets
    Estate e = t->estate();
    const qlonglong tower = t->scalar("select garden_id from garden").toLongLong();
    for (const QString& room : {QStringLiteral("102"), QStringLiteral("110"), QStringLiteral("B-1"), longest})
        e.addRoom({.id = room, .building = tower});
    OwnerDetailScreen screen(t->context());
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    selectOwner(&screen, 1); // 丙公司, no links
    click(&screen, "btnAddRoom");
    QCoreApplication::processEvents();
    auto* view = grid(&screen, "dbgRelation");
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor && editor->isVisible());
    // The cell holds the longest room number.
    QCOMPARE_GE(editor->width(), editor->fontMetrics().horizontalAdvance(longest));

    // Typing offers the rooms whose numbers begin with what was typed; one is
    // picked from the list, and Save stores it.
    QCompleter* completer = editor->completer();
    QVERIFY(completer);
    QTest::keyClicks(editor, "1");
    QVERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->completionCount(), 3); // 101, 102, 110
    QTest::keyClick(editor, Qt::Key_0);
    QCOMPARE(completer->completionCount(), 2); // 101, 102
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    QVERIFY(!completer->popup()->isVisible());
    QCOMPARE(editor->text(), QStringLiteral("102"));
    QVERIFY(editor->isVisible()); // still typing in the cell
    click(&screen, "btnSaveRoom");
    QCOMPARE(t->scalar("select group_concat(room_id) from owner_rooms where owner_id = 3").toString(),
             QStringLiteral("102"));

    // A room added meanwhile is offered to the next link.
    e.addRoom({.id = "120", .building = tower});
    click(&screen, "btnAddRoom");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the editor closed before
    editor = view->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor && editor->isVisible());
    QTest::keyClicks(editor, "12");
    QCOMPARE(editor->completer()->completionCount(), 1);
    QCOMPARE(editor->completer()->currentCompletion(), QStringLiteral("120"));
    QVERIFY(t->messages().texts().isEmpty());
}

void TestOwnerDetail::newCarKeepsWhatWasTyped()
{
    OwnerDetailScreen screen(t->context());
    click(&screen, "btnAddCar");
    control<QLineEdit>(&screen, "edtCarNo")->setText("粤C1");
    auto* cars = grid(&screen, "DBGrid1");
    emit cars->clicked(cars->model()->index(1, 1)); // the new row
    QCOMPARE(control<QLineEdit>(&screen, "edtCarNo")->text(), QStringLiteral("粤C1"));
    emit cars->clicked(cars->model()->index(0, 1));
    QCOMPARE(control<QLineEdit>(&screen, "edtCarNo")->text(), QStringLiteral("粤A12345"));
}

void TestOwnerDetail::noOwnerNothingToAdd()
{
    t->exec("update owner_info set in_out = '搬出'");
    OwnerDetailScreen screen(t->context());
    QCOMPARE(grid(&screen, "dbgOwner")->model()->rowCount(), 0);
    for (const char* name :
         {"btnAddRoom", "btnSaveRoom", "btnAddMem", "btnAddCar", "btnSaveCar", "btnAddPark", "btnSavePark"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);

    // The members page decides from its first moment, before it is given an owner.
    MembersPage page(t->context());
    for (const char* name : {"btnAddMem", "btnSaveMem", "btnDelMem"})
        QVERIFY2(!control<QPushButton>(&page, name)->isEnabled(), name);
}

void TestOwnerDetail::browseOnly()
{
    OwnerDetailScreen screen(t->context(false));
    for (const char* name :
         {"btnAddRoom", "btnSaveRoom", "btnDelRoom", "btnAddMem", "btnSaveMem", "btnDelMem", "btnAddCar",
          "btnSaveCar", "btnDelCar", "btnAddPark", "btnSavePark", "btnDelPark"})
        QVERIFY2(!control<QPushButton>(&screen, name)->isEnabled(), name);
    for (const char* name :
         {"btnCancel2", "btnExitMem", "btnCloseCar", "btnClosePark", "btnQuery", "Btnexcela"})
        QVERIFY2(control<QPushButton>(&screen, name)->isEnabled(), name);
    auto* members = grid(&screen, "dbgMember");
    emit members->doubleClicked(members->model()->index(0, 1));
    QVERIFY(!openChild<QDialog>(&screen, "TmemberFrm"));
    auto* links = grid(&screen, "dbgRelation");
    QVERIFY(!(links->model()->flags(links->model()->index(0, 1)) & Qt::ItemIsEditable));
}

QTEST_MAIN(TestOwnerDetail)
#include "tst_ownerdetail.moc"
