#include "app/LoginDialog.h"
#include "app/PasswordHash.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/Sql.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <chrono>
#include <latch>
#include <thread>

Q_DECLARE_METATYPE(password_hash::Cost)

class TestLogin : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void hashesOfEitherCostVerify_data();
    void hashesOfEitherCostVerify();
    void emptyTableGetsDefaultAdministrator();
    void administratorOnlyOnEmptyTable();
    void codeAndPasswordAreTrimmed();
    void threeAttempts_data();
    void threeAttempts();
    void typedQuotesAreAFailedLogin();
    void rightsComeFromTheRow();
    void changePassword();
    void changePasswordRefusals();
    void changePasswordOfAnOperatorRemovedMeanwhile();
    void cancelCanBeDisabled();
    void administratorInsertedMeanwhile();
    void firstLoginsAtOnce_data();
    void firstLoginsAtOnce();
};

namespace {

struct Login
{
    explicit Login(TestDatabase& t) : dialog(t.db(), t.messages()) { dialog.open(); }

    void type(const QString& code, const QString& password)
    {
        control<QLineEdit>(&dialog, "edtName")->setText(code);
        control<QLineEdit>(&dialog, "edtPass")->setText(password);
    }
    void press(const QString& code, const QString& password)
    {
        type(code, password);
        control<QPushButton>(&dialog, "btnOk")->click();
    }
    bool accepted() const { return !dialog.isVisible() && dialog.result() == QDialog::Accepted; }
    bool rejected() const { return !dialog.isVisible() && dialog.result() == QDialog::Rejected; }

    LoginDialog dialog;
};

void addOperator(TestDatabase& t, const QString& code, const QString& name, const QString& password,
                 const QString& base = QString())
{
    t.exec("insert into operator (op_code, op_name, password, popebase) values (?, ?, ?, ?)",
           {code, name, password_hash::hash(password), base.isNull() ? QVariant() : QVariant(base)});
}

const QString kMismatch = "用户名密码不一致，请重新输入！！";

} // namespace

void TestLogin::initTestCase()
{
    // Until something chooses otherwise (TestDatabase chooses the minimal cost),
    // passwords are hashed at the interactive cost the application ships with.
    QCOMPARE(password_hash::cost(), password_hash::Cost::Interactive);
}

void TestLogin::hashesOfEitherCostVerify_data()
{
    QTest::addColumn<password_hash::Cost>("cost");
    QTest::addColumn<QString>("parameters"); // memory in KiB, passes, lanes

    QTest::newRow("interactive") << password_hash::Cost::Interactive << "$m=65536,t=2,p=1$";
    QTest::newRow("minimal") << password_hash::Cost::Minimal << "$m=8,t=1,p=1$";
}

void TestLogin::hashesOfEitherCostVerify()
{
    QFETCH(password_hash::Cost, cost);
    QFETCH(QString, parameters);
    const auto restore = qScopeGuard([] { password_hash::setCost(password_hash::Cost::Minimal); });
    password_hash::setCost(cost);
    const QString stored = password_hash::hash("密码1");
    QVERIFY2(stored.startsWith("$argon2id$v=19" + parameters), qPrintable(stored));

    // A stored hash carries its cost: it verifies whatever cost new hashes take.
    for (const password_hash::Cost current :
         {password_hash::Cost::Interactive, password_hash::Cost::Minimal}) {
        password_hash::setCost(current);
        QVERIFY(password_hash::verify(stored, "密码1"));
    }
    QVERIFY(!password_hash::verify(stored, "密码2"));

    // And through the operator table, as a login reads it (TestDatabase chose the minimal cost).
    TestDatabase t;
    t.exec("insert into operator (op_code, op_name, password) values ('clerk', '张三', ?)", {stored});
    QVERIFY(operator_accounts::verify(t.db(), "clerk", "密码1"));
}

void TestLogin::emptyTableGetsDefaultAdministrator()
{
    TestDatabase t;
    Login login(t);
    // The first press inserts the administrator whatever was typed.
    login.press("nobody", "x");
    QCOMPARE(t.messages().texts(), QStringList{kMismatch});
    QVERIFY(login.dialog.isVisible());
    QCOMPARE(t.scalar("select count(*) from operator").toInt(), 1);
    QCOMPARE(t.scalar("select op_name from operator where op_code = 'admin'").toString(),
             QStringLiteral("管理员"));
    QCOMPARE(t.scalar("select popebase from operator").toString(), QStringLiteral("22222222222"));
    QVERIFY(t.scalar("select popeadmin from operator").isNull());

    // The stored password is a hash, even of the empty password.
    const QString stored = t.scalar("select password from operator").toString();
    QVERIFY(stored.startsWith("$argon2id$"));

    login.press("admin", "");
    QVERIFY(login.accepted());
    QCOMPARE(login.dialog.login().identity.code, QStringLiteral("admin"));
    QCOMPARE(login.dialog.login().identity.name, QStringLiteral("管理员"));
}

