#include "queries/Arrears.h"
#include "queries/IncomeByType.h"
#include "queries/PaymentRecords.h"
#include "support/TestDatabase.h"

#include <QTest>

// The three queries as tables of money, checked cell by cell.
class TestQueryTables : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void paymentRecords();
    void arrearsOverAPeriod();
    void arrearsBeforeAnyQuery();
    void incomeByType();
    void sumsAreExactOverManyRecords();

private:
    TestDatabase* t = nullptr;
    qlonglong jia = 0;
    qlonglong yi = 0;
};

namespace {

const Period kAugust{QDate(2003, 8, 1), QDate(2003, 8, 31)};

QString m(Money money)
{
    return money.toString(2);
}

} // namespace

void TestQueryTables::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addChargeType("物管费", "2.5", "建筑面积*单价*月份"); // 1
    e.addChargeType("电费", "0.6", "表读数*单价");          // 2
    e.addChargeType("水费", "1", "表读数*单价");            // 3
    jia = e.addOwner({.name = "甲公司"});
    yi = e.addOwner({.name = "乙公司"});
    e.addFee({.owner = jia, .type = 1, .shouldPay = "480", .paid = "300", .date = "2003-08-31"});
    e.addFee({.owner = jia, .type = 2, .shouldPay = "72", .paid = "72", .date = "2003-08-01"});
    e.addFee({.owner = jia, .type = 3, .shouldPay = "100", .paid = "0", .date = "2003-08-10"});
    e.addFee({.owner = jia, .type = 3, .shouldPay = "100", .paid = "50", .date = "2003-08-11"});
    e.addFee(
        {.owner = jia, .type = 1, .shouldPay = "999", .paid = "0", .date = "2003-09-01"}); // after the period
    e.addFee({.owner = yi, .type = 1, .shouldPay = "10", .paid = "0", .date = "2003-08-15"});
    e.addFee({.owner = yi, .type = 4, .shouldPay = "5", .paid = "5", .date = "2003-08-15"}); // a type deleted
}

void TestQueryTables::cleanup()
{
    delete t;
}

void TestQueryTables::paymentRecords()
{
    const QList<payment_records::Row> rows = payment_records::rows(t->db(), jia, kAugust);
    QCOMPARE(rows.size(), 4); // both ends of the period included; September's bill not
    const payment_records::Row& bill = rows[0];
    QCOMPARE(bill.takeId, 1);
    QCOMPARE(bill.typeName, QString("物管费"));
    QCOMPARE(m(bill.shouldPay), QString("480.00"));
    QCOMPARE(m(bill.paymentReal), QString("300.00"));
    QCOMPARE(m(bill.oweMoney), QString("180.00"));
    QCOMPARE(bill.takeDate, QDate(2003, 8, 31));
    QCOMPARE(m(rows[1].oweMoney), QString("0.00")); // paid in full
}

void TestQueryTables::arrearsOverAPeriod()
{
    const QList<arrears::Row> rows = arrears::rows(t->db(), jia, kAugust);
    // Electricity is settled and not listed; two water bills make one row.
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].ownerName, QString("甲公司"));
    QCOMPARE(rows[0].typeName, QString("物管费"));
    QCOMPARE(m(rows[0].sumShould), QString("480.00"));
    QCOMPARE(m(rows[0].sumPayment), QString("300.00"));
    QCOMPARE(m(rows[0].oweMoney), QString("180.00"));
    QCOMPARE(m(rows[0].sumOwe), QString("-180.00"));
    QCOMPARE(rows[1].typeName, QString("水费"));
    QCOMPARE(m(rows[1].sumShould), QString("200.00"));
    QCOMPARE(m(rows[1].sumPayment), QString("50.00"));
    QCOMPARE(m(rows[1].oweMoney), QString("150.00"));
    QVERIFY(arrears::rows(t->db(), jia, Period{QDate(2004, 1, 1), QDate(2004, 1, 31)}).isEmpty());
}

void TestQueryTables::arrearsBeforeAnyQuery()
{
    // All dates, settled types included.
    const QList<arrears::Row> rows = arrears::rows(t->db(), jia, std::nullopt);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(m(rows[0].sumShould), QString("1479.00"));
    QCOMPARE(m(rows[1].oweMoney), QString("0.00"));
}

void TestQueryTables::incomeByType()
{
    const QList<income_by_type::Row> rows = income_by_type::rows(t->db(), kAugust);
    QCOMPARE(rows.size(), 4);
    const QList<QStringList> expected = {
        {"1", "物管费", "490.00", "300.00", "-190.00"},
        {"2", "电费", "72.00", "72.00", "0.00"},
        {"3", "水费", "200.00", "50.00", "-150.00"},
        {"4", "", "5.00", "5.00", "0.00"}, // records of a deleted type: a row without a name
    };
    for (int i = 0; i < rows.size(); ++i) {
        const income_by_type::Row& r = rows[i];
        QCOMPARE(
            (QStringList{QString::number(r.typeId), r.typeName, m(r.sumShould), m(r.sumReal), m(r.sumOwe)}),
            expected[i]);
    }
    QVERIFY(income_by_type::rows(t->db(), Period{QDate(2001, 1, 1), QDate(2001, 1, 2)}).isEmpty());
}

void TestQueryTables::sumsAreExactOverManyRecords()
{
    // 2,000 records of 0.10: a sum of floating-point values would drift.
    t->exec("begin");
    for (int i = 0; i < 2000; ++i)
        t->estate().addFee({.owner = yi, .type = 2, .shouldPay = "0.10", .paid = "0", .date = "2003-08-20"});
    t->exec("commit");
    const QList<arrears::Row> rows = arrears::rows(t->db(), yi, kAugust);
    QCOMPARE(m(rows[1].sumShould), QString("200.00"));
    QCOMPARE(m(income_by_type::rows(t->db(), kAugust)[1].sumShould), QString("272.00"));
}

QTEST_MAIN(TestQueryTables)
#include "tst_querytables.moc"
