#include "core/Decimal2.h"
#include "db/DbError.h"
#include "output/MemoryRecordSource.h"
#include "output/QueryModelRecordSource.h"
#include "output/StatementRecordSource.h"
#include "support/TestDatabase.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlTableModel>
#include <QTest>

class TestRecordSources : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void modelSourceReadsTheWholeListAsItStands();
    void tableModelKeepsItsFilterAndOrder();
    void modelWithoutRowsIsEmpty();
    void statementSourceBindsAndRunsAgain();
    void refusedStatementThrows();
    void fieldsMatchWithoutCase();
};

namespace {

QStringList readAll(RecordSource& source, const QString& field)
{
    QStringList values;
    const int index = [&] {
        const bool any = source.first();
        const int i = source.fieldIndex(field);
        if (!any)
            return -2;
        return i;
    }();
    if (index == -2)
        return values;
    do {
        values << source.value(index).toString();
    } while (source.next());
    return values;
}

void addOwners(TestDatabase& t, int count)
{
    t.exec("begin");
    for (int i = 0; i < count; ++i) {
        t.estate().addOwner({.name = QString("户%1").arg(i, 4, 10, QChar('0')),
                             .inOut = i % 3 == 0 ? "搬出" : "居住",
                             .bailMoney = Decimal2::fromHundredths(i).toString()});
    }
    t.exec("commit");
}

} // namespace

void TestRecordSources::modelSourceReadsTheWholeListAsItStands()
{
    TestDatabase t;
    addOwners(t, 900);
    QSqlQuery query(t.db());
    query.prepare("select owner_name, bail_money from owner_info where in_out = ? order by owner_name desc");
    query.addBindValue("居住");
    QVERIFY(query.exec());
    QSqlQueryModel model;
    model.setQuery(std::move(query));
    // What the grid has fetched so far: a page of 256 rows where the driver
    // cannot tell the size of a result (the file), else every row (a server).
    const int fetched = t.db().driver()->hasFeature(QSqlDriver::QuerySize) ? 600 : 256;
    QCOMPARE(model.rowCount(), fetched);
    const QString firstShown = model.data(model.index(0, 0)).toString();

    QueryModelRecordSource source(model);
    const QStringList names = readAll(source, "owner_name");
    QCOMPARE(names.size(), 600);
    QCOMPARE(names.first(), "户0899");
    QCOMPARE(names.last(), "户0001");
    QVERIFY(std::is_sorted(names.rbegin(), names.rend()));

    // The model is left as it was, and the list can be read again.
    QCOMPARE(model.rowCount(), fetched);
    QCOMPARE(model.data(model.index(0, 0)).toString(), firstShown);
    model.fetchMore(); // as the grid does when scrolled down
    QVERIFY(model.rowCount() > 300);
    QCOMPARE(model.data(model.index(300, 0)).toString(), names[300]);
    QCOMPARE(readAll(source, "owner_name").size(), 600);
}

void TestRecordSources::tableModelKeepsItsFilterAndOrder()
{
    TestDatabase t;
    addOwners(t, 300);
    QSqlTableModel model(nullptr, t.db());
    model.setTable("owner_info");
    model.setFilter("in_out = '搬出'");
    model.setSort(model.fieldIndex("bail_money"), Qt::DescendingOrder);
    QVERIFY(model.select());

    QueryModelRecordSource source(model);
    const QStringList deposits = readAll(source, "bail_money");
    QCOMPARE(deposits.size(), 100);
    QCOMPARE(deposits.first(), "297");
    QCOMPARE(deposits.last(), "0");
}

void TestRecordSources::modelWithoutRowsIsEmpty()
{
    TestDatabase t;
    QSqlQueryModel unloaded;
    QueryModelRecordSource none(unloaded);
    QVERIFY(!none.first());
    QVERIFY(!none.next());
    QVERIFY(!none.fieldValue("owner_name").isValid());

    QSqlQueryModel emptyList;
    emptyList.setQuery(QSqlQuery("select owner_name from owner_info", t.db()));
    QueryModelRecordSource empty(emptyList);
    QVERIFY(!empty.first());
    QCOMPARE(empty.fieldIndex("OWNER_NAME"), 0);
}

void TestRecordSources::statementSourceBindsAndRunsAgain()
{
    TestDatabase t;
    addOwners(t, 10);
    StatementRecordSource source(t.db(),
                                 "select owner_name from owner_info where in_out = ? and owner_name <> ? "
                                 "order by owner_id",
                                 {"搬出", "户0003"});
    QCOMPARE(readAll(source, "owner_name"), QStringList({"户0000", "户0006", "户0009"}));

    // first() runs the statement again and sees what was written meanwhile.
    t.estate().addOwner({.name = "后来户", .inOut = "搬出"});
    QCOMPARE(readAll(source, "owner_name").last(), "后来户");
    QVERIFY(!source.next());
    QVERIFY(!source.fieldValue("owner_name").isValid()); // past the last row
}

void TestRecordSources::refusedStatementThrows()
{
    TestDatabase t;
    StatementRecordSource source(t.db(), "select * from no_such_table");
    try {
        source.first();
        QFAIL("no error");
    } catch (const DbError& e) {
        QVERIFY2(e.text().contains("no_such_table"), qPrintable(e.text()));
    }
}

void TestRecordSources::fieldsMatchWithoutCase()
{
    MemoryRecordSource source({"owner_name", "sum_Payment"}, {{"甲", 100}, {"乙", 250}});
    QVERIFY(source.first());
    QCOMPARE(source.fieldIndex("SUM_PAYMENT"), 1);
    QCOMPARE(source.fieldValue("Owner_Name").toString(), "甲");
    QCOMPARE(source.fieldIndex("sum_derate"), -1);
    QVERIFY(!source.fieldValue("sum_derate").isValid()); // a field the list lacks reads empty
    QVERIFY(source.next());
    QCOMPARE(source.fieldValue("sum_payment").toInt(), 250);
    QVERIFY(!source.next());
}

QTEST_MAIN(TestRecordSources)
#include "tst_recordsources.moc"
