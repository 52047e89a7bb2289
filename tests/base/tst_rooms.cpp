#include "base/RoomsScreen.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/Sql.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

class TestRooms : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void filterByBuilding();
    void searchByNumber_data();
    void searchByNumber();
    void addOneAfterAnother();
    void addToTheSecondOfTwoBuildingsOfOneName();
    void saveRefusals_data();
    void saveRefusals();
    void databaseRefusesBadNumbers();
    void modifyAndRename();
    void deleteRules();
    void browseOnly();
    void noBuildings();
    void anotherCopyWritesWhileTheListIsOpen();

private:
    TestDatabase* t = nullptr;
};

namespace {

QTableView* grid(QWidget* screen)
{
    return control<QTableView>(screen, "dbgRoom");
}

QStringList rooms(QWidget* screen)
{
    return columnTexts(grid(screen)->model(), 0);
}

QString currentRoom(QWidget* screen)
{
    const QModelIndex current = grid(screen)->currentIndex();
    return current.isValid() ? current.siblingAtColumn(0).data().toString() : QString();
}

void chooseBuilding(QWidget* screen, const QString& name)
{
    auto* combo = control<QComboBox>(screen, "cmbGarden");
    const int index = combo->findText(name);
    combo->setCurrentIndex(index);
    emit combo->textActivated(name);
}

void typeBuilding(QWidget* screen, const QString& text)
{
    auto* edit = control<QComboBox>(screen, "cmbGarden")->lineEdit();
    edit->setText(text);
    emit edit->textEdited(text);
}

QDialog* editor(QWidget* screen)
{
    return openChild<QDialog>(screen, "TRoomMFrm");
}

void fill(QDialog* editor, const QMap<QString, QString>& values)
{
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QByteArray name = it.key().toLatin1();
        if (auto* combo = editor->findChild<QComboBox*>(it.key()))
            combo->setEditText(it.value());
        else
            control<QLineEdit>(editor, name.constData())->setText(it.value());
    }
}

void save(QDialog* editor)
{
    control<QPushButton>(editor, "btnSave")->click();
}

} // namespace

void TestRooms::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    const qlonglong one = e.addBuilding("一号楼");
    const qlonglong two = e.addBuilding("二号楼");
    for (const Estate::Room& r :
         {Estate::Room{"201", one, "80"}, Estate::Room{"101", one, "100.50"}, Estate::Room{"102", one, "90"},
          Estate::Room{"B10", two, "50"}, Estate::Room{"110", two, "60"}}) {
        Estate::Room room = r;
        room.useState = "公司";
        e.addRoom(room);
    }
}

void TestRooms::cleanup()
{
    delete t;
}

void TestRooms::filterByBuilding()
{
    RoomsScreen screen(t->context());
    QCOMPARE(rooms(&screen), (QStringList{"101", "102", "110", "201", "B10"}));
    QCOMPARE(grid(&screen)->model()->index(0, 2).data().toString(), QStringLiteral("100.50"));
    auto* combo = control<QComboBox>(&screen, "cmbGarden");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), QStringLiteral("二号楼"));

    chooseBuilding(&screen, "二号楼");
    QCOMPARE(rooms(&screen), (QStringList{"110", "B10"}));
    typeBuilding(&screen, "一号楼");
    QCOMPARE(rooms(&screen), (QStringList{"101", "102", "201"}));
    typeBuilding(&screen, "一号");
    QCOMPARE(rooms(&screen), QStringList{});
    QVERIFY(t->messages().texts().isEmpty());
    // Emptying the box while typing raises no box, which would swallow the keys
    // typed next; Enter on it says that no building is named.
    typeBuilding(&screen, "  ");
    QVERIFY(t->messages().texts().isEmpty());
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(t->messages().texts(), QStringList{"还没有小区信息！"});
    QCOMPARE(rooms(&screen), QStringList{});
}

void TestRooms::searchByNumber_data()
{
    QTest::addColumn<QString>("building");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("current");

    QTest::newRow("first of the prefix") << ""
                                         << "10"
                                         << "101";
    QTest::newRow("whole number") << ""
                                  << "102"
                                  << "102";
    QTest::newRow("within the building filter") << "二号楼"
                                                << "1"
                                                << "110";
    QTest::newRow("no match stays") << ""
                                    << "9"
                                    << "101";
    QTest::newRow("prefix is case-sensitive") << ""
                                              << "b"
                                              << "101";
    QTest::newRow("outside the filter stays") << "二号楼"
                                              << "20"
                                              << "110";
}

