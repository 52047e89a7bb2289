#include "charging/FeeRules.h"

#include <QTest>

// The arithmetic of fees: months counted by year and month, amounts exact to the
// fen and rounded once to one decimal, halves away from zero.
class TestFeeRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void months_data();
    void months();
    void amounts_data();
    void amounts();
    void readings_data();
    void readings();
};

void TestFeeRules::months_data()
{
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<int>("months");
    QTest::newRow("over a new year") << QDate(2003, 11, 15) << QDate(2004, 2, 3) << 4;
    QTest::newRow("days play no part") << QDate(2003, 8, 5) << QDate(2003, 8, 20) << 1;
    QTest::newRow("two days, two months") << QDate(2003, 1, 31) << QDate(2003, 2, 1) << 2;
    QTest::newRow("one month") << QDate(2026, 12, 10) << QDate(2026, 12, 10) << 1;
    QTest::newRow("last before first") << QDate(2003, 9, 1) << QDate(2003, 8, 31) << 0;
}

void TestFeeRules::months()
{
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(int, months);
    QCOMPARE(fee_rules::months(first, last), months);
}

void TestFeeRules::amounts_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<int>("months");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity"); // area, or "previous-current"
    QTest::addColumn<QString>("amount");

    QTest::newRow("4 months × 2.5 × 120.5 m²") << "area" << 4 << "2.5"
                                               << "120.5"
                                               << "1205.0";
    QTest::newRow("3 × 3 × 120") << "area" << 3 << "3"
                                 << "120"
                                 << "1080.0";
    QTest::newRow("area rounded once, half up") << "area" << 1 << "0.35"
                                                << "0.5"
                                                << "0.2"; // 0.175
    QTest::newRow("area rounded once, below half") << "area" << 1 << "0.33"
                                                   << "0.5"
                                                   << "0.2"; // 0.165
    QTest::newRow("area, no fen lost on a large estate") << "area" << 12 << "3.21"
                                                         << "123456.78"
                                                         << "4755555.2";
    QTest::newRow("price × months") << "price" << 3 << "33.33"
                                    << ""
                                    << "100.0";
    QTest::newRow("0.05 is shown 0.1") << "price" << 1 << "0.05"
                                       << ""
                                       << "0.1";
    QTest::newRow("0.04 is shown 0.0") << "price" << 1 << "0.04"
                                       << ""
                                       << "0.0";
    QTest::newRow("negative halves away from zero") << "price" << 1 << "-0.05"
                                                    << ""
                                                    << "-0.1";
    QTest::newRow("meter, previous empty") << "meter" << 0 << "0.6"
                                           << "0-120"
                                           << "72.0";
    QTest::newRow("meter with decimals") << "meter" << 0 << "0.75"
                                         << "1234.56-1300.1"
                                         << "49.2"; // 49.155
}

void TestFeeRules::amounts()
{
    QFETCH(QString, rule);
    QFETCH(int, months);
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(QString, amount);
    const Money unitPrice = *Decimal2::parse(price);
    Money computed;
    if (rule == "area") {
        computed = fee_rules::areaAmount(months, unitPrice, *Decimal2::parse(quantity));
    } else if (rule == "price") {
        computed = fee_rules::priceAmount(months, unitPrice);
    } else {
        const QStringList readings = quantity.split('-');
        computed =
            fee_rules::meterAmount(*Decimal2::parse(readings[0]), *Decimal2::parse(readings[1]), unitPrice);
    }
    QCOMPARE(fee_rules::amountText(computed), amount);
    QCOMPARE(computed, *Decimal2::parse(amount)); // stored as shown, to the fen
}

void TestFeeRules::readings_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("value");
    QTest::newRow("empty is 0") << "  " << true << "0.00";
    QTest::newRow("whole") << "120" << true << "120.00";
    QTest::newRow("two decimals") << "1234.56" << true << "1234.56";
    QTest::newRow("ten characters") << "1234567.89" << true << "1234567.89";
    QTest::newRow("eleven characters") << "12345678.90" << false << "";
    QTest::newRow("three decimals") << "1.234" << false << "";
    QTest::newRow("letters") << "十二" << false << "";
    QTest::newRow("full-width") << "１２０" << true << "120.00";
}

void TestFeeRules::readings()
{
    QFETCH(QString, typed);
    QFETCH(bool, valid);
    QFETCH(QString, value);
    const std::optional<Decimal2> reading = fee_rules::reading(typed);
    QCOMPARE(reading.has_value(), valid);
    if (valid)
        QCOMPARE(reading->toString(2), value);
}

QTEST_MAIN(TestFeeRules)
#include "tst_feerules.moc"