void TestLogin::administratorOnlyOnEmptyTable()
{
    TestDatabase t;
    addOperator(t, "clerk", "张三", "123"); // no rights at all
    Login login(t);
    login.press("admin", "");
    QCOMPARE(t.messages().texts(), QStringList{kMismatch});
    QCOMPARE(t.scalar("select count(*) from operator").toInt(), 1);
}

void TestLogin::codeAndPasswordAreTrimmed()
{
    TestDatabase t;
    addOperator(t, "admin", "管理员", "abc");
    Login login(t);
    login.press("  admin  ", " abc ");
    QVERIFY(login.accepted());
    QCOMPARE(login.dialog.login().identity.code, QStringLiteral("admin"));
}

void TestLogin::threeAttempts_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("success at the third attempt") << 2 << true;
    // After three failures the fourth press ends the dialog, even with the right password.
    QTest::newRow("fourth press ends the dialog") << 3 << false;
}

void TestLogin::threeAttempts()
{
    QFETCH(int, failures);
    QFETCH(bool, accepted);
    TestDatabase t;
    addOperator(t, "admin", "管理员", "abc");
    Login login(t);
    for (int i = 0; i < failures; ++i)
        login.press("admin", "wrong");
    QCOMPARE(t.messages().texts().count(kMismatch), failures);
    login.press("admin", "abc");
    QCOMPARE(login.accepted(), accepted);
    QCOMPARE(login.rejected(), !accepted);
}

void TestLogin::typedQuotesAreAFailedLogin()
{
    TestDatabase t;
    addOperator(t, "admin", "管理员", "abc");
    Login login(t);
    login.press("admin' --", "' or '1'='1");
    QCOMPARE(t.messages().texts(), QStringList{kMismatch});
    QVERIFY(t.messages().errors().isEmpty());
    QVERIFY(login.dialog.isVisible());
}

void TestLogin::rightsComeFromTheRow()
{
    TestDatabase t;
    t.exec("insert into operator (op_code, op_name, password, popebase, popequery, popepara) "
           "values ('clerk', '张三  ', ?, ' 21 ', '111', NULL)",
           {password_hash::hash("1")});
    Login login(t);
    login.press("clerk", "1");
    QVERIFY(login.accepted());
    const auto& result = login.dialog.login();
    QCOMPARE(result.identity.name, QStringLiteral("张三"));
    QCOMPARE(result.rights.string(RightsGroup::Base), QStringLiteral("21"));
    QCOMPARE(result.rights.string(RightsGroup::Query), QStringLiteral("111"));
    QCOMPARE(result.rights.string(RightsGroup::Para), QString());
    QCOMPARE(result.rights.access(RightsGroup::Base, 1), Access::Edit);
}

void TestLogin::changePassword()
{
    TestDatabase t;
    addOperator(t, "clerk", "张三", "old");
    Login login(t);
    login.type("clerk", "old");
    control<QPushButton>(&login.dialog, "BitBtn1")->click();
    QVERIFY(t.messages().texts().isEmpty());
    QCOMPARE(control<QLineEdit>(&login.dialog, "edtPass")->text(), QString());

    auto* passwordDialog = control<QDialog>(&login.dialog, "TmodiPassFrm");
    control<QLineEdit>(passwordDialog, "edtOne")->setText(" new1 ");
    control<QLineEdit>(passwordDialog, "edtTwo")->setText("new1");
    control<QPushButton>(passwordDialog, "BitBtn1")->click();
    QCOMPARE(t.messages().texts(), QStringList{"密码修改成功！！"});
    QVERIFY(!passwordDialog->isVisible());

    // Changing the password is no login: the login dialog stays, counting no attempt.
    QVERIFY(login.dialog.isVisible());
    QCOMPARE(login.dialog.attempts(), 0);
    login.press("clerk", "old");
    QVERIFY(login.dialog.isVisible());
    login.press("clerk", "new1");
    QVERIFY(login.accepted());
}

void TestLogin::changePasswordRefusals()
{
    TestDatabase t;
    addOperator(t, "clerk", "张三", "old");
    const QString stored = t.scalar("select password from operator").toString();
    Login login(t);

    login.type("clerk", "");
    control<QPushButton>(&login.dialog, "BitBtn1")->click();
    login.type("  ", "old");
    control<QPushButton>(&login.dialog, "BitBtn1")->click();
    login.type("clerk", "bad");
    control<QPushButton>(&login.dialog, "BitBtn1")->click();
    QCOMPARE(t.messages().texts(),
             (QStringList{"请输入用户代码和密码！", "请输入用户代码和密码！", kMismatch}));
    QVERIFY(!login.dialog.findChild<QDialog*>("TmodiPassFrm"));

    struct Case
    {
        QString one, two, message;
        bool closes;
    };
    const Case cases[] = {
        {"abc", "abd", "两次密码输入不一致!", true},
        // Longer than the six characters an operator's password may have: refused, not cut.
        {"1234567", "1234567", "密码最多6个字符，请重新输入！", false},
    };
    for (const Case& c : cases) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed dialog goes
        t.messages().clear();
        login.type("clerk", "old");
        control<QPushButton>(&login.dialog, "BitBtn1")->click();
        auto* passwordDialog = control<QDialog>(&login.dialog, "TmodiPassFrm");
        control<QLineEdit>(passwordDialog, "edtOne")->setText(c.one);
        control<QLineEdit>(passwordDialog, "edtTwo")->setText(c.two);
        control<QPushButton>(passwordDialog, "BitBtn1")->click();
        QCOMPARE(t.messages().texts(), QStringList{c.message});
        QCOMPARE(!passwordDialog->isVisible(), c.closes);
        if (!c.closes)
            passwordDialog->close();
        QCOMPARE(t.scalar("select password from operator").toString(), stored);
    }
}