void TestRooms::searchByNumber()
{
    QFETCH(QString, building);
    QFETCH(QString, text);
    QFETCH(QString, current);
    RoomsScreen screen(t->context());
    if (!building.isEmpty())
        chooseBuilding(&screen, building);
    auto* search = control<QLineEdit>(&screen, "edtRoomID");
    search->setText(text);
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(currentRoom(&screen), current);
    QVERIFY(t->messages().texts().isEmpty());
}

void TestRooms::addOneAfterAnother()
{
    RoomsScreen screen(t->context());
    chooseBuilding(&screen, "二号楼");
    control<QPushButton>(&screen, "btnAdd")->click();
    QDialog* e = editor(&screen);
    QVERIFY(e);
    QCOMPARE(control<QComboBox>(e, "cmbGarden")->currentText(), QStringLiteral("二号楼"));
    QCOMPARE(control<QPushButton>(e, "btnSave")->text(), QStringLiteral("保存(&A)"));
    QCOMPARE(control<QLineEdit>(e, "edtRoomID")->maxLength(), 10);

    fill(e, {{"edtRoomID", " 301 "},
             {"edtBuildArea", "88.5"},
             {"edtUseArea", ""},
             {"cmbUseState", "住宅"},
             {"edtRoomType", "两房"},
             {"edtMatch", "空调'热水'"}});
    control<QPlainTextEdit>(e, "memRemarks")->setPlainText("朝南");
    save(e);
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(t->scalar("select garden_id from rooms_info where room_id = '301'").toInt(), 2);
    QCOMPARE(t->scalar("select build_area from rooms_info where room_id = '301'").toInt(), 8850);
    QVERIFY(t->scalar("select use_area from rooms_info where room_id = '301'").isNull());
    QCOMPARE(t->scalar("select \"match\" from rooms_info where room_id = '301'").toString(),
             QStringLiteral("空调'热水'"));

    // Ready for the next room of the same building.
    QCOMPARE(control<QComboBox>(e, "cmbGarden")->currentText(), QStringLiteral("二号楼"));
    QCOMPARE(control<QLineEdit>(e, "edtRoomID")->text(), QString());
    QCOMPARE(control<QLineEdit>(e, "edtBuildArea")->text(), QString());
    QCOMPARE(control<QLineEdit>(e, "edtRoomType")->text(), QString());
    QCOMPARE(control<QPlainTextEdit>(e, "memRemarks")->toPlainText(), QString());
    QCOMPARE(rooms(&screen), (QStringList{"110", "301", "B10"}));
    QCOMPARE(currentRoom(&screen), QStringLiteral("301"));

    fill(e, {{"edtRoomID", "302"}, {"edtBuildArea", "40"}});
    save(e);
    QCOMPARE(t->scalar("select garden_id from rooms_info where room_id = '302'").toInt(), 2);
}

void TestRooms::addToTheSecondOfTwoBuildingsOfOneName()
{
    const qlonglong second = t->estate().addBuilding("二号楼");
    RoomsScreen screen(t->context());
    auto* combo = control<QComboBox>(&screen, "cmbGarden");
    const int index = combo->findData(second);
    combo->setCurrentIndex(index);
    emit combo->textActivated(combo->itemText(index));
    QCOMPARE(rooms(&screen), QStringList{});

    control<QPushButton>(&screen, "btnAdd")->click();
    QDialog* e = editor(&screen);
    QVERIFY(e);
    fill(e, {{"edtRoomID", "401"}, {"edtBuildArea", "30"}});
    save(e);
    fill(e, {{"edtRoomID", "402"}, {"edtBuildArea", "30"}});
    save(e);
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(t->scalar("select count(*) from rooms_info where garden_id = ?", {second}).toInt(), 2);
    QCOMPARE(rooms(&screen), (QStringList{"401", "402"}));
}

