#include "app/FunctionTable.h"
#include "app/LoginDialog.h"
#include "app/MainWindow.h"
#include "app/PasswordHash.h"
#include "app/RightsTable.h"
#include "db/DatabaseFile.h"
#include "db/Sql.h"
#include "gui/FunctionLabel.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

class TestMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void startUpSeedsFeeTypesAndLogsIn();
    void gating_data();
    void gating();
    void unavailableEntriesSayWhy();
    void screensGetTheirWriteRight();
    void paymentRecordsOpenAsTheHistoryQuery();
    void cancelledLoginEndsTheApplication();
    void changeOfOperator();
    void groupButtonsShowTheirPanel();
    void reminderOpensOncePerRun();
    void missingDatabaseEndsTheApplication();
    void closedConnectionEndsTheApplication();
    void backupLinkIsForOperatorEditors_data();
    void backupLinkIsForOperatorEditors();
    void backupFromTheMainWindow();
};

namespace {

LoginDialog* loginDialog(MainWindow& window)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (LoginDialog* dialog : window.findChildren<LoginDialog*>()) {
        if (dialog->isVisible())
            return dialog;
    }
    throw std::runtime_error("no login dialog is open");
}

void logIn(MainWindow& window, const QString& code, const QString& password)
{
    LoginDialog* dialog = loginDialog(window);
    control<QLineEdit>(dialog, "edtName")->setText(code);
    control<QLineEdit>(dialog, "edtPass")->setText(password);
    control<QPushButton>(dialog, "btnOk")->click();
}

// The entries that can be used once the rights allow `allowed`: the two free ones
// and those of `allowed` that have a screen. An entry without a screen would open
// nothing, so it stays disabled whatever the rights say; once its screen is wired
// into the function table it follows the rights like the others.
QStringList usable(const QStringList& allowed)
{
    QStringList names{"labAbout", "labChange"};
    for (const QString& name : allowed) {
        const FunctionRow* function = findFunction(name);
        if (!function)
            throw std::runtime_error("no such entry: " + name.toStdString());
        if (function->open)
            names << name;
    }
    names.sort();
    return names;
}

// The enabled entries of the function table, and the two free ones. The backup
// link has a test of its own.
QStringList enabledEntries(const MainWindow& window)
{
    QStringList names;
    for (const FunctionLabel* label : window.findChildren<FunctionLabel*>()) {
        if (label->isEnabled() && label->objectName() != "labBackup")
            names << label->objectName();
    }
    names.sort();
    return names;
}

const QString kNoRight = QStringLiteral("无此功能的权限，请让管理员在操作员信息中授权。");

// The entries of the function table that carry a tooltip, and whether each says
// the operator lacks the right.
QStringList entriesSayingNoRight(const MainWindow& window)
{
    QStringList names;
    for (const FunctionRow& function : functionTable()) {
        const auto* label = control<FunctionLabel>(&window, function.objectName);
        if (label->toolTip() == kNoRight)
            names << label->objectName();
        else if (!label->toolTip().isEmpty())
            throw std::runtime_error("another tooltip on " + label->objectName().toStdString());
    }
    names.sort();
    return names;
}

// The colour an entry's text is painted in on its panel: the pixel least like
// the panel's teal.
QColor ink(const FunctionLabel* label)
{
    const QImage image = label->parentWidget()->grab(label->geometry()).toImage();
    const QColor teal(0, 128, 128);
    QColor farthest = teal;
    int distance = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int d = std::abs(c.red() - teal.red()) + std::abs(c.green() - teal.green()) +
                          std::abs(c.blue() - teal.blue());
            if (d > distance) {
                distance = d;
                farthest = c;
            }
        }
    }
    return farthest;
}

// Neither teal nor cream: red, green and blue alike.
bool isGrey(const QColor& c)
{
    return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) < 12;
}

