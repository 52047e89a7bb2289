#include "base/OwnersScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

class TestOwners : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void listsCurrentOccupants();
    void search_data();
    void search();
    void searchNeedsText();
    void addAndSave();
    void savedOnAnEmptyList_data();
    void savedOnAnEmptyList();
    void typedNewOwnerNeedsAName();
    void changesAreStoredWhenMovingOn();
    void keyboardAndClicksMoveTheList();
    void movingOut();
    void deleteRules();
    void browseOnly();

private:
    TestDatabase* t = nullptr;
};

namespace {

QTableView* grid(QWidget* s)
{
    return control<QTableView>(s, "dbgOwner");
}

QStringList names(QWidget* s)
{
    return columnTexts(grid(s)->model(), 1);
}

QString currentName(QWidget* s)
{
    return grid(s)->currentIndex().siblingAtColumn(1).data().toString();
}

// Moves the list as a click would, and lets the screen finish what follows.
void selectRow(QWidget* s, int row)
{
    grid(s)->selectRow(row);
    QCoreApplication::processEvents();
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

void addOwner(TestDatabase* t, const QString& name, const QString& inOut, const QString& linker = {})
{
    t->estate().addOwner({.name = name, .inOut = inOut, .linker = linker, .inDate = "2020-05-01"});
}

} // namespace

void TestOwners::init()
{
    t = new TestDatabase;
    addOwner(t, "丰公司", "居住", "李四"); // 1
    addOwner(t, "甲公司", "居住", "张三"); // 2
    addOwner(t, "丙公司 100%", "搬出");    // 3
    addOwner(t, "丁's 商行", "居住");      // 4
    addOwner(t, "甲公司", "居住", "王五"); // 5, same name as 2
}

void TestOwners::cleanup()
{
    delete t;
}

void TestOwners::listsCurrentOccupants()
{
    OwnersScreen screen(t->context());
    QCOMPARE(screen.windowTitle(), QStringLiteral("业主信息"));
    // Names in pinyin order: ding, feng, jia.
    QCOMPARE(names(&screen), (QStringList{"丁's 商行", "丰公司", "甲公司", "甲公司"}));
    QVERIFY(grid(&screen)->isColumnHidden(0)); // one column: the name
    QCOMPARE(grid(&screen)->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("单位名称"));
    QCOMPARE(control<QLineEdit>(&screen, "dbeOwnerName")->text(), QStringLiteral("丁's 商行"));
    QCOMPARE(control<QDateEdit>(&screen, "dtpInDate")->date(), QDate(2020, 5, 1));

    control<QCheckBox>(&screen, "cbxAll")->setChecked(true);
    QCOMPARE(names(&screen).size(), 5);
    QVERIFY(names(&screen).contains("丙公司 100%"));
    control<QCheckBox>(&screen, "cbxAll")->setChecked(false);
    QCOMPARE(names(&screen).size(), 4);

    // Two owners of one name stay two owners.
    selectRow(&screen, 3);
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit5")->text(), QStringLiteral("王五"));
}

void TestOwners::search_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("linker");

    // The list starts on 丁's 商行; a search that finds no listed owner stays there.
    QTest::newRow("fragment, first by number") << false << "公司"
                                               << "丰公司"
                                               << "李四";
    QTest::newRow("same name, the first owner") << false << "甲"
                                                << "甲公司"
                                                << "张三";
    QTest::newRow("quote as typed") << false << "'s"
                                    << "丁's 商行"
                                    << "";
    QTest::newRow("percent as typed, owner hidden") << false << "100%"
                                                    << "丁's 商行"
                                                    << "";
    QTest::newRow("percent as typed, all owners") << true << "100%"
                                                  << "丙公司 100%"
                                                  << "";
    QTest::newRow("underscore is no wildcard") << false << "丰_"
                                               << "丁's 商行"
                                               << "";
    QTest::newRow("no match") << false << "戊"
                              << "丁's 商行"
                              << "";
}