void TestRooms::saveRefusals_data()
{
    QTest::addColumn<QString>("building");
    QTest::addColumn<QString>("buildArea");
    QTest::addColumn<QString>("useArea");
    QTest::addColumn<QString>("message");

    QTest::newRow("no building") << " "
                                 << "10"
                                 << ""
                                 << "请填写大楼名称";
    QTest::newRow("no area") << "一号楼"
                             << " "
                             << ""
                             << "请填写建筑面积！";
    QTest::newRow("area not a number") << "一号楼"
                                       << "十"
                                       << ""
                                       << "建筑面积需要填写数字！";
    QTest::newRow("usable area not a number") << "一号楼"
                                              << "10"
                                              << "x"
                                              << "使用面积需要填写数字！";
    QTest::newRow("no such building") << "三号楼"
                                      << "10"
                                      << ""
                                      << "还未有大楼记录！";
}

void TestRooms::saveRefusals()
{
    QFETCH(QString, building);
    QFETCH(QString, buildArea);
    QFETCH(QString, useArea);
    QFETCH(QString, message);
    RoomsScreen screen(t->context());
    control<QPushButton>(&screen, "btnAdd")->click();
    QDialog* e = editor(&screen);
    fill(e, {{"edtRoomID", "999"},
             {"cmbGarden", building},
             {"edtBuildArea", buildArea},
             {"edtUseArea", useArea}});
    save(e);
    QCOMPARE(t->messages().texts(), QStringList{message});
    QCOMPARE(t->scalar("select count(*) from rooms_info").toInt(), 5);
}

void TestRooms::databaseRefusesBadNumbers()
{
    RoomsScreen screen(t->context());
    control<QPushButton>(&screen, "btnAdd")->click();
    QDialog* e = editor(&screen);
    // A number in use (in another building) and an empty number: the engine's error.
    for (const QString& number : {QStringLiteral("110"), QString()}) {
        t->messages().clear();
        fill(e, {{"edtRoomID", number}, {"cmbGarden", "一号楼"}, {"edtBuildArea", "10"}});
        save(e);
        QCOMPARE(t->messages().errors().size(), 1);
    }
    QCOMPARE(t->scalar("select count(*) from rooms_info").toInt(), 5);
    QCOMPARE(t->scalar("select garden_id from rooms_info where room_id = '110'").toInt(), 2);
}

void TestRooms::modifyAndRename()
{
    t->exec(
        "update rooms_info set use_area = 9000, \"match\" = '空调', remarks = '朝南' where room_id = '102'");
    t->estate().linkRoom(t->estate().addOwner({.name = "甲公司"}), "102");
    RoomsScreen screen(t->context());
    grid(&screen)->selectRow(1);
    emit grid(&screen)->doubleClicked(grid(&screen)->currentIndex());
    QDialog* e = editor(&screen);
    QVERIFY(e);
    QCOMPARE(control<QPushButton>(e, "btnSave")->text(), QStringLiteral("保存 &S."));
    QCOMPARE(control<QLineEdit>(e, "edtRoomID")->text(), QStringLiteral("102"));
    QCOMPARE(control<QComboBox>(e, "cmbGarden")->currentText(), QStringLiteral("一号楼"));
    QCOMPARE(control<QComboBox>(e, "cmbUseState")->currentText(), QStringLiteral("公司"));
    QCOMPARE(control<QLineEdit>(e, "edtBuildArea")->text(), QStringLiteral("90.00"));
    QCOMPARE(control<QLineEdit>(e, "edtUseArea")->text(), QStringLiteral("90.00"));
    QCOMPARE(control<QPlainTextEdit>(e, "memRemarks")->toPlainText(), QStringLiteral("朝南"));

    const QString before =
        t->scalar(
             "select room_id || garden_id || build_area || use_area || use_state || \"match\" || remarks "
             "from rooms_info where room_id = '102'")
            .toString();
    save(e);
    QCOMPARE(
        t->scalar(
             "select room_id || garden_id || build_area || use_area || use_state || \"match\" || remarks "
             "from rooms_info where room_id = '102'")
            .toString(),
        before);

    // A new number is also the new number of the owner's room link.
    fill(e, {{"edtRoomID", "102A"}, {"cmbGarden", "二号楼"}});
    save(e);
    QVERIFY(t->messages().texts().isEmpty());
    QCOMPARE(t->scalar("select garden_id from rooms_info where room_id = '102A'").toInt(), 2);
    QCOMPARE(t->scalar("select room_id from owner_rooms").toString(), QStringLiteral("102A"));
    QCOMPARE(currentRoom(&screen), QStringLiteral("102A"));

    // Saved again under a number in use: refused as a whole, the link is untouched.
    fill(e, {{"edtRoomID", "201"}});
    save(e);
    QCOMPARE(t->messages().errors().size(), 1);
    QCOMPARE(t->scalar("select room_id from owner_rooms").toString(), QStringLiteral("102A"));
    QCOMPARE(t->scalar("select count(*) from rooms_info where room_id = '102A'").toInt(), 1);
}