// The characters of the six rights strings as the rights editor writes them: one
// per function.
std::size_t rightsCharacters()
{
    std::size_t count = 0;
    for (int g = 0; g < kRightsGroupCount; ++g)
        count += static_cast<std::size_t>(
            rights_table::stringLength(functionTable(), static_cast<RightsGroup>(g)));
    return count;
}

void addOperator(TestDatabase& t, const QString& code, const QStringList& rights)
{
    QVariantList values{code, code, password_hash::hash("1")};
    for (const QString& r : rights)
        values << (r.isNull() ? QVariant() : QVariant(r));
    t.exec("insert into operator (op_code, op_name, password, popebase, popeadmin, popecharge, popemanage, "
           "popequery, popepara) values (?, ?, ?, ?, ?, ?, ?, ?, ?)",
           values);
}

} // namespace

void TestMainWindow::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestMainWindow::startUpSeedsFeeTypesAndLogsIn()
{
    TestDatabase t;
    MainWindow window(t.context());
    QCOMPARE(window.windowTitle(), QStringLiteral("物业管理系统"));
    // Before any login nothing but the two free entries can be used.
    QCOMPARE(enabledEntries(window), (QStringList{"labAbout", "labChange"}));

    window.startUp();
    QCOMPARE(t.scalar("select group_concat(type_name, ',') from charge_type").toString(),
             QStringLiteral("物管费,服务费,电费,水费"));
    logIn(window, "admin", "");
    QCOMPARE(window.currentOperator().code, QStringLiteral("admin"));
    QCOMPARE(window.currentOperator().name, QStringLiteral("管理员"));
    // The default administrator may use only the base-information entries.
    QCOMPARE(enabledEntries(window), usable({"labBuild", "labRoom", "labOwner", "labOwnerRoom", "labOper"}));

    // A second start (another copy on the same file) adds no fee types.
    MainWindow second(t.context());
    second.startUp();
    QCOMPARE(t.scalar("select count(*) from charge_type").toInt(), 4);
    QVERIFY(t.messages().texts().isEmpty());
}

void TestMainWindow::gating_data()
{
    QTest::addColumn<QStringList>("rights");
    QTest::addColumn<QStringList>("allowed"); // the entries the rights allow

    QTest::newRow("2101 in base") << QStringList{"2101", "", "", "", "", ""}
                                  << QStringList{"labBuild", "labOwnerRoom", "labRoom"};
    QTest::newRow("null query string") << QStringList{"", "", "", "", QString(), ""} << QStringList{};
    QTest::newRow("charging 1 to 3") << QStringList{"", "", "222", "", "", ""}
                                     << QStringList{"labBail", "labCharge", "labManage"};
    QTest::newRow("query browse") << QStringList{"", "", "", "", "101", ""}
                                  << QStringList{"labHistory", "labOwe"};
    // Every box of the rights editor ticked: "2" where a function can be edited, "1"
    // for those only browsed.
    const auto everything = rights_table::strings(functionTable(), [](const FunctionRow& f) {
        return RightsTicks{f.browseBox != nullptr, f.editBox != nullptr};
    });
    QTest::newRow("everything") << QStringList(everything.begin(), everything.end()) << [] {
        QStringList all;
        for (const FunctionRow& f : functionTable())
            all << QString::fromLatin1(f.objectName);
        return all;
    }();
}

void TestMainWindow::gating()
{
    QFETCH(QStringList, rights);
    QFETCH(QStringList, allowed);
    TestDatabase t;
    addOperator(t, "clerk", rights);
    MainWindow window(t.context());
    window.startUp();
    logIn(window, "clerk", "1");
    QCOMPARE(enabledEntries(window), usable(allowed));
    QCOMPARE(functionTable().size(), rightsCharacters());
    // Every entry the operator may not use tells why; the usable ones say nothing.
    QStringList refused;
    for (const FunctionRow& f : functionTable()) {
        if (f.open && !allowed.contains(QString::fromLatin1(f.objectName)))
            refused << QString::fromLatin1(f.objectName);
    }
    refused.sort();
    QCOMPARE(entriesSayingNoRight(window), refused);
}

