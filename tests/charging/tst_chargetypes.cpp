#include "charging/ChargeTypesScreen.h"
#include "charging/DeviceTypesScreen.h"
#include "db/DefaultRows.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

// The two code tables of the parameters: charge types (the fees every office
// bills keep their name and rule) and device kinds (kept while a device is of it).
class TestChargeTypes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void protectedTypes_data();
    void protectedTypes();
    void aTypeWithFeesStays();
    void pricesAndNewTypesAreStored();
    void deviceKinds();
    void browseOnlyStoresNothing();
};

namespace {

QTableView* grid(QWidget* screen)
{
    return control<QTableView>(screen, "dbgGarden");
}

bool editable(QWidget* screen, int row, int column)
{
    const QAbstractItemModel* model = grid(screen)->model();
    return model->flags(model->index(row, column)) & Qt::ItemIsEditable;
}

void type(QWidget* screen, int row, int column, const QString& text)
{
    QAbstractItemModel* model = grid(screen)->model();
    QVERIFY(model->setData(model->index(row, column), text));
}

// Moves to a row as a click in its name cell would (the grid selects cells).
void goTo(QWidget* screen, int row)
{
    grid(screen)->setCurrentIndex(grid(screen)->model()->index(row, 1));
}

void click(QWidget* screen, const char* name)
{
    control<QPushButton>(screen, name)->click();
}

} // namespace

void TestChargeTypes::protectedTypes_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("isProtected");
    // The defaults in their order: 物管费, 服务费, 电费, 水费.
    QTest::newRow("物管费") << 0 << true;
    QTest::newRow("服务费") << 1 << true;
    QTest::newRow("电费") << 2 << true;
    QTest::newRow("水费") << 3 << false;
}

void TestChargeTypes::protectedTypes()
{
    QFETCH(int, row);
    QFETCH(bool, isProtected);
    TestDatabase t;
    default_rows::seedChargeTypes(t.db());
    ChargeTypesScreen screen(t.context());
    QCOMPARE(screen.windowTitle(), QString("费用类别"));
    QCOMPARE(columnTexts(grid(&screen)->model(), 1), (QStringList{"物管费", "服务费", "电费", "水费"}));
    goTo(&screen, row);
    QCOMPARE(editable(&screen, row, 1), !isProtected); // name
    QCOMPARE(editable(&screen, row, 3), !isProtected); // rule
    QVERIFY(editable(&screen, row, 2));                // the price always
    QVERIFY(!editable(&screen, row, 0));               // the number never
    QCOMPARE(control<QPushButton>(&screen, "btnDel")->isEnabled(), !isProtected);

    click(&screen, "btnDel");
    const int left = isProtected ? 4 : 3;
    QCOMPARE(t.scalar("select count(*) from charge_type").toInt(), left);
    if (!isProtected)
        QCOMPARE(t.messages().shown().first().text, QString("确实要删除此费用参数吗?"));
}

void TestChargeTypes::aTypeWithFeesStays()
{
    TestDatabase t;
    default_rows::seedChargeTypes(t.db());
    Estate e = t.estate();
    const qlonglong parking = e.addChargeType("停车费", "150", "单价*月份");
    e.addChargeType("广告位费", "0", "普通收费");
    e.addFee({.owner = e.addOwner({.name = "甲公司"}), .type = parking, .shouldPay = "150"});
    ChargeTypesScreen screen(t.context());
    goTo(&screen, 4); // 停车费
    click(&screen, "btnDel");
    QCOMPARE(t.messages().texts(),
             (QStringList{"确实要删除此费用参数吗?",
                          "此费用类别已有收费记录，不能删除！如确需删除，请先删除此类别的所有收费记录。"}));
    QCOMPARE(t.scalar("select count(*) from charge_type where type_id = ?", {parking}).toInt(), 1);

    goTo(&screen, 5); // 广告位费, no fees
    click(&screen, "btnDel");
    QCOMPARE(columnTexts(grid(&screen)->model(), 1),
             (QStringList{"物管费", "服务费", "电费", "水费", "停车费"}));
}

