#include "core/CapitalAmount.h"

#include <QTest>

// The amount a receipt writes under 人民币大写, against texts worked by hand.
class TestCapitalAmount : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cases_data();
    void cases();
};

void TestCapitalAmount::cases_data()
{
    QTest::addColumn<qint64>("hundredths");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << qint64(0) << "零元整";
    QTest::newRow("five fen") << qint64(5) << "伍分";
    QTest::newRow("five jiao") << qint64(50) << "伍角";
    QTest::newRow("ten yuan") << qint64(1000) << "壹拾元整";
    QTest::newRow("ten yuan five fen") << qint64(1005) << "壹拾元零伍分";
    QTest::newRow("the issue's example") << qint64(1234567) << "壹万贰仟叁佰肆拾伍元陆角柒分";
    QTest::newRow("a zero group between") << qint64(10001050) << "壹拾万零壹拾元伍角";
    QTest::newRow("a million and a fen") << qint64(100000001) << "壹佰万元零壹分";
    QTest::newRow("zeros inside a group") << qint64(100100) << "壹仟零壹元整";
    QTest::newRow("a group beginning with zeros") << qint64(1000100) << "壹万零壹元整";
    QTest::newRow("ten million and one") << qint64(1000000100) << "壹仟万零壹元整";
    QTest::newRow("the largest of eight digits")
        << qint64(9999999999) << "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分";
    QTest::newRow("a hundred million") << qint64(10000000000) << "壹亿元整";
    QTest::newRow("a hundred million and ten thousand") << qint64(10001000000) << "壹亿零壹万元整";
    QTest::newRow("a void") << qint64(-1234500) << "负壹万贰仟叁佰肆拾伍元整";
    QTest::newRow("a void of fen") << qint64(-7) << "负柒分";
}

void TestCapitalAmount::cases()
{
    QFETCH(qint64, hundredths);
    QFETCH(QString, text);
    QCOMPARE(capitalAmount(Money::fromHundredths(hundredths)), text);
}

QTEST_APPLESS_MAIN(TestCapitalAmount)
#include "tst_capitalamount.moc"