void TestMainWindow::unavailableEntriesSayWhy()
{
    // A new database: the default administrator has no charging rights.
    TestDatabase t;
    MainWindow window(t.context());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.startUp();
    logIn(window, "admin", "");
    QCOMPARE(window.currentOperator().code, QStringLiteral("admin"));
    addOperator(t, "cash", {"", "", "222", "", "", ""});
    control<QToolButton>(&window, "spbCharge")->click();
    auto* fee = control<FunctionLabel>(&window, "labCharge");
    QVERIFY(fee->isVisible());
    QVERIFY(!fee->isEnabled());

    // Painted plainly grey, and the pointer resting on it tells why.
    const QColor greyed = ink(fee);
    QVERIFY2(isGrey(greyed), qPrintable(greyed.name()));
    const QPoint centre = fee->rect().center();
    QHelpEvent help(QEvent::ToolTip, centre, fee->mapToGlobal(centre));
    QCoreApplication::sendEvent(fee, &help);
    QCOMPARE(QToolTip::text(), kNoRight);
    // A click opens nothing.
    QTest::mouseClick(fee, Qt::LeftButton, {}, centre);
    QVERIFY(!openChild<QWidget>(&window, "TtakeinFrm"));

    // An operator with the right: the same entry in its own colour, without the tooltip.
    control<FunctionLabel>(&window, "labChange")->clicked();
    logIn(window, "cash", "1");
    QVERIFY(fee->isEnabled());
    QVERIFY(fee->toolTip().isEmpty());
    const QColor usable = ink(fee);
    QCOMPARE_GT(usable.lightness() - greyed.lightness(), 40); // the grey is plainly darker
    QVERIFY(t.messages().texts().isEmpty());
}

void TestMainWindow::screensGetTheirWriteRight()
{
    TestDatabase t;
    addOperator(t, "clerk", {"21", "", "", "", "", ""});
    MainWindow window(t.context());
    window.startUp();
    logIn(window, "clerk", "1");

    // "2" opens the buildings with write permission, "1" the rooms without.
    control<FunctionLabel>(&window, "labBuild")->clicked();
    control<FunctionLabel>(&window, "labRoom")->clicked();
    auto* buildings = openChild<QWidget>(&window, "TgardenFrm");
    auto* rooms = openChild<QWidget>(&window, "TRoomFrm");
    QVERIFY(buildings && rooms);
    QVERIFY(buildings->isWindow());
    QVERIFY(buildings->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(control<QPushButton>(buildings, "btnAdd")->isEnabled());
    QVERIFY(!control<QPushButton>(rooms, "btnAdd")->isEnabled());

    // Every click makes a new screen.
    control<FunctionLabel>(&window, "labBuild")->clicked();
    QCOMPARE(window.findChildren<QWidget*>("TgardenFrm").size(), 2);
}

void TestMainWindow::paymentRecordsOpenAsTheHistoryQuery()
{
    TestDatabase t;
    addOperator(t, "clerk", {"", "", "", "", "1", ""});
    MainWindow window(t.context());
    window.startUp();
    logIn(window, "clerk", "1");

    control<FunctionLabel>(&window, "labHistory")->clicked();
    auto* screen = openChild<QWidget>(&window, "TmonthTakeFrm");
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("历史缴费记录查询！"));
}

void TestMainWindow::cancelledLoginEndsTheApplication()
{
    TestDatabase t;
    MainWindow window(t.context());
    QSignalSpy finished(&window, &MainWindow::finished);
    window.startUp();
    LoginDialog* dialog = loginDialog(window);
    QVERIFY(control<QPushButton>(dialog, "btnCancel")->isEnabled());
    control<QPushButton>(dialog, "btnCancel")->click();
    QCOMPARE(finished.count(), 1);
}

