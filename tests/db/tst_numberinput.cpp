#include "db/DbError.h"
#include "db/MoneyValidator.h"
#include "db/NumberInput.h"

#include <QTest>

// Numbers typed into the boxes: one parse for money, areas and quantities,
// read for the column the number is stored in.
class TestNumberInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decimals_data();
    void decimals();
    void wholeNumbers_data();
    void wholeNumbers();
    void conversionErrorNamesTheText();
    void moneyTyping_data();
    void moneyTyping();
};

using number_input::Result;
Q_DECLARE_METATYPE(number_input::Result)
Q_DECLARE_METATYPE(QValidator::State)

void TestNumberInput::decimals_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Result>("result");
    QTest::addColumn<qlonglong>("hundredths");

    // garden.build_area is decimal(10,2): fewer than 10 digits in hundredths.
    QTest::newRow("empty") << "" << Result::Empty << 0LL;
    QTest::newRow("blanks") << "   " << Result::Empty << 0LL;
    QTest::newRow("whole") << "12" << Result::Number << 1200LL;
    QTest::newRow("two decimals, blanks around") << " 1234.56 " << Result::Number << 123456LL;
    QTest::newRow("pasted with many blanks")
        << QString(21, ' ') + "1234567.89" << Result::Number << 123456789LL;
    QTest::newRow("sign and point") << "-3.5" << Result::Number << -350LL;
    QTest::newRow("plus, trailing point") << "+7." << Result::Number << 700LL;
    QTest::newRow("leading point") << ".5" << Result::Number << 50LL;
    QTest::newRow("full-width digits") << "１２３．４５" << Result::Number << 12345LL;
    QTest::newRow("full-width minus") << "－８" << Result::Number << -800LL;
    QTest::newRow("largest of the column") << "99999999.99" << Result::Number << 9999999999LL;
    QTest::newRow("beyond the column") << "100000000" << Result::NotANumber << 0LL;
    QTest::newRow("three decimals") << "1.005" << Result::NotANumber << 0LL;
    QTest::newRow("130 decimals") << "0." + QString(130, '0') << Result::NotANumber << 0LL;
    QTest::newRow("forty digits") << QString(40, '9') << Result::NotANumber << 0LL;
    QTest::newRow("grouping comma") << "12,5" << Result::NotANumber << 0LL;
    QTest::newRow("exponent") << "1e3" << Result::NotANumber << 0LL;
    QTest::newRow("letters") << "十" << Result::NotANumber << 0LL;
    QTest::newRow("sign alone") << "-" << Result::NotANumber << 0LL;
    QTest::newRow("point alone") << "." << Result::NotANumber << 0LL;
    QTest::newRow("two points") << "1.2.3" << Result::NotANumber << 0LL;
    QTest::newRow("Arabic-Indic digits") << "١٢" << Result::NotANumber << 0LL;
}

void TestNumberInput::decimals()
{
    QFETCH(QString, typed);
    QFETCH(Result, result);
    QFETCH(qlonglong, hundredths);
    const number_input::Decimal d = number_input::decimal(typed, "garden", "build_area");
    QCOMPARE(d.result, result);
    if (result == Result::Number)
        QCOMPARE(d.value.hundredths(), hundredths);
}

void TestNumberInput::wholeNumbers_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Result>("result");
    QTest::addColumn<qlonglong>("value");

    QTest::newRow("integer") << "garden.rooms_num"
                             << "120" << Result::Number << 120LL;
    QTest::newRow("full-width") << "garden.rooms_num"
                                << "１２" << Result::Number << 12LL;
    QTest::newRow("integer, largest") << "garden.rooms_num"
                                      << "2147483647" << Result::Number << 2147483647LL;
    QTest::newRow("integer, beyond") << "garden.rooms_num"
                                     << "2147483648" << Result::NotANumber << 0LL;
    QTest::newRow("decimals refused") << "garden.rooms_num"
                                      << "1.5" << Result::NotANumber << 0LL;
    QTest::newRow("small integer, largest") << "goods.store_num"
                                            << "32767" << Result::Number << 32767LL;
    QTest::newRow("small integer, beyond") << "goods.store_num"
                                           << "32768" << Result::NotANumber << 0LL;
    QTest::newRow("small integer, lowest") << "goods.store_num"
                                           << "-32768" << Result::Number << -32768LL;
    QTest::newRow("charge type past 255") << "charge_take.type_id"
                                          << "256" << Result::Number << 256LL;
    QTest::newRow("beyond any integer")
        << "garden.rooms_num" << QString(30, '9') << Result::NotANumber << 0LL;
    QTest::newRow("empty") << "garden.rooms_num"
                           << " " << Result::Empty << 0LL;
}

void TestNumberInput::wholeNumbers()
{
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(Result, result);
    QFETCH(qlonglong, value);
    const QByteArray table = column.section('.', 0, 0).toLatin1();
    const QByteArray name = column.section('.', 1).toLatin1();
    const number_input::Whole w = number_input::whole(typed, table.constData(), name.constData());
    QCOMPARE(w.result, result);
    QCOMPARE(w.value, value);
}

void TestNumberInput::conversionErrorNamesTheText()
{
    QCOMPARE(number_input::optionalDecimal(" ", "garden", "use_area"), std::nullopt);
    QCOMPARE(number_input::optionalWhole("7", "garden", "rooms_num"), std::optional<int>(7));
    try {
        number_input::optionalDecimal(" 12,5 ", "garden", "use_area");
        QFAIL("no conversion error");
    } catch (const DbError& e) {
        QCOMPARE(e.text(), QString("“12,5”不是有效的数值。"));
    }
}

void TestNumberInput::moneyTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QValidator::State>("state");
    // owner_info.bail_money is decimal(10,2).
    QTest::newRow("empty") << "" << QValidator::Intermediate;
    QTest::newRow("sign on its way") << "-" << QValidator::Intermediate;
    QTest::newRow("point on its way") << "." << QValidator::Intermediate;
    QTest::newRow("amount with a point") << "12." << QValidator::Acceptable;
    QTest::newRow("full-width, blanks around") << " １２．５ " << QValidator::Acceptable;
    QTest::newRow("largest of the column") << "99999999.99" << QValidator::Acceptable;
    QTest::newRow("a digit too many") << "999999999" << QValidator::Invalid;
    QTest::newRow("third decimal") << "1.234" << QValidator::Invalid;
    QTest::newRow("letter") << "5x" << QValidator::Invalid;
    QTest::newRow("exponent") << "1e3" << QValidator::Invalid;
}

void TestNumberInput::moneyTyping()
{
    QFETCH(QString, typed);
    QFETCH(QValidator::State, state);
    MoneyValidator validator("owner_info", "bail_money", nullptr);
    int position = int(typed.size());
    QCOMPARE(validator.validate(typed, position), state);
}

QTEST_MAIN(TestNumberInput)
#include "tst_numberinput.moc"
