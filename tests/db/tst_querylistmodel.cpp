#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/QueryListModel.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QTest>

// The list model of every grid: rows as the office reads them, long lists read a
// page at a time by their order keys, typed edits and one new row kept until the
// screen stores them; always a well-behaved model.
class TestQueryListModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showsValuesAsTheOfficeReadsThem();
    void pagesReadEveryRowOnceInOrder_data();
    void pagesReadEveryRowOnceInOrder();
    void findRowReadsFurtherPages();
    void noStatementStaysOpenBetweenPages();
    void editsAndTheNewRow();
    void aRefusedStatementLeavesTheListAsItWas();
};

namespace {

using K = ListColumn::Kind;

QList<ListColumn> ownerColumns()
{
    return {{"owner_id", "", K::Number},
            {"owner_name", "单位名称"},
            {"bail_money", "保证金", K::Decimal},
            {"in_date", "迁入日期", K::Date}};
}

QStringList column(const QAbstractItemModel& model, int c)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, c).data().toString();
    return texts;
}

void fetchAll(QAbstractItemModel& model)
{
    while (model.canFetchMore({}))
        model.fetchMore({});
}

// Owners whose names repeat, so that the first order key alone cannot continue a page.
void addOwners(TestDatabase& t, int count)
{
    t.exec("begin");
    for (int i = 0; i < count; ++i)
        t.estate().addOwner({.name = QString("户%1").arg(i % 7), .inOut = i % 2 ? "居住" : "搬出"});
    t.exec("commit");
}

} // namespace

void TestQueryListModel::showsValuesAsTheOfficeReadsThem()
{
    TestDatabase t;
    t.estate().addOwner({.name = "甲公司 ", .inDate = "2020-05-01", .bailMoney = "1500.5"});
    t.estate().addOwner({.name = "乙公司"});
    QueryListModel model(ownerColumns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.load(t.db(), {"owner_info", {}, {}, {"owner_id"}});

    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 1).data().toString(), QString("甲公司"));
    QCOMPARE(model.index(0, 2).data().toString(), QString("1500.50"));
    QCOMPARE(model.index(0, 3).data().toString(), QString("2020-05-01"));
    QVERIFY(model.index(1, 2).data().isNull()); // no deposit: an empty cell, not "0.00"
    QCOMPARE(model.value(0, "bail_money").toLongLong(), 150050);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("单位名称"));
    const auto alignment = [&](int c) {
        return model.index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    };
    QVERIFY(alignment(2) & Qt::AlignRight); // money aligned right
    QVERIFY(alignment(1) & Qt::AlignLeft);
}

void TestQueryListModel::pagesReadEveryRowOnceInOrder_data()
{
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("pageSize");

    QTest::newRow("by key") << QStringList{"owner_id"} << "" << 50;
    QTest::newRow("name repeats, key breaks ties") << QStringList{"owner_name", "owner_id"} << "" << 37;
    QTest::newRow("downwards") << QStringList{"owner_name desc", "owner_id desc"} << "" << 64;
    QTest::newRow("mixed directions") << QStringList{"owner_name desc", "owner_id"} << "" << 13;
    QTest::newRow("with a condition") << QStringList{"owner_name", "owner_id"} << "in_out = ?" << 29;
    QTest::newRow("page larger than the list") << QStringList{"owner_id"} << "" << 5000;
}

void TestQueryListModel::pagesReadEveryRowOnceInOrder()
{
    QFETCH(QStringList, order);
    QFETCH(QString, where);
    QFETCH(int, pageSize);
    TestDatabase t;
    addOwners(t, 1000);
    const ListQuery query{"owner_info", where, where.isEmpty() ? QVariantList() : QVariantList{"居住"},
                          order};

    QueryListModel whole(ownerColumns());
    whole.load(t.db(), query);
    QueryListModel paged(ownerColumns());
    paged.setPageSize(pageSize);
    QAbstractItemModelTester tester(&paged, QAbstractItemModelTester::FailureReportingMode::QtTest);
    paged.load(t.db(), query);
    QCOMPARE(paged.rowCount(), std::min(pageSize, whole.rowCount()));
    fetchAll(paged);
    QCOMPARE(column(paged, 0), column(whole, 0));
    QCOMPARE(paged.rowCount(), where.isEmpty() ? 1000 : 500);
}

void TestQueryListModel::findRowReadsFurtherPages()
{
    TestDatabase t;
    addOwners(t, 300);
    QueryListModel model(ownerColumns());
    model.setPageSize(20);
    model.load(t.db(), {"owner_info", {}, {}, {"owner_id"}});
    QCOMPARE(model.findRow("owner_id", 257), 256);
    QVERIFY(model.rowCount() >= 257);
    QCOMPARE(model.findRow("owner_id", 9999), -1);
    QCOMPARE(model.rowCount(), 300);
}

void TestQueryListModel::noStatementStaysOpenBetweenPages()
{
    // A statement left open would keep this copy on an old snapshot: after another
    // copy wrote, this copy's next write would fail as locked.
    TestDatabase t;
    addOwners(t, 100);
    QueryListModel model(ownerColumns());
    model.setPageSize(10);
    model.load(t.db(), {"owner_info", {}, {}, {"owner_id"}});
    model.fetchMore({});
    QString error;
    {
        QSqlDatabase other = database::open(t.path(), "other copy", &error);
        QVERIFY(error.isEmpty());
        sql::exec(other, "update owner_info set linker = '别人' where owner_id = 1");
    }
    QSqlDatabase::removeDatabase("other copy");
    Transaction write(t.db());
    sql::exec(t.db(), "update owner_info set linker = '我' where owner_id = 2");
    write.commit();
    fetchAll(model);
    QCOMPARE(model.rowCount(), 100);
}

void TestQueryListModel::editsAndTheNewRow()
{
    TestDatabase t;
    addOwners(t, 3);
    QList<ListColumn> columns = ownerColumns();
    columns[1].editable = true;
    QueryListModel model(columns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.load(t.db(), {"owner_info", {}, {}, {"owner_id"}});

    QVERIFY(!model.setData(model.index(0, 2), "1")); // not an editable column
    QVERIFY(model.setData(model.index(1, 1), "改名"));
    QVERIFY(model.isEdited(1));
    QVERIFY(!model.isEdited(0));
    QCOMPARE(model.value(1, "owner_name").toString(), QString("改名"));

    const int row = model.appendNewRow();
    QCOMPARE(row, 3);
    QCOMPARE(model.appendNewRow(), 3); // at most one new row
    QVERIFY(model.isNewRow(3));
    QCOMPARE(model.storedRowCount(), 3);
    QVERIFY(model.setData(model.index(3, 1), "新户"));
    QCOMPARE(model.index(3, 1).data().toString(), QString("新户"));
    QVERIFY(!model.value(3, "owner_id").isValid());

    model.reload(); // the edits and the new row are the screen's to store first
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(!model.isEdited(1));
    QCOMPARE(model.index(1, 1).data().toString(), QString("户1"));
}

void TestQueryListModel::aRefusedStatementLeavesTheListAsItWas()
{
    TestDatabase t;
    addOwners(t, 5);
    QueryListModel model(ownerColumns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.load(t.db(), {"owner_info", {}, {}, {"owner_id"}});
    QVERIFY_THROWS_EXCEPTION(DbError, model.load(t.db(), {"no_such_table", {}, {}, {"owner_id"}}));
    QCOMPARE(model.rowCount(), 5);
}

QTEST_MAIN(TestQueryListModel)
#include "tst_querylistmodel.moc"