void TestMainWindow::changeOfOperator()
{
    TestDatabase t;
    addOperator(t, "clerk", {"", "", "", "", "111", ""});
    addOperator(t, "boss", {"2", "", "", "", "", ""});
    MainWindow window(t.context());
    window.startUp();
    logIn(window, "clerk", "1");

    control<FunctionLabel>(&window, "labChange")->clicked();
    LoginDialog* dialog = loginDialog(window);
    QVERIFY(!control<QPushButton>(dialog, "btnCancel")->isEnabled());
    logIn(window, "boss", "1");
    QCOMPARE(window.currentOperator().code, QStringLiteral("boss"));
    QCOMPARE(enabledEntries(window), (QStringList{"labAbout", "labBuild", "labChange"}));

    // Closed without a successful login: no operator, nothing enabled.
    control<FunctionLabel>(&window, "labChange")->clicked();
    loginDialog(window)->close();
    QCOMPARE(window.currentOperator().code, QString());
    QCOMPARE(window.currentOperator().name, QString());
    QCOMPARE(enabledEntries(window), (QStringList{"labAbout", "labChange"}));
}

void TestMainWindow::groupButtonsShowTheirPanel()
{
    TestDatabase t;
    MainWindow window(t.context());
    window.show();
    const char* panels[] = {"pBaseInfo", "pAdmin", "pCharge", "pManage", "pQuery", "pPara"};
    for (const char* panel : panels)
        QVERIFY(!control<QWidget>(&window, panel)->isVisible());
    control<QToolButton>(&window, "spbAdmin")->click();
    for (const char* panel : panels)
        QCOMPARE(control<QWidget>(&window, panel)->isVisible(), QByteArray(panel) == "pAdmin");
    control<QToolButton>(&window, "spbQuery")->click();
    QVERIFY(control<QWidget>(&window, "pQuery")->isVisible());
    QVERIFY(!control<QWidget>(&window, "pAdmin")->isVisible());
    // The entries stand in the order of the function table.
    const auto labels = control<QWidget>(&window, "pQuery")->findChildren<FunctionLabel*>();
    QCOMPARE(labels.size(), 3);
    QCOMPARE(labels[0]->text(), QStringLiteral("缴费记录清单"));
    QCOMPARE(labels[2]->text(), QStringLiteral("欠费清单"));
    window.hide();
}

void TestMainWindow::reminderOpensOncePerRun()
{
    TestDatabase t;
    addOperator(t, "clerk", {"", "2", "", "", "", ""});
    t.exec("insert into work_plan (op_code, state, awoke_date) values ('clerk', '开始', '2026-12-01 08:00')");
    MainWindow window(t.context());
    window.startUp();
    logIn(window, "clerk", "1");

    window.checkConnectionAndReminder();
    QVERIFY(!window.reminderShown()); // a started plan never reminds
    t.exec("insert into work_plan (op_code, state, awoke_date) values ('clerk', '提醒', '2026-12-10 09:00')");
    window.checkConnectionAndReminder();
    QVERIFY(window.reminderShown());
    QVERIFY(t.messages().texts().isEmpty());
}

void TestMainWindow::missingDatabaseEndsTheApplication()
{
    QTemporaryDir dir;
    QString error;
    QSqlDatabase db = database_file::open(dir.filePath("pelm.mdb"), "missing", &error);
    QVERIFY(!error.isEmpty());
    {
        RecordingMessages messages;
        FixedClock clock(QDateTime::currentDateTime());
        ScreenContext shared;
        shared.db = db;
        shared.messages = &messages;
        shared.clock = &clock;
        MainWindow window(shared);
        QSignalSpy finished(&window, &MainWindow::finished);
        window.startUp();
        QCOMPARE(messages.errors(), QStringList{"数据库连接失败！"});
        QCOMPARE(finished.count(), 1);
        QVERIFY(!window.findChild<LoginDialog*>());
    }
    QVERIFY(!QFile::exists(dir.filePath("pelm.mdb")));
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("missing");
}