void TestOwners::search()
{
    QFETCH(bool, all);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QString, linker);
    OwnersScreen screen(t->context());
    control<QCheckBox>(&screen, "cbxAll")->setChecked(all);
    t->messages().answerText(text);
    click(&screen, "btnQuery");
    QCOMPARE(t->messages().shown().size(), 1); // the input box, nothing more
    QCOMPARE(t->messages().shown()[0].caption, QStringLiteral("住户名称查询"));
    QCOMPARE(t->messages().shown()[0].text, QStringLiteral("请输入住户名称:"));
    QCOMPARE(currentName(&screen), name);
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit5")->text(), linker);
}

void TestOwners::searchNeedsText()
{
    OwnersScreen screen(t->context());
    t->messages().answerText(std::nullopt);
    click(&screen, "btnQuery");
    t->messages().answerText(QString());
    click(&screen, "btnQuery");
    QCOMPARE(t->messages().texts().count("请先填写住户名称！"), 2);
}

void TestOwners::addAndSave()
{
    OwnersScreen screen(t->context());
    click(&screen, "btnAdd");
    QCOMPARE(names(&screen).size(), 5);
    QCOMPARE(grid(&screen)->currentIndex().row(), 4);
    QCOMPARE(control<QComboBox>(&screen, "DBComboBox2")->currentText(), QStringLiteral("居住"));
    QCOMPARE(control<QDateEdit>(&screen, "dtpInDate")->date(), QDate(2026, 12, 10));
    QCOMPARE(control<QLineEdit>(&screen, "dbeOwnerName")->text(), QString());

    type(&screen, "dbeOwnerName", "   ");
    click(&screen, "btnModi");
    QCOMPARE(t->messages().texts(), QStringList{"请填写住户名称！"});
    QCOMPARE(t->scalar("select count(*) from owner_info").toInt(), 5);

    type(&screen, "dbeOwnerName", " 戊公司 ");
    type(&screen, "DBEdit13", "020-0001");
    control<QComboBox>(&screen, "DBComboBox1")->setEditText("良好");
    click(&screen, "btnModi");
    QCOMPARE(t->scalar("select count(*) from owner_info").toInt(), 6);
    QCOMPARE(
        t->scalar("select owner_name || '|' || in_out || '|' || in_date || '|' || link_tel || '|' || credit "
                  "from owner_info where owner_id = 6")
            .toString(),
        QStringLiteral("戊公司|居住|2026-12-10|020-0001|良好"));
    QCOMPARE(names(&screen), (QStringList{"丁's 商行", "丰公司", "甲公司", "甲公司", "戊公司"}));
    QCOMPARE(currentName(&screen), QStringLiteral("戊公司"));

    // A new owner left without a name is dropped when the operator moves on.
    click(&screen, "btnAdd");
    selectRow(&screen, 0);
    QCOMPARE(names(&screen).size(), 5);
    QCOMPARE(t->scalar("select count(*) from owner_info").toInt(), 6);
}

void TestOwners::savedOnAnEmptyList_data()
{
    QTest::addColumn<bool>("movedOutOwner");
    QTest::newRow("new database") << false;
    QTest::newRow("only a moved-out owner, current occupants listed") << true;
}

