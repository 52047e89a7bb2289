#include "app/OperatorAccounts.h"
#include "app/OperatorRegister.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QTest>

// The checks of operators, logins and passwords without their windows: each
// refusal with the office's text, and nothing written when refused.
class TestOperatorChecks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void makeChecks_data();
    void makeChecks();
    void newPasswordChecks_data();
    void newPasswordChecks();
    void loginChecks_data();
    void loginChecks();
};

void TestOperatorChecks::makeChecks_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message"); // empty: made

    QTest::newRow("empty") << "  "
                           << "请填写操作员代码!";
    QTest::newRow("seven characters") << "abcdefg"
                                      << "操作员代码最多6个字符，请另写一个代码！";
    QTest::newRow("taken") << " admin "
                           << "此操作员代码已经存在了，请另写一个代码！";
    QTest::newRow("six characters") << " abcdef "
                                    << "";
}

void TestOperatorChecks::makeChecks()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    TestDatabase t;
    operator_accounts::ensureDefaultAdministrator(t.db());
    const Checked<> made = operator_register::make(t.db(), code, "张三");
    QCOMPARE(made.ok() ? QString() : made.refusal().text, message);
    QCOMPARE(made.ok() ? QString() : made.refusal().field,
             message.isEmpty() ? QString() : QString("op_code"));
    QCOMPARE(sql::scalar(t.db(), "select count(*) from operator").toInt(), made.ok() ? 2 : 1);
}

void TestOperatorChecks::newPasswordChecks_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("message");

    QTest::newRow("differ") << "abc"
                            << "abd"
                            << "两次密码输入不一致!";
    QTest::newRow("too long, differing") << "abcdefg"
                                         << "x"
                                         << "两次密码输入不一致!";
    QTest::newRow("too long") << "abcdefg"
                              << "abcdefg"
                              << "密码最多6个字符，请重新输入！";
    QTest::newRow("blanks around") << " abc "
                                   << "abc"
                                   << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TestOperatorChecks::newPasswordChecks()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, message);
    const Checked<QString> password = operator_accounts::checkNewPassword(first, second);
    QCOMPARE(password.ok() ? QString() : password.refusal().text, message);
    if (password.ok())
        QCOMPARE(password.value(), first.trimmed());
}

void TestOperatorChecks::loginChecks_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("loginRefusal");
    QTest::addColumn<QString>("changeRefusal");

    const QString mismatch = "用户名密码不一致，请重新输入！！";
    const QString missing = "请输入用户代码和密码！";
    QTest::newRow("no code") << ""
                             << "123" << mismatch << missing;
    QTest::newRow("right") << " zs "
                           << " 123 "
                           << ""
                           << "";
    QTest::newRow("wrong password") << "zs"
                                    << "124" << mismatch << mismatch;
    QTest::newRow("no password, one set") << "zs"
                                          << "" << mismatch << missing;
    QTest::newRow("administrator without password") << "admin"
                                                    << ""
                                                    << ""
                                                    << "";
}

void TestOperatorChecks::loginChecks()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(QString, loginRefusal);
    QFETCH(QString, changeRefusal);
    TestDatabase t;
    operator_accounts::ensureDefaultAdministrator(t.db());
    QVERIFY(operator_register::make(t.db(), "zs", "张三").ok());
    const Checked<operator_accounts::Login> login = operator_accounts::logIn(t.db(), code, password);
    QCOMPARE(login.ok() ? QString() : login.refusal().text, loginRefusal);
    if (login.ok())
        QCOMPARE(login.value().identity.code, code.trimmed());
    const Checked<> may = operator_accounts::mayChangePassword(t.db(), code, password);
    QCOMPARE(may.ok() ? QString() : may.refusal().text, changeRefusal);
}

QTEST_GUILESS_MAIN(TestOperatorChecks)
#include "tst_operatorchecks.moc"
