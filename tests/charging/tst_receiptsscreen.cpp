#include "charging/Receipt.h"
#include "charging/ReceiptsScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The receipt register: the day's receipts with their state, a void with its
// reason, and the right to void another cashier's receipt.
class TestReceiptsScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void listsTheDayAndVoidsWithAReason();
    void browsingVoidsNothing();

private:
    QStringList column(QWidget* screen, int column) const
    {
        auto* grid = control<QTableView>(screen, "dbgReceipt");
        QStringList texts;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            texts << grid->model()->index(row, column).data().toString();
        return texts;
    }

    TestDatabase* t = nullptr;
    qlonglong m_owner = 0;
};

namespace {
const QDateTime kToday(QDate(2026, 12, 10), QTime(9, 0)); // the test clock's day
constexpr int kNumber = 1;
constexpr int kState = 6;
} // namespace

void TestReceiptsScreen::init()
{
    t = new TestDatabase;
    Estate e = t->estate();
    e.addChargeType("物管费", "2.5", "建筑面积*单价*月份");
    m_owner = e.addOwner({.name = "甲公司"});
    const qlonglong fee = e.addFee({.owner = m_owner, .type = 1, .shouldPay = "480"});
    // admin is the operator of the test's screens.
    for (const auto& [op, at] :
         {std::pair{"admin", kToday}, {"boss", kToday.addSecs(60)}, {"admin", kToday.addDays(-1)}})
        QVERIFY(
            receipt_store::issue(t->db(), {m_owner, "现金", op, {{fee, Money::fromWhole(100)}}}, at).ok());
}

void TestReceiptsScreen::cleanup()
{
    delete t;
}

void TestReceiptsScreen::listsTheDayAndVoidsWithAReason()
{
    ReceiptsScreen screen(t->context(true));
    QCOMPARE(column(&screen, kNumber), (QStringList{"2026-000001", "2026-000002"})); // today's
    control<QCheckBox>(&screen, "cbxAllDays")->setChecked(true);
    control<QPushButton>(&screen, "btnQuery")->click();
    QCOMPARE(column(&screen, kNumber), (QStringList{"2026-000001", "2026-000002", "2026-000003"}));

    // No reason given: nothing voided.
    control<QTableView>(&screen, "dbgReceipt")->selectRow(0);
    t->messages().answerText(std::nullopt);
    control<QPushButton>(&screen, "btnVoid")->click();
    QCOMPARE(column(&screen, kState), (QStringList{"有效", "有效", "有效"}));

    t->messages().answerText(QString("收错了"));
    control<QPushButton>(&screen, "btnVoid")->click();
    QCOMPARE(column(&screen, kNumber),
             (QStringList{"2026-000001", "2026-000002", "2026-000003", "2026-000004"}));
    QCOMPARE(column(&screen, kState), (QStringList{"已作废", "有效", "有效", "冲红"}));
    QCOMPARE(t->scalar("select payment_real from charge_take").toLongLong(), 20000);
    QCOMPARE(receipt_store::unbalancedRecords(t->db()), QList<qlonglong>{});
}

void TestReceiptsScreen::browsingVoidsNothing()
{
    ReceiptsScreen screen(t->context(false));
    QVERIFY(!control<QPushButton>(&screen, "btnVoid")->isEnabled());
    // Another cashier's receipt is voided with the right of the register.
    ReceiptsScreen editing(t->context(true));
    control<QTableView>(&editing, "dbgReceipt")->selectRow(1); // boss's
    t->messages().answerText(QString("收错了"));
    control<QPushButton>(&editing, "btnVoid")->click();
    QCOMPARE(column(&editing, kState).value(1), QString("已作废"));
}

QTEST_MAIN(TestReceiptsScreen)
#include "tst_receiptsscreen.moc"
