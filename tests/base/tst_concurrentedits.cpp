#include "base/OwnerDetailScreen.h"
#include "base/OwnersScreen.h"
#include "base/RoomsScreen.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/Sql.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// Two copies of pelm on one file: this one has a record on screen while the other
// removes it (or renames its key). A save of it here must not pass for stored: the
// operator is told in Chinese that the record was changed or removed elsewhere,
// nothing is written in its place, and the list shows the file as it now stands.
class TestConcurrentEdits : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void ownerSavedAfterRemoval_data();
    void ownerSavedAfterRemoval();
    void memberSavedAfterRemoval();
    void roomLinkSavedAfterRemoval_data();
    void roomLinkSavedAfterRemoval();
    void ownerRecordSavedAfterRemoval_data();
    void ownerRecordSavedAfterRemoval();
    void roomSavedAfterRename();

private:
    // Runs statements on the file as another copy of pelm would, with a
    // connection of its own.
    void otherCopy(const QString& statement, const QVariantList& values = {});
    int count(const QString& table);

    TestDatabase* t = nullptr;
    qlonglong m_owner = 0;
    qlonglong m_link = 0;
    qlonglong m_member = 0;
};

namespace {

const QString kGone = "该记录已被其他用户删除或修改，请刷新后重试。";

QTableView* grid(QWidget* s, const char* name)
{
    return control<QTableView>(s, name);
}

void click(QWidget* s, const char* name)
{
    control<QPushButton>(s, name)->click();
}

void type(QWidget* s, const char* name, const QString& text)
{
    auto* edit = control<QLineEdit>(s, name);
    edit->setText(text);
    emit edit->textEdited(text);
}

} // namespace

void TestConcurrentEdits::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    m_owner = e.addOwner({.name = "甲公司"});
    e.addOwner({.name = "丰公司"});
    const qlonglong tower = e.addBuilding("一号楼");
    e.addRoom({.id = "101", .building = tower});
    e.addRoom({.id = "102", .building = tower});
    m_link = e.linkRoom(m_owner, "101", "主楼");
    m_member = e.addMember(m_owner, "小王");
    e.addCar(m_owner, "粤A12345");
    e.addParkingPlace(m_owner, "P-01");
}

void TestConcurrentEdits::cleanup()
{
    delete t;
}

