#include "core/Decimal2.h"

#include <QTest>

#include <limits>

class TestDecimal2 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void formatAndRound_data();
    void formatAndRound();
    void productRoundsOnce();
    void exactSums();
    void databaseValue();
};

void TestDecimal2::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qlonglong>("hundredths");

    QTest::newRow("whole") << "12" << true << 1200LL;
    QTest::newRow("blanks around") << "  12.5 " << true << 1250LL;
    QTest::newRow("two places") << "1234.56" << true << 123456LL;
    QTest::newRow("leading point") << ".5" << true << 50LL;
    QTest::newRow("trailing point") << "7." << true << 700LL;
    QTest::newRow("negative") << "-0.01" << true << -1LL;
    QTest::newRow("plus sign") << "+3" << true << 300LL;
    QTest::newRow("third place rounds up") << "0.105" << true << 11LL;
    QTest::newRow("third place rounds down") << "0.104" << true << 10LL;
    QTest::newRow("negative rounds away from zero") << "-0.105" << true << -11LL;
    QTest::newRow("empty") << "" << false << 0LL;
    QTest::newRow("blank") << "   " << false << 0LL;
    QTest::newRow("letters") << "12a" << false << 0LL;
    QTest::newRow("two points") << "1.2.3" << false << 0LL;
    QTest::newRow("sign only") << "-" << false << 0LL;
    QTest::newRow("point only") << "." << false << 0LL;
    QTest::newRow("grouping") << "1,000" << false << 0LL;
    QTest::newRow("exponent") << "1e3" << false << 0LL;
    QTest::newRow("inner blank") << "1 000" << false << 0LL;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << false << 0LL;
    QTest::newRow("overflow") << "999999999999999999999" << false << 0LL;

    // Text of any length: only the whole part can overflow, decimals round.
    QTest::newRow("130 zero decimals") << "0." + QString(130, '0') << true << 0LL;
    QTest::newRow("500 nines after the point") << "0." + QString(500, '9') << true << 100LL;
    QTest::newRow("half after many zeros") << "0.005" + QString(300, '0') << true << 1LL;
    QTest::newRow("just below half") << "-0.004" + QString(300, '9') << true << 0LL;
    QTest::newRow("41 decimals") << "1.23456789012345678901234567890123456789012" << true << 123LL;
    QTest::newRow("many leading zeros") << QString(300, '0') + "12.5" << true << 1250LL;
    QTest::newRow("largest") << "92233720368547758.07" << true << std::numeric_limits<qlonglong>::max();
    QTest::newRow("beyond the largest") << "92233720368547758.08" << false << 0LL;
    QTest::newRow("rounded to the largest")
        << "92233720368547758.065" << true << std::numeric_limits<qlonglong>::max();
    QTest::newRow("rounded beyond the largest") << "92233720368547758.075" << false << 0LL;
    QTest::newRow("smallest") << "-92233720368547758.08" << true << std::numeric_limits<qlonglong>::min();
    QTest::newRow("below the smallest") << "-92233720368547758.09" << false << 0LL;
    QTest::newRow("18 whole digits") << "100000000000000000" << false << 0LL;
    QTest::newRow("a thousand whole digits") << QString(1000, '9') << false << 0LL;
    QTest::newRow("letter after many digits") << QString(1000, '1') + "x" << false << 0LL;
    QTest::newRow("NUL inside") << QString("1") + QChar(0) + "2" << false << 0LL;
}

void TestDecimal2::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qlonglong, hundredths);
    const std::optional<Decimal2> value = Decimal2::parse(text);
    QCOMPARE(value.has_value(), valid);
    if (valid)
        QCOMPARE(value->hundredths(), hundredths);
}

void TestDecimal2::formatAndRound_data()
{
    QTest::addColumn<qlonglong>("hundredths");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");

    QTest::newRow("two places") << 123450LL << 2 << "1234.50";
    QTest::newRow("one place, half up") << 125LL << 1 << "1.3";
    QTest::newRow("one place, down") << 124LL << 1 << "1.2";
    QTest::newRow("negative half away from zero") << -125LL << 1 << "-1.3";
    QTest::newRow("whole") << 250LL << 0 << "3";
    QTest::newRow("small negative") << -5LL << 2 << "-0.05";
    QTest::newRow("rounds to zero, no minus") << -4LL << 1 << "0.0";
    QTest::newRow("zero") << 0LL << 2 << "0.00";
}

void TestDecimal2::formatAndRound()
{
    QFETCH(qlonglong, hundredths);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(Decimal2::fromHundredths(hundredths).toString(decimals), text);
}

void TestDecimal2::productRoundsOnce()
{
    // 2.49 m² × 0.50 = 1.245 exactly: one rounding to one place gives 1.2; rounding to
    // two places first (1.25) and then to one would wrongly give 1.3.
    const Area area = *Decimal2::parse("2.49");
    const Money price = *Decimal2::parse("0.5");
    QCOMPARE(area.times(price, 1).toString(1), QStringLiteral("1.2"));
    QCOMPARE(area.times(price, 2).toString(2), QStringLiteral("1.25"));
    // Floor area × unit price × months, months applied exactly first.
    QCOMPARE(area.times(3).times(price, 1).toString(1), QStringLiteral("3.7"));
}

void TestDecimal2::exactSums()
{
    // 20,000 × 0.10 in floating point is not 2000; in hundredths it is.
    Money total;
    for (int i = 0; i < 20000; ++i)
        total += *Decimal2::parse("0.1");
    QCOMPARE(total.toString(), QStringLiteral("2000.00"));
}

void TestDecimal2::databaseValue()
{
    const Money m = *Decimal2::parse("-12.34");
    QCOMPARE(m.toDb().toLongLong(), -1234LL);
    QCOMPARE(Decimal2::fromDb(m.toDb()), std::optional<Decimal2>(m));
    QVERIFY(!Decimal2::fromDb(QVariant()).has_value());
}

QTEST_GUILESS_MAIN(TestDecimal2)
#include "tst_decimal2.moc"
