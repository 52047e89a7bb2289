#include "charging/FeeRecord.h"
#include "charging/Receipt.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QTest>

// Receipts without the screens: numbers per year, a payment written with its
// receipt and lines, voids that take the money back, reprints counted, the
// cashier's day, and the fee screen's records paid through receipts. After
// every step each fee record's payment_real is the sum of its lines.
class TestReceipts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void paymentsAreNumberedPerYear();
    void refusedPaymentsWriteNothing_data();
    void refusedPaymentsWriteNothing();
    void voidTakesTheMoneyBack();
    void voidRights_data();
    void voidRights();
    void reprintsAreCounted();
    void cashiersDay();
    void feeScreenPaysThroughReceipts();

private:
    Money paid(qlonglong takeId) const
    {
        return Money::fromHundredths(
            sql::scalar(t->db(), "select payment_real from charge_take where take_id = ?", {takeId})
                .toLongLong());
    }
    int receipts() const { return sql::scalar(t->db(), "select count(*) from receipt").toInt(); }
    Receipt pay(qlonglong take, const char* amount, const QString& op = "clerk",
                const QDateTime& at = QDateTime(QDate(2026, 12, 10), QTime(9, 30)))
    {
        const Checked<Receipt> r = receipt_store::issue(
            t->db(), {m_owner, "现金", op, {{take, *Decimal2::parse(QString::fromLatin1(amount))}}}, at);
        if (!r.ok())
            qFatal("payment refused: %s", qPrintable(r.refusal().text));
        return r.value();
    }
    void balanced() const { QCOMPARE(receipt_store::unbalancedRecords(t->db()), QList<qlonglong>{}); }

    TestDatabase* t = nullptr;
    qlonglong m_owner = 0;
    qlonglong m_other = 0;
    qlonglong m_rent = 0;  // 480.00 due
    qlonglong m_power = 0; // 72.00 due
    qlonglong m_theirs = 0;
};

namespace {
const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 30));
}

void TestReceipts::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addChargeType("物管费", "2.5", "建筑面积*单价*月份");
    e.addChargeType("电费", "0.6", "表读数*单价");
    m_owner = e.addOwner({.name = "甲公司"});
    m_other = e.addOwner({.name = "乙公司"});
    m_rent = e.addFee({.owner = m_owner, .type = 1, .shouldPay = "480"});
    m_power = e.addFee({.owner = m_owner, .type = 2, .shouldPay = "72"});
    m_theirs = e.addFee({.owner = m_other, .type = 1, .shouldPay = "100"});
}

void TestReceipts::cleanup()
{
    delete t;
}

void TestReceipts::paymentsAreNumberedPerYear()
{
    // Two bills of one owner on one receipt.
    const Checked<Receipt> both = receipt_store::issue(
        t->db(),
        {m_owner, "微信", "clerk", {{m_rent, Money::fromWhole(300)}, {m_power, Money::fromWhole(72)}}}, kNow);
    QVERIFY(both.ok());
    QCOMPARE(both.value().number, "2026-000001");
    QCOMPARE(both.value().total, Money::fromWhole(372));
    QCOMPARE(paid(m_rent), Money::fromWhole(300));
    QCOMPARE(paid(m_power), Money::fromWhole(72));
    QCOMPARE(receipt_store::lines(t->db(), both.value().id).size(), 2);

    QCOMPARE(pay(m_rent, "80").number, "2026-000002");
    // A new year starts its own series.
    QCOMPARE(pay(m_rent, "100", "clerk", QDateTime(QDate(2027, 1, 2), QTime(8, 0))).number, "2027-000001");
    QCOMPARE(paid(m_rent), Money::fromWhole(480));
    const std::optional<Receipt> stored = receipt_store::load(t->db(), both.value().id);
    QCOMPARE(stored->payWay, "微信");
    QCOMPARE(stored->issuedAt, kNow);
    QCOMPARE(stored->opCode, "clerk");
    balanced();
}