void TestConcurrentEdits::otherCopy(const QString& statement, const QVariantList& values)
{
    const QString name = "other copy";
    {
        QString error;
        QSqlDatabase db = database::open(t->path(), name, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        sql::exec(db, statement, values);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

int TestConcurrentEdits::count(const QString& table)
{
    return t->scalar(u"select count(*) from " + table).toInt();
}

void TestConcurrentEdits::ownerSavedAfterRemoval_data()
{
    QTest::addColumn<bool>("byMovingOn"); // else with the Save button

    QTest::newRow("Save") << false;
    QTest::newRow("moving to another owner") << true;
}

void TestConcurrentEdits::ownerSavedAfterRemoval()
{
    QFETCH(bool, byMovingOn);
    OwnersScreen screen(t->context());
    auto* owners = grid(&screen, "dbgOwner");
    QCOMPARE(columnTexts(owners->model(), 1), (QStringList{"丰公司", "甲公司"}));
    owners->selectRow(1);
    QCoreApplication::processEvents();
    otherCopy("delete from owner_info where owner_id = ?", {m_owner});

    type(&screen, "DBEdit5", "张三");
    if (byMovingOn) {
        owners->selectRow(0);
        QCoreApplication::processEvents();
    } else {
        click(&screen, "btnModi");
    }
    QCOMPARE(t->messages().errors(), QStringList{kGone});
    // Nothing stored in its place, nothing changed elsewhere.
    QCOMPARE(count("owner_info"), 1);
    QCOMPARE(t->scalar("select count(*) from owner_info where linker is not null").toInt(), 0);
}

void TestConcurrentEdits::memberSavedAfterRemoval()
{
    OwnerDetailScreen screen(t->context());
    grid(&screen, "dbgMember")->selectRow(0);
    click(&screen, "btnSaveMem");
    QDialog* editor = openChild<QDialog>(&screen, "TmemberFrm");
    QVERIFY(editor);
    otherCopy("delete from member where member_id = ?", {m_member});

    control<QLineEdit>(editor, "edtDuty")->setText("经理");
    click(editor, "btnSave");
    QCOMPARE(t->messages().errors(), QStringList{kGone});
    QCOMPARE(count("member"), 0);
}

void TestConcurrentEdits::roomLinkSavedAfterRemoval_data()
{
    QTest::addColumn<bool>("withOtherLink"); // another link changed in the same save

    QTest::newRow("the link alone") << false;
    QTest::newRow("with another link changed") << true;
}

void TestConcurrentEdits::roomLinkSavedAfterRemoval()
{
    QFETCH(bool, withOtherLink);
    // The other link comes first, so that its change is written before the
    // removed one is found gone.
    const qlonglong gone = withOtherLink ? t->estate().linkRoom(m_owner, "102", "副楼") : m_link;
    OwnerDetailScreen screen(t->context());
    auto* links = grid(&screen, "dbgRelation");
    QCOMPARE(links->model()->rowCount(), withOtherLink ? 2 : 1);
    otherCopy("delete from owner_rooms where ownerroom_id = ?", {gone});

    for (int row = 0; row < links->model()->rowCount(); ++row)
        QVERIFY(links->model()->setData(links->model()->index(row, 2), "改过"));
    click(&screen, "btnSaveRoom");
    QCOMPARE(t->messages().errors(), QStringList{kGone});
    // The links are stored in one transaction: nothing of this save is kept.
    QCOMPARE(t->scalar("select count(*) from owner_rooms where relation_desc = '改过'").toInt(), 0);
    QCOMPARE(count("owner_rooms"), withOtherLink ? 1 : 0);
}

void TestConcurrentEdits::ownerRecordSavedAfterRemoval_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("gridName");
    QTest::addColumn<QString>("editorName");
    QTest::addColumn<QString>("saveName");

    QTest::newRow("car") << "car"
                         << "DBGrid1"
                         << "edtColor"
                         << "btnSaveCar";
    QTest::newRow("parking place") << "park"
                                   << "DBGrid2"
                                   << "edtLendType"
                                   << "btnSavePark";
}

void TestConcurrentEdits::ownerRecordSavedAfterRemoval()
{
    QFETCH(QString, table);
    QFETCH(QString, gridName);
    QFETCH(QString, editorName);
    QFETCH(QString, saveName);
    OwnerDetailScreen screen(t->context());
    auto* records = grid(&screen, qPrintable(gridName));
    QCOMPARE(records->model()->rowCount(), 1);
    otherCopy(u"delete from " + table);

    control<QLineEdit>(&screen, qPrintable(editorName))->setText("红");
    click(&screen, qPrintable(saveName));
    QCOMPARE(t->messages().errors(), QStringList{kGone});
    QCOMPARE(count(table), 0);
    // The list shows what the file now holds.
    QCOMPARE(records->model()->rowCount(), 0);
}

void TestConcurrentEdits::roomSavedAfterRename()
{
    RoomsScreen screen(t->context());
    auto* rooms = grid(&screen, "dbgRoom");
    rooms->selectRow(0);
    QCOMPARE(rooms->currentIndex().siblingAtColumn(0).data().toString(), QStringLiteral("101"));
    click(&screen, "btnModi");
    QDialog* editor = openChild<QDialog>(&screen, "TRoomMFrm");
    QVERIFY(editor);
    otherCopy("update rooms_info set room_id = '201' where room_id = '101'");

    control<QLineEdit>(editor, "edtBuildArea")->setText("120");
    click(editor, "btnSave");
    QCOMPARE(t->messages().errors(), QStringList{kGone});
    // The room keeps the other copy's number and area; 101 is not made again.
    QCOMPARE(t->scalar("select group_concat(r, ' ') from "
                       "(select room_id || ':' || build_area as r from rooms_info order by room_id) rooms")
                 .toString(),
             QStringLiteral("102:10000 201:10000"));
}

QTEST_MAIN(TestConcurrentEdits)
#include "tst_concurrentedits.moc"
