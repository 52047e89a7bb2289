#include "charging/DepositsScreen.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// Deposits: one amount per owner, "0" for none, typed as money.
class TestDeposits : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showTypeAndSave();
    void browseOnly();
};

namespace {

void typeInto(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    emit edit->textEdited(text);
}

} // namespace

void TestDeposits::showTypeAndSave()
{
    TestDatabase t;
    t.estate().addOwner({.name = "甲公司", .linker = "张三", .linkTel = "0755-1", .bailMoney = "1500.5"});
    t.estate().addOwner({.name = "乙公司", .inOut = "搬出"});
    DepositsScreen screen(t.context());
    QCOMPARE(screen.windowTitle(), QString("装修押金"));
    auto* grid = control<QTableView>(&screen, "DBGrid1");
    QCOMPARE(columnTexts(grid->model(), 1), (QStringList{"甲公司", "乙公司"})); // moved-out owners too
    auto* amount = control<QLineEdit>(&screen, "edtBailMoney");
    QCOMPARE(amount->text(), QString("1500.50"));
    QCOMPARE(control<QLineEdit>(&screen, "DBEdit2")->text(), QString("张三"));
    QVERIFY(control<QLineEdit>(&screen, "DBEdit1")->isReadOnly());

    grid->selectRow(1);
    QCOMPARE(amount->text(), QString("0")); // no deposit lodged
    typeInto(amount, "5000");
    control<QPushButton>(&screen, "btnSave")->click();
    QCOMPARE(t.scalar("select bail_money from owner_info where owner_id = 2").toLongLong(), 500000);

    // A keystroke that would make the text no amount is not taken: a typo keeps
    // what was typed before it.
    amount->clear();
    QTest::keyClicks(amount, "50x0.1234");
    QCOMPARE(amount->text(), QString("500.12"));
    QVERIFY(t.messages().texts().isEmpty());

    // A sign alone is no amount: Save says so and stores nothing.
    amount->clear();
    QTest::keyClicks(amount, "-");
    control<QPushButton>(&screen, "btnSave")->click();
    QCOMPARE(t.messages().texts(), QStringList{"装修押金不是有效的金额，请填写金额（最多两位小数）！"});
    QCOMPARE(t.scalar("select bail_money from owner_info where owner_id = 2").toLongLong(), 500000);

    // Saving the emptied box clears the deposit; the owner then shows "0".
    amount->clear();
    control<QPushButton>(&screen, "btnSave")->click();
    QVERIFY(t.scalar("select bail_money from owner_info where owner_id = 2").isNull());
    grid->selectRow(0);
    grid->selectRow(1);
    QCOMPARE(amount->text(), QString("0"));
}

void TestDeposits::browseOnly()
{
    TestDatabase t;
    t.estate().addOwner({.name = "甲公司"});
    DepositsScreen screen(t.context(false));
    auto* amount = control<QLineEdit>(&screen, "edtBailMoney");
    typeInto(amount, "5000"); // typed, but not stored
    QVERIFY(!control<QPushButton>(&screen, "btnSave")->isEnabled());
    QTest::keyClick(amount, Qt::Key_Return);
    QVERIFY(t.scalar("select bail_money from owner_info").isNull());
}

QTEST_MAIN(TestDeposits)
#include "tst_deposits.moc"