void TestReceipts::refusedPaymentsWriteNothing_data()
{
    QTest::addColumn<int>("owner"); // 0: the owner, 1: nobody, 2: the other owner
    QTest::addColumn<QString>("way");
    QTest::addColumn<QStringList>("amounts"); // on the rent, then the power bill
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no owner") << 1 << "现金" << QStringList{"10"} << "请先选择一个住户！";
    QTest::newRow("a way typed") << 0 << "刷卡" << QStringList{"10"} << "请选择付款方式！";
    QTest::newRow("no bill") << 0 << "现金" << QStringList{} << "请选择要付款的费用！";
    QTest::newRow("nothing paid") << 0 << "现金" << QStringList{"0"} << "收款金额须大于零！";
    QTest::newRow("money given back") << 0 << "现金" << QStringList{"-5"} << "收款金额须大于零！";
    QTest::newRow("more than is due")
        << 0 << "现金" << QStringList{"300", "72.01"} << "实付款不需要付这么多！";
    QTest::newRow("someone else's bill") << 2 << "现金" << QStringList{"10"} << "这笔费用不是这个住户的！";
}

void TestReceipts::refusedPaymentsWriteNothing()
{
    QFETCH(int, owner);
    QFETCH(QString, way);
    QFETCH(QStringList, amounts);
    QFETCH(QString, refusal);
    Payment payment{owner == 0 ? m_owner : owner == 2 ? m_other : 0, way, "clerk", {}};
    const qlonglong bills[] = {m_rent, m_power};
    for (int i = 0; i < amounts.size(); ++i)
        payment.lines.append({bills[i], *Decimal2::parse(amounts[i])});
    const Checked<Receipt> r = receipt_store::issue(t->db(), payment, kNow);
    QVERIFY(!r.ok());
    QCOMPARE(r.refusal().text, refusal);
    QCOMPARE(receipts(), 0);
    QCOMPARE(paid(m_rent), Money());
    QCOMPARE(paid(m_power), Money());
}

void TestReceipts::voidTakesTheMoneyBack()
{
    const Receipt first = pay(m_rent, "300");
    pay(m_rent, "100");
    const Checked<Receipt> voided =
        receipt_store::voidReceipt(t->db(), {first.id, "收错了", "clerk", false}, kNow.addSecs(60));
    QVERIFY(voided.ok());
    // A receipt of its own, numbered on, naming the voided one; the money is back off the bill.
    QCOMPARE(voided.value().number, "2026-000003");
    QCOMPARE(voided.value().voidsId, first.id);
    QCOMPARE(voided.value().total, -Money::fromWhole(300));
    QCOMPARE(voided.value().remark, "收错了");
    QCOMPARE(paid(m_rent), Money::fromWhole(100));
    QCOMPARE(receipt_store::voidOf(t->db(), first.id), voided.value().id);
    // The voided receipt itself is as it was issued.
    QCOMPARE(receipt_store::load(t->db(), first.id)->total, Money::fromWhole(300));
    balanced();

    const auto refusedVoid = [&](qlonglong id, const QString& reason) {
        const Checked<Receipt> r = receipt_store::voidReceipt(t->db(), {id, reason, "clerk", true}, kNow);
        return r.ok() ? QString() : r.refusal().text;
    };
    QCOMPARE(refusedVoid(first.id, "再作废"), "收据2026-000001已经作废！");
    QCOMPARE(refusedVoid(voided.value().id, "冲红"), "冲红收据不能再作废！");
    QCOMPARE(refusedVoid(first.id + 1, " "), "请填写作废原因！");
    QCOMPARE(receipts(), 3);
    balanced();
}

void TestReceipts::voidRights_data()
{
    QTest::addColumn<QString>("voidingOperator");
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("dayClosed");
    QTest::addColumn<bool>("voids");
    QTest::newRow("own receipt of an open day") << "clerk" << false << false << true;
    QTest::newRow("own receipt of a closed day") << "clerk" << false << true << false;
    QTest::newRow("another's receipt") << "boss" << false << false << false;
    QTest::newRow("with the right, a closed day") << "boss" << true << true << true;
}

void TestReceipts::voidRights()
{
    QFETCH(QString, voidingOperator);
    QFETCH(bool, right);
    QFETCH(bool, dayClosed);
    QFETCH(bool, voids);
    const Receipt r = pay(m_rent, "300");
    if (dayClosed)
        QVERIFY(receipt_store::closeDay(t->db(), "clerk", kNow.date(), "clerk", kNow.addSecs(3600)).ok());
    const QDateTime later(QDate(2026, 12, 11), QTime(10, 0));
    const Checked<Receipt> v =
        receipt_store::voidReceipt(t->db(), {r.id, "收错了", voidingOperator, right}, later);
    QCOMPARE(v.ok(), voids);
    if (voids) {
        QCOMPARE(v.value().issuedAt, later); // dated the day it is made
        QCOMPARE(paid(m_rent), Money());
    } else {
        QCOMPARE(v.refusal().text,
                 "没有作废这张收据的权限：别人的收据和已日结的收据只能由有作废权限的操作员作废！");
        QCOMPARE(paid(m_rent), Money::fromWhole(300));
    }
    balanced();
}