void TestOwners::savedOnAnEmptyList()
{
    QFETCH(bool, movedOutOwner);
    TestDatabase fresh;
    if (movedOutOwner)
        addOwner(&fresh, "丙公司", "搬出");
    const int before = fresh.scalar("select count(*) from owner_info").toInt();
    OwnersScreen screen(fresh.context());
    QVERIFY(names(&screen).isEmpty());
    // The editors stand ready for a new owner: living here from today.
    QCOMPARE(control<QComboBox>(&screen, "DBComboBox2")->currentText(), QStringLiteral("居住"));
    QCOMPARE(control<QDateEdit>(&screen, "dtpInDate")->date(), fresh.clock().today());

    type(&screen, "dbeOwnerName", "戊公司");
    click(&screen, "btnModi");
    QCOMPARE(fresh.messages().texts(), QStringList());
    QCOMPARE(fresh
                 .scalar("select owner_name || '|' || in_out || '|' || in_date from owner_info "
                         "order by owner_id desc limit 1")
                 .toString(),
             u"戊公司|居住|" + fresh.clock().today().toString(Qt::ISODate));
    QCOMPARE(names(&screen), QStringList{"戊公司"});
    QCOMPARE(currentName(&screen), QStringLiteral("戊公司"));

    // Saving again changes that owner; it makes no second one.
    type(&screen, "DBEdit5", "李四");
    click(&screen, "btnModi");
    QCOMPARE(fresh.scalar("select count(*) from owner_info").toInt(), before + 1);
    QCOMPARE(fresh.scalar("select linker from owner_info where owner_name = '戊公司'").toString(),
             QStringLiteral("李四"));
}

void TestOwners::typedNewOwnerNeedsAName()
{
    OwnersScreen screen(t->context());
    click(&screen, "btnAdd");
    type(&screen, "DBEdit13", "020-0001");
    selectRow(&screen, 0);
    QCOMPARE(t->messages().texts(), QStringList{"请填写住户名称！"});
    QCOMPARE(grid(&screen)->currentIndex().row(), 4); // still on the new owner
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit13")->text(), QStringLiteral("020-0001"));
    QCOMPARE(t->scalar("select count(*) from owner_info").toInt(), 5);

    // Named, it is stored on the next move.
    type(&screen, "dbeOwnerName", "戊公司");
    selectRow(&screen, 0);
    QCOMPARE(t->scalar("select link_tel from owner_info where owner_name = '戊公司'").toString(),
             QStringLiteral("020-0001"));
}

void TestOwners::changesAreStoredWhenMovingOn()
{
    OwnersScreen screen(t->context());
    selectRow(&screen, 1); // 丰公司
    type(&screen, "DBEdit5", "赵六");
    selectRow(&screen, 2);
    QCOMPARE(t->scalar("select linker from owner_info where owner_id = 1").toString(),
             QStringLiteral("赵六"));
    QCOMPARE(currentName(&screen), QStringLiteral("甲公司"));
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit5")->text(), QStringLiteral("张三"));

    // An owner whose name was emptied keeps the operator on it.
    type(&screen, "dbeOwnerName", "");
    selectRow(&screen, 0);
    QCOMPARE(t->messages().texts(), QStringList{"请填写住户名称！"});
    QCOMPARE(grid(&screen)->currentIndex().row(), 2);
    QCOMPARE(t->scalar("select owner_name from owner_info where owner_id = 2").toString(),
             QStringLiteral("甲公司"));
}

