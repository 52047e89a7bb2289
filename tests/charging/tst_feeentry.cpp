#include "charging/FeeEntry.h"
#include "support/TestDatabase.h"

#include <QTest>

// The save checks of a fee, without the fee screen: each refusal in its order,
// with the column it concerns, and the record a passing input makes.
class TestFeeEntry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void saveChecks_data();
    void saveChecks();
};

void TestFeeEntry::saveChecks_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("due");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("paid");
    QTest::addColumn<QString>("message"); // empty: passes
    QTest::addColumn<QString>("field");

    QTest::newRow("no type") << ""
                             << ""
                             << ""
                             << ""
                             << ""
                             << "请选择费用名称！"
                             << "type_id";
    QTest::newRow("no amount due") << "电费"
                                   << " "
                                   << "x"
                                   << ""
                                   << ""
                                   << "请输入应付款！"
                                   << "should_pay";
    QTest::newRow("amount due no number") << "电费"
                                          << "十"
                                          << "x"
                                          << ""
                                          << ""
                                          << "应付款需要填写数字！"
                                          << "should_pay";
    QTest::newRow("amount due, three decimals") << "电费"
                                                << "1.005"
                                                << ""
                                                << ""
                                                << ""
                                                << "应付款需要填写数字！"
                                                << "should_pay";
    QTest::newRow("previous reading") << "电费"
                                      << "10"
                                      << "x"
                                      << "y"
                                      << "z"
                                      << "上次缴费度数需要填写数字！"
                                      << "start_num";
    QTest::newRow("current reading") << "电费"
                                     << "10"
                                     << "1"
                                     << "y"
                                     << "z"
                                     << "本次缴费度数需要填写数字！"
                                     << "end_num";
    QTest::newRow("paid no number") << "电费"
                                    << "10"
                                    << "1"
                                    << "2"
                                    << "z"
                                    << "实际付费需要填写数字！"
                                    << "payment_real";
    QTest::newRow("no such type") << "燃气费"
                                  << "10"
                                  << "1"
                                  << "2"
                                  << "20"
                                  << "没有此费用的信息,请重新输入！"
                                  << "type_id";
    QTest::newRow("paid more than due") << "电费"
                                        << "480"
                                        << "1"
                                        << "2"
                                        << "500"
                                        << "实付款不需要付这么多！"
                                        << "payment_real";
    QTest::newRow("paid empty is 0") << "电费"
                                     << "480"
                                     << "1"
                                     << "2"
                                     << ""
                                     << ""
                                     << "";
    QTest::newRow("negative amounts") << "服务费"
                                      << "-5"
                                      << ""
                                      << ""
                                      << "-6"
                                      << ""
                                      << "";
}

void TestFeeEntry::saveChecks()
{
    QFETCH(QString, type);
    QFETCH(QString, due);
    QFETCH(QString, previous);
    QFETCH(QString, current);
    QFETCH(QString, paid);
    QFETCH(QString, message);
    QFETCH(QString, field);
    TestDatabase t;
    Estate e = t.estate();
    e.addChargeType("服务费", "0", "普通收费");
    e.addChargeType("电费", "0.6", "表读数*单价");
    FeeInput input;
    input.ownerId = e.addOwner({.name = "丰公司"});
    input.typeName = type;
    input.shouldPay = due;
    input.previousReading = previous;
    input.currentReading = current;
    input.paid = paid;
    input.takeDate = QDate(2026, 12, 9);
    const Checked<FeeRecord> checked = fee_entry::check(t.db(), input);
    QCOMPARE(checked.refusal().text, message);
    QCOMPARE(checked.refusal().field, field);
    QCOMPARE(checked.ok(), message.isEmpty());
    if (!checked.ok())
        return;
    // The record as Save stores it.
    fee_store::insert(t.db(), checked.value());
    QCOMPARE(
        t.scalar("select owner_id || '|' || should_pay || '|' || payment_real || '|' || take_date || '|' || "
                 "coalesce(start_num, '') || '-' || coalesce(end_num, '') from charge_take")
            .toString(),
        type == "电费" ? QString("1|48000|0|2026-12-09|1-2") : QString("1|-500|-600|2026-12-09|-"));
}

QTEST_GUILESS_MAIN(TestFeeEntry)
#include "tst_feeentry.moc"