void TestReceipts::reprintsAreCounted()
{
    const Receipt r = pay(m_rent, "300");
    QCOMPARE(receipt_store::reprint(t->db(), r.id), 1);
    QCOMPARE(receipt_store::reprint(t->db(), r.id), 2);
    QCOMPARE(receipt_store::load(t->db(), r.id)->reprints, 2);
    QCOMPARE(receipt_store::load(t->db(), r.id)->total, Money::fromWhole(300));
}

void TestReceipts::cashiersDay()
{
    const Receipt cash = pay(m_rent, "300");
    receipt_store::issue(t->db(), {m_owner, "支付宝", "clerk", {{m_power, Money::fromWhole(72)}}}, kNow);
    pay(m_rent, "50", "boss");                                               // another cashier
    pay(m_rent, "10", "clerk", QDateTime(QDate(2026, 12, 11), QTime(8, 0))); // another day
    receipt_store::voidReceipt(t->db(), {cash.id, "收错了", "clerk", false}, kNow.addSecs(60));
    receipt_store::reprint(t->db(), cash.id);

    const receipt_store::DayTotals day = receipt_store::dayTotals(t->db(), "clerk", kNow.date());
    QCOMPARE(day.receipts, 2);
    QCOMPARE(day.voids, 1);
    QCOMPARE(day.reprints, 1);
    QCOMPARE(day.byWay.value("现金"), Money());
    QCOMPARE(day.byWay.value("支付宝"), Money::fromWhole(72));
    QCOMPARE(day.total, Money::fromWhole(72));

    QVERIFY(!receipt_store::isClosed(t->db(), "clerk", kNow.date()));
    QVERIFY(receipt_store::closeDay(t->db(), "clerk", kNow.date(), "clerk", kNow.addSecs(7200)).ok());
    QVERIFY(receipt_store::isClosed(t->db(), "clerk", kNow.date()));
    QCOMPARE(t->scalar("select total from cashier_day").toLongLong(), 7200);
    const Checked<> again =
        receipt_store::closeDay(t->db(), "clerk", kNow.date(), "clerk", kNow.addSecs(9000));
    QVERIFY(!again.ok());
    QCOMPARE(again.refusal().text, "clerk的2026-12-10已经日结！");
    balanced();
}

void TestReceipts::feeScreenPaysThroughReceipts()
{
    const fee_store::Cashier cashier{"clerk", "银行转账"};
    // A new record typed as partly paid: the record, then its receipt.
    FeeRecord typed;
    typed.ownerId = m_owner;
    typed.typeId = 2;
    typed.shouldPay = Money::fromWhole(60);
    typed.paymentReal = Money::fromWhole(20);
    const Checked<fee_store::Saved> added = fee_store::save(t->db(), typed, cashier, kNow);
    QVERIFY(added.ok());
    QVERIFY(added.value().receipt);
    QCOMPARE(added.value().receipt->payWay, "银行转账");
    QCOMPARE(paid(added.value().id), Money::fromWhole(20));

    // More paid on it later: a receipt of the difference.
    typed.id = added.value().id;
    typed.paymentReal = Money::fromWhole(60);
    const Checked<fee_store::Saved> more = fee_store::save(t->db(), typed, cashier, kNow);
    QVERIFY(more.ok());
    QCOMPARE(more.value().receipt->total, Money::fromWhole(40));
    // A change that pays nothing more issues nothing.
    typed.remarks = "备注";
    QVERIFY(!fee_store::save(t->db(), typed, cashier, kNow).value().receipt);
    QCOMPARE(receipts(), 2);

    // Lowering what was paid is refused: money goes back through a void.
    typed.paymentReal = Money::fromWhole(10);
    const Checked<fee_store::Saved> lowered = fee_store::save(t->db(), typed, cashier, kNow);
    QVERIFY(!lowered.ok());
    QCOMPARE(lowered.refusal().field, "payment_real");
    QCOMPARE(paid(typed.id), Money::fromWhole(60));

    // A record with a receipt is never deleted; one without may be.
    QVERIFY(!fee_store::removeUnlessReceipted(t->db(), typed.id).ok());
    QVERIFY(fee_store::removeUnlessReceipted(t->db(), m_power).ok());
    balanced();
}

QTEST_GUILESS_MAIN(TestReceipts)
#include "tst_receipts.moc"