void TestOwners::keyboardAndClicksMoveTheList()
{
    OwnersScreen screen(t->context());
    screen.show();
    QTableView* list = grid(&screen);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCoreApplication::processEvents();
    QCOMPARE(currentName(&screen), QStringLiteral("丰公司"));

    // Renamed so that it sorts elsewhere, then a click on another owner: the click
    // lands on that owner, not on whatever row the reloaded list puts under it.
    type(&screen, "dbeOwnerName", "阿商行"); // now sorts first
    const QRect cell = list->visualRect(list->model()->index(0, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QCoreApplication::processEvents();
    QCOMPARE(t->scalar("select owner_name from owner_info where owner_id = 1").toString(),
             QStringLiteral("阿商行"));
    QCOMPARE(currentName(&screen), QStringLiteral("丁's 商行"));
    QCOMPARE(control<QLineEdit>(&screen, "dbeOwnerName")->text(), QStringLiteral("丁's 商行"));
    const QModelIndexList highlighted = list->selectionModel()->selectedRows();
    QCOMPARE(highlighted.size(), 1);
    QCOMPARE(highlighted.first().row(), list->currentIndex().row());

    // A move-in date changed in the picker counts as a change.
    control<QDateEdit>(&screen, "dtpInDate")->setDate(QDate(2021, 6, 1));
    click(&screen, "btnAdd");
    QCOMPARE(t->scalar("select in_date from owner_info where owner_id = 4").toString(),
             QStringLiteral("2021-06-01"));
}

void TestOwners::movingOut()
{
    OwnersScreen screen(t->context());
    selectRow(&screen, 1); // 丰公司
    auto* inOut = control<QComboBox>(&screen, "DBComboBox2");
    inOut->setCurrentIndex(1);
    emit inOut->activated(1);
    click(&screen, "btnModi");
    QCOMPARE(t->scalar("select in_out from owner_info where owner_id = 1").toString(),
             QStringLiteral("搬出"));
    QVERIFY(!names(&screen).contains("丰公司"));
    QCOMPARE(t->scalar("select count(*) from owner_info").toInt(), 5);
}

void TestOwners::deleteRules()
{
    Estate e = t->estate();
    e.addFee({.owner = 1, .type = e.addChargeType("水费", "2.5", "表读数*单价")});
    e.linkRoom(1, "101");
    e.linkRoom(2, "102");
    e.addMember(4, "小王");
    OwnersScreen screen(t->context());

    struct Case
    {
        int row;
        QString message;
    };
    const Case cases[] = {
        {1, "在收费记录里有此用户的记录，请先删除此用户的缴费记录."}, // fee records and rooms: fees reported
        {2, "此用户拥有房间记录，请先删除拥有的房间！"},
    };
    for (const Case& c : cases) {
        t->messages().clear();
        grid(&screen)->selectRow(c.row);
        click(&screen, "btnDelete");
        QCOMPARE(t->messages().texts(),
                 (QStringList{"确实要删除此记录吗?<正式使用中,不推荐删除用户信息！>", c.message}));
        QCOMPARE(t->messages().shown()[0].caption, QStringLiteral("提醒"));
        QCOMPARE(grid(&screen)->currentIndex().row(), c.row); // still on the owner refused
    }
    QCOMPARE(t->scalar("select count(*) from owner_info").toInt(), 5);

    selectRow(&screen, 0); // 丁's 商行
    t->messages().answerConfirm(false);
    click(&screen, "btnDelete");
    QCOMPARE(t->scalar("select count(*) from owner_info").toInt(), 5);
    click(&screen, "btnDelete");
    QCOMPARE(t->scalar("select count(*) from owner_info where owner_id = 4").toInt(), 0);
    QCOMPARE(t->scalar("select count(*) from member where owner_id = 4").toInt(), 1);
    QCOMPARE(names(&screen), (QStringList{"丰公司", "甲公司", "甲公司"}));
}

void TestOwners::browseOnly()
{
    OwnersScreen screen(t->context(false));
    for (const char* name : {"btnAdd", "btnDelete", "btnModi"})
        QVERIFY(!control<QPushButton>(&screen, name)->isEnabled());
    for (const char* name :
         {"dbeOwnerName", "DBEdit3", "DBEdit4", "DBEdit5", "DBEdit9", "DBEdit10", "DBEdit13"})
        QVERIFY2(control<QLineEdit>(&screen, name)->isReadOnly(), name);
    QVERIFY(control<QPlainTextEdit>(&screen, "DBMemo1")->isReadOnly());
    QVERIFY(!control<QComboBox>(&screen, "DBComboBox1")->isEnabled());
    QVERIFY(!control<QComboBox>(&screen, "DBComboBox2")->isEnabled());

    // Search, the all-owners switch, print and export stay available.
    for (const char* name : {"btnQuery", "btnPrint", "Btnexcela"})
        QVERIFY(control<QPushButton>(&screen, name)->isEnabled());
    grid(&screen)->doubleClicked(grid(&screen)->currentIndex());
    selectRow(&screen, 2);
    QVERIFY(t->messages().texts().isEmpty());
}

QTEST_MAIN(TestOwners)
#include "tst_owners.moc"