void TestChargeTypes::pricesAndNewTypesAreStored()
{
    TestDatabase t;
    default_rows::seedChargeTypes(t.db());
    ChargeTypesScreen screen(t.context());
    goTo(&screen, 0);
    type(&screen, 0, 2, "2.5");
    click(&screen, "btnSave");
    QCOMPARE(t.scalar("select unit_price from charge_type where type_name = '物管费'").toLongLong(), 250);
    QCOMPARE(grid(&screen)->model()->index(0, 2).data().toString(), QString("2.50"));

    // A new type is stored as typed, its rule text unchecked; leaving the row stores it.
    click(&screen, "btnAdd");
    QCOMPARE(grid(&screen)->model()->rowCount(), 5);
    type(&screen, 4, 1, "停车费");
    type(&screen, 4, 2, "150");
    type(&screen, 4, 3, "单价*月份 ");
    goTo(&screen, 0);
    QCoreApplication::processEvents();
    QCOMPARE(
        t.scalar(
             "select type_name || '|' || unit_price || '|' || take_type from charge_type where type_id = 5")
            .toString(),
        QString("停车费|15000|单价*月份"));

    // A price that is no number is refused, nothing stored.
    goTo(&screen, 3);
    type(&screen, 3, 2, "十元");
    click(&screen, "btnSave");
    QCOMPARE(t.messages().errors(), QStringList{"“十元”不是有效的数值。"});
    QCOMPARE(t.scalar("select unit_price from charge_type where type_name = '水费'").toLongLong(), 0);
}

void TestChargeTypes::deviceKinds()
{
    TestDatabase t;
    t.exec("insert into dev_type (type_name) values ('电梯'), ('水泵')");
    t.exec("insert into device (type_id, dev_no) values (1, 'DT-1')");
    DeviceTypesScreen screen(t.context());
    QCOMPARE(screen.windowTitle(), QString("代码设置"));
    QCOMPARE(columnTexts(grid(&screen)->model(), 1), (QStringList{"电梯", "水泵"}));

    click(&screen, "btnAdd");
    click(&screen, "btnSave");
    QCOMPARE(t.messages().texts(), QStringList{"请填写名称!"});
    type(&screen, 2, 1, "配电柜");
    click(&screen, "btnSave");
    QCOMPARE(columnTexts(grid(&screen)->model(), 1), (QStringList{"电梯", "水泵", "配电柜"}));

    t.messages().clear();
    goTo(&screen, 0);
    click(&screen, "btnDel");
    QCOMPARE(t.messages().texts(),
             (QStringList{"确实要删除此记录吗?",
                          "此类型有具体的设备存在，如确定要删除此类型，先要删除此类型下的所有设备！"}));
    goTo(&screen, 1);
    click(&screen, "btnDel");
    QCOMPARE(columnTexts(grid(&screen)->model(), 1), (QStringList{"电梯", "配电柜"}));
}

void TestChargeTypes::browseOnlyStoresNothing()
{
    TestDatabase t;
    default_rows::seedChargeTypes(t.db());
    for (bool charges : {true, false}) {
        std::unique_ptr<QWidget> screen;
        if (charges)
            screen = std::make_unique<ChargeTypesScreen>(t.context(false));
        else
            screen = std::make_unique<DeviceTypesScreen>(t.context(false));
        for (const char* name : {"btnAdd", "btnSave", "btnDel"})
            QVERIFY2(!control<QPushButton>(screen.get(), name)->isEnabled(), name);
        goTo(screen.get(), 3); // scrolling never enables Delete
        QVERIFY(!control<QPushButton>(screen.get(), "btnDel")->isEnabled());
        if (charges)
            QVERIFY(!editable(screen.get(), 3, 2));
    }
}

QTEST_MAIN(TestChargeTypes)
#include "tst_chargetypes.moc"