void TestLogin::changePasswordOfAnOperatorRemovedMeanwhile()
{
    TestDatabase t;
    addOperator(t, "clerk", "张三", "old");
    Login login(t);
    login.type("clerk", "old");
    control<QPushButton>(&login.dialog, "BitBtn1")->click();
    auto* passwordDialog = control<QDialog>(&login.dialog, "TmodiPassFrm");
    {
        // Another copy, on a connection of its own, removes the operator.
        QString error;
        QSqlDatabase other = database::open(t.path(), "other copy", &error);
        QCOMPARE(error, QString());
        sql::exec(other, "delete from operator where op_code = 'clerk'");
        other.close();
    }
    QSqlDatabase::removeDatabase("other copy");
    control<QLineEdit>(passwordDialog, "edtOne")->setText("new1");
    control<QLineEdit>(passwordDialog, "edtTwo")->setText("new1");
    control<QPushButton>(passwordDialog, "BitBtn1")->click();
    QCOMPARE(t.messages().texts(), QStringList{"该记录已被其他用户删除或修改，请刷新后重试。"});
    QCOMPARE(t.scalar("select count(*) from operator").toInt(), 0);
}

void TestLogin::cancelCanBeDisabled()
{
    TestDatabase t;
    Login login(t);
    login.dialog.setCancelAllowed(false);
    QVERIFY(!control<QPushButton>(&login.dialog, "btnCancel")->isEnabled());
    QTest::keyClick(&login.dialog, Qt::Key_Escape);
    QVERIFY(login.dialog.isVisible());

    login.dialog.setCancelAllowed(true);
    QTest::keyClick(&login.dialog, Qt::Key_Escape);
    QVERIFY(login.rejected());
}

namespace {

// What one copy of pelm made of the first login on a new file.
struct FirstLogin
{
    bool inserted = false;
    QString error; // empty when none was shown
};

// Another copy of pelm, in a thread with a connection of its own, looks for the
// default administrator; `ready` counts down when its connection is open.
FirstLogin otherCopyLogsIn(const QString& path, const QString& name, std::latch* ready)
{
    FirstLogin result;
    {
        QString error;
        QSqlDatabase db = database::open(path, name, &error);
        if (ready)
            ready->arrive_and_wait();
        if (!error.isEmpty()) {
            result.error = error;
        } else {
            try {
                result.inserted = operator_accounts::ensureDefaultAdministrator(db);
            } catch (const DbError& e) {
                result.error = e.text() + u' ' + e.detail();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

void TestLogin::administratorInsertedMeanwhile()
{
    // This copy inserts the administrator while the other has found the table
    // empty and is making the hash: the other waits for the write lock, sees the
    // administrator and leaves it alone, without an error.
    using namespace std::chrono_literals;
    TestDatabase t;
    Transaction transaction(t.db());
    QVERIFY(operator_accounts::ensureDefaultAdministrator(t.db()));
    FirstLogin other;
    std::thread copy([&] { other = otherCopyLogsIn(t.path(), "meanwhile", nullptr); });
    std::this_thread::sleep_for(300ms);
    transaction.commit();
    copy.join();
    QCOMPARE(other.error, QString());
    QVERIFY(!other.inserted);
    QCOMPARE(t.scalar("select count(*) from operator").toInt(), 1);
}

void TestLogin::firstLoginsAtOnce_data()
{
    QTest::addColumn<int>("copies");
    QTest::newRow("two copies") << 2;
    QTest::newRow("four copies") << 4;
}

void TestLogin::firstLoginsAtOnce()
{
    QFETCH(int, copies);
    TestDatabase t;
    for (int trial = 0; trial < 10; ++trial) {
        t.exec("delete from operator");
        std::latch ready(copies);
        std::vector<FirstLogin> logins(static_cast<std::size_t>(copies));
        std::vector<std::thread> threads;
        for (int i = 0; i < copies; ++i) {
            threads.emplace_back([&, i] {
                logins[std::size_t(i)] = otherCopyLogsIn(t.path(), u"copy-" + QString::number(i), &ready);
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        int inserted = 0;
        for (const FirstLogin& login : logins) {
            QCOMPARE(login.error, QString());
            inserted += login.inserted ? 1 : 0;
        }
        QCOMPARE(inserted, 1);
        QCOMPARE(t.scalar("select count(*) from operator").toInt(), 1);
    }
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