void TestMainWindow::closedConnectionEndsTheApplication()
{
    TestDatabase t;
    MainWindow window(t.context());
    QSignalSpy finished(&window, &MainWindow::finished);
    window.checkConnectionAndReminder();
    QCOMPARE(finished.count(), 0);
    t.db().close();
    window.checkConnectionAndReminder();
    QCOMPARE(t.messages().errors(), QStringList{"数据库连接失败！"});
    QCOMPARE(finished.count(), 1);
}

void TestMainWindow::backupLinkIsForOperatorEditors_data()
{
    QTest::addColumn<QString>("baseRights");
    QTest::addColumn<bool>("offered");
    QTest::newRow("may edit operators") << "00002" << true;
    QTest::newRow("everything") << "22222" << true;
    QTest::newRow("may only look at operators") << "22221" << false;
    QTest::newRow("no operator right") << "2222" << false;
    QTest::newRow("no base rights") << "" << false;
}

void TestMainWindow::backupLinkIsForOperatorEditors()
{
    QFETCH(QString, baseRights);
    QFETCH(bool, offered);
    TestDatabase t;
    addOperator(t, "clerk", {baseRights, "2222222", "222", "222222", "222", "222"});
    MainWindow window(t.context());
    window.show();
    window.startUp();
    auto* link = control<FunctionLabel>(&window, "labBackup");
    QVERIFY(!link->isEnabled()); // nobody logged in yet
    logIn(window, "clerk", "1");
    control<QToolButton>(&window, "spbPara")->click();
    QCOMPARE(link->isVisible(), offered);
    QCOMPARE(link->isEnabled(), offered);
    QCOMPARE(link->text(), QStringLiteral("数据备份"));
    // It stands beside "关于...".
    const auto labels = control<QWidget>(&window, "pPara")->findChildren<FunctionLabel*>();
    QCOMPARE(labels.last()->objectName(), QStringLiteral("labAbout"));
    QCOMPARE(labels[labels.size() - 2], link);

    link->clicked();
    QCOMPARE(openChild<QFileDialog>(&window, "dlgBackup") != nullptr, offered);
    window.hide();
}

void TestMainWindow::backupFromTheMainWindow()
{
    SKIP_ON_SERVER();
    TestDatabase t;
    t.estate().addOwner({.name = "甲公司"});
    MainWindow window(t.context());
    window.startUp();
    logIn(window, "admin", "");
    control<FunctionLabel>(&window, "labBackup")->clicked();
    auto* dialog = openChild<QFileDialog>(&window, "dlgBackup");
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("数据备份"));
    // Beside the database, named after it and the time.
    const QString proposed = QFileInfo(t.path()).absoluteDir().filePath("pelm-备份-20261210-093000.mdb");
    QCOMPARE(dialog->selectedFiles(), QStringList{proposed});

    static_cast<QDialog*>(dialog)->accept(); // what the save button does
    QCOMPARE(t.messages().texts(), QStringList{"数据库已备份到" + QDir::toNativeSeparators(proposed) + "。"});
    QString error;
    {
        QSqlDatabase copy = database_file::open(proposed, "copy", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(sql::scalar(copy, "select owner_name from owner_info").toString(), QStringLiteral("甲公司"));
    }
    QSqlDatabase::removeDatabase("copy");

    // The same file again: refused, the first backup left as it was.
    t.messages().clear();
    control<FunctionLabel>(&window, "labBackup")->clicked();
    dialog = openChild<QFileDialog>(&window, "dlgBackup");
    QVERIFY(dialog);
    dialog->selectFile(proposed);
    static_cast<QDialog*>(dialog)->accept(); // what the save button does
    QCOMPARE(t.messages().errors().size(), 1);
    QVERIFY2(t.messages().errors()[0].contains("已经存在"), qPrintable(t.messages().errors()[0]));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