void TestRooms::deleteRules()
{
    Estate e = t->estate();
    e.linkRoom(e.addOwner({.name = "甲公司"}), "101");
    e.linkRoom(99, "102"); // owner no longer exists
    RoomsScreen screen(t->context());

    t->messages().answerConfirm(false);
    control<QPushButton>(&screen, "btnDelete")->click();
    QCOMPARE(t->messages().shown().constLast().text, QStringLiteral("确实要删除此记录吗?"));
    QCOMPARE(t->messages().shown().constLast().caption, QStringLiteral("提醒"));
    QCOMPARE(rooms(&screen).size(), 5);

    control<QPushButton>(&screen, "btnDelete")->click();
    QCOMPARE(t->messages().lastText(),
             QStringLiteral("此房间被用户甲公司所拥有，请先此用户的拥有房间里，删除此房间记录！"));
    QCOMPARE(t->scalar("select count(*) from rooms_info where room_id = '101'").toInt(), 1);

    grid(&screen)->selectRow(1);
    control<QPushButton>(&screen, "btnDelete")->click();
    QCOMPARE(rooms(&screen), (QStringList{"101", "110", "201", "B10"}));
    QCOMPARE(currentRoom(&screen), QStringLiteral("110"));
}

void TestRooms::browseOnly()
{
    RoomsScreen screen(t->context(false));
    QVERIFY(!control<QPushButton>(&screen, "btnAdd")->isEnabled());
    QVERIFY(!control<QPushButton>(&screen, "btnDelete")->isEnabled());
    control<QPushButton>(&screen, "btnModi")->click();
    QDialog* e = editor(&screen);
    QVERIFY(e);
    QCOMPARE(control<QLineEdit>(e, "edtRoomID")->text(), QStringLiteral("101"));
    QVERIFY(!control<QPushButton>(e, "btnSave")->isEnabled());
}

void TestRooms::noBuildings()
{
    TestDatabase empty;
    RoomsScreen screen(empty.context());
    control<QPushButton>(&screen, "btnModi")->click();
    QCOMPARE(empty.messages().texts(), QStringList{"请选择需要修改的记录！"});
    QVERIFY(!editor(&screen));

    control<QPushButton>(&screen, "btnAdd")->click();
    QDialog* e = editor(&screen);
    QCOMPARE(empty.messages().lastText(), QStringLiteral("还未有大楼记录！"));
    fill(e, {{"edtRoomID", "101"}, {"edtBuildArea", "10"}});
    save(e);
    QCOMPARE(empty.messages().lastText(), QStringLiteral("请填写大楼名称"));
}

void TestRooms::anotherCopyWritesWhileTheListIsOpen()
{
    // A list longer than one fetch: no statement may stay open on the connection,
    // or this copy would keep reading an old snapshot and fail its next write.
    for (int i = 0; i < 600; ++i)
        t->estate().addRoom({.id = QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0')), .building = 1});
    RoomsScreen screen(t->context());
    QString error;
    {
        QSqlDatabase other = database::open(t->path(), "other copy", &error);
        QVERIFY(error.isEmpty());
        sql::exec(other, "insert into rooms_info (room_id, garden_id, build_area) values ('ZZ1', 2, 100)");
    }
    QSqlDatabase::removeDatabase("other copy");

    control<QPushButton>(&screen, "btnAdd")->click();
    QDialog* e = editor(&screen);
    fill(e, {{"edtRoomID", "ZZ2"}, {"cmbGarden", "二号楼"}, {"edtBuildArea", "10"}});
    save(e);
    QVERIFY(t->messages().texts().isEmpty());
    QVERIFY(rooms(&screen).contains("ZZ1"));
    QVERIFY(rooms(&screen).contains("ZZ2"));
}

QTEST_MAIN(TestRooms)
#include "tst_rooms.moc"
